#include "TestMachine.h"

#include "platform/mod_RegWin.h"
#include "platform/mod_Trace.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace quenyx {
namespace {

class DiagnosticLog : public ::testing::Test
{
protected:
    void SetUp() override { machine = test::TestMachine::Create(); }
    void TearDown() override
    {
        mod_Trace::ResetTraceSettings();
        machine.reset();
    }

    std::string Read(const std::string& fileName)
    {
        std::ifstream in(machine->HostPath(machine->Folder() + "\\" + fileName), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::size_t FilesInFolder()
    {
        std::size_t count = 0;
        for ([[maybe_unused]] const auto& entry :
             std::filesystem::directory_iterator(machine->HostPath(machine->Folder())))
            ++count;
        return count;
    }

    std::unique_ptr<test::TestMachine> machine;
};

struct LevelCase
{
    const char* level;
    bool withFolder;
    bool logs;
    friend void PrintTo(const LevelCase& c, std::ostream* os)
    {
        *os << "level '" << c.level << "'" << (c.withFolder ? " with a folder" : " without a folder");
    }
};

class LoggingSwitch : public DiagnosticLog, public ::testing::WithParamInterface<LevelCase>
{
};

TEST_P(LoggingSwitch, OnlyANonZeroLevelWithAFolderWrites)
{
    mod_Trace::SetTraceSettings(GetParam().level, GetParam().withFolder ? machine->Folder() : "");
    mod_Trace::WriteTrace("Form_Load", "Load");
    EXPECT_EQ(FilesInFolder(), GetParam().logs ? 1u : 0u) << "level '" << GetParam().level << "'";
}

INSTANTIATE_TEST_SUITE_P(Levels, LoggingSwitch,
                         ::testing::Values(LevelCase{"0", true, false}, LevelCase{"", true, false},
                                           LevelCase{"abc", true, false}, LevelCase{"00", true, false},
                                           LevelCase{"1", false, false}, LevelCase{"1", true, true},
                                           LevelCase{"5", true, true}, LevelCase{"-1", true, true},
                                           LevelCase{" 2", true, true}, LevelCase{"3x", true, true}));

TEST_F(DiagnosticLog, LinesHaveTheTimeTheTagTwoBlanksAndTheMessage)
{
    mod_Trace::SetTraceSettings("2", machine->Folder());
    machine->clock().now = {2026, 12, 3, 9, 7, 2};
    mod_Trace::WriteTrace("Form_Load", "Load");
    mod_Trace::WriteTrace("", "");
    mod_Trace::WriteTrace("frmOptions", "two\r\nlines");
    EXPECT_EQ(Read("VeltrinAdmin_03122026.log"),
              "09:07:02 [Form_Load]  - Load\r\n09:07:02 []  - \r\n09:07:02 [frmOptions]  - two\r\nlines\r\n");
}

TEST_F(DiagnosticLog, FileNameIsTheShortDateWithoutSlashes)
{
    struct Case
    {
        const char* picture;
        const char* file;
    };
    mod_Trace::SetTraceSettings("1", machine->Folder());
    for (const Case& c :
         {Case{"dd/MM/yyyy", "VeltrinAdmin_03122026.log"}, Case{"M/d/yyyy", "VeltrinAdmin_1232026.log"},
          Case{"yyyy-MM-dd", "VeltrinAdmin_2026-12-03.log"}, Case{"d.M.yy", "VeltrinAdmin_3.12.26.log"}}) {
        machine->clock().datePicture = c.picture;
        mod_Trace::WriteTrace("T", c.picture);
        EXPECT_EQ(Read(c.file), std::string("14:05:33 [T]  - ") + c.picture + "\r\n") << c.picture;
    }
}

TEST_F(DiagnosticLog, AppendsAcrossRunsAndMovesOnAtMidnight)
{
    mod_Trace::SetTraceSettings("1", machine->Folder() + "\\"); // a closing backslash doubles the separator
    mod_Trace::WriteTrace("A", "first");
    mod_Trace::SetTraceSettings("1", machine->Folder());
    mod_Trace::WriteTrace("A", "second");
    machine->clock().now = {2026, 12, 4, 0, 0, 1};
    mod_Trace::WriteTrace("A", "next day");
    EXPECT_EQ(Read("VeltrinAdmin_03122026.log"), "14:05:33 [A]  - first\r\n14:05:33 [A]  - second\r\n");
    EXPECT_EQ(Read("VeltrinAdmin_04122026.log"), "00:00:01 [A]  - next day\r\n");
}

TEST_F(DiagnosticLog, AMissingFolderIsGivenUpQuietly)
{
    mod_Trace::SetTraceSettings("1", machine->Folder() + "\\NoSuchFolder");
    mod_Trace::WriteTrace("A", "lost");
    EXPECT_FALSE(std::filesystem::exists(machine->HostPath(machine->Folder() + "\\NoSuchFolder")));
}

// The log's place on the host is kept from line to line; a folder that has gone, or come back under another
// case, is looked for again rather than losing the lines.
TEST_F(DiagnosticLog, LinesFollowTheFolderWhenItIsReplaced)
{
    const auto logs = machine->HostPath(machine->Folder()) / "Logs";
    std::filesystem::create_directories(logs);
    mod_Trace::SetTraceSettings("1", machine->Folder() + "\\logs");
    mod_Trace::WriteTrace("A", "first");
    std::filesystem::remove_all(logs);
    mod_Trace::WriteTrace("A", "lost");
    std::filesystem::create_directories(logs.parent_path() / "LOGS");
    mod_Trace::WriteTrace("A", "second");
    EXPECT_EQ(Read("LOGS\\VeltrinAdmin_03122026.log"), "14:05:33 [A]  - second\r\n");
}

TEST_F(DiagnosticLog, ReadTraceSettingsTakesBothValuesOfTheAgentKey)
{
    const std::string agent = mod_Trace::AgentKey;
    ASSERT_EQ(machine->Admin().CreateKey(agent), 0);
    mod_Trace::ReadTraceSettings();
    EXPECT_EQ(mod_Trace::traceLevel(), "0");
    EXPECT_EQ(mod_Trace::tracePath(), "");

    ASSERT_EQ(mod_RegWin::SaveSettingString(mod_RegWin::HKLM, agent, "TraceLevel", "3"), 0);
    ASSERT_EQ(mod_RegWin::SaveSettingString(mod_RegWin::HKLM, agent, "TracePath", "C:\\Logs"), 0);
    mod_Trace::ReadTraceSettings();
    EXPECT_EQ(mod_Trace::traceLevel(), "3");
    EXPECT_EQ(mod_Trace::tracePath(), "C:\\Logs");
    mod_RegWin::DeleteSettingValue(mod_RegWin::HKLM, agent, "TraceLevel");
    mod_RegWin::DeleteSettingValue(mod_RegWin::HKLM, agent, "TracePath");
}

} // namespace
} // namespace quenyx
