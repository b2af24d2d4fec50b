#include "platform/mod_Services.h"

#include "platform/Platform.h"
#include "platform/modGlobalization.h"
#include "platform/mod_RegWin.h"
#include "platform/mod_Trace.h"

#include <cstdint>
#include <tuple>

namespace quenyx::mod_Services {

namespace {

constexpr std::uint32_t kServiceRunning = 4;

void RunHidden(const std::string& commandLine)
{
    const auto& launcher = platform::Current().processes;
    if (!launcher)
        return;
    // A child that could not be started is as unseen as one that failed: the pauses alone pace the work.
    std::ignore = launcher->StartHidden(commandLine);
}

void Sleep(std::uint32_t milliseconds)
{
    if (const auto& sleeper = platform::Current().sleeper)
        sleeper->Sleep(milliseconds);
}

void RunForAll(const char* verb)
{
    for (const char* service : AgentServices)
        RunHidden(std::string("net ") + verb + " " + service);
}

} // namespace

bool IsServiceRunning(const std::string& serviceName)
{
    const auto& services = platform::Current().services;
    if (!services)
        return false;
    std::uint32_t state = 0;
    return services->QueryServiceState(serviceName, state) == platform::ServiceQuery::Done && state == kServiceRunning;
}

void StartListener()
{
    RunHidden(std::string("net stop ") + ListenerService);
    Sleep(5000);
    RunHidden(std::string("net start ") + ListenerService);
    Sleep(2000);
}

void RestartAgentServices()
{
    // Held for the whole call, so the box that is opened is the box that is closed.
    const auto ui = platform::Current().ui;
    if (ui)
        ui->ShowWait(modGlobalization::GetLocalizedString("WaitRestartingQuenyx"));

    const std::string installedIn =
        mod_RegWin::GetSettingString(mod_RegWin::HKLM, mod_Trace::AgentKey, "PathInstall", "");
    if (!installedIn.empty()) {
        RunForAll("stop");
        Sleep(10000);
        RunForAll("start");
        Sleep(2000);
    } else if (ui) {
        ui->ShowMessage(modGlobalization::GetLocalizedString("ControlNotInstalled"));
    }

    if (ui)
        ui->HideWait();
}

} // namespace quenyx::mod_Services
