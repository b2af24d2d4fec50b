#include "Polyglossa32.h"

#include <QLocale>
#include <QString>
#include <QStringList>
#include <QTranslator>

#include <algorithm>
#include <array>
#include <memory>
#include <mutex>
#include <type_traits>

static_assert(std::is_same_v<decltype(&LoadResources), Polyglossa32LoadResources>);
static_assert(std::is_same_v<decltype(&GetString), Polyglossa32GetString>);

namespace {

constexpr const char* kContext = "Quenyx";
constexpr std::array<QLatin1StringView, 3> kLanguages{QLatin1StringView("en"), QLatin1StringView("pt_BR"),
                                                      QLatin1StringView("es")};
constexpr QLatin1StringView kDefaultLanguage("en");

struct Catalog
{
    std::mutex mutex;
    QString language;
    std::unique_ptr<QTranslator> translator;
    bool systemKnown = false;
    QString systemLanguage;
};

Catalog& State()
{
    static Catalog catalog;
    return catalog;
}

// The catalog for a language tag ("pt-BR", "pt_BR", "es_AR", "en"): the same tag, else the same language;
// empty when there is none.
QString Match(QString tag)
{
    tag.replace(QLatin1Char('-'), QLatin1Char('_'));
    for (const auto language : kLanguages)
        if (tag.compare(language, Qt::CaseInsensitive) == 0)
            return language;
    const qsizetype cut = tag.indexOf(QLatin1Char('_'));
    const QStringView primary = cut < 0 ? QStringView(tag) : QStringView(tag).first(cut);
    for (const auto language : kLanguages)
        if (!primary.isEmpty() && primary.compare(language.left(2), Qt::CaseInsensitive) == 0)
            return language;
    return {};
}

// QUENYX_LANGUAGE when it names a catalog, else the system's user-interface languages in their order, else
// English. The environment is read on every call so that a change takes effect at the next LoadResources.
QString ChosenLanguage(Catalog& catalog)
{
    if (QString language = Match(qEnvironmentVariable("QUENYX_LANGUAGE")); !language.isEmpty())
        return language;
    if (!catalog.systemKnown) {
        catalog.systemKnown = true;
        const QStringList uiLanguages = QLocale::system().uiLanguages();
        for (const QString& tag : uiLanguages) {
            catalog.systemLanguage = Match(tag);
            if (!catalog.systemLanguage.isEmpty())
                break;
        }
    }
    return catalog.systemLanguage.isEmpty() ? QString(kDefaultLanguage) : catalog.systemLanguage;
}

// Keeps the catalog already loaded unless the language changed and the new one loads.
bool Load(Catalog& catalog)
{
    const QString language = ChosenLanguage(catalog);
    if (catalog.translator && language == catalog.language)
        return true;
    auto translator = std::make_unique<QTranslator>();
    if (translator->load(QStringLiteral(":/quenyx/catalog/quenyx_%1.qm").arg(language))) {
        catalog.translator = std::move(translator);
        catalog.language = language;
    }
    return catalog.translator != nullptr;
}

} // namespace

// Nothing may leave these functions as an exception: the caller is C.

// One catalog serves every product; the console only ever names its agent.
std::int32_t POLYGLOSSA32_CALL LoadResources([[maybe_unused]] const char16_t* product)
{
    try {
        Catalog& catalog = State();
        const std::lock_guard lock(catalog.mutex);
        return Load(catalog) ? -1 : 0;
    } catch (...) {
        return 0;
    }
}

std::int32_t POLYGLOSSA32_CALL GetString(const char16_t* key, char16_t* buffer, std::int32_t length)
{
    if (!key || !buffer || length <= 0)
        return 0;
    try {
        Catalog& catalog = State();
        const std::lock_guard lock(catalog.mutex);
        if (!catalog.translator && !Load(catalog))
            return 0;
        const QByteArray source = QStringView(key).toUtf8();
        const QString text = catalog.translator->translate(kContext, source.constData());
        if (text.isEmpty() || text.size() >= length)
            return 0;
        std::copy_n(reinterpret_cast<const char16_t*>(text.utf16()), text.size(), buffer);
        buffer[text.size()] = u'\0';
        return -1;
    } catch (...) {
        return 0;
    }
}
