#include "platform/LibraryTextCatalog.h"
#include "platform/LocalizationKeys.h"
#include "platform/Utf.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace quenyx {
namespace {

using platform::LibraryTextCatalog;

TEST(LibraryTextCatalog, AMissingOrBrokenLibraryIsRefusedWithAReason)
{
    const std::pair<const char*, const char*> cases[] = {{"no-such-folder/libPolyglossa32.so", "libPolyglossa32.so"},
                                                         {QUENYX_BROKEN_LIBRARY, "GetString"}};
    for (const auto& [path, reason] : cases) {
        std::string error;
        EXPECT_EQ(LibraryTextCatalog::OpenFile(path, error), nullptr);
        EXPECT_NE(error.find(reason), std::string::npos) << error;
    }
}

#ifdef QUENYX_CATALOG_LIBRARY

// The language is read from the environment at every LoadResources; the values are literals, so they outlive
// putenv's use of them.
void SetLanguage(const char* assignment)
{
    ASSERT_EQ(putenv(const_cast<char*>(assignment)), 0);
}

// The key's text after a LoadResources, or nothing when GetString says it has none.
std::optional<std::u16string> Lookup(LibraryTextCatalog& catalog, const std::string& key)
{
    catalog.LoadResources(u"Quenyx\\Agent");
    std::u16string buffer(1000, u'#');
    if (catalog.GetString(platform::Utf8ToUtf16(key), buffer.data(), 1000) != -1)
        return std::nullopt;
    return buffer.substr(0, buffer.find(u'\0'));
}

// The library is looked up by name beside the executable, the way the console finds it.
TEST(LibraryTextCatalog, EveryLanguageHasATextForEveryKey)
{
    std::string error;
    const auto catalog = LibraryTextCatalog::Open(error);
    ASSERT_NE(catalog, nullptr) << error;
    // Tags as the system writes them, and other countries of the same language, find the language's catalog.
    const std::pair<const char*, const char*> cases[] = {
        {"QUENYX_LANGUAGE=en", "Settings"},         {"QUENYX_LANGUAGE=pt_BR", "Configurações"},
        {"QUENYX_LANGUAGE=es", "Configuración"},    {"QUENYX_LANGUAGE=pt-BR", "Configurações"},
        {"QUENYX_LANGUAGE=es_MX", "Configuración"}, {"QUENYX_LANGUAGE=EN-us", "Settings"}};
    for (const auto& [assignment, settings] : cases) {
        SetLanguage(assignment);
        EXPECT_EQ(Lookup(*catalog, "Settings02"), platform::Utf8ToUtf16(settings)) << assignment;
        for (const std::string_view key : platform::kLocalizationKeys)
            EXPECT_NE(Lookup(*catalog, std::string(key)).value_or(u""), u"") << assignment << ' ' << key;
    }
    // A language without a catalog is like none chosen.
    SetLanguage("QUENYX_LANGUAGE=");
    const auto unset = Lookup(*catalog, "Printers");
    ASSERT_TRUE(unset.has_value());
    SetLanguage("QUENYX_LANGUAGE=fr_FR");
    EXPECT_EQ(Lookup(*catalog, "Printers"), unset);

    // Keys are matched exactly, and a text is written only when it and its NUL fit.
    SetLanguage("QUENYX_LANGUAGE=en");
    for (const char* key : {"", "printers", "Printers:", " Printers", "NoSuchKey"})
        EXPECT_EQ(Lookup(*catalog, key), std::nullopt) << '"' << key << '"';
    std::u16string buffer(12, u'#');
    EXPECT_EQ(catalog->GetString(u"Printers", buffer.data(), 8), 0);
    EXPECT_EQ(buffer, std::u16string(12, u'#'));
    EXPECT_EQ(catalog->GetString(u"Printers", nullptr, 1000), 0);
    EXPECT_EQ(catalog->GetString(u"Printers", buffer.data(), 9), -1);
    EXPECT_EQ(buffer, std::u16string(u"Printers\0###", 12));
}

TEST(LibraryTextCatalog, RepeatedLoadsKeepTheCatalogAndFollowTheLanguage)
{
    std::string error;
    const auto catalog = LibraryTextCatalog::OpenFile(QUENYX_CATALOG_LIBRARY, error);
    ASSERT_NE(catalog, nullptr) << error;
    for (int round = 0; round < 2000; ++round) {
        const bool portuguese = (round / 100) % 2 == 1;
        if (round % 100 == 0)
            SetLanguage(portuguese ? "QUENYX_LANGUAGE=pt_BR" : "QUENYX_LANGUAGE=en");
        ASSERT_EQ(Lookup(*catalog, "Printers"), portuguese ? u"Impressoras" : u"Printers") << "round " << round;
    }
    SetLanguage("QUENYX_LANGUAGE=");
}

#endif

} // namespace
} // namespace quenyx
