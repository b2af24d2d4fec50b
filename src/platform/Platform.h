#pragma once

#include "platform/Clock.h"
#include "platform/Devices.h"
#include "platform/Files.h"
#include "platform/FolderBrowser.h"
#include "platform/Registry.h"
#include "platform/Services.h"
#include "platform/TextCatalog.h"
#include "platform/UserInterface.h"

#include <memory>

namespace quenyx::platform {

// Everything the console asks of the operating system, installed once at start-up. The module
// functions (mod_RegWin, mod_Trace, ...) delegate to whatever is installed here.
struct Platform
{
    std::shared_ptr<RegistryBackend> registry{};
    std::shared_ptr<Clock> clock{};
    std::shared_ptr<Files> files{};
    std::shared_ptr<Spooler> spooler{};
    std::shared_ptr<PrinterStatusProvider> printerStatus{};
    std::shared_ptr<TextCatalog> textCatalog{};
    std::shared_ptr<ServiceControl> services{};
    std::shared_ptr<ProcessLauncher> processes{};
    std::shared_ptr<Sleeper> sleeper{};
    std::shared_ptr<UserInterface> ui{};
    std::shared_ptr<FolderBrowser> folderBrowser{};
};

Platform& Current();
void Install(Platform platform);

// The host's own platform: the Win32 one on Windows; elsewhere the emulated machine named by
// QUENYX_MACHINE. `error` says why a machine could not be opened (the platform is then still usable:
// every registry open fails and nothing is written).
Platform MakeHostPlatform(std::string& error);

} // namespace quenyx::platform
