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
#include <cstdlib>
#include <fstream>
#include <optional>
#include <set>
#include <thread>

#include <cerrno>
#include <sys/wait.h>

namespace quenyx {
namespace {

using platform::EmulatedSystem;
using Lines = std::vector<std::string>;

template <typename Case> std::string Label(const ::testing::TestParamInfo<Case>& each)
{
    return each.param.label;
}

// Polls for what a child process does; children get a few seconds, however loaded the host is.
template <typename Condition> bool Eventually(Condition condition)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

class EmulatedServices : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ::setenv("QUENYX_NET", QUENYX_NET_PATH, 1);
        machine = test::TestMachine::Create();
        std::string error;
        system = EmulatedSystem::Open(Folder(), error);
        ASSERT_TRUE(system) << error;
    }

    std::filesystem::path Folder() { return dynamic_cast<platform::EmulatedMachine&>(machine->Admin()).folder(); }

    std::optional<std::uint32_t> State(const std::string& name)
    {
        std::uint32_t state = 0;
        if (system->QueryServiceState(name, state) != platform::ServiceQuery::Done)
            return std::nullopt;
        return state;
    }

    std::unique_ptr<test::TestMachine> machine;
    std::shared_ptr<EmulatedSystem> system;
};

struct NetCase
{
    const char* label;
    std::optional<std::uint32_t> before; // of "Svc"; none: no such service
    Lines words;
    int exitCode;
    std::optional<std::uint32_t> after;
    friend void PrintTo(const NetCase& each, std::ostream* out) { *out << each.label; }
};

class NetCommand : public EmulatedServices, public ::testing::WithParamInterface<NetCase>
{
};

TEST_P(NetCommand, IsRecordedWhateverItDoesAndChangesOnlyWhatNetWould)
{
    if (GetParam().before) {
        ASSERT_TRUE(system->SetServiceState("Svc", *GetParam().before));
    }
    const auto outcome = system->RunNet(GetParam().words);

    EXPECT_EQ(outcome.exitCode, GetParam().exitCode) << outcome.message;
    EXPECT_EQ(State("Svc"), GetParam().after);
    std::string line = "net";
    for (const auto& word : GetParam().words)
        line += " " + word;
    EXPECT_EQ(system->RecordedCommands(), Lines{line});
}

const NetCase kNetCases[] = {
    {"StopPaused", 7, {"stop", "Svc"}, 0, 1},
    {"StartStartPending", 2, {"start", "Svc"}, 0, 4},
    {"AnyCase", 4, {"STOP", "sVC"}, 0, 1},
    {"StopStopped", 1, {"stop", "Svc"}, 2, 1},
    {"StartRunning", 4, {"start", "Svc"}, 2, 4},
    {"NoSuchService", std::nullopt, {"stop", "Svc"}, 2, std::nullopt},
    {"OtherServiceUntouched", 4, {"stop", "Other"}, 2, 4},
    {"UnknownVerb", 4, {"pause", "Svc"}, 1, 4},
    {"NoServiceName", 4, {"stop"}, 1, 4},
};
INSTANTIATE_TEST_SUITE_P(Words, NetCommand, ::testing::ValuesIn(kNetCases), Label<NetCase>);

TEST_F(EmulatedServices, TheLauncherRunsNetDetachedAndLeavesNoChildBehind)
{
    ASSERT_TRUE(system->SetServiceState("Quenyx.Agent.listener", EmulatedSystem::Stopped));
    ASSERT_TRUE(system->StartHidden("net start Quenyx.Agent.listener"));

    errno = 0;
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
    ASSERT_TRUE(Eventually([&] { return !system->RecordedCommands().empty(); }));
    EXPECT_EQ(system->RecordedCommands(), Lines{"net start Quenyx.Agent.listener"});
    EXPECT_EQ(State("Quenyx.Agent.listener"), EmulatedSystem::Running);
}

TEST_F(EmulatedServices, WithoutQuenyxNetNothingStarts)
{
    ::setenv("QUENYX_NET", (Folder() / "no-such-net").c_str(), 1);
    const std::string path = std::getenv("PATH");
    ::setenv("PATH", "", 1);
    EXPECT_FALSE(system->StartHidden("net stop Quenyx.Agent.listener"));
    ::setenv("PATH", path.c_str(), 1);
}

struct NormalCase
{
    const char* label;
    const char* commandLine;
    bool starts;
    friend void PrintTo(const NormalCase& each, std::ostream* out) { *out << each.label; }
};

class StartNormal : public EmulatedServices, public ::testing::WithParamInterface<NormalCase>
{
};

// The tool is a script in the machine's drive C:, in a folder with a blank in its name, writing its
// arguments and the machine it was given beside the machine's store.
TEST_P(StartNormal, RunsTheProgramAtAWindowsPathOfTheMachine)
{
    const auto tool = Folder() / "drive_c" / "Program Files" / "Info" / "tool.sh";
    std::filesystem::create_directories(tool.parent_path());
    std::ofstream(tool) << "#!/bin/sh\necho \"$* @ $QUENYX_MACHINE\" > \"$QUENYX_MACHINE/ran.tmp\"\n"
                           "mv \"$QUENYX_MACHINE/ran.tmp\" \"$QUENYX_MACHINE/ran\"\n";
    std::filesystem::permissions(tool, std::filesystem::perms::owner_all);
    const auto locked = Folder() / "drive_c" / "locked.sh";
    std::ofstream(locked) << "#!/bin/sh\n";

    EXPECT_EQ(system->StartNormal(GetParam().commandLine), GetParam().starts);
    if (!GetParam().starts)
        return;
    ASSERT_TRUE(Eventually([&] { return std::filesystem::exists(Folder() / "ran"); }));
    std::ifstream ran(Folder() / "ran");
    std::string line;
    std::getline(ran, line);
    EXPECT_EQ(line, "one two @ " + Folder().string());
}

const NormalCase kNormalCases[] = {
    {"Unquoted", "C:\\Program Files\\Info\\tool.sh one two", true},
    {"Quoted", "\"c:\\program files\\info\\TOOL.SH\" one  two", true},
    {"Missing", "C:\\Program Files\\Info\\gone.exe one two", false},
    {"NotExecutable", "C:\\locked.sh", false},
};
INSTANTIATE_TEST_SUITE_P(CommandLines, StartNormal, ::testing::ValuesIn(kNormalCases), Label<NormalCase>);

// Starts through the machine and, instead of sleeping, waits until every command started so far has
// done its work: what the console's pauses are long enough for. Without it the starts could overtake
// the stops they are meant to follow.
class SettlingLauncher final : public platform::ProcessLauncher, public platform::Sleeper
{
public:
    explicit SettlingLauncher(std::shared_ptr<EmulatedSystem> system) : system_(std::move(system)) {}
    Lines pauses;
    std::vector<std::vector<EmulatedSystem::Service>> servicesAtPause;

    bool StartHidden(const std::string& line) override { return ++started_, system_->StartHidden(line); }
    bool StartNormal(const std::string& line) override { return ++started_, system_->StartNormal(line); }
    void Sleep(std::uint32_t milliseconds) override
    {
        EXPECT_TRUE(Eventually([&] { return system_->RecordedCommands().size() >= started_; }));
        pauses.push_back(std::to_string(milliseconds));
        servicesAtPause.push_back(system_->Services());
    }

private:
    std::shared_ptr<EmulatedSystem> system_;
    std::size_t started_ = 0;
};

TEST_F(EmulatedServices, RestartingTheAgentStopsAllFiveThenStartsThem)
{
    ASSERT_EQ(machine->Admin().CreateKey(mod_Trace::AgentKey), 0);
    ASSERT_EQ(mod_RegWin::SaveSettingString(mod_RegWin::HKLM, mod_Trace::AgentKey, "PathInstall", "C:\\Agent"), 0);
    Lines stops;
    Lines starts;
    for (const char* service : mod_Services::AgentServices) {
        ASSERT_TRUE(system->SetServiceState(service, EmulatedSystem::Running));
        stops.push_back(std::string("net stop ") + service);
        starts.push_back(std::string("net start ") + service);
    }
    ASSERT_TRUE(system->SetServiceState("Quenyx.Agent.Watcher", EmulatedSystem::Running));
    auto launcher = std::make_shared<SettlingLauncher>(system);
    platform::Current().services = system;
    platform::Current().processes = launcher;
    platform::Current().sleeper = launcher;

    mod_Services::RestartAgentServices();

    EXPECT_EQ(launcher->pauses, (Lines{"10000", "2000"}));
    const auto commands = system->RecordedCommands();
    ASSERT_EQ(commands.size(), 10u);
    // Each group runs concurrently: the groups are in order, the commands within them in any order.
    EXPECT_EQ(std::multiset<std::string>(commands.begin(), commands.begin() + 5),
              std::multiset<std::string>(stops.begin(), stops.end()));
    EXPECT_EQ(std::multiset<std::string>(commands.begin() + 5, commands.end()),
              std::multiset<std::string>(starts.begin(), starts.end()));
    for (const auto& service : launcher->servicesAtPause.at(0)) {
        const bool agent = service.name != "Quenyx.Agent.Watcher";
        EXPECT_EQ(service.state, agent ? EmulatedSystem::Stopped : EmulatedSystem::Running) << service.name;
    }
    for (const char* service : mod_Services::AgentServices)
        EXPECT_TRUE(mod_Services::IsServiceRunning(service)) << service;
}

} // namespace
} // namespace quenyx
