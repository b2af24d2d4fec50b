// The Service Control Manager as the console asks it, against the real one (under Wine, the build's prefix).
#include "platform/win32/Win32Services.h"
#include "platform/Platform.h"
#include "platform/mod_Services.h"

#include <gtest/gtest.h>

#include <optional>

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

// The mount manager runs from boot on Windows and in every Wine prefix, which cannot map a drive without
// it (Wine starts RPC and Plug and Play only on demand, and lets them go again); the installer service waits
// stopped until an installation asks for it.
const ServiceCase kServiceCases[] = {
    {"Missing", "Quenyx.Agent.NoSuchService", ServiceQuery::NoService, std::nullopt, false},
    {"Running", "MountMgr", ServiceQuery::Done, 4, true},
    {"Stopped", "MSIServer", ServiceQuery::Done, 1, false},
};
INSTANTIATE_TEST_SUITE_P(Services, Win32ServiceControl, ::testing::ValuesIn(kServiceCases), Label<ServiceCase>);

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
