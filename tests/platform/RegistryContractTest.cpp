// The registry operations as the console sees them, held to one behaviour on every backend.
#include "TestMachine.h"

#include "platform/mod_RegWin.h"
#include "platform/mod_Trace.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace quenyx {
namespace {

using namespace mod_RegWin;
using platform::RawValue;
namespace reg_type = platform::reg_type;

class RegistryContract : public ::testing::Test
{
protected:
    void SetUp() override { machine = test::TestMachine::Create(); }
    void TearDown() override
    {
        mod_Trace::ResetTraceSettings();
        machine.reset();
    }

    std::vector<RawValue> RawValues(const std::string& relative)
    {
        std::vector<RawValue> values;
        EXPECT_EQ(machine->Admin().ListValues(machine->Key(relative), values), 0);
        return values;
    }

    std::string ReadLog()
    {
        std::ifstream in(machine->HostPath(machine->Folder() + "\\VeltrinAdmin_03122026.log"), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::unique_ptr<test::TestMachine> machine;
};

struct ReadCase
{
    const char* label;
    const char* valueName;
    std::uint32_t type;
    std::string stored; // bytes; empty with type None means: no such value
    std::string expected;
};

class GetSettingStringReads : public RegistryContract, public ::testing::WithParamInterface<ReadCase>
{
};

TEST_P(GetSettingStringReads, ReturnsTheTextOfStringValuesOnlyElseTheDefault)
{
    const ReadCase& c = GetParam();
    machine->MakeKey("K");
    if (c.type != reg_type::None)
        machine->SetRaw("K", c.valueName, c.type, c.stored);
    EXPECT_EQ(GetSettingString(HKLM, machine->Key("K"), "Value", "dflt"), c.expected) << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Values, GetSettingStringReads,
    ::testing::Values(ReadCase{"missing value", "Other", reg_type::String, std::string("x\0", 2), "dflt"},
                      ReadCase{"empty string without data", "Value", reg_type::String, "", ""},
                      ReadCase{"empty string with its NUL", "Value", reg_type::String, std::string("\0", 1), ""},
                      ReadCase{"plain string", "Value", reg_type::String, std::string("srv01\0", 6), "srv01"},
                      ReadCase{"name in another case", "VALUE", reg_type::String, std::string("a\0", 2), "a"},
                      ReadCase{"NUL inside", "Value", reg_type::String, std::string("ab\0cd\0", 6), "ab"},
                      ReadCase{"string stored without NUL", "Value", reg_type::String, "xyz", "xyz"},
                      ReadCase{"expandable, not expanded", "Value", reg_type::ExpandString,
                               std::string("%SystemRoot%\\x\0", 15), "%SystemRoot%\\x"},
                      ReadCase{"dword", "Value", reg_type::DWord, std::string("\x01\0\0\0", 4), "dflt"},
                      ReadCase{"binary", "Value", reg_type::Binary, "ab", "dflt"},
                      ReadCase{"multi-string", "Value", reg_type::MultiString, std::string("a\0b\0\0", 5), "dflt"}),
    [](const ::testing::TestParamInfo<ReadCase>& param) {
        std::string name = param.param.label;
        for (char& ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return name;
    });

TEST_F(RegistryContract, ReadingFromAMissingKeyGivesTheDefault)
{
    EXPECT_EQ(GetSettingString(HKLM, machine->Key("Missing"), "Value", "dflt"), "dflt");
    EXPECT_EQ(GetSettingString(HKLM, machine->Key("Missing"), "Value", ""), "");
}

TEST_F(RegistryContract, SaveWritesAStringValueThatReadsBack)
{
    machine->MakeKey("K");
    machine->SetRaw("K", "Value", reg_type::DWord, std::string("\x07\0\0\0", 4));

    EXPECT_EQ(SaveSettingString(HKLM, machine->Key("K"), "Value", "srv01"), 0);
    EXPECT_EQ(SaveSettingString(HKLM, machine->Key("K"), "Empty", ""), 0);

    EXPECT_EQ(GetSettingString(HKLM, machine->Key("K"), "Value", "dflt"), "srv01");
    EXPECT_EQ(GetSettingString(HKLM, machine->Key("K"), "Empty", "dflt"), "");
    auto values = RawValues("K");
    ASSERT_EQ(values.size(), 2u);
    for (const auto& v : values) {
        EXPECT_EQ(v.type, reg_type::String) << v.name;
        EXPECT_EQ(v.data, v.name == "Value" ? std::string("srv01\0", 6) : std::string()) << v.name;
    }
}

TEST_F(RegistryContract, SaveIntoAMissingKeyFailsWith5AndCreatesNothing)
{
    EXPECT_EQ(SaveSettingString(HKLM, machine->Key("Missing"), "Value", "x"), 5);
    std::vector<std::string> names;
    EXPECT_EQ(machine->Admin().ListSubKeys(machine->Root(), names), 0);
    EXPECT_TRUE(names.empty());
}

TEST_F(RegistryContract, DeleteRemovesTheValueAndIgnoresWhatIsMissing)
{
    machine->MakeKey("K");
    ASSERT_EQ(SaveSettingString(HKLM, machine->Key("K"), "A", "1"), 0);
    ASSERT_EQ(SaveSettingString(HKLM, machine->Key("K"), "B", "2"), 0);
    DeleteSettingValue(HKLM, machine->Key("K"), "a");
    DeleteSettingValue(HKLM, machine->Key("K"), "NoSuchValue");
    DeleteSettingValue(HKLM, machine->Key("Missing"), "A");
    EXPECT_EQ(GetSettingString(HKLM, machine->Key("K"), "A", "gone"), "gone");
    EXPECT_EQ(GetSettingString(HKLM, machine->Key("K"), "B", "gone"), "2");
}

TEST_F(RegistryContract, EnumKeysListsSubkeysSortedWithoutRegardToCase)
{
    for (const char* name : {"beta", "Alpha", "gamma_x", "Gamma", "delta"})
        machine->MakeKey(std::string("K\\") + name);
    machine->MakeKey("Empty");

    std::vector<std::string> names{"stale", "entries"};
    EXPECT_EQ(EnumKeys(HKLM, machine->Key("K"), names), 1);
    EXPECT_EQ(names, (std::vector<std::string>{"Alpha", "beta", "delta", "Gamma", "gamma_x"}));

    EXPECT_EQ(EnumKeys(HKLM, machine->Key("Empty"), names), 1);
    EXPECT_EQ(names, std::vector<std::string>{"0"});
    EXPECT_EQ(EnumKeys(HKLM, machine->Key("Missing"), names), 0);
    EXPECT_EQ(names, std::vector<std::string>{"0"});
}

TEST_F(RegistryContract, EnumValuesListsTheConsolesOwnValuesWholeAndSkipsEmptyOnes)
{
    machine->MakeKey("K");
    ASSERT_EQ(SaveSettingString(HKLM, machine->Key("K"), "a", "x"), 0);
    ASSERT_EQ(SaveSettingString(HKLM, machine->Key("K"), "b", ""), 0);
    ASSERT_EQ(SaveSettingString(HKLM, machine->Key("K"), "Path", "C:\\Program Files\\Quenyx"), 0);
    ASSERT_EQ(SaveSettingString(HKLM, machine->Key("K"), "List", "a;b"), 0);

    std::vector<std::string> entries{"stale"};
    EnumValues(HKLM, machine->Key("K"), entries);
    std::sort(entries.begin(), entries.end()); // Windows may list values in another order
    EXPECT_EQ(entries, (std::vector<std::string>{"List;a;b", "Path;C:\\Program Files\\Quenyx", "a;x"}));
}

TEST_F(RegistryContract, EnumValuesGivesTheSentinelWhenNothingHasData)
{
    machine->MakeKey("OnlyEmpty");
    machine->MakeKey("NoValues");
    ASSERT_EQ(SaveSettingString(HKLM, machine->Key("OnlyEmpty"), "b", ""), 0);

    for (const char* key : {"OnlyEmpty", "NoValues", "Missing"}) {
        std::vector<std::string> entries{"stale", "more"};
        EnumValues(HKLM, machine->Key(key), entries);
        EXPECT_EQ(entries, std::vector<std::string>{"-1"}) << key;
    }
}

// A value whose name or data outgrows the enumeration's buffers is asked for again with buffers of the size it
// needs, so it is listed whole like any other; a subkey name of 254 characters still fits.
TEST_F(RegistryContract, EnumValuesListsLongNamesAndLongDataWhole)
{
    machine->MakeKey("K");
    const std::string name254(254, 'n');
    const std::string name300(300, 'N');
    const std::string data4k(4000, 'd');
    machine->SetString("K", name254, std::string("ok") + '\0');
    machine->SetString("K", name300, std::string("long name") + '\0');
    machine->SetString("K", "Fits", std::string(254, 'd') + '\0');
    machine->SetString("K", "TooLong", std::string(255, 'd') + '\0');
    machine->SetString("K", "Big", data4k + '\0');
    machine->MakeKey("K\\" + name254);

    std::vector<std::string> entries;
    EnumValues(HKLM, machine->Key("K"), entries);
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries,
              (std::vector<std::string>{"Big;" + data4k, "Fits;" + std::string(254, 'd'), name300 + ";long name",
                                        "TooLong;" + std::string(255, 'd'), name254 + ";ok"}));

    std::vector<std::string> names;
    EXPECT_EQ(EnumKeys(HKLM, machine->Key("K"), names), 1);
    EXPECT_EQ(names, std::vector<std::string>{name254});
}

// Names fold as Windows folds them, accented letters included: one value, spelt as it was first written.
TEST_F(RegistryContract, NamesDifferingOnlyInTheCaseOfAccentedLettersAreOneValue)
{
    machine->MakeKey("K");
    ASSERT_EQ(SaveSettingString(HKLM, machine->Key("K"), "A\u00c7\u00c3O", "1"), 0);
    ASSERT_EQ(SaveSettingString(HKLM, machine->Key("K"), "A\u00e7\u00e3o", "2"), 0);
    EXPECT_EQ(GetSettingString(HKLM, machine->Key("K"), "a\u00c7\u00e3O", "dflt"), "2");
    std::vector<std::string> entries;
    EnumValues(HKLM, machine->Key("K"), entries);
    EXPECT_EQ(entries, std::vector<std::string>{"A\u00c7\u00c3O;2"});
}

// Texts outside any one code page keep every character: a value's name and data, a key's name (the printers are
// keys), and a trace folder, whose file the diagnostic lines reach.
class TextsOutsideTheCodePage : public RegistryContract, public ::testing::WithParamInterface<const char*>
{
};

TEST_P(TextsOutsideTheCodePage, RoundTripWhole)
{
    const std::string text = GetParam();
    const std::string folder = machine->Folder() + "\\" + text;
    ASSERT_TRUE(std::filesystem::create_directory(machine->HostPath(folder)));
    mod_Trace::SetTraceSettings("1", folder);
    machine->MakeKey(text);
    ASSERT_EQ(SaveSettingString(HKLM, machine->Key(text), "Nome " + text, text), 0);

    EXPECT_EQ(GetSettingString(HKLM, machine->Key(text), "Nome " + text, "dflt"), text);
    std::vector<std::string> entries;
    EnumValues(HKLM, machine->Key(text), entries);
    EXPECT_EQ(entries, std::vector<std::string>{"Nome " + text + ";" + text});
    std::vector<std::string> names;
    EXPECT_EQ(EnumKeys(HKLM, machine->Root(), names), 1);
    EXPECT_EQ(names, std::vector<std::string>{text});
    std::ifstream in(machine->HostPath(folder + "\\VeltrinAdmin_03122026.log"), std::ios::binary);
    std::stringstream log;
    log << in.rdbuf();
    EXPECT_NE(log.str().find("[EnumKeys]  - enumerando.. 0 => " + text + "\r\n"), std::string::npos) << log.str();
}

INSTANTIATE_TEST_SUITE_P(Scripts, TextsOutsideTheCodePage,
                         ::testing::Values("Relat\u00f3rios de impress\u00e3o", "\u041e\u0442\u0447\u0451\u0442\u044b",
                                           "\u5370\u5237\u5831\u544a", "Relat\u00f3rios \u041e\u0442\u0447\u0451\u0442\u044b \u5831\u544a"));

TEST_F(RegistryContract, ValuesOfOtherTypesAreListedAsTheirBytesLessTheLast)
{
    machine->MakeKey("K");
    machine->SetRaw("K", "Bin", reg_type::Binary, "abc");
    std::vector<std::string> entries;
    EnumValues(HKLM, machine->Key("K"), entries);
    EXPECT_EQ(entries, std::vector<std::string>{"Bin;ab"});
}

TEST_F(RegistryContract, OperationsWriteTheirDiagnosticLines)
{
    machine->MakeKey("K");
    machine->SetRaw("K", "Dw", reg_type::DWord, std::string("\x01\0\0\0", 4));
    machine->SetString("K", "Sz", std::string("v\0", 2));
    mod_Trace::SetTraceSettings("1", machine->Folder());

    std::ignore = GetSettingString(HKLM, machine->Key("K"), "Dw", "d");
    std::ignore = GetSettingString(HKLM, machine->Key("K"), "Sz", "d");
    std::ignore = GetSettingString(HKLM, machine->Key("Missing"), "V", "d");
    std::ignore = SaveSettingString(HKLM, machine->Key("K"), "S", "x");
    std::ignore = SaveSettingString(HKLM, machine->Key("Missing"), "S", "x");
    std::vector<std::string> list;
    std::ignore = EnumKeys(HKLM, machine->Key("Missing"), list);
    machine->MakeKey("K\\Sub");
    std::ignore = EnumKeys(HKLM, machine->Key("K"), list);

    const std::string K = machine->Key("K");
    const std::string M = machine->Key("Missing");
    const std::string t = "14:05:33 ";
    std::string log = ReadLog();
    const auto take = [&log](const std::string& expected) {
        const bool found = log.compare(0, expected.size(), expected) == 0;
        EXPECT_TRUE(found) << "expected: " << expected << "\nbut the log goes on with:\n" << log.substr(0, 400);
        if (found)
            log.erase(0, expected.size());
    };
    take(t + "[GetSettingString]  - " + K + "\r\n" + t + "[GetSettingString]  - ret 1 => 0\r\n" + t +
         "[GetSettingString]  - ret 2 => 0\r\n" + t + "[GetSettingString]  - abriu ok lValueType = 4\r\n");
    take(t + "[GetSettingString]  - " + K + "\r\n" + t + "[GetSettingString]  - ret 1 => 0\r\n" + t +
         "[GetSettingString]  - ret 2 => 0\r\n" + t + "[GetSettingString]  - abriu ok lValueType = 1\r\n" + t +
         "[GetSettingString]  - lValueType = REG_SZ\r\n" + t + "[GetSettingString]  - strBuffer = v" +
         std::string(1, '\0') + " lResult = 0\r\n");
    take(t + "[GetSettingString]  - " + M + "\r\n" + t + "[GetSettingString]  - ret 1 => 2\r\n" + t +
         "[GetSettingString]  - ret 2 => 6\r\n");
    take(t + "[SaveSettingString]  - abrindo => " + K + "\r\n" + t +
         "[SaveSettingString]  - RegOpenKeyEx retornou => 0\r\n" + t + "[SaveSettingString]  - abriu ok\r\n" + t +
         "[SaveSettingString]  - escreveu ok\r\n");
    take(t + "[SaveSettingString]  - abrindo => " + M + "\r\n" + t +
         "[SaveSettingString]  - RegOpenKeyEx retornou => 2\r\n" + t + "[SaveSettingString]  - nao abriu\r\n");
    take(t + "[EnumKeys]  - erro ao abrir => " + M + "\r\n");
    take(t + "[EnumKeys]  - abriu OK\r\n" + t + "[EnumKeys]  - enumerando.. 0 => Sub\r\n" + t +
         "[EnumKeys]  - fechando e retornando => 1\r\n");
    EXPECT_EQ(log, "");
}

} // namespace
} // namespace quenyx
