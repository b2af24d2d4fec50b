// quenyx-machine run as a child process, the way scripts and people run it.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <chrono>
#include <map>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using Words = std::vector<std::string>;

struct Outcome
{
    int exitCode;
    std::string out, err;
};

const std::string kFixture =
    "REGEDIT4\r\n\r\n[HKLM\\SOFTWARE\\T]\r\n\"Server\"=\"srv01\"\r\n\"Port\"=dword:00000050\r\n"
    "[HKLM\\SOFTWARE\\T\\b]\r\n[HKLM\\SOFTWARE\\T\\A]\r\n";

struct QuenyxMachine : ::testing::Test
{
    void SetUp() override { ASSERT_TRUE(fs::create_directories(dir)); }
    void TearDown() override { fs::remove_all(dir); }
    std::string Read(const fs::path& f) { return {std::istreambuf_iterator<char>(std::ifstream(f).rdbuf()), {}}; }

    // Runs the tool from the shell, each word in single quotes (no word here holds one); QUENYX_MACHINE is
    // `environment`, or unset when that is empty.
    Outcome Run(const Words& words, const std::string& environment = "", const std::string& more = "")
    {
        std::string line = environment.empty() ? "env -u QUENYX_MACHINE" : "QUENYX_MACHINE='" + environment + "'";
        line += " " + more;
        line += " '" QUENYX_MACHINE_TOOL "'";
        for (const std::string& word : words)
            line += " '" + word + "'";
        const int status = std::system((line + " >'" + out.string() + "' 2>'" + err.string() + "'").c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Read(out), Read(err)};
    }

    std::string Write(const std::string& name, const std::string& bytes)
    {
        std::ofstream(dir / name, std::ios::binary) << bytes;
        return (dir / name).string();
    }

    fs::path dir = fs::temp_directory_path() / ("quenyx-tool-" + std::to_string(::getpid()) + "-" +
                                                ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::path out = dir / "out", err = dir / "err";
    std::string machine = (dir / "m").string();
};

// A wrong command line prints the usage and exits with 2. A folder without a machine, or an init from a
// malformed file, exits with 1 and leaves no machine behind.
TEST_F(QuenyxMachine, WrongCommandLinesExitWith2AndFailuresWith1LeavingNoMachine)
{
    const std::string m = machine, usage = "usage: quenyx-machine", none = m + " does not exist";
    for (const auto& [words, exitCode, message] :
         {std::tuple{Words{}, 2, usage}, std::tuple{Words{"--machine"}, 2, usage},
          std::tuple{Words{"--verbose", "reg", "keys", "K"}, 2, usage},
          std::tuple{Words{"--machine", m, "frobnicate"}, 2, usage},
          std::tuple{Words{"--machine", m, "reg", "get", "K"}, 2, usage},
          std::tuple{Words{"--machine", m, "reg", "set", "K", "N", "T", "extra"}, 2, usage},
          std::tuple{Words{"--machine", m, "init", "--form", "a.reg"}, 2, usage},
          std::tuple{Words{"reg", "keys", "SOFTWARE"}, 2, usage},
          std::tuple{Words{"--machine", m, "export", "SOFTWARE"}, 1, none},
          std::tuple{Words{"--machine", m, "import", Write("a.reg", kFixture)}, 1, none},
          std::tuple{Words{"--machine", m, "init", "--from", Write("bad.reg", kFixture + "\"B\"=dword:x\r\n")}, 1,
                     "bad.reg: line 8:"s}}) {
        const Outcome outcome = Run(words);
        EXPECT_EQ(outcome.exitCode, exitCode) << ::testing::PrintToString(words);
        EXPECT_NE(outcome.err.find(message), std::string::npos) << outcome.err;
        EXPECT_EQ(outcome.out, "");
    }
    EXPECT_EQ(Run({"reg", "keys", "SOFTWARE"}, machine).exitCode, 1) << "named by QUENYX_MACHINE";
    for (const auto& entry : fs::directory_iterator(dir)) // nothing but the files written here
        EXPECT_TRUE(entry.path() == out || entry.path() == err || entry.path().extension() == ".reg") << entry.path();
}

// Each command's output as the console would see it. An init over the machine changes nothing; an export
// initialises an identical machine.
TEST_F(QuenyxMachine, RegCommandsPrintWhatTheConsoleWouldSeeAndAnExportCopiesTheMachine)
{
    ASSERT_EQ(Run({"--machine", machine, "init", "--from", Write("t.reg", kFixture)}).exitCode, 0);
    const Outcome again = Run({"--machine", machine, "init", "--from", Write("o.reg", "REGEDIT4\n\n[HKLM\\O]\n")});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_NE(again.err.find("already holds a machine"), std::string::npos) << again.err;
    const std::vector<std::pair<Words, std::string>> steps = {
        {{"reg", "keys", "HKEY_LOCAL_MACHINE\\SOFTWARE\\T"}, "1\nA\nb\n"},
        {{"reg", "keys", "O"}, "0\n0\n"},
        {{"reg", "values", "HKLM\\SOFTWARE\\T"}, "Server;srv01\nPort;P\0\0\n"s},
        {{"reg", "values", "SOFTWARE\\T\\A"}, "-1\n"},
        {{"reg", "get", "SOFTWARE\\T", "server"}, "srv01\n"},
        {{"reg", "get", "SOFTWARE\\T", "Port", "dflt"}, "dflt\n"},
        {{"reg", "set", "SOFTWARE\\T\\A", "caf\xC3\xA9", "\xE2\x82\xAC a"}, "0\n"},
        {{"reg", "get", "SOFTWARE\\T\\A", "caf\xC3\xA9"}, "\xE2\x82\xAC a\n"},
        {{"deny-write", "HKLM\\SOFTWARE"}, ""},
        {{"reg", "set", "SOFTWARE\\T", "New", "c"}, "5\n"},
        {{"allow-write", "SOFTWARE"}, ""},
        {{"reg", "delete", "SOFTWARE\\T", "Server"}, ""},
        {{"reg", "get", "SOFTWARE\\T", "Server", "gone"}, "gone\n"},
    };
    for (const auto& [words, expected] : steps) {
        const Outcome outcome = Run(words, machine);
        EXPECT_EQ(outcome.exitCode, 0) << words[0] << " " << words[1] << ": " << outcome.err;
        EXPECT_EQ(outcome.out, expected) << words[0] << " " << words[1];
    }
    EXPECT_EQ(Run({"deny-write", "SOFTWARE\\Missing"}, machine).exitCode, 1);

    const std::string file = (dir / "out.reg").string(), copy = (dir / "copy").string();
    ASSERT_EQ(Run({"export", "HKLM\\SOFTWARE", file}, machine).exitCode, 0);
    ASSERT_EQ(Run({"--machine", copy, "init", "--from", file}).exitCode, 0);
    EXPECT_EQ(Run({"export", "SOFTWARE"}, copy).out, Read(file));
    EXPECT_TRUE(Read(file).starts_with("\xFF\xFEW\0i\0n\0"s));
}

// "spooler add --all" opens exactly the printer keys of the spooler, by their registry names, and keeps the
// printers added one by one.
TEST_F(QuenyxMachine, TheSpoolerTakesEveryPrinterKeyAtOnce)
{
    const std::string printers = "[HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers";
    ASSERT_EQ(Run({"--machine", machine, "init", "--from",
                   Write("p.reg", "REGEDIT4\r\n\r\n" + printers + "\\Laser 2]\r\n" + printers + "\\HR Copier]\r\n" +
                                      printers + "\\HR Copier\\PrinterDriverData]\r\n[HKLM\\SOFTWARE\\Other]\r\n")})
                  .exitCode,
              0);
    ASSERT_EQ(Run({"spooler", "add", "Offline"}, machine).exitCode, 0);
    const Outcome all = Run({"spooler", "add", "--all"}, machine);
    EXPECT_EQ(all.exitCode, 0) << all.err;
    EXPECT_EQ(all.out, "2 printers\n");
    EXPECT_EQ(Run({"spooler", "list"}, machine).out, "HR Copier\nLaser 2\nOffline\n");
}

// What a folder holds, file by file: names, sizes and a hash of the bytes.
std::map<std::string, std::string> Snapshot(const fs::path& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.path().filename() == "out" || entry.path().filename() == "err")
            continue; // what the runs print
        if (!entry.is_regular_file()) {
            files[entry.path().string()] = "folder";
            continue;
        }
        const std::string bytes(std::istreambuf_iterator<char>(std::ifstream(entry.path(), std::ios::binary).rdbuf()),
                                {});
        files[entry.path().string()] =
            std::to_string(bytes.size()) + " " + std::to_string(std::hash<std::string>{}(bytes));
    }
    return files;
}

// A machine that cannot be used is named with what is wrong with it in one line, exit 1, and left as it was.
TEST_F(QuenyxMachine, ABrokenMachineIsNamedInOneLineAndLeftAsItWas)
{
    std::string fixture = "REGEDIT4\r\n\r\n[HKLM\\SOFTWARE\\T]\r\n";
    for (int i = 0; i < 300; ++i)
        fixture += "\"V" + std::to_string(i) + "\"=\"" + std::string(100, 'x') + "\"\r\n";
    const auto make = [&](const std::string& name) {
        const std::string folder = (dir / name).string();
        EXPECT_EQ(Run({"--machine", folder, "init", "--from", Write(name + ".reg", fixture)}).exitCode, 0);
        return fs::path(folder);
    };
    const fs::path empty = make("empty"), corrupt = make("corrupt"), truncated = make("truncated");
    const fs::path readOnly = make("read-only"), storeless = dir / "storeless", cutShort = make("cut-short");
    fs::resize_file(empty / "registry.sqlite3", 0);
    std::ofstream(corrupt / "registry.sqlite3", std::ios::binary) << std::string(8192, 'z');
    fs::resize_file(truncated / "registry.sqlite3", 8192);
    fs::resize_file(cutShort / "registry.sqlite3", fs::file_size(cutShort / "registry.sqlite3") - 4096);
    fs::create_directories(storeless);
    fs::permissions(readOnly, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);

    const std::tuple<fs::path, Words, std::string> cases[] = {
        {dir / "missing", {"reg", "keys", "SOFTWARE"}, "does not exist"},
        {storeless, {"reg", "keys", "SOFTWARE"}, "registry.sqlite3 is missing"},
        {empty, {"reg", "keys", "SOFTWARE"}, "is empty (0 bytes)"},
        {empty, {"commands"}, "is empty (0 bytes)"},
        {corrupt, {"reg", "values", "SOFTWARE\\T"}, "is corrupt"},
        {truncated, {"reg", "values", "SOFTWARE\\T"}, "truncated"},
        {cutShort, {"reg", "keys", "SOFTWARE"}, "corrupt or truncated"},
        {readOnly, {"reg", "set", "SOFTWARE\\T", "V1", "y"}, "is read-only"},
    };
    for (const auto& [folder, words, message] : cases) {
        const auto before = Snapshot(dir);
        const Outcome outcome = Run(words, folder.string());
        EXPECT_EQ(outcome.exitCode, 1) << message;
        EXPECT_TRUE(outcome.err.starts_with("quenyx-machine: ")) << message;
        EXPECT_NE(outcome.err.find(folder.string()), std::string::npos) << outcome.err;
        EXPECT_NE(outcome.err.find(message), std::string::npos) << outcome.err;
        EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << outcome.err;
        EXPECT_EQ(Snapshot(dir), before) << message;
    }

    // A read-only machine is still read, and reading it leaves no file behind.
    const auto before = Snapshot(dir);
    const Outcome read = Run({"reg", "get", "SOFTWARE\\T", "V7"}, readOnly.string());
    EXPECT_EQ(read.exitCode, 0) << read.err;
    EXPECT_EQ(read.out, std::string(100, 'x') + "\n");
    EXPECT_EQ(Snapshot(dir), before);
    fs::permissions(readOnly, fs::perms::owner_all, fs::perm_options::add);
}

// A reader is not held up by another process's write transaction; a writer that waits too long says the
// store is locked, and writes nothing.
TEST_F(QuenyxMachine, AReaderPassesAWriterAndAWriterThatWaitsTooLongSaysLocked)
{
    ASSERT_EQ(Run({"--machine", machine, "init", "--from", Write("t.reg", kFixture)}).exitCode, 0);
    sqlite3* writer = nullptr;
    ASSERT_EQ(sqlite3_open((fs::path(machine) / "registry.sqlite3").c_str(), &writer), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(writer, "BEGIN IMMEDIATE; DELETE FROM vals;", nullptr, nullptr, nullptr), SQLITE_OK);

    const auto started = std::chrono::steady_clock::now();
    const Outcome read = Run({"reg", "get", "SOFTWARE\\T", "Server"}, machine, "QUENYX_LOCK_TIMEOUT_MS=20000");
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
    EXPECT_EQ(read.exitCode, 0) << read.err;
    EXPECT_EQ(read.out, "srv01\n");

    const Outcome write = Run({"reg", "set", "SOFTWARE\\T", "Server", "x"}, machine, "QUENYX_LOCK_TIMEOUT_MS=200");
    EXPECT_EQ(write.exitCode, 1);
    EXPECT_NE(write.err.find("is locked"), std::string::npos) << write.err;
    EXPECT_EQ(write.err.find("cannot read"), std::string::npos) << write.err;
    sqlite3_exec(writer, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(writer);
    EXPECT_EQ(Run({"reg", "get", "SOFTWARE\\T", "Server"}, machine).out, "srv01\n");
}

} // namespace
