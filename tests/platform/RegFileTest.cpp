// .reg files into and out of the emulated machine.
#include "TestMachine.h"

#include "platform/RegFile.h"

#include <gtest/gtest.h>

#include <cctype>

namespace quenyx {
namespace {

using namespace std::string_literals;
using platform::RawValue;
using platform::RegFileError;
using platform::RegStatus;
namespace reg_type = platform::reg_type;

const std::string kV5 = "Windows Registry Editor Version 5.00\n\n";
const std::string kV4 = "REGEDIT4\n\n";

// UTF-8 text with LF line ends as regedit writes it: BOM, UTF-16LE, CR LF.
std::string Utf16File(std::string_view text)
{
    std::string out = "\xFF\xFE";
    const auto put = [&](std::uint32_t unit) {
        out.push_back(static_cast<char>(unit & 0xFF));
        out.push_back(static_cast<char>(unit >> 8));
    };
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        std::uint32_t cp = length == 1 ? lead : lead & (0x3F >> (length - 1));
        for (std::size_t k = 1; k < length; ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        i += length;
        if (cp == '\n')
            put('\r');
        if (cp >= 0x10000) {
            put(0xD800 + ((cp - 0x10000) >> 10));
            put(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            put(cp);
        }
    }
    return out;
}

std::string Bytes(std::initializer_list<int> bytes)
{
    std::string out;
    for (const int b : bytes)
        out.push_back(static_cast<char>(b));
    return out;
}

std::string Describe(const RawValue& value)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out = value.name + "|" + std::to_string(value.type) + "|";
    for (const char c : value.data) {
        out.push_back(kDigits[static_cast<unsigned char>(c) >> 4]);
        out.push_back(kDigits[static_cast<unsigned char>(c) & 0xF]);
    }
    return out;
}

// Every key and value at and below `path`, one line each, in enumeration order.
std::vector<std::string> Dump(platform::RegistryAdmin& admin, const std::string& path)
{
    std::vector<std::string> lines{"[" + path + "]"};
    std::vector<RawValue> values;
    if (admin.ListValues(path, values) != 0)
        return {"(no key " + path + ")"};
    for (const RawValue& value : values)
        lines.push_back(Describe(value));
    std::vector<std::string> children;
    std::ignore = admin.ListSubKeys(path, children);
    for (const std::string& child : children) {
        const auto below = Dump(admin, path.empty() ? child : path + "\\" + child);
        lines.insert(lines.end(), below.begin(), below.end());
    }
    return lines;
}

std::vector<std::string> Describe(const std::vector<RawValue>& values)
{
    std::vector<std::string> out;
    for (const RawValue& value : values)
        out.push_back(Describe(value));
    return out;
}

template <typename Case> std::string NameFromLabel(const ::testing::TestParamInfo<Case>& param)
{
    std::string name;
    for (const char c : std::string_view(param.param.label))
        name.push_back(std::isalnum(static_cast<unsigned char>(c)) ? c : '_');
    return name;
}

class RegFile : public ::testing::Test
{
protected:
    void SetUp() override { machine = test::TestMachine::Create(); }

    std::vector<RawValue> Values(const std::string& path)
    {
        std::vector<RawValue> values;
        EXPECT_EQ(machine->Admin().ListValues(path, values), 0) << path;
        return values;
    }

    bool Import(const std::string& bytes, RegFileError& error)
    {
        return platform::ImportRegFile(bytes, machine->Admin(), error);
    }

    std::unique_ptr<test::TestMachine> machine;
};

struct ImportCase
{
    const char* label;
    std::string file;
    std::vector<RawValue> expected; // the values of SOFTWARE\T afterwards
};

void PrintTo(const ImportCase& c, std::ostream* out)
{
    *out << c.label;
}

class RegFileImports : public RegFile, public ::testing::WithParamInterface<ImportCase>
{
};

TEST_P(RegFileImports, StoresEachValueWithItsTypeAndBytes)
{
    RegFileError error;
    ASSERT_TRUE(Import(GetParam().file, error)) << error.line << ": " << error.message;
    EXPECT_EQ(Describe(Values("SOFTWARE\\T")), Describe(GetParam().expected));
}

const std::string kKey = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\T]\n";

INSTANTIATE_TEST_SUITE_P(
    Values, RegFileImports,
    ::testing::Values(
        ImportCase{
            "strings with escapes and the default value",
            Utf16File(kV5 + kKey + "\"Path\"=\"C:\\\\Quenyx \\\"x\\\"\"\n@=\"dflt\"\n\"\"=\"same\"\n\"e\"=\"\"\n"),
            {{"Path", reg_type::String, "C:\\Quenyx \"x\"\0"s},
             {"", reg_type::String, "same\0"s},
             {"e", reg_type::String, "\0"s}}},
        ImportCase{"dwords of one to eight digits",
                   Utf16File(kV5 + kKey + "\"a\"=dword:0000002a\n\"b\"=DWORD:FFFFFFFF\n\"c\"=dword:1\n"),
                   {{"a", reg_type::DWord, Bytes({0x2a, 0, 0, 0})},
                    {"b", reg_type::DWord, Bytes({0xff, 0xff, 0xff, 0xff})},
                    {"c", reg_type::DWord, Bytes({1, 0, 0, 0})}}},
        ImportCase{"binary, qword, none and raw dword bytes",
                   Utf16File(kV5 + kKey +
                             "\"bin\"=hex:00,ff,1\n\"q\"=hex(b):01,00,00,00,00,00,00,80\n"
                             "\"none\"=hex(0):\n\"odd\"=hex(4):01,02\n\"custom\"=hex(1234abcd):aa\n"),
                   {{"bin", reg_type::Binary, Bytes({0, 0xff, 1})},
                    {"q", reg_type::QWord, Bytes({1, 0, 0, 0, 0, 0, 0, 0x80})},
                    {"none", reg_type::None, ""},
                    {"odd", reg_type::DWord, Bytes({1, 2})},
                    {"custom", 0x1234abcd, Bytes({0xaa})}}},
        ImportCase{"string types in a 5.00 file are UTF-16 and become UTF-8",
                   Utf16File(kV5 + kKey +
                             "\"exp\"=hex(2):25,00,41,00,25,00,00,00\n"
                             "\"multi\"=hex(7):61,00,00,00,e9,00,00,00,00,00\n"
                             "\"raw\"=hex(1):3d,d8,a8,dd,00,00\n\"empty\"=hex(1):\n"),
                   {{"exp", reg_type::ExpandString, "%A%\0"s},
                    {"multi", reg_type::MultiString, "a\0\xC3\xA9\0\0"s},
                    {"raw", reg_type::String, "\xF0\x9F\x96\xA8\0"s},
                    {"empty", reg_type::String, ""}}},
        ImportCase{"string types in a REGEDIT4 file are kept as bytes",
                   kV4 + kKey + "\"exp\"=hex(2):25,41,25,00\n\"multi\"=hex(7):61,00,62,00,00\n",
                   {{"exp", reg_type::ExpandString, "%A%\0"s}, {"multi", reg_type::MultiString, "a\0b\0\0"s}}},
        ImportCase{"REGEDIT4 as UTF-8",
                   kV4 + kKey + "\"caf\xC3\xA9\"=\"\xE2\x82\xAC\"\n",
                   {{"caf\xC3\xA9", reg_type::String, "\xE2\x82\xAC\0"s}}},
        ImportCase{"REGEDIT4 in Windows-1252",
                   kV4 + kKey + "\"caf\xE9\"=\"\x80\"\n",
                   {{"caf\xC3\xA9", reg_type::String, "\xE2\x82\xAC\0"s}}},
        ImportCase{"5.00 written by hand as UTF-8 with LF",
                   kV5 + kKey + "\"printer\"=\"\xF0\x9F\x96\xA8\"\n\"s\"=hex(1):41,00,00,00\n",
                   {{"printer", reg_type::String, "\xF0\x9F\x96\xA8\0"s}, {"s", reg_type::String, "A\0"s}}},
        ImportCase{"CR LF in an 8-bit file, UTF-8 BOM, abbreviated root in any case",
                   "\xEF\xBB\xBFREGEDIT4\r\n\r\n[hklm\\software\\t]\r\n\"a\"=\"1\"\r\n",
                   {{"a", reg_type::String, "1\0"s}}},
        ImportCase{"continued hex lines, indented or not, with blanks and comments around",
                   Utf16File(kV5 + "; a comment\n\n" + kKey +
                             "  \"long\" = hex:01,02,\\\n    03 , 04,\\\n05\n"
                             ";\"ignored\"=dword:1\n\n\"after\"=hex:\\\n  ff\n"),
                   {{"long", reg_type::Binary, Bytes({1, 2, 3, 4, 5})}, {"after", reg_type::Binary, Bytes({0xff})}}},
        ImportCase{"a value set twice keeps its place with the last data",
                   Utf16File(kV5 + kKey + "\"a\"=\"1\"\n\"b\"=\"2\"\n\"A\"=dword:3\n"),
                   {{"a", reg_type::DWord, Bytes({3, 0, 0, 0})}, {"b", reg_type::String, "2\0"s}}}),
    NameFromLabel<ImportCase>);

TEST_F(RegFile, DeletesValuesAndKeyTreesAndCreatesKeysWithTheirParents)
{
    auto& admin = machine->Admin();
    ASSERT_EQ(admin.CreateKey("SOFTWARE\\T\\Sub\\Deep"), 0);
    ASSERT_EQ(admin.SetRawValue("SOFTWARE\\T", {"a", reg_type::String, "1\0"s}), 0);
    ASSERT_EQ(admin.SetRawValue("SOFTWARE\\T", {"b", reg_type::String, "2\0"s}), 0);
    ASSERT_EQ(admin.SetRawValue("SOFTWARE\\T", {"", reg_type::String, "d\0"s}), 0);

    RegFileError error;
    ASSERT_TRUE(Import(Utf16File(kV5 + kKey +
                                 "\"A\"=-\n@=-\n\"never there\"=-\n"
                                 "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\T\\Sub]\n"
                                 "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Nowhere]\n"
                                 "[HKEY_LOCAL_MACHINE\\SOFTWARE\\New\\Deeper\\Deepest]\n"),
                       error))
        << error.line << ": " << error.message;

    EXPECT_EQ(Dump(admin, "SOFTWARE\\T"), (std::vector<std::string>{"[SOFTWARE\\T]", "b|1|3200"}));
    EXPECT_EQ(Dump(admin, "SOFTWARE\\New"), (std::vector<std::string>{"[SOFTWARE\\New]", "[SOFTWARE\\New\\Deeper]",
                                                                      "[SOFTWARE\\New\\Deeper\\Deepest]"}));
}

struct MalformedCase
{
    const char* label;
    std::string file;
    int line;
};

void PrintTo(const MalformedCase& c, std::ostream* out)
{
    *out << c.label;
}

class RegFileRejects : public RegFile, public ::testing::WithParamInterface<MalformedCase>
{
};

TEST_P(RegFileRejects, NamesTheLineAndChangesNothing)
{
    ASSERT_EQ(machine->Admin().CreateKey("SOFTWARE\\T"), 0);
    ASSERT_EQ(machine->Admin().SetRawValue("SOFTWARE\\T", {"keep", reg_type::DWord, Bytes({1, 0, 0, 0})}), 0);
    const auto before = Dump(machine->Admin(), "");

    RegFileError error;
    EXPECT_FALSE(Import(GetParam().file, error));
    EXPECT_EQ(error.line, GetParam().line) << error.message;
    EXPECT_FALSE(error.message.empty());
    EXPECT_EQ(Dump(machine->Admin(), ""), before);
}

// Every file starts with lines that would change the machine, so a partial import would show.
const std::string kChanges = kKey + "\"keep\"=-\n\"new\"=\"x\"\n[-HKEY_LOCAL_MACHINE\\SOFTWARE\\QuenyxTests]\n" + kKey;

INSTANTIATE_TEST_SUITE_P(
    Files, RegFileRejects,
    ::testing::Values(
        MalformedCase{"empty file", "", 1}, MalformedCase{"no header", kKey + "\"a\"=\"1\"\n", 1},
        MalformedCase{"value before any key", kV5 + "\"a\"=\"1\"\n" + kKey, 3},
        MalformedCase{"value after a key deletion", kV5 + kChanges + "[-HKLM\\SOFTWARE\\T]\n\"a\"=\"1\"\n", 9},
        MalformedCase{"another root", kV5 + kChanges + "[HKEY_CURRENT_USER\\Software]\n", 8},
        MalformedCase{"root with a suffix", kV5 + kChanges + "[HKEY_LOCAL_MACHINE2\\x]\n", 8},
        MalformedCase{"key without ]", kV5 + kChanges + "[HKEY_LOCAL_MACHINE\\x\n", 8},
        MalformedCase{"empty key name", kV5 + kChanges + "[HKLM\\SOFTWARE\\\\x]\n", 8},
        MalformedCase{"deleting the root", kV5 + kChanges + "[-HKLM]\n", 8},
        MalformedCase{"unknown escape", kV5 + kChanges + "\"p\"=\"C:\\Temp\"\n", 8},
        MalformedCase{"missing closing quote", kV5 + kChanges + "\"p\"=\"x\n", 8},
        MalformedCase{"text after a string", kV5 + kChanges + "\"p\"=\"x\" y\n", 8},
        MalformedCase{"no = after the name", kV5 + kChanges + "\"p\" \"x\"\n", 8},
        MalformedCase{"no data", kV5 + kChanges + "\"p\"=\n", 8},
        MalformedCase{"nine dword digits", kV5 + kChanges + "\"d\"=dword:000000001\n", 8},
        MalformedCase{"dword not hex", kV5 + kChanges + "\"d\"=dword:12g\n", 8},
        MalformedCase{"bad hex type", kV5 + kChanges + "\"h\"=hex(zz):00\n", 8},
        MalformedCase{"hex without colon", kV5 + kChanges + "\"h\"=hex 00\n", 8},
        MalformedCase{"bad byte on a continuation line", kV5 + kChanges + "\"h\"=hex:00,\\\n  01,\\\n  0g\n", 10},
        MalformedCase{"three-digit byte", kV5 + kChanges + "\"h\"=hex:100\n", 8},
        MalformedCase{"empty byte", kV5 + kChanges + "\"h\"=hex:00,,01\n", 8},
        MalformedCase{"continuation at the end of the file", kV5 + kChanges + "\"h\"=hex:00,\\", 8},
        MalformedCase{"stray line", kV5 + kChanges + "HKEY_LOCAL_MACHINE\\x\n", 8},
        MalformedCase{"NUL in the text", kV5 + kChanges + "\"a\0\"=\"1\"\n"s, 8},
        MalformedCase{"UTF-16 cut in half", Utf16File(kV5 + kChanges) + "x", 0},
        MalformedCase{"UTF-16 big-endian", "\xFE\xFF" + Utf16File(kV5).substr(2), 0},
        MalformedCase{"error in CR LF UTF-16 text", Utf16File(kV5 + kChanges + "\n\n\"d\"=dword:\n"), 10}),
    NameFromLabel<MalformedCase>);

// A store that refuses the n-th value write, to fail an import half-way.
class RefusingAdmin final : public platform::RegistryAdmin
{
public:
    RefusingAdmin(platform::RegistryAdmin& inner, int refuseAt) : inner_(inner), countdown_(refuseAt) {}
    RegStatus CreateKey(std::string_view path) override { return inner_.CreateKey(path); }
    RegStatus DeleteKeyTree(std::string_view path) override { return inner_.DeleteKeyTree(path); }
    RegStatus SetRawValue(std::string_view path, const RawValue& value) override
    {
        return --countdown_ == 0 ? platform::reg_error::AccessDenied : inner_.SetRawValue(path, value);
    }
    RegStatus DeleteRawValue(std::string_view path, std::string_view name) override
    {
        return inner_.DeleteRawValue(path, name);
    }
    RegStatus ListSubKeys(std::string_view path, std::vector<std::string>& names) override
    {
        return inner_.ListSubKeys(path, names);
    }
    RegStatus ListValues(std::string_view path, std::vector<RawValue>& values) override
    {
        return inner_.ListValues(path, values);
    }
    RegStatus Atomically(const std::function<RegStatus()>& work) override { return inner_.Atomically(work); }

private:
    platform::RegistryAdmin& inner_;
    int countdown_;
};

TEST_F(RegFile, AStoreFailingHalfWayLeavesTheMachineAsItWas)
{
    const auto before = Dump(machine->Admin(), "");
    RefusingAdmin refusing(machine->Admin(), 3);
    RegFileError error;
    EXPECT_FALSE(platform::ImportRegFile(
        Utf16File(kV5 + kKey + "\"a\"=\"1\"\n[-HKLM\\SOFTWARE\\QuenyxTests]\n" + kKey + "\"b\"=\"2\"\n\"c\"=\"3\"\n"),
        refusing, error));
    EXPECT_EQ(error.line, 8);
    EXPECT_NE(error.message.find("error 5"), std::string::npos) << error.message;
    EXPECT_EQ(Dump(machine->Admin(), ""), before);
}

TEST_F(RegFile, ExportsRegeditsLayout)
{
    auto& admin = machine->Admin();
    ASSERT_EQ(admin.CreateKey("SOFTWARE\\Exp\\b"), 0);
    ASSERT_EQ(admin.CreateKey("SOFTWARE\\Exp\\A\\Inner"), 0);
    ASSERT_EQ(admin.SetRawValue("SOFTWARE\\Exp", {"", reg_type::String, "x\\\"y\0"s}), 0);
    ASSERT_EQ(admin.SetRawValue("SOFTWARE\\Exp", {"n", reg_type::DWord, Bytes({0x2a, 0, 0, 0x80})}), 0);
    ASSERT_EQ(admin.SetRawValue("SOFTWARE\\Exp", {"e", reg_type::String, ""}), 0);
    ASSERT_EQ(admin.SetRawValue("SOFTWARE\\Exp", {"m", reg_type::MultiString, "\xC3\xA9\0\0"s}), 0);
    ASSERT_EQ(admin.SetRawValue("SOFTWARE\\Exp\\A", {"bin", reg_type::Binary, std::string(30, '\x0f')}), 0);

    std::string bytes;
    std::string error;
    ASSERT_TRUE(platform::ExportRegFile(admin, "software\\EXP", bytes, error)) << error;
    EXPECT_EQ(bytes, Utf16File("Windows Registry Editor Version 5.00\n\n"
                               "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Exp]\n"
                               "@=\"x\\\\\\\"y\"\n"
                               "\"n\"=dword:8000002a\n"
                               "\"e\"=hex(1):\n"
                               "\"m\"=hex(7):e9,00,00,00,00,00\n\n"
                               "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Exp\\A]\n"
                               "\"bin\"=hex:0f,0f,0f,0f,0f,0f,0f,0f,0f,0f,0f,0f,0f,0f,0f,0f,0f,0f,0f,0f,0f,0f,0f,\\\n"
                               "  0f,0f,0f,0f,0f,0f,0f\n\n"
                               "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Exp\\A\\Inner]\n\n"
                               "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Exp\\b]\n\n"));

    EXPECT_FALSE(platform::ExportRegFile(admin, "SOFTWARE\\Missing", bytes, error));
    EXPECT_NE(error.find("Missing"), std::string::npos) << error;
}

TEST_F(RegFile, ExportImportsBackIntoAnIdenticalMachine)
{
    auto& admin = machine->Admin();
    const std::string top = "SOFTWARE\\Round";
    const std::vector<std::pair<std::string, std::vector<RawValue>>> contents = {
        {top,
         {{"", reg_type::String, "default\0"s},
          {"plain", reg_type::String, "caf\xC3\xA9 \xF0\x9F\x96\xA8 \"q\" C:\\x\\\0"s},
          {"empty with NUL", reg_type::String, "\0"s},
          {"empty without data", reg_type::String, ""},
          {"without NUL", reg_type::String, "abc"},
          {"NUL inside", reg_type::String, "a\0b\0"s},
          {"line break", reg_type::String, "a\r\nb\0"s},
          {"not UTF-8", reg_type::String, "\xff\xC3(\xED\xA0\x80\0"s},
          {"odd UTF-8 in a multi-string", reg_type::MultiString, "\xE9\0\0"s},
          {"expand", reg_type::ExpandString, "%SystemRoot%\0"s},
          {"dword", reg_type::DWord, Bytes({1, 2, 3, 4})},
          {"short dword", reg_type::DWord, Bytes({1, 2, 3})},
          {"qword", reg_type::QWord, Bytes({1, 2, 3, 4, 5, 6, 7, 8})},
          {"none", reg_type::None, ""},
          {"custom type", 0xfffffffe, "zz"},
          {std::string(120, 'N'), reg_type::Binary, std::string(300, '\xA5')},
          {"q\"uote\\s ]=[ \xff", reg_type::String, "=\0"s},
          {"@", reg_type::String, "at\0"s}}},
        {top + "\\Empty", {}},
        {top + "\\b\\Nested \xC3\xA9", {{"x", reg_type::Binary, ""}}},
        {top + "\\A ]x[\xff", {{"y", reg_type::DWord, Bytes({0, 0, 0, 0})}}},
    };
    for (const auto& [path, values] : contents) {
        ASSERT_EQ(admin.CreateKey(path), 0) << path;
        for (const RawValue& value : values)
            ASSERT_EQ(admin.SetRawValue(path, value), 0) << value.name;
    }
    const auto original = Dump(admin, top);
    std::string bytes;
    std::string exportError;
    ASSERT_TRUE(platform::ExportRegFile(admin, top, bytes, exportError)) << exportError;

    machine.reset();
    machine = test::TestMachine::Create();
    ASSERT_EQ(machine->Admin().DeleteKeyTree("SOFTWARE"), 0);
    RegFileError error;
    ASSERT_TRUE(Import(bytes, error)) << error.line << ": " << error.message;
    EXPECT_EQ(Dump(machine->Admin(), top), original);
    auto everything = std::vector<std::string>{"[]", "[SOFTWARE]"};
    everything.insert(everything.end(), original.begin(), original.end());
    EXPECT_EQ(Dump(machine->Admin(), ""), everything);
}

} // namespace
} // namespace quenyx
