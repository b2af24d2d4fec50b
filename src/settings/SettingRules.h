#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

// What the insert and alter dialogs let through into a setting of the agent key, for the dialogs and for
// anything else that stores settings the same way.
namespace quenyx::settings {

struct CatalogRow
{
    const char* key;
    const char* valueType;
    const char* descriptionKey;
};

// The settings an administrator may add and change, in the order the catalog lists them.
std::span<const CatalogRow> CatalogRows();
// The agent's own values, which the settings view leaves out and nothing there may store or delete.
std::span<const char* const> ReservedNameList();

// A character the value box of an Integer setting takes: the digits 0 to 9, the comma, and Backspace.
bool IsIntegerCharacter(char32_t typed);

// The text as the Integer box would hold it had it been typed there: every other character dropped.
std::string KeepIntegerCharacters(std::string_view text);

// The stored text of a Boolean setting, "1" enabled or "0" disabled, for the words a person or a script
// uses for a switch: on/off, true/false, 1/0, enable/disable (any case). Nothing for any other word.
std::optional<std::string> BooleanText(std::string_view word);

// The catalog's type of a setting ("String", "Boolean", "Integer"), or the empty text for a name outside it.
// The name is matched without regard to case, as everywhere in the settings.
std::string CatalogType(std::string_view name);

// One of the names kept out of the settings view, which neither dialog lets the administrator store.
bool IsReservedName(std::string_view name);

enum class SettingCheck {
    Accepted,
    NoName,      // the name is empty
    Reserved,    // the name is a reserved one
    Empty,       // nothing would be stored (an empty text, or an Integer with no digit or comma)
    NotABoolean, // a Boolean setting given a word that is no switch
};

// Checks `text` for the setting `name` as the dialogs check it and gives the text they would store.
SettingCheck CheckSetting(std::string_view name, std::string_view text, std::string& stored);

} // namespace quenyx::settings
