#include "platform/HostClock.h"
#include "platform/LibraryTextCatalog.h"
#include "platform/Platform.h"
#include "platform/modGlobalization.h"

#ifdef _WIN32
#include "platform/win32/Win32Platform.h"
#else
#include "platform/RealSleeper.h"
#include "platform/emulated/EmulatedMachine.h"
#include "platform/emulated/EmulatedSystem.h"
#include <cstdlib>
#endif

namespace quenyx::platform {

namespace {

// Without the library the console shows its English texts, and the first lookup logs why.
void InstallTextCatalog(Platform& platform)
{
    std::string reason;
    platform.textCatalog = LibraryTextCatalog::Open(reason);
    if (!platform.textCatalog)
        modGlobalization::NoteCatalogMissing(reason);
}

} // namespace

Platform MakeHostPlatform(std::string& error)
{
#ifdef _WIN32
    error.clear();
    Platform platform = win32::MakePlatform();
    InstallTextCatalog(platform);
    return platform;
#else
    Platform platform;
    platform.clock = std::make_shared<HostClock>();
    platform.sleeper = std::make_shared<RealSleeper>();
    InstallTextCatalog(platform);
    const char* folder = std::getenv("QUENYX_MACHINE");
    if (!folder || !*folder) {
        error = "QUENYX_MACHINE names no emulated machine";
        return platform;
    }
    auto machine = EmulatedMachine::Open(folder, false, error);
    if (!machine)
        return platform;
    platform.registry = machine;
    platform.files = machine;
    if (auto system = EmulatedSystem::Open(machine, error)) {
        platform.spooler = system;
        platform.printerStatus = system;
        platform.services = system;
        platform.processes = system;
    }
    return platform;
#endif
}

} // namespace quenyx::platform
