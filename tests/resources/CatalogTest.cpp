#include "FakeDevices.h"
#include "TestMachine.h"

#include "platform/LocalizationKeys.h"
#include "platform/Utf.h"
#include "platform/modGlobalization.h"
#include "platform/mod_Trace.h"
#include "settings/AgentSettings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace quenyx {
namespace {

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The keys that source text passes to the catalog as literals: looked up directly (GetLocalizedString, or a
// file's Text shorthand for it) or held as a Tag, whose trailing ':' is not part of the key.
std::vector<std::string> KeysUsedIn(const std::string& source)
{
    struct Use
    {
        std::regex pattern;
        bool tag;
    };
    static const std::vector<Use> uses{
        {std::regex(R"(\b(?:GetLocalizedString|Text)\s*\(\s*"([^"\\]*)\")"), false},
        {std::regex(R"(\bSetTag\s*\([^;"]*?,\s*"([^"\\]*)\")"), true},
        {std::regex(R"(setProperty\s*\(\s*"Tag"\s*,\s*(?:QStringLiteral\s*\(\s*)?"([^"\\]*)\")"), true},
    };
    std::vector<std::string> keys;
    for (const Use& use : uses)
        for (std::sregex_iterator it(source.begin(), source.end(), use.pattern), end; it != end; ++it) {
            std::string key = (*it)[1];
            if (use.tag && !key.empty() && key.back() == ':')
                key.pop_back();
            keys.push_back(key);
        }
    return keys;
}

struct ScanCase
{
    const char* source;
    std::vector<std::string> keys;
};

class SourceScan : public ::testing::TestWithParam<ScanCase>
{
};

TEST_P(SourceScan, FindsTheKeysTheConsolePasses)
{
    auto keys = KeysUsedIn(GetParam().source);
    std::sort(keys.begin(), keys.end());
    EXPECT_EQ(keys, GetParam().keys) << GetParam().source;
}

INSTANTIATE_TEST_SUITE_P(
    Forms, SourceScan,
    ::testing::Values(
        ScanCase{R"(ShowMessage(modGlobalization::GetLocalizedString( "DeniedAccess" ) + "\r\n");)", {"DeniedAccess"}},
        ScanCase{R"(ShowWait(Text("StartingQuenyxWait"));)", {"StartingQuenyxWait"}},
        ScanCase{R"(modGlobalization::SetTag(btnYes_->label(), "Yes");)", {"Yes"}},
        ScanCase{"SetTag(\n    lblSenderPath_,\n    \"Directory:\");", {"Directory"}},
        ScanCase{R"(label->setProperty("Tag", QStringLiteral("ReleaserAddress:"));)", {"ReleaserAddress"}},
        // A looked-up key keeps its colon: the catalog would not know it.
        ScanCase{R"(GetLocalizedString("Directory:"))", {"Directory:"}},
        ScanCase{R"(SetTag(a, "Yes"); SetTag(b, "No");)", {"No", "Yes"}},
        ScanCase{R"(label->setText("Printers"); WriteTrace("Printers", "x"); SetTag(lbl, key);)", {}},
        ScanCase{R"(GetLocalizedString(row.descriptionKey))", {}}));

TEST(Catalog, EveryKeyTheSourcesPassIsInTheList)
{
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(QUENYX_SOURCE_DIR)) {
        const auto extension = entry.path().extension();
        if (!entry.is_regular_file() || (extension != ".cpp" && extension != ".h"))
            continue;
        ++files;
        for (const std::string& key : KeysUsedIn(ReadFile(entry.path())))
            EXPECT_TRUE(platform::IsLocalizationKey(key)) << entry.path() << ": \"" << key << "\"";
    }
    EXPECT_GT(files, 20);
}

// A catalog that knows nothing and remembers what it was asked.
class RecordingCatalog final : public platform::TextCatalog
{
public:
    std::vector<std::string> keys;
    void LoadResources(const std::u16string&) override {}
    std::int32_t GetString(const std::u16string& key, char16_t*, std::int32_t) override
    {
        keys.push_back(std::string(key.begin(), key.end()));
        return 0;
    }
};

TEST(Catalog, TheSettingDescriptionsAreInTheList)
{
    auto catalog = std::make_shared<RecordingCatalog>();
    platform::Platform platform;
    platform.textCatalog = catalog;
    platform::Install(platform);
    settings::LoadSettingCatalog();
    platform::Install({});
    ASSERT_EQ(catalog->keys.size(), 6u);
    for (const std::string& key : catalog->keys)
        EXPECT_TRUE(platform::IsLocalizationKey(key)) << key;
}

class CatalogFile : public ::testing::TestWithParam<const char*>
{
};

// Each catalog holds the list, no more and no less, once each.
TEST_P(CatalogFile, HoldsExactlyTheListedKeys)
{
    const std::string language = GetParam();
    const std::string text =
        ReadFile(std::filesystem::path(QUENYX_SOURCE_DIR) / "resources" / "catalog" / ("quenyx_" + language + ".ts"));
    ASSERT_FALSE(text.empty());

    std::smatch match;
    ASSERT_TRUE(std::regex_search(text, match, std::regex(R"re(<TS [^>]*\slanguage="([^"]*)")re")));
    EXPECT_EQ(match[1], language);

    const std::regex source(R"(<source>([^<]*)</source>)");
    std::vector<std::string> keys;
    for (std::sregex_iterator it(text.begin(), text.end(), source), end; it != end; ++it)
        keys.push_back((*it)[1]);
    std::sort(keys.begin(), keys.end());
    EXPECT_EQ(keys, std::vector<std::string>(platform::kLocalizationKeys.begin(), platform::kLocalizationKeys.end()));
}

INSTANTIATE_TEST_SUITE_P(Languages, CatalogFile, ::testing::Values("en", "pt_BR", "es"));

TEST(Catalog, ALongestTextComesBackWhole)
{
    auto catalog = std::make_shared<test::FakeTextCatalog>();
    catalog->texts[u"Long"] = std::u16string(999, u'\u00e7');
    platform::Platform platform;
    platform.textCatalog = catalog;
    platform::Install(platform);
    EXPECT_EQ(modGlobalization::GetLocalizedString("Long"), platform::Utf16ToUtf8(std::u16string(999, u'\u00e7')));
    platform::Install({});
}

TEST(Catalog, WithoutALibraryTextsAreEmptyAndTheLogSaysSoOnce)
{
    auto machine = test::TestMachine::Create();
    mod_Trace::SetTraceSettings("1", machine->Folder());
    modGlobalization::NoteCatalogMissing("libPolyglossa32.so: cannot open shared object file");

    EXPECT_EQ(modGlobalization::GetLocalizedString("Printers"), "");
    EXPECT_EQ(modGlobalization::GetLocalizedString("Settings02"), "");

    auto& clock = machine->clock();
    const std::string log = ReadFile(machine->HostPath(mod_Trace::LogFilePath(clock.ShortDate(clock.now))));
    const std::string line = "[modGlobalization]  - biblioteca de textos ausente: libPolyglossa32.so: cannot open";
    const auto first = log.find(line);
    EXPECT_NE(first, std::string::npos) << log;
    EXPECT_EQ(log.find(line, first + 1), std::string::npos) << log;
    mod_Trace::ResetTraceSettings();
}

} // namespace
} // namespace quenyx
