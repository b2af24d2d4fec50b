// Service control as the console drives it, over fakes of every seam it touches.
#include "FakeDevices.h"
#include "FakeServices.h"

#include "platform/Platform.h"
#include "platform/mod_Services.h"
#include "platform/mod_Trace.h"

#include <gtest/gtest.h>

#include <optional>

namespace quenyx {
namespace {

using platform::ServiceQuery;
using Events = std::vector<std::string>;

template <typename Case> std::string Label(const ::testing::TestParamInfo<Case>& each)
{
    return each.param.label;
}

// The agent key alone, holding at most a PathInstall of some type; every other key is missing.
class FakeAgentKey final : public platform::RegistryBackend
{
public:
    std::optional<platform::RawValue> pathInstall;

    platform::RegStatus OpenKey(std::string_view path, std::uint32_t,
                                std::unique_ptr<platform::RegistryKey>& key) override
    {
        if (path != mod_Trace::AgentKey)
            return platform::reg_error::FileNotFound;
        key = std::make_unique<Key>(pathInstall);
        return platform::reg_error::Success;
    }

private:
    class Key final : public platform::RegistryKey
    {
    public:
        explicit Key(std::optional<platform::RawValue> value) : value_(std::move(value)) {}
        platform::RegStatus QueryValueInfo(std::string_view name, std::uint32_t& type, std::uint32_t& size) override
        {
            if (!value_ || name != value_->name)
                return platform::reg_error::FileNotFound;
            type = value_->type;
            size = static_cast<std::uint32_t>(value_->data.size());
            return platform::reg_error::Success;
        }
        platform::RegStatus QueryValue(std::string_view name, std::uint32_t, std::uint32_t& type,
                                       std::string& data) override
        {
            std::uint32_t size = 0;
            const auto status = QueryValueInfo(name, type, size);
            if (status == platform::reg_error::Success)
                data = value_->data;
            return status;
        }
        platform::RegStatus SetValue(std::string_view, std::uint32_t, std::string_view) override { return 5; }
        platform::RegStatus DeleteValue(std::string_view) override { return 5; }
        platform::RegStatus EnumKey(std::uint32_t, std::uint32_t, std::string&) override { return 259; }
        platform::RegStatus EnumValue(std::uint32_t, std::uint32_t, std::uint32_t, std::string&, std::string&,
                                      std::uint32_t&) override
        {
            return 259;
        }

    private:
        std::optional<platform::RawValue> value_;
    };
};

class ServiceControlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        catalog->texts = {{u"WaitRestartingQuenyx", u"Restarting the agent"},
                          {u"ControlNotInstalled", u"The agent is not installed"}};
        platform::Platform installed;
        installed.registry = registry;
        installed.textCatalog = catalog;
        installed.services = services;
        installed.processes = launcher;
        installed.sleeper = std::make_shared<test::RecordingSleeper>(log);
        installed.ui = std::make_shared<test::RecordingUserInterface>(log);
        platform::Install(std::move(installed));
    }
    void TearDown() override { platform::Install(platform::Platform{}); }

    test::EventLog log;
    std::shared_ptr<FakeAgentKey> registry = std::make_shared<FakeAgentKey>();
    std::shared_ptr<test::FakeTextCatalog> catalog = std::make_shared<test::FakeTextCatalog>();
    std::shared_ptr<test::FakeServiceControl> services = std::make_shared<test::FakeServiceControl>();
    std::shared_ptr<test::RecordingLauncher> launcher = std::make_shared<test::RecordingLauncher>(log);
};

struct RunningCase
{
    const char* label;
    ServiceQuery result;
    std::uint32_t state;
    bool running;
    friend void PrintTo(const RunningCase& each, std::ostream* out) { *out << each.label; }
};

class IsServiceRunningAnswers : public ServiceControlTest, public ::testing::WithParamInterface<RunningCase>
{
};

TEST_P(IsServiceRunningAnswers, OnlyASucceededQueryInStateFourIsRunning)
{
    services->answers["Quenyx.Agent.sender"] = {GetParam().result, GetParam().state};
    EXPECT_EQ(mod_Services::IsServiceRunning("Quenyx.Agent.sender"), GetParam().running);
    EXPECT_EQ(services->asked, Events{"Quenyx.Agent.sender"});
}

// A failed query says "running" in its state on purpose: the state of a failed call means nothing.
const RunningCase kRunningCases[] = {
    {"Running", ServiceQuery::Done, 4, true},         {"Stopped", ServiceQuery::Done, 1, false},
    {"StartPending", ServiceQuery::Done, 2, false},   {"StopPending", ServiceQuery::Done, 3, false},
    {"Paused", ServiceQuery::Done, 7, false},         {"NoService", ServiceQuery::NoService, 4, false},
    {"NoManager", ServiceQuery::NoManager, 4, false}, {"QueryFailed", ServiceQuery::QueryFailed, 4, false},
};
INSTANTIATE_TEST_SUITE_P(States, IsServiceRunningAnswers, ::testing::ValuesIn(kRunningCases), Label<RunningCase>);

class StartListenerPacing : public ServiceControlTest, public ::testing::WithParamInterface<bool>
{
};

TEST_P(StartListenerPacing, StopsPausesStartsAndPausesWhateverTheChildrenDo)
{
    launcher->starts = GetParam();
    mod_Services::StartListener();
    EXPECT_EQ(log.events, (Events{"hidden: net stop Quenyx.Agent.listener", "sleep 5000",
                                  "hidden: net start Quenyx.Agent.listener", "sleep 2000"}));
}

INSTANTIATE_TEST_SUITE_P(ChildStarts, StartListenerPacing, ::testing::Bool());

struct RestartCase
{
    const char* label;
    std::optional<platform::RawValue> pathInstall;
    bool installed;
    friend void PrintTo(const RestartCase& each, std::ostream* out) { *out << each.label; }
};

class RestartAgentServicesRuns : public ServiceControlTest, public ::testing::WithParamInterface<RestartCase>
{
};

TEST_P(RestartAgentServicesRuns, TheTenCommandsWhenInstalledElseTheMessageInsideTheWaitBox)
{
    registry->pathInstall = GetParam().pathInstall;
    mod_Services::RestartAgentServices();

    const Events installed{
        "wait: Restarting the agent",
        "hidden: net stop Quenyx.Agent.listener",
        "hidden: net stop Quenyx.Agent.sender",
        "hidden: net stop Quenyx.Agent.httpServer",
        "hidden: net stop Quenyx.Agent.liveupdate",
        "hidden: net stop Quenyx.Agent.Guardian",
        "sleep 10000",
        "hidden: net start Quenyx.Agent.listener",
        "hidden: net start Quenyx.Agent.sender",
        "hidden: net start Quenyx.Agent.httpServer",
        "hidden: net start Quenyx.Agent.liveupdate",
        "hidden: net start Quenyx.Agent.Guardian",
        "sleep 2000",
        "hide",
    };
    const Events notInstalled{"wait: Restarting the agent", "message: The agent is not installed", "hide"};
    EXPECT_EQ(log.events, GetParam().installed ? installed : notInstalled);
}

platform::RawValue PathInstall(std::uint32_t type, std::string data)
{
    return {"PathInstall", type, std::move(data)};
}

// A string value as RegSetValueExA stores it: with its NUL.
platform::RawValue PathInstall(const char* text)
{
    return PathInstall(platform::reg_type::String, text + std::string(1, '\0'));
}

const RestartCase kRestartCases[] = {
    {"InstalledFolder", PathInstall("C:\\Program Files\\Tessaline\\Quenyx\\Agent"), true},
    {"FolderThatDoesNotExist", PathInstall("Q:\\nowhere"), true},
    {"Blank", PathInstall(" "), true},
    {"Absent", std::nullopt, false},
    {"Empty", PathInstall(""), false},
    {"NotAString", PathInstall(platform::reg_type::DWord, std::string("\1\0\0\0", 4)), false},
};
INSTANTIATE_TEST_SUITE_P(PathInstall, RestartAgentServicesRuns, ::testing::ValuesIn(kRestartCases), Label<RestartCase>);

TEST(ServiceControlWithoutSeams, NothingIsInstalledAndNothingBreaks)
{
    platform::Install(platform::Platform{});
    EXPECT_FALSE(mod_Services::IsServiceRunning(mod_Services::ListenerService));
    mod_Services::StartListener();
    mod_Services::RestartAgentServices();
}

} // namespace
} // namespace quenyx
