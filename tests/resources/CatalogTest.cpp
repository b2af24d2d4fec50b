#include "FakeDevices.h"
#include "TestMachine.h"

#include "platform/LocalizationKeys.h"
#include "platform/Platform.h"
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

// The first group of each match of the pattern in the text.
std::vector<std::string> Matches(const std::string& text, const char* pattern)
{
    const std::regex regex(pattern);
    std::vector<std::string> found;
    for (std::sregex_iterator it(text.begin(), text.end(), regex), end; it != end; ++it)
        found.push_back((*it)[1]);
    return found;
}

// The keys that source text passes to the catalog as literals: looked up directly (GetLocalizedString, or a
// file's Text shorthand for it) or held as a Tag, whose trailing ':' is not part of the key.
std::vector<std::string> KeysUsedIn(const std::string& source)
{
    auto keys = Matches(source, R"(\b(?:GetLocalizedString|Text)\s*\(\s*"([^"\\]*)\")");
    for (const char* tag : {R"(\bSetTag\s*\([^;"]*?,\s*"([^"\\]*)\")",
                            R"(setProperty\s*\(\s*"Tag"\s*,\s*(?:QStringLiteral\s*\(\s*)?"([^"\\]*)\")"})
        for (const std::string& key : Matches(source, tag))
            keys.push_back(key.ends_with(':') ? key.substr(0, key.size() - 1) : key);
    return keys;
}

TEST(Catalog, TheSourceScanSeesEveryFormOfUse)
{
    EXPECT_EQ(KeysUsedIn(R"(GetLocalizedString( "A" ) + "\r\n"; Text("B"); SetTag(btn->label(), "C"); SetTag(
                  lbl, "D:"); w->setProperty("Tag", QStringLiteral("E:")); GetLocalizedString("F:");
                  setText("no"); WriteTrace("no", "x"); SetTag(lbl, key); GetLocalizedString(row.key);)"),
              (std::vector<std::string>{"A", "B", "F:", "C", "D", "E"}));
}

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

// Each language's catalog holds the list, no more and no less, once each.
TEST(Catalog, EachLanguageHoldsExactlyTheListedKeys)
{
    const std::vector<std::string> listed(platform::kLocalizationKeys.begin(), platform::kLocalizationKeys.end());
    for (const std::string language : {"en", "pt_BR", "es"}) {
        const std::string text = ReadFile(std::filesystem::path(QUENYX_SOURCE_DIR) / "resources" / "catalog" /
                                          ("quenyx_" + language + ".ts"));
        EXPECT_EQ(Matches(text, R"re(<TS [^>]*\slanguage="([^"]*)")re"), std::vector{language});
        auto keys = Matches(text, R"(<source>([^<]*)</source>)");
        std::sort(keys.begin(), keys.end());
        EXPECT_EQ(keys, listed) << language;
    }
}

TEST(Catalog, LongestTextsAndTheSettingDescriptionsComeThrough)
{
    auto catalog = std::make_shared<test::FakeTextCatalog>();
    for (const std::string_view key : platform::kLocalizationKeys)
        catalog->texts[platform::Utf8ToUtf16(key)] = u"listed";
    catalog->texts[u"Long"] = std::u16string(999, u'\u00e7');
    platform::Platform platform;
    platform.textCatalog = catalog;
    platform::Install(platform);
    EXPECT_EQ(modGlobalization::GetLocalizedString("Long"), platform::Utf16ToUtf8(std::u16string(999, u'\u00e7')));
    // The settings' descriptions are looked up by keys held in a table, out of the source scan's sight.
    settings::SettingCatalog().Clear();
    settings::LoadSettingCatalog();
    platform::Install({});
    EXPECT_EQ(settings::SettingCatalog().Count(), 6);
    for (const auto& setting : settings::SettingCatalog())
        EXPECT_EQ(setting->Description(), "listed") << setting->Key();
}

// Without the library every key still has its English text, read from the English catalog's own file, and the
// first lookup says in the log why the library is missing.
TEST(Catalog, WithoutTheLibraryTheEnglishTextsStand)
{
    const std::string english =
        ReadFile(std::filesystem::path(QUENYX_SOURCE_DIR) / "resources" / "catalog" / "quenyx_en.ts");
    const auto keys = Matches(english, R"(<source>([^<]*)</source>)");
    const auto texts = Matches(english, R"(<translation>([^<]*)</translation>)");
    ASSERT_EQ(keys.size(), texts.size());

    auto machine = test::TestMachine::Create();
    mod_Trace::SetTraceSettings("1", machine->Folder());
    platform::Current().textCatalog = nullptr;
    modGlobalization::NoteCatalogMissing("libPolyglossa32.so: not found");
    for (std::size_t i = 0; i < keys.size(); ++i)
        EXPECT_EQ(modGlobalization::GetLocalizedString(keys[i]), texts[i]) << keys[i];
    EXPECT_EQ(modGlobalization::GetLocalizedString("NoSuchKey"), "");
    const std::string lines = ReadFile(machine->HostPath(machine->Folder() + "\\VeltrinAdmin_03122026.log"));
    EXPECT_EQ(Matches(lines, R"(biblioteca de textos ausente: ([^\r]*))"),
              std::vector<std::string>{"libPolyglossa32.so: not found"});
    mod_Trace::ResetTraceSettings();
}

} // namespace
} // namespace quenyx
