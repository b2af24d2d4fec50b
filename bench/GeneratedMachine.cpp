#include "GeneratedMachine.h"

#include "platform/HostClock.h"
#include "platform/Platform.h"
#include "platform/mod_Services.h"
#include "platform/mod_Trace.h"
#include "printers/mod_Printers.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace quenyx::bench {

namespace {

[[noreturn]] void Fail(const std::string& why)
{
    std::fprintf(stderr, "bench: %s\n", why.c_str());
    std::exit(1);
}

} // namespace

GeneratedMachine::GeneratedMachine(int printers, int values)
{
    static std::atomic<int> counter{0};
    folder = std::filesystem::temp_directory_path() /
             ("quenyx-bench-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(folder);
    std::string error;
    registry = platform::EmulatedMachine::Open(folder, true, error);
    if (!registry)
        Fail(error);
    system = platform::EmulatedSystem::Open(registry, error);
    if (!system)
        Fail(error);

    const std::string key = mod_Printers::SpoolerPrintersKey;
    registry->Atomically([&] {
        registry->CreateKey(key);
        registry->CreateKey(mod_Trace::AgentKey);
        for (int i = 0; i < printers; ++i) {
            const std::string printer = key + "\\Printer " + std::to_string(100000 + i);
            registry->CreateKey(printer);
            registry->SetRawValue(printer,
                                  {"TessalineID", platform::reg_type::String, std::to_string(i % 30000) + '\0'});
            registry->SetRawValue(printer, {"NCActivate", platform::reg_type::String, std::string("0") + '\0'});
        }
        const char* catalog[] = {"DCSServer", "DisableAccounts", "WorkFolder", "PopUpExpiration"};
        for (int i = 0; i < values; ++i) {
            const std::string name = i % 10 == 0 && i / 10 < 4 ? catalog[i / 10] : "Value" + std::to_string(i);
            registry->SetRawValue(mod_Trace::AgentKey,
                                  {name, platform::reg_type::String, "text " + std::to_string(i) + '\0'});
        }
        return platform::reg_error::Success;
    });
    if (system->AddEverySpoolerPrinter() != printers)
        Fail("the spooler did not take every printer");
    for (const char* service : mod_Services::AgentServices)
        system->SetServiceState(service, 4);
    std::filesystem::create_directories(folder / "drive_c" / "Logs");
}

GeneratedMachine::~GeneratedMachine()
{
    registry.reset();
    system.reset();
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
}

void GeneratedMachine::Install(bool logging)
{
    platform::Platform platform;
    platform.registry = registry;
    platform.files = registry;
    platform.clock = std::make_shared<platform::HostClock>();
    platform.spooler = system;
    platform.printerStatus = system;
    platform.services = system;
    platform::Install(platform);
    if (logging)
        mod_Trace::SetTraceSettings("1", "C:\\Logs");
    else
        mod_Trace::ResetTraceSettings();
}

} // namespace quenyx::bench
