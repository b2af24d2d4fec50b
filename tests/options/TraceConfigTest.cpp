#include "TestMachine.h"

#include "options/mod_TraceConfig.h"
#include "platform/Platform.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <tuple>

namespace quenyx {
namespace {

using mod_Trace::TraceFileStatus;

// Levels are read by name in any case, and written by number in lower case, "off" for any other number.
TEST(TraceText, LevelNamesAndNumbers)
{
    const std::string read[] = {"OFF", "Critical", "ERR", "warn", "Info", "DEBUG"};
    const std::string written[] = {"off", "off", "critical", "err", "warn", "info", "debug", "off"}; // -1 to 6
    for (std::int16_t level = -1; level <= 6; ++level) {
        std::int16_t found = 9;
        std::string baseFile;
        // -1 and 6 read the names of 5 and 0.
        mod_Trace::ReadTraceConfigText("level = \"" + read[(level + 6) % 6] + "\"", found, baseFile);
        EXPECT_EQ(found, (level + 6) % 6);
        EXPECT_EQ(mod_Trace::RewriteTraceConfigText("level = \"x\"\r\n", level, ""),
                  "level = \"" + written[level + 1] + "\"\r\n");
    }
}

TEST(TraceText, IsReadFromItsLastKnownLines)
{
    const std::tuple<std::string, std::int16_t, std::string> cases[] = {
        {"level = \"warn\" # quieter\r\n", 0, "as passed"}, // the value runs to the line's last character
        {"x base_filename = \"C:/a\" level = \"err\"\r\n", 2, "C:\\a\" level = \"err"},
        {"Level = \"err\"\r\nlevel=\"err\"\r\nBASE_FILENAME = \"C:/x\"\r\n", 0, "as passed"},
        {"base_filename = \"\r\nlevel = \"\r\n", 0, "as passed"},
        {"base_filename = \"\"\r\n", 0, ""},
        {"level = \"info\"\nbase_filename = \"C:/a.txt\"\n", 4, "C:\\a.txt"},
        {"level = \"err\"\rlevel = \"x\"\rbase_filename = \"C:/a\"\rbase_filename = \"D:/b\"", 2, "D:\\b"}};
    for (const auto& [text, expectedLevel, expectedBaseFile] : cases) {
        SCOPED_TRACE(text);
        std::int16_t level = 9;
        std::string baseFile = "as passed";
        mod_Trace::ReadTraceConfigText(text, level, baseFile);
        EXPECT_EQ(level, expectedLevel);
        EXPECT_EQ(baseFile, expectedBaseFile);
    }
}

TEST(TraceText, RewritesOnlyTheLinesItLooksForAndEndsEachInCrLf)
{
    const std::tuple<std::string, std::int16_t, std::string, std::string> cases[] = {
        {"level = \"warn\" # quieter\r\n", 2, "", "level = \"err\"\r\n"},
        {"base_filename = \"C:/a\"\r\n\r\n", 4, "D:\\b", "base_filename = \"D:/b\"\r\n\r\n"},
        {"level = \"off\"\r\n", 1, "C:\\x", "level = \"critical\"\r\n"},
        {"", 5, "C:\\x", ""},
        {"base_filename = \"C:\\a\" #\r\n", 0, "", "base_filename = \"C:\\a\" #\r\n"},
        {"x\\y base_filename = \"old\" # z\r\n", 0, "C:\\T\\a", "x/y base_filename = \"C:/T/a\"\r\n"},
        {"level = \"\r\n", 4, "", "level = \"info\"\r\n"},
        {"a\nlevel = \"info\"\n\rb\r\nc", 3, "", "a\r\nlevel = \"warn\"\r\n\r\nb\r\nc\r\n"},
        {"base_filename = \"old\"\r\n", 0, "C:\\a\r\nb", "base_filename = \"C:/ab\"\r\n"}};
    for (const auto& [text, level, baseFile, rewritten] : cases)
        EXPECT_EQ(mod_Trace::RewriteTraceConfigText(text, level, baseFile), rewritten) << text;
}

// A code page in which the byte F3 is "ó", around the machine's own files.
struct CodePageFiles final : platform::Files
{
    std::shared_ptr<platform::Files> inner = platform::Current().files;
    static std::string Swap(std::string_view text, const char* from, const char* to)
    {
        return std::regex_replace(std::string(text), std::regex(from), to);
    }
    std::filesystem::path HostPath(std::string_view path) override { return inner->HostPath(path); }
    std::string ToAnsi(std::string_view text) override { return Swap(text, "\u00f3", "\xF3"); }
    std::string FromAnsi(std::string_view bytes) override { return Swap(bytes, "\xF3", "\u00f3"); }
};

// The Sender's trace file in the test's folder of a machine of its own.
class TraceFile : public ::testing::Test
{
protected:
    std::unique_ptr<test::TestMachine> machine = test::TestMachine::Create();
    std::string path = machine->Folder() + "\\Quenyx.Agent.Sender.Service.toml";
    std::filesystem::path host = machine->HostPath(path);
    std::filesystem::path temporary = std::filesystem::path(host) += ".tmp";
    std::int16_t level = 9;
    std::string baseFile = "as passed";

    std::string Contents() const
    {
        return std::string(std::istreambuf_iterator<char>(std::ifstream(host, std::ios::binary).rdbuf()), {});
    }
    TraceFileStatus Read() { return mod_Trace::ReadTraceConfig(path, level, baseFile); }
};

// A missing file is reported and not made. The file is in the machine's code page; an earlier run's temporary file
// is no obstacle, and none is left behind; a folder in its place leaves the new content nowhere to go, and the file
// keeps the old one.
TEST_F(TraceFile, IsReadAndReplacedWhole)
{
    EXPECT_EQ(Read(), TraceFileStatus::CannotRead);
    EXPECT_EQ(level, 0);
    EXPECT_EQ(baseFile, "as passed");
    EXPECT_EQ(mod_Trace::WriteTraceConfig(path, 4, "C:\\a.txt"), TraceFileStatus::CannotRead);
    EXPECT_FALSE(std::filesystem::exists(host));

    platform::Current().files = std::make_shared<CodePageFiles>();
    std::ofstream(host, std::ios::binary) << "# Relat\xF3rio\nbase_filename = \"D:/\xF3/S.txt\"\nlevel = \"warn\"\n";
    std::ofstream(temporary, std::ios::binary) << "stale";
    ASSERT_EQ(Read(), TraceFileStatus::Done);
    EXPECT_EQ(level, 3);
    EXPECT_EQ(baseFile, "D:\\\u00f3\\S.txt");
    ASSERT_EQ(mod_Trace::WriteTraceConfig(path, 5, "E:\\\u00f3\\S.txt"), TraceFileStatus::Done);
    const std::string written = "# Relat\xF3rio\r\nbase_filename = \"E:/\xF3/S.txt\"\r\nlevel = \"debug\"\r\n";
    EXPECT_EQ(Contents(), written);
    EXPECT_FALSE(std::filesystem::exists(temporary));
    std::filesystem::create_directories(temporary);
    EXPECT_EQ(mod_Trace::WriteTraceConfig(path, 1, ""), TraceFileStatus::CannotWrite);
    EXPECT_EQ(Contents(), written);
}

// A read-only file is not replaced (Windows' MoveFileEx refuses it, whoever asks), and stays read-only: the
// options dialog then names it among the files it did not write.
TEST_F(TraceFile, AReadOnlyFileStaysAsItWas)
{
    std::ofstream(host, std::ios::binary) << "level = \"warn\"\r\n";
    const auto writeBits = std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                           std::filesystem::perms::others_write;
    std::filesystem::permissions(host, writeBits, std::filesystem::perm_options::remove);
    ASSERT_EQ(std::filesystem::status(host).permissions() & std::filesystem::perms::owner_write,
              std::filesystem::perms::none);

    EXPECT_EQ(mod_Trace::WriteTraceConfig(path, 5, ""), TraceFileStatus::CannotWrite);
    EXPECT_EQ(Contents(), "level = \"warn\"\r\n");
    EXPECT_FALSE(std::filesystem::exists(temporary));
    EXPECT_EQ(std::filesystem::status(host).permissions() & std::filesystem::perms::owner_write,
              std::filesystem::perms::none);
    std::filesystem::permissions(host, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
}

} // namespace
} // namespace quenyx
