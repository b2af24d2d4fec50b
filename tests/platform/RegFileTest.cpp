// .reg files into and out of the emulated machine.
#include "TestMachine.h"

#include "platform/RegFile.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace quenyx {
namespace {

using namespace std::string_literals;
using platform::RegFileError;
using platform::RegStatus;
using Lines = std::vector<std::string>;
using V = platform::RawValue;
using namespace platform::reg_type;

const std::string kV5 = "Windows Registry Editor Version 5.00\n\n";
const std::string kKey = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\T]\n";

// ASCII text with LF line ends as regedit writes it: BOM, UTF-16LE, CR LF.
std::string Utf16File(std::string_view text)
{
    std::string out = "\xFF\xFE";
    for (const char c : text)
        out += c == '\n' ? "\r\0\n\0"s : std::string{c, '\0'};
    return out;
}

std::string Describe(const V& value)
{
    std::string out = value.name + "|" + std::to_string(value.type) + "|";
    for (const unsigned char c : value.data)
        out += {"0123456789abcdef"[c >> 4], "0123456789abcdef"[c & 0xF]};
    return out;
}

// Every key and value at and below `path`, one line each, in enumeration order.
Lines Dump(platform::RegistryAdmin& admin, const std::string& path)
{
    Lines lines{"[" + path + "]"}, children;
    std::vector<V> values;
    std::ignore = admin.ListValues(path, values);
    std::ignore = admin.ListSubKeys(path, children);
    std::ranges::transform(values, std::back_inserter(lines), Describe);
    for (const std::string& child : children)
        std::ranges::copy(Dump(admin, path.empty() ? child : path + "\\" + child), std::back_inserter(lines));
    return lines;
}

struct RegFile : ::testing::Test
{
    std::unique_ptr<test::TestMachine> machine = test::TestMachine::Create();
};

// A 5.00 file holds every type, its string types UTF-16 turned into UTF-8, with comments, blanks, indented
// and continued lines; a value set twice keeps its place with the last data. REGEDIT4 keeps string bytes
// and is read as UTF-8 or else Windows-1252; a 5.00 file may be UTF-8 too.
TEST_F(RegFile, ImportsEachValueWithItsTypeAndBytes)
{
    const std::pair<std::string, std::vector<V>> cases[] = {
        {Utf16File(kV5 + "; a comment\n\n" + kKey + "\"Path\"=\"C:\\\\Quenyx \\\"x\\\"\"\n@=\"dflt\"\n\"\"=\"same\"\n" +
                   "\"a\"=dword:0000002a\n\"b\"=DWORD:FFFFFFFF\n\"c\"=dword:1\n\"bin\"=hex:00,ff,1\n" +
                   "\"exp\"=hex(2):25,00,41,00,25,00,00,00\n" +
                   "\"multi\"=hex(7):61,00,00,00,3d,d8,a8,dd,00,00,00,00\n" +
                   "  \"long\" = hex:01,02,\\\n    03 , 04,\\\n05\n;\"x\"=dword:1\n\n\"C\"=dword:3\n"),
         {V{"Path", String, "C:\\Quenyx \"x\"\0"s}, V{"", String, "same\0"s}, V{"a", DWord, "\x2a\0\0\0"s},
          V{"b", DWord, "\xff\xff\xff\xff"s}, V{"c", DWord, "\x03\0\0\0"s}, V{"bin", Binary, "\0\xff\x01"s},
          V{"exp", ExpandString, "%A%\0"s}, V{"multi", MultiString, "a\0\xF0\x9F\x96\xA8\0\0"s},
          V{"long", Binary, "\x01\x02\x03\x04\x05"s}}},
        {"\xEF\xBB\xBFREGEDIT4\r\n\r\n[hklm\\software\\t]\r\n\"exp\"=hex(2):25,41,25,00\r\n" +
             "\"multi\"=hex(7):61,00,62,00,00\r\n\"caf\xC3\xA9\"=\"\xE2\x82\xAC\"\r\n"s,
         {V{"exp", ExpandString, "%A%\0"s}, V{"multi", MultiString, "a\0b\0\0"s},
          V{"caf\xC3\xA9", String, "\xE2\x82\xAC\0"s}}},
        {"REGEDIT4\n\n" + kKey + "\"caf\xE9\"=\"\x80\"\n", {V{"caf\xC3\xA9", String, "\xE2\x82\xAC\0"s}}},
        {kV5 + kKey + "\"printer\"=\"\xF0\x9F\x96\xA8\"\n\"s\"=hex(1):41,00,00,00\n",
         {V{"printer", String, "\xF0\x9F\x96\xA8\0"s}, V{"s", String, "A\0"s}}},
    };
    for (const auto& [file, values] : cases) {
        SCOPED_TRACE(file.substr(0, 40));
        std::ignore = machine->Admin().DeleteKeyTree("SOFTWARE\\T");
        RegFileError error;
        ASSERT_TRUE(platform::ImportRegFile(file, machine->Admin(), error)) << error.line << ": " << error.message;
        Lines expected{"[SOFTWARE\\T]"};
        std::ranges::transform(values, std::back_inserter(expected), Describe);
        EXPECT_EQ(Dump(machine->Admin(), "SOFTWARE\\T"), expected);
    }
}

TEST_F(RegFile, DeletesValuesAndKeyTreesAndCreatesKeysWithTheirParents)
{
    auto& admin = machine->Admin();
    ASSERT_EQ(admin.CreateKey("SOFTWARE\\T\\Sub\\Deep"), 0);
    for (const char* name : {"a", "b", ""})
        ASSERT_EQ(admin.SetRawValue("SOFTWARE\\T", {name, String, "1\0"s}), 0);

    const std::string file = Utf16File(kV5 + kKey + "\"A\"=-\n@=-\n\"never there\"=-\n[-HKLM\\SOFTWARE\\T\\Sub]\n" +
                                       "[-HKLM\\SOFTWARE\\Nowhere]\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\T\\New\\Deeper]\n");
    RegFileError error;
    ASSERT_TRUE(platform::ImportRegFile(file, admin, error)) << error.line << ": " << error.message;
    EXPECT_EQ(Dump(admin, "SOFTWARE\\T"),
              (Lines{"[SOFTWARE\\T]", "b|1|3100", "[SOFTWARE\\T\\New]", "[SOFTWARE\\T\\New\\Deeper]"}));
}

// One file per rule broken, each but the first two starting with lines that would change the machine.
TEST_F(RegFile, AMalformedFileNamesItsLineAndImportsNothing)
{
    ASSERT_EQ(machine->Admin().CreateKey("SOFTWARE\\T"), 0);
    ASSERT_EQ(machine->Admin().SetRawValue("SOFTWARE\\T", {"keep", DWord, "\x01\0\0\0"s}), 0);
    const auto before = Dump(machine->Admin(), "");
    const std::string changes = kV5 + kKey + "\"keep\"=-\n\"new\"=\"x\"\n[-HKLM\\SOFTWARE\\QuenyxTests]\n" + kKey;
    const std::pair<std::string, int> files[] = {
        {kKey + "\"a\"=\"1\"\n", 1},                          // no header
        {kV5 + "\"a\"=\"1\"\n", 3},                           // value before any key
        {changes + "[-HKLM\\SOFTWARE\\T]\n\"a\"=\"1\"\n", 9}, // value after a key deletion
        {changes + "[HKEY_CURRENT_USER\\Software]\n", 8},     // another root
        {changes + "[-HKLM]\n", 8},                           // deleting the root
        {changes + "\"p\"=\"C:\\Temp\"\n", 8},                // unknown escape
        {changes + "\"d\"=dword:000000001\n", 8},             // nine dword digits
        {changes + "\"h\"=hex:00,\\\n  01,\\\n  0g\n", 10},   // bad byte on a continuation line
        {changes + "\"h\"=hex:00,\\", 8},                     // continued past the end
        {changes + "\"a\0\"=\"1\"\n"s, 8},                    // NUL in the text
        {Utf16File(changes) + "x", 0},                        // UTF-16 cut in half
        {Utf16File(changes + "\n\n\"d\"=dword:\n"), 10},      // counted in CR LF UTF-16 text
    };
    for (const auto& [file, line] : files) {
        RegFileError error;
        EXPECT_FALSE(platform::ImportRegFile(file, machine->Admin(), error)) << line;
        EXPECT_EQ(error.line, line) << error.message;
        EXPECT_EQ(Dump(machine->Admin(), ""), before) << error.message;
    }
}

// A store that refuses the third value write with "access denied" (5), to fail an import half-way.
struct RefusingAdmin final : platform::RegistryAdmin
{
    explicit RefusingAdmin(platform::RegistryAdmin& admin) : inner(admin) {}
    RegStatus CreateKey(std::string_view p) override { return inner.CreateKey(p); }
    RegStatus DeleteKeyTree(std::string_view p) override { return inner.DeleteKeyTree(p); }
    RegStatus SetRawValue(std::string_view p, const V& v) override { return ++sets == 3 ? 5 : inner.SetRawValue(p, v); }
    RegStatus DeleteRawValue(std::string_view p, std::string_view n) override { return inner.DeleteRawValue(p, n); }
    RegStatus ListSubKeys(std::string_view p, Lines& names) override { return inner.ListSubKeys(p, names); }
    RegStatus ListValues(std::string_view p, std::vector<V>& v) override { return inner.ListValues(p, v); }
    RegStatus Atomically(const std::function<RegStatus()>& work) override { return inner.Atomically(work); }
    platform::RegistryAdmin& inner;
    int sets = 0;
};

TEST_F(RegFile, AStoreFailingHalfWayLeavesTheMachineAsItWas)
{
    const auto before = Dump(machine->Admin(), "");
    RefusingAdmin refusing(machine->Admin());
    RegFileError error;
    EXPECT_FALSE(platform::ImportRegFile(
        Utf16File(kV5 + kKey + "\"a\"=\"1\"\n[-HKLM\\SOFTWARE\\QuenyxTests]\n" + kKey + "\"b\"=\"2\"\n\"c\"=\"3\"\n"),
        refusing, error));
    EXPECT_EQ(error.line, 8);
    EXPECT_NE(error.message.find("error 5"), std::string::npos) << error.message;
    EXPECT_EQ(Dump(machine->Admin(), ""), before);
}

// Every type and the data no text editor would write survive export, as regedit lays it out, and import into
// a fresh machine.
TEST_F(RegFile, ExportImportsBackIntoAnIdenticalMachine)
{
    const std::string top = "SOFTWARE\\Round";
    const std::vector<std::pair<std::string, std::vector<V>>> contents = {
        {top,
         {V{"", String, "x\\\"y\0"s}, V{"n", DWord, "\x2a\0\0\x80"s},
          V{"plain", String, "caf\xC3\xA9 \xF0\x9F\x96\xA8 \"q\" C:\\x\\\0"s}, V{"empty with NUL", String, "\0"s},
          V{"empty without data", String, ""}, V{"without NUL", String, "abc"}, V{"NUL inside", String, "a\0b\0"s},
          V{"line break", String, "a\r\nb\0"s}, V{"not UTF-8", String, "\xff\xC3(\xED\xA0\x80\0"s},
          V{"odd UTF-8 in a multi-string", MultiString, "\xE9\0\0"s}, V{"expand", ExpandString, "%SystemRoot%\0"s},
          V{"short dword", DWord, "\x01\x02\x03"}, V{"qword", QWord, "\x01\x02\x03\x04\x05\x06\x07\x08"},
          V{"none", None, ""}, V{"custom type", 0xfffffffe, "zz"},
          V{std::string(120, 'N'), Binary, std::string(300, '\xA5')}, V{"q\"uote\\s ]=[ \xff", String, "=\0"s},
          V{"@", String, "at\0"s}}},
        {top + "\\Empty", {}},
        {top + "\\b\\Nested \xC3\xA9", {V{"x", Binary, ""}}},
        {top + "\\A ]x[\xff", {V{"y", DWord, "\0\0\0\0"s}}},
    };
    for (const auto& [path, values] : contents) {
        ASSERT_EQ(machine->Admin().CreateKey(path), 0) << path;
        for (const V& value : values)
            ASSERT_EQ(machine->Admin().SetRawValue(path, value), 0) << value.name;
    }
    auto everything = Dump(machine->Admin(), top);
    everything.insert(everything.begin(), {"[]", "[SOFTWARE]"});
    std::string bytes;
    std::string exportError;
    ASSERT_TRUE(platform::ExportRegFile(machine->Admin(), top, bytes, exportError)) << exportError;
    EXPECT_TRUE(bytes.starts_with(
        Utf16File(kV5 + "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Round]\n@=\"x\\\\\\\"y\"\n\"n\"=dword:8000002a\n")));

    machine.reset();
    machine = test::TestMachine::Create();
    ASSERT_EQ(machine->Admin().DeleteKeyTree("SOFTWARE"), 0);
    RegFileError error;
    ASSERT_TRUE(platform::ImportRegFile(bytes, machine->Admin(), error)) << error.line << ": " << error.message;
    EXPECT_EQ(Dump(machine->Admin(), ""), everything);
    EXPECT_FALSE(platform::ExportRegFile(machine->Admin(), "SOFTWARE\\Missing", bytes, exportError));
}

} // namespace
} // namespace quenyx
