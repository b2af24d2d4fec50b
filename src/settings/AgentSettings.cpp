#include "settings/AgentSettings.h"

#include "platform/Text.h"
#include "platform/modGlobalization.h"
#include "platform/mod_RegWin.h"
#include "platform/mod_Trace.h"
#include "settings/SettingRules.h"

#include <algorithm>
#include <vector>

namespace quenyx::settings {

namespace {

// The first entry whose name, lower-cased, equals `lowerName`. Compared in place: every value of the agent
// key is looked up in both lists, and a lower-cased copy of each entry per lookup would cost more than the rest.
GeneralKeyCollection::Pointer FindByName(const GeneralKeyCollection& collection, const std::string& lowerName)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    for (const auto& entry : collection) {
        const std::string& key = entry->Key();
        if (key.size() == lowerName.size() &&
            std::equal(key.begin(), key.end(), lowerName.begin(), [&](char a, char b) { return lower(a) == b; }))
            return entry;
    }
    return nullptr;
}

} // namespace

GeneralKeyCollection& SettingCatalog()
{
    static GeneralKeyCollection collection;
    return collection;
}

GeneralKeyCollection& ReservedSettingNames()
{
    static GeneralKeyCollection collection;
    return collection;
}

GeneralKeyCollection& KnownGeneralKeys()
{
    static GeneralKeyCollection collection;
    return collection;
}

GeneralKeyCollection& OtherGeneralKeys()
{
    static GeneralKeyCollection collection;
    return collection;
}

void LoadSettingCatalog()
{
    for (const CatalogRow& row : CatalogRows())
        SettingCatalog().Add("", row.key, modGlobalization::GetLocalizedString(row.descriptionKey), row.valueType);
    for (const char* name : ReservedNameList())
        ReservedSettingNames().Add("", name, "", "");
}

void SearchGeneralValues()
{
    std::vector<std::string> entries;
    mod_RegWin::EnumValues(mod_RegWin::HKLM, mod_Trace::AgentKey, entries);
    KnownGeneralKeys().Clear();
    OtherGeneralKeys().Clear();
    if (entries.back() == "-1")
        return;

    for (const std::string& entry : entries) {
        const std::size_t separator = entry.find(';');
        const std::string name = entry.substr(0, separator);
        const std::string value = separator == std::string::npos ? std::string() : entry.substr(separator + 1);
        const std::string lowerName = platform::AsciiLower(name);

        const auto known = FindByName(SettingCatalog(), lowerName);
        if (known)
            KnownGeneralKeys().Add(value, name, known->Description(), known->ValueType());
        if (!known && !FindByName(ReservedSettingNames(), lowerName))
            OtherGeneralKeys().Add(value, name, "", "");
    }
}

} // namespace quenyx::settings
