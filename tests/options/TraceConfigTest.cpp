#include "FakeFolderBrowser.h"
#include "TestMachine.h"

#include "options/mod_TraceConfig.h"
#include "platform/Platform.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace quenyx {
namespace {

using mod_Trace::TraceFileStatus;

struct TextCase
{
    const char* label;
    std::string text;
    std::int16_t level;         // read: the level found; write: the level written
    std::string baseFile;       // read: the path found ("as passed": none); write: the path written
    std::string rewritten = {}; // write only
};
std::string Label(const ::testing::TestParamInfo<TextCase>& each)
{
    return each.param.label;
}

class ReadingText : public ::testing::TestWithParam<TextCase>
{
};
TEST_P(ReadingText, FindsTheLevelAndTheBaseFile)
{
    std::int16_t level = 9;
    std::string baseFile = "as passed";
    mod_Trace::ReadTraceConfigText(GetParam().text, level, baseFile);
    EXPECT_EQ(level, GetParam().level);
    EXPECT_EQ(baseFile, GetParam().baseFile);
}
INSTANTIATE_TEST_SUITE_P(
    Texts, ReadingText,
    ::testing::Values(
        TextCase{"Sender", "[log]\r\nbase_filename = \"D:/Trace/S.txt\"\r\nlevel = \"warn\"\r\n", 3,
                 "D:\\Trace\\S.txt"},
        TextCase{"Critical", "level = \"critical\"\r\n", 1, "as passed"},
        TextCase{"Debug", "level = \"debug\"\r\n", 5, "as passed"},
        TextCase{"Capitals", "level = \"INFO\"\r\n", 4, "as passed"},
        TextCase{"RowTextIsNoName", "level = \"Fatal\"\r\n", 0, "as passed"},
        TextCase{"CommentAfterTheQuote", "level = \"warn\" # quieter\r\n", 0, "as passed"},
        TextCase{"UnknownNameKeepsAnEarlierOne", "level = \"info\"\r\nlevel = \"verbose\"\r\n", 4, "as passed"},
        TextCase{"LaterLinesOverride",
                 "level = \"info\"\r\nlevel = \"err\"\r\nbase_filename = \"C:/a\"\r\nbase_filename = \"D:/b\"\r\n", 2,
                 "D:\\b"},
        TextCase{"KeyEndingInLevel", "console_level = \"err\"\r\n", 2, "as passed"},
        TextCase{"CaseAndBlanksMatter", "Level = \"err\"\r\nlevel=\"err\"\r\nBASE_FILENAME = \"C:/x\"\r\n", 0,
                 "as passed"},
        TextCase{"QuoteEndsTheLine", "base_filename = \"\r\nlevel = \"\r\n", 0, "as passed"},
        TextCase{"EmptyValue", "base_filename = \"\"\r\n", 0, ""},
        TextCase{"LineFeedsAlone", "level = \"info\"\nbase_filename = \"C:/a.txt\"\n", 4, "C:\\a.txt"},
        TextCase{"CarriageReturnsAlone", "level = \"info\"\rbase_filename = \"C:/a.txt\"\r", 4, "C:\\a.txt"},
        TextCase{"LastLineWithoutItsEnd", "# x\r\nlevel = \"debug\"", 5, "as passed"}),
    Label);

class RewritingText : public ::testing::TestWithParam<TextCase>
{
};
TEST_P(RewritingText, ChangesOnlyTheLinesItLooksFor)
{
    EXPECT_EQ(mod_Trace::RewriteTraceConfigText(GetParam().text, GetParam().level, GetParam().baseFile),
              GetParam().rewritten);
}
INSTANTIATE_TEST_SUITE_P(
    Texts, RewritingText,
    ::testing::Values(
        TextCase{"Sender", "# S\r\nbase_filename = \"D:/Trace/S.txt\"\r\nlevel = \"warn\"\r\nmax_files = 7\r\n", 5,
                 "E:\\T\\S.txt", "# S\r\nbase_filename = \"E:/T/S.txt\"\r\nlevel = \"debug\"\r\nmax_files = 7\r\n"},
        TextCase{"CommentDropped", "level = \"warn\" # quieter\r\n", 2, "", "level = \"err\"\r\n"},
        TextCase{"ZeroIsOff", "level = \"info\"\r\n", 0, "", "level = \"off\"\r\n"},
        TextCase{"SixIsOff", "level = \"info\"\r\n", 6, "", "level = \"off\"\r\n"},
        TextCase{"MinusOneIsOff", "level = \"info\"\r\n", -1, "", "level = \"off\"\r\n"},
        TextCase{"NoLevelLineIsAdded", "base_filename = \"C:/a\"\r\n", 4, "D:\\b", "base_filename = \"D:/b\"\r\n"},
        TextCase{"NoBaseLineIsAdded", "level = \"off\"\r\n", 1, "C:\\x", "level = \"critical\"\r\n"},
        TextCase{"EmptyPathLeavesTheBaseLine", "base_filename = \"C:\\a\" #\r\n", 0, "",
                 "base_filename = \"C:\\a\" #\r\n"},
        TextCase{"WholeBaseLineGetsSlashes", "x\\y base_filename = \"old\" # z\r\n", 0, "C:\\T\\a",
                 "x/y base_filename = \"C:/T/a\"\r\n"},
        TextCase{"QuoteEndingTheLine", "level = \"\r\n", 4, "", "level = \"info\"\r\n"},
        TextCase{"LineEndsBecomeCrLf", "a\nlevel = \"info\"\n\rb\r\nc", 3, "",
                 "a\r\nlevel = \"warn\"\r\n\r\nb\r\nc\r\n"},
        TextCase{"EmptyLinesStay", "\r\n\r\na\r\n", 0, "C:\\x", "\r\n\r\na\r\n"},
        TextCase{"EmptyTextStaysEmpty", "", 5, "C:\\x", ""},
        TextCase{"LineEndsInThePathAreDropped", "base_filename = \"old\"\r\n", 0, "C:\\a\r\nb",
                 "base_filename = \"C:/ab\"\r\n"}),
    Label);

// The Sender's trace file in the test's folder of a machine of its own.
class TraceFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        machine = test::TestMachine::Create();
        path = machine->Folder() + "\\Quenyx.Agent.Sender.Service.toml";
        host = machine->HostPath(path);
        temporary = std::filesystem::path(host) += ".tmp";
    }
    void TearDown() override { machine.reset(); }

    static void Put(const std::filesystem::path& file, const std::string& bytes)
    {
        std::ofstream(file, std::ios::binary) << bytes;
    }
    static std::string Contents(const std::filesystem::path& file)
    {
        std::stringstream text;
        text << std::ifstream(file, std::ios::binary).rdbuf();
        return text.str();
    }
    TraceFileStatus Read() { return mod_Trace::ReadTraceConfig(path, level, baseFile); }

    std::unique_ptr<test::TestMachine> machine;
    std::string path;
    std::filesystem::path host;
    std::filesystem::path temporary;
    std::int16_t level = 9;
    std::string baseFile = "as passed";
};

// An earlier run's temporary file is no obstacle, and none is left behind.
TEST_F(TraceFile, IsReadAndReplacedWhole)
{
    Put(host, "[log]\nbase_filename = \"D:/T/S.txt\"\nlevel = \"warn\"\n");
    Put(temporary, "stale");
    ASSERT_EQ(Read(), TraceFileStatus::Done);
    EXPECT_EQ(level, 3);
    EXPECT_EQ(baseFile, "D:\\T\\S.txt");
    ASSERT_EQ(mod_Trace::WriteTraceConfig(path, 5, "E:\\S.txt"), TraceFileStatus::Done);
    EXPECT_EQ(Contents(host), "[log]\r\nbase_filename = \"E:/S.txt\"\r\nlevel = \"debug\"\r\n");
    EXPECT_FALSE(std::filesystem::exists(temporary));
}

TEST_F(TraceFile, ThatIsMissingOrAFolderIsReportedAndLeftAlone)
{
    for (const bool folder : {false, true}) {
        if (folder)
            std::filesystem::create_directories(host);
        EXPECT_EQ(Read(), TraceFileStatus::CannotRead);
        EXPECT_EQ(level, 0);
        EXPECT_EQ(baseFile, "as passed");
        EXPECT_EQ(mod_Trace::WriteTraceConfig(path, 4, "C:\\a.txt"), TraceFileStatus::CannotRead);
        EXPECT_EQ(std::filesystem::is_directory(host), folder);
        EXPECT_FALSE(std::filesystem::exists(temporary));
    }
}

// A folder holds the temporary name: the new content has nowhere to go, and the file keeps the old one.
TEST_F(TraceFile, ThatCannotBeReplacedKeepsItsContent)
{
    Put(host, "level = \"info\"\r\n");
    std::filesystem::create_directories(temporary);
    EXPECT_EQ(mod_Trace::WriteTraceConfig(path, 5, ""), TraceFileStatus::CannotWrite);
    EXPECT_EQ(Contents(host), "level = \"info\"\r\n");
    EXPECT_TRUE(std::filesystem::is_directory(temporary));
}

// A code page in which the byte F3 is "ó", around the machine's own files.
class CodePageFiles final : public platform::Files
{
public:
    explicit CodePageFiles(std::shared_ptr<platform::Files> inner) : inner_(std::move(inner)) {}
    std::filesystem::path HostPath(std::string_view windowsPath) override { return inner_->HostPath(windowsPath); }
    std::string ToAnsi(std::string_view text) override { return Replaced(text, "\u00f3", "\xF3"); }
    std::string FromAnsi(std::string_view bytes) override { return Replaced(bytes, "\xF3", "\u00f3"); }

private:
    static std::string Replaced(std::string_view text, std::string_view from, std::string_view to)
    {
        std::string out(text);
        for (std::size_t at = 0; (at = out.find(from, at)) != std::string::npos; at += to.size())
            out.replace(at, from.size(), to);
        return out;
    }
    std::shared_ptr<platform::Files> inner_;
};

TEST_F(TraceFile, IsInTheMachinesCodePage)
{
    platform::Current().files = std::make_shared<CodePageFiles>(platform::Current().files);
    Put(host, "# Relat\xF3rio\r\nbase_filename = \"C:/\xF3/a.txt\"\r\n");
    ASSERT_EQ(Read(), TraceFileStatus::Done);
    EXPECT_EQ(baseFile, "C:\\\u00f3\\a.txt");
    ASSERT_EQ(mod_Trace::WriteTraceConfig(path, 0, "D:\\\u00f3\\b.txt"), TraceFileStatus::Done);
    EXPECT_EQ(Contents(host), "# Relat\xF3rio\r\nbase_filename = \"D:/\xF3/b.txt\"\r\n");
}

TEST(TraceFileWithoutAMachine, IsNeitherReadNorWrittenAndNoFolderIsChosen)
{
    platform::Install({});
    std::int16_t level = 3;
    std::string baseFile;
    EXPECT_EQ(mod_Trace::ReadTraceConfig("C:\\a.toml", level, baseFile), TraceFileStatus::CannotRead);
    EXPECT_EQ(mod_Trace::WriteTraceConfig("C:\\a.toml", 1, ""), TraceFileStatus::CannotRead);
    EXPECT_EQ(mod_Trace::BrowseForFolder(), "");
    auto browser = std::make_shared<test::FakeFolderBrowser>();
    platform::Current().folderBrowser = browser;
    browser->nextAnswer = "D:\\Logs";
    EXPECT_EQ(mod_Trace::BrowseForFolder(), "D:\\Logs");
    platform::Install({});
}

} // namespace
} // namespace quenyx
