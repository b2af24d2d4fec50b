// quenyx-machine run as a child process, the way scripts and people run it.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

struct Outcome
{
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string ReadFile(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class QuenyxMachine : public ::testing::Test
{
protected:
    void SetUp() override
    {
        static int counter = 0;
        dir =
            fs::temp_directory_path() / ("quenyx-tool-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    // Runs the tool with `arguments`; QUENYX_MACHINE is `environment` when given, else unset.
    Outcome Run(const std::vector<std::string>& arguments, const std::string* environment = nullptr)
    {
        const fs::path out = dir / "stdout";
        const fs::path err = dir / "stderr";
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::dup2(::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 1);
            ::dup2(::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
            if (environment)
                ::setenv("QUENYX_MACHINE", environment->c_str(), 1);
            else
                ::unsetenv("QUENYX_MACHINE");
            std::vector<char*> argv{const_cast<char*>(QUENYX_MACHINE_TOOL)};
            for (const std::string& argument : arguments)
                argv.push_back(const_cast<char*>(argument.c_str()));
            argv.push_back(nullptr);
            ::execv(QUENYX_MACHINE_TOOL, argv.data());
            ::_exit(127);
        }
        Outcome outcome;
        int status = 0;
        if (pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status))
            outcome.exitCode = WEXITSTATUS(status);
        outcome.out = ReadFile(out);
        outcome.err = ReadFile(err);
        fs::remove(out);
        fs::remove(err);
        return outcome;
    }

    Outcome OnMachine(std::vector<std::string> arguments, const fs::path& machine)
    {
        arguments.insert(arguments.begin(), {"--machine", machine.string()});
        return Run(arguments);
    }

    fs::path Write(const std::string& name, const std::string& bytes)
    {
        std::ofstream(dir / name, std::ios::binary) << bytes;
        return dir / name;
    }

    fs::path dir;
};

const std::string kFixture = "REGEDIT4\r\n\r\n"
                             "[HKEY_LOCAL_MACHINE\\SOFTWARE\\T]\r\n"
                             "\"Server\"=\"srv01\"\r\n"
                             "\"Port\"=dword:00000050\r\n"
                             "[HKEY_LOCAL_MACHINE\\SOFTWARE\\T\\b]\r\n"
                             "[HKEY_LOCAL_MACHINE\\SOFTWARE\\T\\A]\r\n";

class UsageErrors : public QuenyxMachine, public ::testing::WithParamInterface<std::vector<std::string>>
{
};

TEST_P(UsageErrors, PrintTheUsageAndExitWith2)
{
    const Outcome outcome = Run(GetParam());
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_NE(outcome.err.find("usage: quenyx-machine"), std::string::npos) << outcome.err;
    EXPECT_EQ(outcome.out, "");
}

using Words = std::vector<std::string>;
INSTANTIATE_TEST_SUITE_P(CommandLines, UsageErrors,
                         ::testing::Values(Words{}, Words{"--machine", "/tmp/x"}, Words{"--machine"},
                                           Words{"--verbose", "reg", "keys", "K"},
                                           Words{"--machine", "/tmp/x", "frobnicate"},
                                           Words{"--machine", "/tmp/x", "reg"},
                                           Words{"--machine", "/tmp/x", "reg", "get", "K"},
                                           Words{"--machine", "/tmp/x", "reg", "set", "K", "N", "T", "extra"},
                                           Words{"--machine", "/tmp/x", "init", "--form", "a.reg"},
                                           Words{"--machine", "/tmp/x", "init", "--from"},
                                           Words{"--machine", "/tmp/x", "export"}, Words{"reg", "keys", "SOFTWARE"}));

TEST_F(QuenyxMachine, AFolderWithoutAMachineExitsWith1)
{
    const fs::path missing = dir / "missing";
    const std::string environment = missing.string();
    for (const Words& words : {Words{"reg", "keys", "SOFTWARE"}, Words{"export", "SOFTWARE"},
                               Words{"import", Write("a.reg", kFixture).string()}, Words{"deny-write", "SOFTWARE"}}) {
        const Outcome outcome = Run(words, &environment);
        EXPECT_EQ(outcome.exitCode, 1) << words[0];
        EXPECT_NE(outcome.err.find("no emulated machine"), std::string::npos) << outcome.err;
    }
    EXPECT_FALSE(fs::exists(missing));
}

TEST_F(QuenyxMachine, InitFromAMalformedFileLeavesNoMachineBehind)
{
    const fs::path machine = dir / "m";
    const fs::path bad = Write("bad.reg", kFixture + "\"Broken\"=dword:xyz\r\n");
    const Outcome outcome = OnMachine({"init", "--from", bad.string()}, machine);
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_NE(outcome.err.find("bad.reg: line 8:"), std::string::npos) << outcome.err;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1) << "only bad.reg is left";

    ASSERT_EQ(OnMachine({"init"}, machine).exitCode, 0);
    const Outcome again = OnMachine({"init", "--from", Write("good.reg", kFixture).string()}, machine);
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_NE(again.err.find("already holds a machine"), std::string::npos) << again.err;
    EXPECT_EQ(OnMachine({"reg", "keys", "HKLM"}, machine).out, "1\n0\n") << "the second init changed nothing";
}

struct Step
{
    std::vector<std::string> arguments;
    std::string out;
};

TEST_F(QuenyxMachine, RegCommandsPrintWhatTheConsoleWouldSee)
{
    const fs::path machine = dir / "m";
    ASSERT_EQ(OnMachine({"init", "--from", Write("t.reg", kFixture).string()}, machine).exitCode, 0);
    const std::vector<Step> steps = {
        {{"reg", "keys", "HKEY_LOCAL_MACHINE\\SOFTWARE\\T"}, "1\nA\nb\n"},
        {{"reg", "keys", "SOFTWARE\\T\\A"}, "1\n0\n"},
        {{"reg", "keys", "SOFTWARE\\Missing"}, "0\n0\n"},
        {{"reg", "values", "HKLM\\SOFTWARE\\T"}, "Server;srv01\nPort;P\0\0\n"s},
        {{"reg", "values", "SOFTWARE\\T\\A"}, "-1\n"},
        {{"reg", "get", "SOFTWARE\\T", "server"}, "srv01\n"},
        {{"reg", "get", "SOFTWARE\\T", "Port", "dflt"}, "dflt\n"},
        {{"reg", "get", "SOFTWARE\\T", "Missing"}, "\n"},
        {{"reg", "set", "SOFTWARE\\T", "New", "a b"}, "0\n"},
        {{"reg", "get", "SOFTWARE\\T", "New"}, "a b\n"},
        {{"deny-write", "HKLM\\SOFTWARE"}, ""},
        {{"reg", "set", "SOFTWARE\\T", "New", "c"}, "5\n"},
        {{"reg", "delete", "SOFTWARE\\T", "New"}, ""},
        {{"allow-write", "SOFTWARE"}, ""},
        {{"reg", "get", "SOFTWARE\\T", "New"}, "a b\n"},
        {{"reg", "delete", "SOFTWARE\\T", "New"}, ""},
        {{"reg", "get", "SOFTWARE\\T", "New", "gone"}, "gone\n"},
        {{"reg", "set", "SOFTWARE\\Missing", "x", "y"}, "5\n"},
    };
    for (const Step& step : steps) {
        const Outcome outcome = OnMachine(step.arguments, machine);
        EXPECT_EQ(outcome.exitCode, 0) << step.arguments[0] << " " << step.arguments[1] << ": " << outcome.err;
        EXPECT_EQ(outcome.out, step.out) << step.arguments[0] << " " << step.arguments[1];
    }
    EXPECT_EQ(OnMachine({"deny-write", "SOFTWARE\\Missing"}, machine).exitCode, 1);
}

TEST_F(QuenyxMachine, AnExportInitialisesAnIdenticalMachine)
{
    const fs::path first = dir / "first";
    const std::string firstFolder = first.string();
    ASSERT_EQ(OnMachine({"init", "--from", Write("t.reg", kFixture).string()}, first).exitCode, 0);
    ASSERT_EQ(Run({"reg", "set", "SOFTWARE\\T\\A", "caf\xC3\xA9", "\xE2\x82\xAC"}, &firstFolder).out, "0\n");
    ASSERT_EQ(OnMachine({"export", "HKLM\\SOFTWARE", (dir / "out.reg").string()}, first).exitCode, 0);

    const fs::path second = dir / "second";
    const Outcome init = OnMachine({"init", "--from", (dir / "out.reg").string()}, second);
    ASSERT_EQ(init.exitCode, 0) << init.err;
    const Outcome original = OnMachine({"export", "SOFTWARE"}, first);
    const Outcome copy = OnMachine({"export", "SOFTWARE"}, second);
    EXPECT_EQ(copy.exitCode, 0);
    EXPECT_EQ(copy.out, original.out);
    EXPECT_EQ(copy.out, ReadFile(dir / "out.reg"));
    EXPECT_TRUE(copy.out.starts_with("\xFF\xFEW\0i\0n\0"));
}

} // namespace
