#include "platform/LibraryTextCatalog.h"
#include "platform/LocalizationKeys.h"
#include "platform/Platform.h"
#include "platform/Utf.h"
#include "platform/modGlobalization.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace quenyx {
namespace {

using platform::LibraryTextCatalog;

TEST(LibraryTextCatalog, AMissingLibraryIsRefusedWithAReason)
{
    std::string error;
    EXPECT_EQ(LibraryTextCatalog::OpenFile("no-such-folder/libPolyglossa32.so", error), nullptr);
    EXPECT_NE(error.find("libPolyglossa32.so"), std::string::npos) << error;
}

TEST(LibraryTextCatalog, ALibraryWithoutGetStringIsRefused)
{
    std::string error;
    EXPECT_EQ(LibraryTextCatalog::OpenFile(QUENYX_BROKEN_LIBRARY, error), nullptr);
    EXPECT_NE(error.find("GetString"), std::string::npos) << error;
}

#ifdef QUENYX_CATALOG_LIBRARY

// The language is read from the environment at every LoadResources; the values are literals, so they outlive
// putenv's use of them.
void SetLanguage(const char* assignment)
{
    ASSERT_EQ(putenv(const_cast<char*>(assignment)), 0);
}

// Before the tests below load the library by its path: a copy already loaded would be found without searching.
TEST(LibraryTextCatalog, IsFoundByNameBesideTheExecutable)
{
    std::string error;
    const auto byName = LibraryTextCatalog::Open(error);
    ASSERT_NE(byName, nullptr) << error;
    SetLanguage("QUENYX_LANGUAGE=es");
    byName->LoadResources(u"Quenyx\\Agent");
    std::u16string buffer(1000, u' ');
    ASSERT_EQ(byName->GetString(u"Printers", buffer.data(), 1000), -1);
    EXPECT_EQ(buffer.substr(0, buffer.find(u'\0')), u"Impresoras");
}

class Library : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        std::string error;
        catalog = LibraryTextCatalog::OpenFile(QUENYX_CATALOG_LIBRARY, error);
        ASSERT_NE(catalog, nullptr) << error;
    }
    static void TearDownTestSuite()
    {
        catalog.reset();
        SetLanguage("QUENYX_LANGUAGE=");
    }
    void SetUp() override { ASSERT_NE(catalog, nullptr); }

    // The key's text after a LoadResources, or nothing when GetString says it has none.
    static std::optional<std::u16string> Lookup(const std::string& key)
    {
        catalog->LoadResources(u"Quenyx\\Agent");
        std::u16string buffer(1000, u'#');
        if (catalog->GetString(platform::Utf8ToUtf16(key), buffer.data(), 1000) != -1)
            return std::nullopt;
        return buffer.substr(0, buffer.find(u'\0'));
    }

    static std::shared_ptr<LibraryTextCatalog> catalog;
};

std::shared_ptr<LibraryTextCatalog> Library::catalog;

struct LanguageCase
{
    const char* assignment;
    const char* printers;
    const char* settings;
    const char* billingDisable;
};

class Languages : public Library, public ::testing::WithParamInterface<LanguageCase>
{
};

TEST_P(Languages, EveryKeyHasAText)
{
    SetLanguage(GetParam().assignment);
    for (const std::string_view key : platform::kLocalizationKeys) {
        const auto text = Lookup(std::string(key));
        ASSERT_TRUE(text.has_value()) << key;
        EXPECT_FALSE(text->empty()) << key;
    }
}

TEST_P(Languages, TheCatalogIsTheLanguagesOwn)
{
    SetLanguage(GetParam().assignment);
    EXPECT_EQ(Lookup("Printers"), platform::Utf8ToUtf16(GetParam().printers));
    EXPECT_EQ(Lookup("Settings02"), platform::Utf8ToUtf16(GetParam().settings));
    EXPECT_EQ(Lookup("BillingDisable"), platform::Utf8ToUtf16(GetParam().billingDisable));
}

INSTANTIATE_TEST_SUITE_P(
    Catalogs, Languages,
    ::testing::Values(
        LanguageCase{"QUENYX_LANGUAGE=en", "Printers", "Settings", "Disable accounting"},
        LanguageCase{"QUENYX_LANGUAGE=pt_BR", "Impressoras", "Configurações", "Desabilitar contabilização"},
        LanguageCase{"QUENYX_LANGUAGE=es", "Impresoras", "Configuración", "Deshabilitar contabilización"},
        // Tags as the system writes them, and other countries of the same language.
        LanguageCase{"QUENYX_LANGUAGE=pt-BR", "Impressoras", "Configurações", "Desabilitar contabilização"},
        LanguageCase{"QUENYX_LANGUAGE=pt_PT", "Impressoras", "Configurações", "Desabilitar contabilização"},
        LanguageCase{"QUENYX_LANGUAGE=es_MX", "Impresoras", "Configuración", "Deshabilitar contabilización"},
        LanguageCase{"QUENYX_LANGUAGE=EN-us", "Printers", "Settings", "Disable accounting"}));

TEST_F(Library, ALanguageWithoutACatalogIsLikeNoneChosen)
{
    SetLanguage("QUENYX_LANGUAGE=");
    const auto unset = Lookup("Printers");
    ASSERT_TRUE(unset.has_value());
    SetLanguage("QUENYX_LANGUAGE=fr_FR");
    EXPECT_EQ(Lookup("Printers"), unset);
}

TEST_F(Library, KeysAreMatchedExactly)
{
    SetLanguage("QUENYX_LANGUAGE=en");
    for (const char* key : {"", "printers", "Printers:", " Printers", "NoSuchKey"})
        EXPECT_EQ(Lookup(key), std::nullopt) << '"' << key << '"';
}

TEST_F(Library, ATextIsWrittenOnlyWhenItAndItsNulFit)
{
    SetLanguage("QUENYX_LANGUAGE=en");
    const std::u16string key = u"Printers";
    std::u16string buffer(12, u'#');
    catalog->LoadResources(u"Quenyx\\Agent");

    EXPECT_EQ(catalog->GetString(key, buffer.data(), 9), -1);
    EXPECT_EQ(buffer, std::u16string(u"Printers\0###", 12));

    buffer.assign(12, u'#');
    EXPECT_EQ(catalog->GetString(key, buffer.data(), 8), 0);
    EXPECT_EQ(buffer, std::u16string(12, u'#'));
    EXPECT_EQ(catalog->GetString(key, buffer.data(), 0), 0);
    EXPECT_EQ(catalog->GetString(key, nullptr, 1000), 0);
}

TEST_F(Library, RepeatedLoadsKeepTheCatalogAndFollowTheLanguage)
{
    for (int round = 0; round < 2000; ++round) {
        const bool portuguese = (round / 100) % 2 == 1;
        if (round % 100 == 0)
            SetLanguage(portuguese ? "QUENYX_LANGUAGE=pt_BR" : "QUENYX_LANGUAGE=en");
        ASSERT_EQ(Lookup("Printers"), portuguese ? u"Impressoras" : u"Printers") << "round " << round;
    }
}

TEST_F(Library, GetLocalizedStringReadsTheLibrary)
{
    SetLanguage("QUENYX_LANGUAGE=pt_BR");
    platform::Platform host;
    host.textCatalog = catalog;
    platform::Install(host);
    EXPECT_EQ(modGlobalization::GetLocalizedString("Settings02"), "Configurações");
    EXPECT_EQ(modGlobalization::GetLocalizedString("NoSuchKey"), "");
    platform::Install({});
}

#endif

} // namespace
} // namespace quenyx
