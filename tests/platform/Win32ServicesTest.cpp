// The Service Control Manager as the console asks it, against the real one (under Wine, the build's prefix).
#include "platform/win32/Win32Services.h"
#include "platform/Platform.h"
#include "platform/mod_Services.h"

#include <gtest/gtest.h>

#include <optional>
#include <tuple>
#include <vector>

#include <windows.h>

namespace quenyx {
namespace {

using platform::ServiceQuery;

template <typename Case> std::string Label(const ::testing::TestParamInfo<Case>& each)
{
    return each.param.label;
}

struct ServiceCase
{
    const char* label;
    const char* name;
    ServiceQuery result;
    std::optional<std::uint32_t> state;
    bool running;
    friend void PrintTo(const ServiceCase& each, std::ostream* out) { *out << each.label; }
};

class Win32ServiceControl : public ::testing::TestWithParam<ServiceCase>
{
protected:
    void SetUp() override
    {
        platform::Platform installed;
        installed.services = control;
        platform::Install(std::move(installed));
    }
    void TearDown() override { platform::Install(platform::Platform{}); }

    std::shared_ptr<platform::win32::Win32ServiceControl> control =
        std::make_shared<platform::win32::Win32ServiceControl>();
};

TEST_P(Win32ServiceControl, AnswersAsTheManagerKnowsTheService)
{
    std::uint32_t state = 0;
    EXPECT_EQ(control->QueryServiceState(GetParam().name, state), GetParam().result);
    if (GetParam().state) {
        EXPECT_EQ(state, *GetParam().state);
    }
    EXPECT_EQ(mod_Services::IsServiceRunning(GetParam().name), GetParam().running);
}

// The installer service waits stopped until an installation asks for it.
const ServiceCase kServiceCases[] = {
    {"Missing", "Quenyx.Agent.NoSuchService", ServiceQuery::NoService, std::nullopt, false},
    {"Stopped", "MSIServer", ServiceQuery::Done, 1, false},
};
INSTANTIATE_TEST_SUITE_P(Services, Win32ServiceControl, ::testing::ValuesIn(kServiceCases), Label<ServiceCase>);

// The services the manager itself lists as running at this moment.
std::vector<std::string> RunningServices()
{
    std::vector<std::string> names;
    const SC_HANDLE manager = ::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ENUMERATE_SERVICE);
    if (!manager)
        return names;
    DWORD needed = 0;
    DWORD count = 0;
    DWORD resume = 0;
    std::ignore = ::EnumServicesStatusExA(manager, SC_ENUM_PROCESS_INFO, SERVICE_WIN32 | SERVICE_DRIVER,
                                          SERVICE_ACTIVE, nullptr, 0, &needed, &count, &resume, nullptr);
    std::vector<BYTE> buffer(needed + 1024);
    resume = 0;
    if (::EnumServicesStatusExA(manager, SC_ENUM_PROCESS_INFO, SERVICE_WIN32 | SERVICE_DRIVER, SERVICE_ACTIVE,
                                buffer.data(), static_cast<DWORD>(buffer.size()), &needed, &count, &resume, nullptr)) {
        const auto* entries = reinterpret_cast<const ENUM_SERVICE_STATUS_PROCESSA*>(buffer.data());
        for (DWORD i = 0; i < count; ++i)
            if (entries[i].ServiceStatusProcess.dwCurrentState == SERVICE_RUNNING)
                names.emplace_back(entries[i].lpServiceName);
    }
    ::CloseServiceHandle(manager);
    return names;
}

// Which services run varies (Wine starts most of its own on demand and lets them go again), so the test
// asks about one the manager has just listed as running; one that stopped in between is asked again.
class Win32RunningService : public Win32ServiceControl
{
};

TEST_F(Win32RunningService, IsReportedRunning)
{
    bool confirmed = false;
    for (int attempt = 0; attempt < 20 && !confirmed; ++attempt)
        for (const std::string& name : RunningServices())
            if ((confirmed = mod_Services::IsServiceRunning(name)))
                break;
    EXPECT_TRUE(confirmed);
}

struct LaunchCase
{
    const char* label;
    const char* commandLine;
    bool starts;
    friend void PrintTo(const LaunchCase& each, std::ostream* out) { *out << each.label; }
};

class Win32ProcessLauncher : public ::testing::TestWithParam<LaunchCase>
{
};

TEST_P(Win32ProcessLauncher, StartsWithoutWaitingOrSaysItCouldNot)
{
    platform::win32::Win32ProcessLauncher launcher;
    EXPECT_EQ(launcher.StartHidden(GetParam().commandLine), GetParam().starts);
    EXPECT_EQ(launcher.StartNormal(GetParam().commandLine), GetParam().starts);
}

const LaunchCase kLaunchCases[] = {
    {"SystemProgram", "cmd.exe /c exit 3", true},
    {"MissingProgram", "C:\\Quenyx\\no-such-program.exe stop", false},
};
INSTANTIATE_TEST_SUITE_P(CommandLines, Win32ProcessLauncher, ::testing::ValuesIn(kLaunchCases), Label<LaunchCase>);

} // namespace
} // namespace quenyx
