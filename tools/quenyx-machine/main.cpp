// quenyx-machine: makes, fills and inspects emulated machines. Run it without arguments for its usage.
#include "DeviceCommands.h"
#include "MachineFolder.h"
#include "ServiceCommands.h"

#include "platform/HostClock.h"
#include "platform/Platform.h"
#include "platform/RegFile.h"
#include "platform/emulated/EmulatedMachine.h"
#include "platform/emulated/EmulatedSystem.h"
#include "platform/mod_RegWin.h"

#include <cstdlib>
#include <iostream>
#include <limits>
#include <span>
#include <vector>

namespace {

using namespace quenyx;
using platform::EmulatedMachine;

constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kUsageError = 2;

struct Invocation
{
    std::filesystem::path folder;
    std::vector<std::string> words;           // the whole command, its name included
    std::vector<std::string> arguments;       // what follows the command's name
    std::shared_ptr<EmulatedMachine> machine; // open, for every command but init
};

int Fail(const std::string& why)
{
    std::cerr << "quenyx-machine: " << why << "\n";
    return kFailed;
}

std::string Key(const Invocation& call, std::size_t index)
{
    return tools::RelativeKeyPath(call.arguments.at(index));
}

int Init(Invocation& call)
{
    std::string bytes;
    std::string error;
    if (!call.arguments.empty() && !tools::ReadWholeFile(call.arguments[1], bytes, error))
        return Fail(error);
    if (!tools::CreateMachine(call.folder, call.arguments.empty() ? nullptr : &bytes, error))
        return Fail(call.arguments.empty() ? error : call.arguments[1] + ": " + error);
    return kDone;
}

int Import(Invocation& call)
{
    std::string bytes;
    std::string error;
    if (!tools::ReadWholeFile(call.arguments[0], bytes, error))
        return Fail(error);
    platform::RegFileError importError;
    if (!platform::ImportRegFile(bytes, *call.machine, importError))
        return Fail(call.arguments[0] + ": " + tools::Describe(importError));
    return kDone;
}

int Export(Invocation& call)
{
    std::string bytes;
    std::string error;
    if (!platform::ExportRegFile(*call.machine, Key(call, 0), bytes, error))
        return Fail(error);
    if (call.arguments.size() > 1)
        return tools::WriteFileAtomically(call.arguments[1], bytes, error) ? kDone : Fail(error);
    std::cout.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    std::cout.flush();
    return std::cout ? kDone : Fail("cannot write to standard output");
}

int RegGet(Invocation& call)
{
    const std::string fallback = call.arguments.size() > 2 ? call.arguments[2] : std::string();
    std::cout << mod_RegWin::GetSettingString(mod_RegWin::HKLM, Key(call, 0), call.arguments[1], fallback) << "\n";
    return kDone;
}

int RegSet(Invocation& call)
{
    std::cout << mod_RegWin::SaveSettingString(mod_RegWin::HKLM, Key(call, 0), call.arguments[1], call.arguments[2])
              << "\n";
    return kDone;
}

int RegDelete(Invocation& call)
{
    mod_RegWin::DeleteSettingValue(mod_RegWin::HKLM, Key(call, 0), call.arguments[1]);
    return kDone;
}

void PrintLines(const std::vector<std::string>& lines)
{
    for (const std::string& line : lines)
        std::cout << line << "\n";
}

int RegKeys(Invocation& call)
{
    std::vector<std::string> names;
    std::cout << mod_RegWin::EnumKeys(mod_RegWin::HKLM, Key(call, 0), names) << "\n";
    PrintLines(names);
    return kDone;
}

int RegValues(Invocation& call)
{
    std::vector<std::string> entries;
    mod_RegWin::EnumValues(mod_RegWin::HKLM, Key(call, 0), entries);
    PrintLines(entries);
    return kDone;
}

int SetWriteDenied(Invocation& call, bool denied)
{
    const platform::RegStatus status = call.machine->SetWriteDenied(Key(call, 0), denied);
    if (status != platform::reg_error::Success)
        return Fail("cannot change the access rule of " + call.arguments[0] + " (error " + std::to_string(status) +
                    ")");
    return kDone;
}

int DenyWrite(Invocation& call)
{
    return SetWriteDenied(call, true);
}
int AllowWrite(Invocation& call)
{
    return SetWriteDenied(call, false);
}

// The machine's services and the command lines run on it; ServiceCommands reads the words itself.
int Services(Invocation& call)
{
    std::string error;
    const auto system = platform::EmulatedSystem::Open(call.folder, error);
    if (!system)
        return Fail(error);
    return tools::RunServiceCommand(*system, call.words, std::cout, std::cerr);
}

// The printers the machine's spooler opens and the answers of its printer status component.
int Devices(Invocation& call)
{
    std::string error;
    const auto system = platform::EmulatedSystem::Open(call.folder, error);
    if (!system)
        return Fail(error);
    return tools::RunDeviceCommand(*system, call.words, std::cout, std::cerr);
}

struct Command
{
    std::string_view name; // one word, or a group and a word ("reg get")
    std::string_view parameters;
    std::size_t minArguments;
    std::size_t maxArguments;
    int (*run)(Invocation&);
    bool opensMachine = true;
    bool writes = false; // opened for reading only otherwise: nothing in the folder changes
    // Beyond the count: a check of the arguments themselves.
    bool (*accepts)(const std::vector<std::string>&) = nullptr;
    // Lines of the usage text for a command that checks its own arguments; null: name and parameters.
    const char* usage = nullptr;
};

constexpr std::size_t kAnyNumber = std::numeric_limits<std::size_t>::max();

bool InitArguments(const std::vector<std::string>& arguments)
{
    return arguments.empty() || (arguments.size() == 2 && arguments[0] == "--from");
}

constexpr Command kCommands[] = {
    {"init", "[--from FILE.reg]", 0, 2, Init, false, true, InitArguments},
    {"import", "FILE.reg", 1, 1, Import, true, true},
    {"export", "KEY [FILE.reg]", 1, 2, Export},
    {"reg get", "KEY NAME [DEFAULT]", 2, 3, RegGet},
    {"reg set", "KEY NAME TEXT", 3, 3, RegSet, true, true},
    {"reg delete", "KEY NAME", 2, 2, RegDelete, true, true},
    {"reg keys", "KEY", 1, 1, RegKeys},
    {"reg values", "KEY", 1, 1, RegValues},
    {"deny-write", "KEY", 1, 1, DenyWrite, true, true},
    {"allow-write", "KEY", 1, 1, AllowWrite, true, true},
    {"service", "", 0, kAnyNumber, Services, false, false, nullptr, tools::kServiceCommandsUsage},
    {"commands", "", 0, kAnyNumber, Services, false, false, nullptr, tools::kServiceCommandsUsage},
    {"spooler", "", 0, kAnyNumber, Devices, false, false, nullptr, tools::kDeviceCommandsUsage},
    {"status", "", 0, kAnyNumber, Devices, false, false, nullptr, tools::kDeviceCommandsUsage},
};

void PrintUsage(std::ostream& out)
{
    out << "usage: quenyx-machine [--machine DIR] COMMAND [ARGUMENTS]\n\n"
           "The machine is the folder DIR, or else the one QUENYX_MACHINE names. KEY is a key of\n"
           "HKEY_LOCAL_MACHINE, written with or without a leading HKEY_LOCAL_MACHINE\\ or HKLM\\.\n\n"
           "commands:\n";
    const char* printed = nullptr;
    for (const Command& command : kCommands) {
        if (!command.usage)
            out << "  " << command.name << " " << command.parameters << "\n";
        else if (command.usage != printed)
            out << (printed = command.usage);
    }
}

int UsageError(const std::string& why)
{
    std::cerr << "quenyx-machine: " << why << "\n\n";
    PrintUsage(std::cerr);
    return kUsageError;
}

// How many of `words` the command's name takes up, or 0 when it is not this command.
std::size_t Matches(const Command& command, std::span<const std::string> words)
{
    std::size_t used = 0;
    std::string_view name = command.name;
    while (!name.empty()) {
        const std::size_t space = name.find(' ');
        if (used >= words.size() || words[used] != name.substr(0, space))
            return 0;
        ++used;
        name = space == std::string_view::npos ? std::string_view() : name.substr(space + 1);
    }
    return used;
}

int Run(std::span<const std::string> words)
{
    Invocation call;
    if (const char* fromEnvironment = std::getenv("QUENYX_MACHINE"))
        call.folder = fromEnvironment;
    while (!words.empty() && words.front().starts_with("-")) {
        if (words.front() == "--help" || words.front() == "-h") {
            PrintUsage(std::cout);
            return kDone;
        }
        if (words.front() != "--machine" || words.size() < 2)
            return UsageError(words.front() == "--machine" ? "--machine needs a folder"
                                                           : "unknown option " + words.front());
        call.folder = words[1];
        words = words.subspan(2);
    }
    if (words.empty())
        return UsageError("no command");

    const Command* command = nullptr;
    std::size_t used = 0;
    for (const Command& candidate : kCommands) {
        if (const std::size_t n = Matches(candidate, words); n > 0) {
            command = &candidate;
            used = n;
            break;
        }
    }
    if (!command)
        return UsageError("unknown command " + words.front());
    call.words.assign(words.begin(), words.end());
    call.arguments.assign(words.begin() + static_cast<std::ptrdiff_t>(used), words.end());
    if (call.arguments.size() < command->minArguments || call.arguments.size() > command->maxArguments ||
        (command->accepts && !command->accepts(call.arguments)))
        return UsageError("usage: quenyx-machine " + std::string(command->name) + " " +
                          std::string(command->parameters));
    if (call.folder.empty())
        return UsageError("no machine: give --machine DIR or set QUENYX_MACHINE");

    if (command->opensMachine) {
        std::string error;
        call.machine = EmulatedMachine::Open(
            call.folder, command->writes ? EmulatedMachine::Mode::ReadWrite : EmulatedMachine::Mode::ReadOnly, error);
        if (!call.machine)
            return Fail(error);
        platform::Platform installed;
        installed.registry = call.machine;
        installed.files = call.machine;
        installed.clock = std::make_shared<platform::HostClock>();
        platform::Install(std::move(installed));
    }
    const int status = command->run(call);
    // A write that gave up waiting for another process's lock is no "cannot read": it is a busy store.
    if (call.machine && call.machine->WasLocked())
        return Fail("the store of " + call.folder.string() + " is locked by another process; nothing was written");
    return status;
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> words(argv + 1, argv + argc);
    const int status = Run(words);
    quenyx::platform::Install(quenyx::platform::Platform{});
    return status;
}
