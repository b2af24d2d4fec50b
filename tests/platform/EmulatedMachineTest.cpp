// What only the emulated machine promises beyond the shared contract: value order, write rules,
// several processes at once, drive folders.
#include "TestMachine.h"

#include "platform/Platform.h"
#include "platform/emulated/EmulatedMachine.h"
#include "platform/emulated/EmulatedSystem.h"
#include "platform/mod_RegWin.h"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace quenyx {
namespace {

using namespace mod_RegWin;

class EmulatedMachine : public ::testing::Test
{
protected:
    void SetUp() override { machine = test::TestMachine::Create(); }
    std::unique_ptr<test::TestMachine> machine;
};

TEST_F(EmulatedMachine, ValuesEnumerateInCreationOrderAndReplacingKeepsThePlace)
{
    machine->MakeKey("K");
    for (const char* name : {"Zeta", "alpha", "Mid"})
        ASSERT_EQ(SaveSettingString(HKLM, machine->Key("K"), name, name), 0);
    ASSERT_EQ(SaveSettingString(HKLM, machine->Key("K"), "ALPHA", "again"), 0);

    std::vector<std::string> entries;
    EnumValues(HKLM, machine->Key("K"), entries);
    EXPECT_EQ(entries, (std::vector<std::string>{"Zeta;Zeta", "alpha;again", "Mid;Mid"}));
}

TEST_F(EmulatedMachine, ADeniedKeyRefusesWritesBelowItButStillReads)
{
    machine->MakeKey("K\\Printer");
    ASSERT_EQ(SaveSettingString(HKLM, machine->Key("K\\Printer"), "NCActivate", "0"), 0);
    ASSERT_TRUE(machine->DenyWrite(machine->Key("K")));

    EXPECT_EQ(SaveSettingString(HKLM, machine->Key("K\\Printer"), "NCActivate", "1"), 5);
    DeleteSettingValue(HKLM, machine->Key("K\\Printer"), "NCActivate");
    EXPECT_EQ(GetSettingString(HKLM, machine->Key("K\\Printer"), "NCActivate", "gone"), "0");
    EXPECT_EQ(SaveSettingString(HKLM, machine->Key(""), "Beside", "1"), 0);
}

TEST_F(EmulatedMachine, TwoProcessesWritingAtOnceLoseNothing)
{
    machine->MakeKey("K");
    auto& emulated = dynamic_cast<platform::EmulatedMachine&>(machine->Admin());
    const auto folder = emulated.folder();
    constexpr int kPerProcess = 200;
    std::vector<pid_t> children;
    for (int child = 0; child < 2; ++child) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            std::string error;
            auto own = platform::EmulatedMachine::Open(folder, false, error);
            if (!own)
                ::_exit(2);
            platform::Install(platform::Platform{own, nullptr, own});
            int failures = 0;
            for (int i = 0; i < kPerProcess; ++i) {
                const std::string name = "p" + std::to_string(child) + "_" + std::to_string(i);
                failures += SaveSettingString(HKLM, machine->Key("K"), name, std::to_string(i)) != 0;
            }
            ::_exit(failures == 0 ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (const pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    std::vector<std::string> entries;
    EnumValues(HKLM, machine->Key("K"), entries);
    EXPECT_EQ(entries.size(), 2u * kPerProcess);
}

TEST_F(EmulatedMachine, SharedReadsKeepOneViewUntilAWriteOrTheirEnd)
{
    machine->MakeKey("K");
    ASSERT_EQ(SaveSettingString(HKLM, machine->Key("K"), "A", "1"), 0);
    auto& emulated = dynamic_cast<platform::EmulatedMachine&>(machine->Admin());
    std::string error;
    auto agent = platform::EmulatedMachine::Open(emulated.folder(), false, error); // another process's writes
    ASSERT_TRUE(agent) << error;
    const auto agentWrites = [&](const char* text) {
        ASSERT_EQ(agent->SetRawValue(machine->Key("K"), {"A", platform::reg_type::String, std::string(text) + '\0'}),
                  0);
    };
    {
        const SharedReads oneView;
        EXPECT_EQ(GetSettingString(HKLM, machine->Key("K"), "A", ""), "1");
        agentWrites("2");
        EXPECT_EQ(GetSettingString(HKLM, machine->Key("K"), "A", ""), "1");
        ASSERT_EQ(SaveSettingString(HKLM, machine->Key("K"), "B", "x"), 0); // our own write ends the view
        EXPECT_EQ(GetSettingString(HKLM, machine->Key("K"), "A", ""), "2");
    }
    agentWrites("3");
    EXPECT_EQ(GetSettingString(HKLM, machine->Key("K"), "A", ""), "3");

    // Nothing is left reading: a checkpoint that must wait for every reader completes at once.
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open((emulated.folder() / platform::EmulatedMachine::kRegistryFile).c_str(), &db), SQLITE_OK);
    int log = -1;
    int done = -2;
    EXPECT_EQ(sqlite3_wal_checkpoint_v2(db, nullptr, SQLITE_CHECKPOINT_TRUNCATE, &log, &done), SQLITE_OK);
    sqlite3_close(db);
}

// A search lists a key's subkeys and reads one value of each inside one view: whatever order they are read in,
// they answer as the store held them when the view began, names compared without regard to case.
TEST_F(EmulatedMachine, ValuesOfListedSubkeysAnswerFromTheView)
{
    for (const char* name : {"A", "b", "C", "D"})
        machine->MakeKey(std::string("P\\") + name);
    machine->SetString("P\\A", "Id", std::string("1") + '\0');
    machine->SetString("P\\b", "ID", std::string("2") + '\0');
    ASSERT_EQ(machine->Admin().SetRawValue(machine->Key("P\\D"),
                                           {"Id", platform::reg_type::DWord, std::string("\x05\0\0\0", 4)}),
              0);
    std::string error;
    auto agent = platform::EmulatedMachine::Open(dynamic_cast<platform::EmulatedMachine&>(machine->Admin()).folder(),
                                                 false, error); // another process
    ASSERT_TRUE(agent) << error;
    const auto id = [&](const char* name) {
        return GetSettingString(HKLM, machine->Key(std::string("P\\") + name), "id", "-");
    };
    {
        const SharedReads oneView;
        std::vector<std::string> names;
        ASSERT_EQ(EnumKeys(HKLM, machine->Key("P"), names), 1);
        EXPECT_EQ(names, (std::vector<std::string>{"A", "b", "C", "D"}));
        ASSERT_EQ(agent->SetRawValue(machine->Key("P\\A"), {"Id", platform::reg_type::String, std::string("9") + '\0'}),
                  0);
        ASSERT_EQ(agent->CreateKey(machine->Key("P\\E")), 0);
        ASSERT_EQ(agent->SetRawValue(machine->Key("P\\E"), {"Id", platform::reg_type::String, std::string("5") + '\0'}),
                  0);
        EXPECT_EQ(id("C") + id("a") + id("B") + id("D") + id("E") + id("A"), "-12--1");
        EXPECT_EQ(GetSettingString(HKLM, machine->Key("P\\A"), "Other", "x"), "x");
    }
    EXPECT_EQ(id("A") + id("E"), "95");
}

// The same answers from a store made before values were indexed by name, and when the listed keys' values
// are lost among the values of that name of many other keys.
TEST_F(EmulatedMachine, ValuesOfListedSubkeysAnswerWhateverTheStoreLayout)
{
    const auto folder = dynamic_cast<platform::EmulatedMachine&>(machine->Admin()).folder();
    machine->MakeKey("P\\A");
    machine->SetString("P\\A", "Id", std::string("1") + '\0');
    for (int i = 0; i < 100; ++i) { // keys made between the listed ones, whose values come between theirs
        machine->MakeKey("Other\\K" + std::to_string(i));
        machine->SetString("Other\\K" + std::to_string(i), "ID", std::string("7") + '\0');
    }
    for (const char* name : {"b", "C"})
        machine->MakeKey(std::string("P\\") + name);
    machine->SetString("P\\b", "id", std::string("2") + '\0');

    const auto search = [&](const std::shared_ptr<platform::RegistryBackend>& registry) {
        const auto installed = std::exchange(platform::Current().registry, registry);
        std::string found;
        {
            const SharedReads oneView;
            std::vector<std::string> names;
            EXPECT_EQ(EnumKeys(HKLM, machine->Key("P"), names), 1);
            for (const auto& name : names)
                found += name + "=" + GetSettingString(HKLM, machine->Key("P\\" + name), "ID", "-") + " ";
        }
        platform::Current().registry = installed;
        return found;
    };
    std::string error;
    for (const bool indexed : {true, false}) {
        if (!indexed) {
            sqlite3* db = nullptr;
            ASSERT_EQ(sqlite3_open((folder / platform::EmulatedMachine::kRegistryFile).c_str(), &db), SQLITE_OK);
            ASSERT_EQ(sqlite3_exec(db, "DROP INDEX vals_by_name", nullptr, nullptr, nullptr), SQLITE_OK);
            sqlite3_close(db);
        }
        const auto reopened = platform::EmulatedMachine::Open(folder, platform::EmulatedMachine::Mode::ReadOnly, error);
        ASSERT_TRUE(reopened) << error;
        EXPECT_EQ(search(reopened), "A=1 b=2 C=- ") << "indexed " << indexed;
    }
}

// The spooler and the status component of the console's own machine answer inside the view its registry
// reads share: the same answers as outside one, from the store as it was when the view began.
TEST_F(EmulatedMachine, TheSpoolerAndStatusAnswerFromTheSharedView)
{
    using platform::StatusAnswer;
    std::string error;
    const auto ours = platform::EmulatedSystem::Open(
        std::dynamic_pointer_cast<platform::EmulatedMachine>(platform::Current().registry), error);
    ASSERT_TRUE(ours) << error;
    const auto other = platform::EmulatedSystem::Open(
        dynamic_cast<platform::EmulatedMachine&>(machine->Admin()).folder(), error); // another process's changes
    ASSERT_TRUE(other) << error;
    struct Case
    {
        const char* rule; // null: no rule for the printer
        std::int32_t code;
        bool removed; // the component is not installed
        StatusAnswer answer;
        std::int32_t status;
    };
    const Case cases[] = {
        {nullptr, 0, false, StatusAnswer::Answered, 0},    {"code", 3, false, StatusAnswer::Answered, 3},
        {"none", 0, false, StatusAnswer::NotAnswered, -1}, {"fail", 0, false, StatusAnswer::Failed, -1},
        {"code", 1, true, StatusAnswer::Failed, -1},       {nullptr, 0, true, StatusAnswer::Failed, -1}};
    ASSERT_TRUE(other->AddSpoolerPrinter("Laser"));
    for (const Case& c : cases) {
        ASSERT_TRUE(c.rule ? other->SetStatusRule({"\\\\Srv\\Q", c.rule, c.code})
                           : other->ClearStatusRule("\\\\Srv\\Q"));
        ASSERT_TRUE(other->SetStatusComponentInstalled(!c.removed));
        for (const bool held : {false, true}) {
            std::optional<SharedReads> view;
            if (held)
                view.emplace();
            std::int32_t status = -1;
            const char* rule = c.rule ? c.rule : "no rule";
            EXPECT_EQ(ours->GetPrinterStatus(0, "\\\\srv\\q", status), c.answer) << rule << ", held " << held;
            EXPECT_EQ(status, c.status) << rule << ", held " << held;
            EXPECT_TRUE(ours->OpenPrinter("LASER")) << held;
            EXPECT_FALSE(ours->OpenPrinter("Laser 2")) << held;
        }
    }

    std::int32_t status = -1;
    {
        const SharedReads oneView;
        EXPECT_TRUE(ours->OpenPrinter("Laser"));
        ASSERT_TRUE(other->RemoveSpoolerPrinter("Laser"));
        ASSERT_TRUE(other->AddSpoolerPrinter("Copier"));
        ASSERT_TRUE(other->SetStatusComponentInstalled(true));
        EXPECT_TRUE(ours->OpenPrinter("Laser"));
        EXPECT_FALSE(ours->OpenPrinter("Copier"));
        EXPECT_EQ(ours->GetPrinterStatus(0, "Copier", status), StatusAnswer::Failed);
    }
    EXPECT_FALSE(ours->OpenPrinter("Laser"));
    EXPECT_TRUE(ours->OpenPrinter("Copier"));
    EXPECT_EQ(ours->GetPrinterStatus(0, "Copier", status), StatusAnswer::Answered);
}

TEST_F(EmulatedMachine, WindowsPathsMapIntoDriveFoldersWithoutRegardToCase)
{
    auto& emulated = dynamic_cast<platform::EmulatedMachine&>(machine->Admin());
    const auto root = emulated.folder();
    std::filesystem::create_directories(root / "drive_c" / "Program Files" / "Quenyx");
    EXPECT_EQ(emulated.HostPath("C:\\PROGRAM FILES\\quenyx\\a.toml"),
              root / "drive_c" / "Program Files" / "Quenyx" / "a.toml");
    EXPECT_EQ(emulated.HostPath("d:\\Logs\\"), root / "drive_d" / "Logs");
    EXPECT_EQ(emulated.HostPath("C:/Logs/x.txt"), root / "drive_c" / "Logs" / "x.txt");
}

} // namespace
} // namespace quenyx
