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

using namespace std::string_literals;
using namespace platform;
using Events = std::vector<std::string>;
using U = std::uint32_t;

// The agent key alone, holding at most a string PathInstall; every other key is missing.
struct FakeAgentKey final : RegistryBackend
{
    std::optional<std::string> pathInstall; // as RegSetValueExA stores it, with its NUL

    RegStatus OpenKey(std::string_view path, U, std::unique_ptr<RegistryKey>& key) override
    {
        key = path == mod_Trace::AgentKey ? std::make_unique<Key>(pathInstall) : nullptr;
        return key ? reg_error::Success : reg_error::FileNotFound;
    }

    struct Key final : RegistryKey
    {
        explicit Key(std::optional<std::string> stored) : data(std::move(stored)) {}
        RegStatus QueryValueInfo(std::string_view name, U& type, U& size) override
        {
            size = static_cast<U>(data.value_or("").size());
            return QueryValue(name, size, type, scratch);
        }
        RegStatus QueryValue(std::string_view name, U, U& type, std::string& out) override
        {
            type = reg_type::String;
            out = data.value_or("");
            return data && name == "PathInstall" ? reg_error::Success : reg_error::FileNotFound;
        }
        RegStatus SetValue(std::string_view, U, std::string_view) override { return 5; }
        RegStatus DeleteValue(std::string_view) override { return 5; }
        RegStatus EnumKey(U, U, std::string&) override { return 259; }
        RegStatus EnumValue(U, U, U, std::string&, std::string&, U&) override { return 259; }
        std::optional<std::string> data;
        std::string scratch;
    };
};

struct ServiceControlTest : ::testing::Test
{
    void SetUp() override
    {
        catalog->texts = {{u"WaitRestartingQuenyx", u"Restarting"}, {u"ControlNotInstalled", u"Not installed"}};
        Install({.registry = registry,
                 .textCatalog = catalog,
                 .services = services,
                 .processes = launcher,
                 .sleeper = std::make_shared<test::RecordingSleeper>(log),
                 .ui = std::make_shared<test::RecordingUserInterface>(log)});
    }
    void TearDown() override { Install(Platform{}); }

    test::EventLog log;
    std::shared_ptr<FakeAgentKey> registry = std::make_shared<FakeAgentKey>();
    std::shared_ptr<test::FakeTextCatalog> catalog = std::make_shared<test::FakeTextCatalog>();
    std::shared_ptr<test::FakeServiceControl> services = std::make_shared<test::FakeServiceControl>();
    std::shared_ptr<test::RecordingLauncher> launcher = std::make_shared<test::RecordingLauncher>(log);
};

// Only a query that succeeded with state 4 is "running". The failed queries say 4 in their state on
// purpose: the state of a failed call means nothing.
TEST_F(ServiceControlTest, IsServiceRunningOnlyForASucceededQueryInStateFour)
{
    using enum ServiceQuery;
    const std::tuple<ServiceQuery, U, bool> cases[] = {
        {Done, 4, true},       {Done, 1, false},      {Done, 2, false},       {Done, 7, false},
        {NoService, 4, false}, {NoManager, 4, false}, {QueryFailed, 4, false}};
    for (const auto& [result, state, running] : cases) {
        services->answers["Quenyx.Agent.sender"] = {result, state};
        EXPECT_EQ(mod_Services::IsServiceRunning("Quenyx.Agent.sender"), running) << static_cast<int>(result) << state;
    }
}

// The commands, pauses and boxes in their exact order, whether or not the children start. The agent is
// restarted only when PathInstall is not empty; else the message shows inside the wait box.
TEST_F(ServiceControlTest, StartListenerAndRestartAgentServicesInterleaveCommandsAndPauses)
{
    const Events listener{"hidden: net stop Quenyx.Agent.listener", "sleep 5000",
                          "hidden: net start Quenyx.Agent.listener", "sleep 2000"};
    Events installed{"wait: Restarting"};
    for (const std::string verb : {"stop", "start"}) {
        for (const char* service : {"listener", "sender", "httpServer", "liveupdate", "Guardian"})
            installed.push_back("hidden: net " + verb + " Quenyx.Agent." + service);
        installed.push_back(verb == "stop" ? "sleep 10000" : "sleep 2000");
    }
    installed.push_back("hide");
    const Events notInstalled{"wait: Restarting", "message: Not installed", "hide"};
    const std::tuple<void (*)(), std::optional<std::string>, bool, const Events&> cases[] = {
        {mod_Services::StartListener, std::nullopt, true, listener},
        {mod_Services::RestartAgentServices, "C:\\Program Files\\Tessaline\\Quenyx\\Agent\0"s, false, installed},
        {mod_Services::RestartAgentServices, std::nullopt, true, notInstalled},
        {mod_Services::RestartAgentServices, ""s, true, notInstalled}};
    for (const auto& [run, pathInstall, starts, events] : cases) {
        log.events.clear();
        registry->pathInstall = pathInstall;
        launcher->starts = starts;
        run();
        EXPECT_EQ(log.events, events) << pathInstall.value_or("(absent)") << " " << starts;
    }
}

} // namespace
} // namespace quenyx
