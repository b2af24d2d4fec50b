// The emulated machine's services, its stand-in for net run as real child processes, and the console's
// restart carried out through them end to end.
#include "TestMachine.h"

#include "platform/emulated/EmulatedMachine.h"
#include "platform/emulated/EmulatedSystem.h"
#include "platform/mod_RegWin.h"
#include "platform/mod_Services.h"
#include "platform/mod_Trace.h"

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <thread>

#include <cerrno>
#include <sys/wait.h>

namespace quenyx {
namespace {

using platform::EmulatedSystem;
using Lines = std::vector<std::string>;

// Polls for what a child process does; children get a few seconds, however loaded the host is.
template <typename Condition> bool Eventually(Condition condition)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!condition() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    return condition();
}

struct EmulatedServices : ::testing::Test
{
    void SetUp() override
    {
        ::setenv("QUENYX_NET", QUENYX_NET_PATH, 1);
        std::string error;
        system = EmulatedSystem::Open(dynamic_cast<platform::EmulatedMachine&>(machine->Admin()).folder(), error);
        ASSERT_TRUE(system) << error;
    }
    std::uint32_t State(const std::string& name) // 0: no such service
    {
        std::uint32_t state = 0;
        return system->QueryServiceState(name, state) == platform::ServiceQuery::Done ? state : 0;
    }
    std::unique_ptr<test::TestMachine> machine = test::TestMachine::Create();
    std::shared_ptr<EmulatedSystem> system;
};

// Each row: the state "Svc" is set to, net's words, its exit code, the state of "Svc" afterwards. "Gone"
// never exists. Every command line is recorded, whatever it does.
TEST_F(EmulatedServices, NetChangesOnlyWhatNetWouldAndRecordsEveryCommand)
{
    const std::tuple<std::uint32_t, Lines, int, std::uint32_t> cases[] = {
        {7, {"stop", "Svc"}, 0, 1},  {2, {"start", "Svc"}, 0, 4}, {4, {"STOP", "sVC"}, 0, 1},
        {1, {"stop", "Svc"}, 2, 1},  {4, {"start", "Svc"}, 2, 4}, {4, {"stop", "Gone"}, 2, 4},
        {4, {"pause", "Svc"}, 1, 4},
    };
    Lines recorded;
    for (const auto& [before, words, exitCode, after] : cases) {
        ASSERT_TRUE(system->SetServiceState("Svc", before));
        const auto outcome = system->RunNet(words);
        EXPECT_EQ(outcome.exitCode, exitCode) << words[0] << ": " << outcome.message;
        EXPECT_EQ(State("Svc"), after) << words[0];
        recorded.push_back("net " + words[0] + " " + words[1]);
    }
    EXPECT_EQ(State("Gone"), 0u);
    EXPECT_EQ(system->RecordedCommands(), recorded);
}

// Starts through the machine and, instead of sleeping, waits until every net command started so far has
// done its work (its service is in the state it asked for): what the console's pauses are long enough for.
// Without it the starts could overtake the stops they are meant to follow.
struct SettlingLauncher final : platform::ProcessLauncher, platform::Sleeper
{
    explicit SettlingLauncher(std::shared_ptr<EmulatedSystem> machine) : system(std::move(machine)) {}
    bool StartHidden(const std::string& line) override
    {
        const auto space = line.rfind(' ');
        wanted[line.substr(space + 1)] =
            line.starts_with("net stop") ? EmulatedSystem::Stopped : EmulatedSystem::Running;
        return system->StartHidden(line);
    }
    bool StartNormal(const std::string& line) override { return system->StartNormal(line); }
    void Sleep(std::uint32_t milliseconds) override
    {
        EXPECT_TRUE(Eventually([&] {
            for (const auto& [service, state] : wanted) {
                std::uint32_t now = 0;
                if (system->QueryServiceState(service, now) != platform::ServiceQuery::Done || now != state)
                    return false;
            }
            return true;
        }));
        pauses.push_back(std::to_string(milliseconds));
    }
    std::shared_ptr<EmulatedSystem> system;
    std::map<std::string, std::uint32_t> wanted;
    Lines pauses;
};

TEST_F(EmulatedServices, RestartingTheAgentStopsAllFiveThenStartsThemAsDetachedChildren)
{
    ASSERT_EQ(machine->Admin().CreateKey(mod_Trace::AgentKey), 0);
    ASSERT_EQ(mod_RegWin::SaveSettingString(mod_RegWin::HKLM, mod_Trace::AgentKey, "PathInstall", "C:\\Agent"), 0);
    Lines stops, starts;
    for (const char* service : mod_Services::AgentServices) {
        ASSERT_TRUE(system->SetServiceState(service, EmulatedSystem::Running));
        stops.push_back(std::string("net stop ") + service);
        starts.push_back(std::string("net start ") + service);
    }
    auto launcher = std::make_shared<SettlingLauncher>(system);
    platform::Current().services = system;
    platform::Current().processes = launcher;
    platform::Current().sleeper = launcher;

    mod_Services::RestartAgentServices();

    errno = 0; // the children are detached: none of them is this process's to wait for
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);

    EXPECT_EQ(launcher->pauses, (Lines{"10000", "2000"}));
    // Each group's children run concurrently, yet the record keeps the order in which they were launched.
    Lines launched = stops;
    launched.insert(launched.end(), starts.begin(), starts.end());
    EXPECT_EQ(system->RecordedCommands(), launched);
    for (const char* service : mod_Services::AgentServices)
        EXPECT_TRUE(mod_Services::IsServiceRunning(service)) << service;
}

} // namespace
} // namespace quenyx
