// What the Win32 backend adds to the shared contract: the crossing between the program's UTF-8 and the
// machine's ANSI code page, for registry texts and for files.
#include "TestMachine.h"

#include "platform/mod_RegWin.h"
#include "platform/mod_Trace.h"
#include "platform/win32/Win32Platform.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace quenyx {
namespace {

using namespace mod_RegWin;
namespace reg_type = platform::reg_type;

// Texts every Western single-byte code page and UTF-8 can hold.
class CodePage : public ::testing::TestWithParam<std::string>
{
};

TEST_P(CodePage, TextsSurviveTheRoundTripWithTheirLength)
{
    const std::string& text = GetParam();
    const std::string ansi = platform::win32::ToAnsi(text);
    EXPECT_EQ(ansi.find('\0') == std::string::npos, text.find('\0') == std::string::npos);
    EXPECT_EQ(platform::win32::FromAnsi(ansi), text);
}

INSTANTIATE_TEST_SUITE_P(Texts, CodePage,
                         ::testing::Values(std::string(), std::string("srv01"), std::string("a\0b\0\0", 5),
                                           std::string("\0", 1), std::string("Relat\xC3\xB3rio caf\xC3\xA9"),
                                           std::string("\xC3\xA9\0\xC3\xA7", 5), std::string(300, 'x')));

class Win32Platform : public ::testing::Test
{
protected:
    void SetUp() override { machine = test::TestMachine::Create(); }
    void TearDown() override
    {
        mod_Trace::ResetTraceSettings();
        machine.reset();
    }
    std::unique_ptr<test::TestMachine> machine;
};

TEST_F(Win32Platform, AccentedNamesAndTextsReadBackAsWritten)
{
    const std::string key = "Impress\xC3\xA3o";
    const std::string name = "Descri\xC3\xA7\xC3\xA3o";
    const std::string text = "Caf\xC3\xA9 \xC3\xA0 la carte";
    machine->MakeKey(key);
    ASSERT_EQ(SaveSettingString(HKLM, machine->Key(key), name, text), 0);

    EXPECT_EQ(GetSettingString(HKLM, machine->Key(key), name, "dflt"), text);
    std::vector<std::string> entries;
    EnumValues(HKLM, machine->Key(key), entries);
    EXPECT_EQ(entries, std::vector<std::string>{name + ";" + text});
    std::vector<std::string> keys;
    EXPECT_EQ(EnumKeys(HKLM, machine->Root(), keys), 1);
    EXPECT_EQ(keys, std::vector<std::string>{key});
    std::vector<platform::RawValue> values;
    ASSERT_EQ(machine->Admin().ListValues(machine->Key(key), values), 0);
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(values[0].data, text + '\0');
}

TEST_F(Win32Platform, EnumValueCountsStoredBytesWhileGivingOtherTypesAsText)
{
    machine->MakeKey("K");
    machine->SetRaw("K", "Bin", reg_type::Binary, "\xE9\x41");
    std::unique_ptr<platform::RegistryKey> key;
    ASSERT_EQ(platform::Current().registry->OpenKey(machine->Key("K"), platform::reg_access::Read, key), 0);
    std::string name;
    std::string data;
    std::uint32_t length = 0;
    ASSERT_EQ(key->EnumValue(0, 255, 255, name, data, length), 0);
    EXPECT_EQ(length, 2u);
    EXPECT_EQ(data, platform::win32::FromAnsi("\xE9\x41"));
    EXPECT_EQ(key->EnumValue(0, 255, 1, name, data, length), platform::reg_error::MoreData);

    std::vector<platform::RawValue> values;
    ASSERT_EQ(machine->Admin().ListValues(machine->Key("K"), values), 0);
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(values[0].data, "\xE9\x41"); // raw bytes, not text
}

TEST_F(Win32Platform, TheLogGoesToAnAccentedFolderInTheAnsiCodePage)
{
    const std::string folder = machine->Folder() + "\\Relat\xC3\xB3rios";
    ASSERT_TRUE(std::filesystem::create_directory(machine->HostPath(folder)));
    mod_Trace::SetTraceSettings("1", folder);
    mod_Trace::WriteTrace("T", "caf\xC3\xA9");

    std::ifstream in(machine->HostPath(folder + "\\VeltrinAdmin_03122026.log"), std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    EXPECT_EQ(bytes.str(), platform::win32::ToAnsi("14:05:33 [T]  - caf\xC3\xA9\r\n"));
}

} // namespace
} // namespace quenyx
