#include "platform/modGlobalization.h"

#include "platform/EnglishCatalog.h"
#include "platform/Platform.h"
#include "platform/Utf.h"
#include "platform/mod_Trace.h"

#include <array>

namespace quenyx::modGlobalization {

namespace {

std::string g_missingReason;

} // namespace

void NoteCatalogMissing(const std::string& reason)
{
    g_missingReason = reason;
}

std::string GetLocalizedString(const std::string& key)
{
    const auto& catalog = platform::Current().textCatalog;
    if (!catalog) {
        if (!g_missingReason.empty()) {
            mod_Trace::WriteTrace("modGlobalization", "biblioteca de textos ausente: " + g_missingReason);
            g_missingReason.clear();
        }
        return platform::EnglishText(key);
    }
    constexpr std::int32_t kLength = 1000;
    catalog->LoadResources(u"Quenyx\\Agent");
    std::u16string buffer(kLength, u' ');
    const std::int32_t found = catalog->GetString(platform::Utf8ToUtf16(key), buffer.data(), kLength);
    if ((found & 0xFFFF) != 0xFFFF)
        return {};
    // A library that says "found" but leaves no NUL gives the whole buffer, never more.
    const std::size_t end = buffer.find(u'\0');
    return platform::Utf16ToUtf8(end == std::u16string::npos ? buffer : buffer.substr(0, end));
}

} // namespace quenyx::modGlobalization
