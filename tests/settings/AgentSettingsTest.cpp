#include "FakeDevices.h"
#include "TestMachine.h"

#include "platform/mod_RegWin.h"
#include "platform/mod_Trace.h"
#include "settings/AgentSettings.h"

#include <gtest/gtest.h>

namespace quenyx {
namespace {

using namespace settings;

class AgentSettings : public ::testing::Test
{
protected:
    void SetUp() override
    {
        machine = test::TestMachine::Create();
        catalog->texts[u"DCSServerDescription"] = u"Servidor DCS";
        catalog->texts[u"TimeUpdatePerfisDescription"] = u"Intervalo";
        platform::Current().textCatalog = catalog;
        for (auto* collection : {&SettingCatalog(), &ReservedSettingNames(), &KnownGeneralKeys(), &OtherGeneralKeys()})
            collection->Clear();
        LoadSettingCatalog();
        ASSERT_EQ(machine->Admin().CreateKey(mod_Trace::AgentKey), 0);
    }
    void TearDown() override { std::ignore = machine->Admin().DeleteKeyTree(mod_Trace::AgentKey); }

    void Store(const std::string& name, const std::string& text)
    {
        ASSERT_EQ(mod_RegWin::SaveSettingString(mod_RegWin::HKLM, mod_Trace::AgentKey, name, text), 0);
    }

    static std::string Rows(const GeneralKeyCollection& collection)
    {
        std::string out;
        for (const auto& entry : collection)
            out += entry->Key() + "=" + entry->Value() + "|" + entry->Description() + "|" + entry->ValueType() + " ";
        return out;
    }

    std::unique_ptr<test::TestMachine> machine;
    std::shared_ptr<test::FakeTextCatalog> catalog = std::make_shared<test::FakeTextCatalog>();
};

TEST_F(AgentSettings, CatalogHoldsSixSettingsAndThirtyFourReservedNames)
{
    ASSERT_EQ(SettingCatalog().Count(), 6);
    EXPECT_EQ(Rows(SettingCatalog()), "DCSServer=|Servidor DCS|String DisableAccounts=||Boolean "
                                      "DisableAccountInformation=||Boolean WorkFolder=||String "
                                      "TimeUpdatePerfis=|Intervalo|Integer PopUpExpiration=||Integer ");
    ASSERT_EQ(ReservedSettingNames().Count(), 34);
    EXPECT_EQ(ReservedSettingNames().Item(1)->Key(), "IDLogEvent");
    EXPECT_EQ(ReservedSettingNames().Item(34)->Key(), "LastOldSPAWarning");
}

struct SortCase
{
    const char* label;
    std::vector<std::pair<std::string, std::string>> values;
    const char* known;
    const char* other;
    bool needsValueOrder = false;
};

class SortingValues : public AgentSettings, public ::testing::WithParamInterface<SortCase>
{
};

TEST_P(SortingValues, SplitsTheAgentKeyIntoKnownReservedAndOther)
{
    if (GetParam().needsValueOrder && !machine->KeepsValueOrder())
        GTEST_SKIP() << "this registry lists values sorted by name";
    for (const auto& [name, text] : GetParam().values)
        Store(name, text);
    SearchGeneralValues();
    EXPECT_EQ(Rows(KnownGeneralKeys()), GetParam().known) << GetParam().label;
    EXPECT_EQ(Rows(OtherGeneralKeys()), GetParam().other) << GetParam().label;
}

INSTANTIATE_TEST_SUITE_P(
    Keys, SortingValues,
    ::testing::Values(
        SortCase{"one of each kind", {{"DCSServer", "srv01"}, {"Version", "5.1"}, {"EnableCluster", "1"}},
                 "DCSServer=srv01|Servidor DCS|String ", "EnableCluster=1|| "},
        SortCase{"catalog name in lower case", {{"dcsserver", "x"}}, "dcsserver=x|Servidor DCS|String ", ""},
        SortCase{"semicolons in the data", {{"Comment", "a;b"}}, "", "Comment=a;b|| "},
        SortCase{"semicolon in the name", {{"odd;name", "v"}}, "", "odd=name;v|| "},
        SortCase{"registry order kept", {{"TimeUpdatePerfis", "30"}, {"Y", "2"}, {"DCSServer", "s"}, {"X", "1"}},
                 "TimeUpdatePerfis=30|Intervalo|Integer DCSServer=s|Servidor DCS|String ", "Y=2|| X=1|| ", true},
        SortCase{"accounting names differ",
                 {{"DisableAccounts", "1"}, {"DisableAccounting", "1"}},
                 "DisableAccounts=1||Boolean ", ""},
        SortCase{"empty values are not listed", {{"WorkFolder", ""}, {"TraceLevel", "0"}}, "", "TraceLevel=0|| "}),
    [](const ::testing::TestParamInfo<SortCase>& param) {
        std::string name = param.param.label;
        for (char& ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return name;
    });

TEST_F(AgentSettings, AnEmptyOrMissingKeyEmptiesBothLists)
{
    Store("DCSServer", "s");
    Store("X", "1");
    SearchGeneralValues();
    ASSERT_EQ(KnownGeneralKeys().Count() + OtherGeneralKeys().Count(), 2);

    ASSERT_EQ(machine->Admin().DeleteKeyTree(mod_Trace::AgentKey), 0);
    SearchGeneralValues();
    EXPECT_EQ(KnownGeneralKeys().Count(), 0);
    EXPECT_EQ(OtherGeneralKeys().Count(), 0);
}

TEST(GeneralKeyCollection, AddressesByPositionAndByFilingKey)
{
    GeneralKeyCollection c;
    c.Add("1", "A", "", "");
    const auto b = c.Add("2", "B", "", "", "kb");
    EXPECT_EQ(c.Add("3", "C", "", "", "kb"), nullptr); // a filing key is used once
    EXPECT_EQ(c.Count(), 2);
    EXPECT_EQ(c.Item("kb"), b);
    EXPECT_EQ(c.Item(2), b);
    EXPECT_EQ(c.Item(0), nullptr);
    EXPECT_EQ(c.Item("none"), nullptr);
    EXPECT_TRUE(c.Remove(1));
    EXPECT_EQ(c.Item(1), b);
    EXPECT_EQ(c.Item("kb"), b);
    EXPECT_FALSE(c.Remove(5));
    c.Clear();
    EXPECT_EQ(c.Count(), 0);
    c.Clear();
}

} // namespace
} // namespace quenyx
