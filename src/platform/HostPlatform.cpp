#include "platform/HostClock.h"
#include "platform/Platform.h"

#ifdef _WIN32
#include "platform/win32/Win32Platform.h"
#else
#include "platform/emulated/EmulatedMachine.h"
#include "platform/emulated/EmulatedSystem.h"
#include <cstdlib>
#endif

namespace quenyx::platform {

Platform MakeHostPlatform(std::string& error)
{
#ifdef _WIN32
    error.clear();
    return win32::MakePlatform();
#else
    Platform platform;
    platform.clock = std::make_shared<HostClock>();
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
    if (auto system = EmulatedSystem::Open(folder, error)) {
        platform.spooler = system;
        platform.printerStatus = system;
    }
    return platform;
#endif
}

} // namespace quenyx::platform
