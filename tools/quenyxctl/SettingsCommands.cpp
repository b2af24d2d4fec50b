// settings, get, set and unset: the agent key's values as the settings view and the insert and alter dialogs
// see and store them.
#include "AgentKeyValues.h"

#include "platform/Platform.h"
#include "platform/Text.h"
#include "platform/mod_RegWin.h"
#include "platform/mod_Trace.h"
#include "settings/AgentSettings.h"

namespace quenyx::ctl {

namespace {

using mod_RegWin::HKLM;
using mod_Trace::AgentKey;

void LoadCatalogOnce()
{
    if (settings::SettingCatalog().Count() == 0)
        settings::LoadSettingCatalog();
}

} // namespace

std::optional<std::string> StoredText(const std::string& name)
{
    const auto& registry = platform::Current().registry;
    std::unique_ptr<platform::RegistryKey> key;
    if (!registry || registry->OpenKey(AgentKey, platform::reg_access::Read, key) != platform::reg_error::Success)
        return std::nullopt;
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    if (key->QueryValueInfo(name, type, size) != platform::reg_error::Success ||
        (type != platform::reg_type::String && type != platform::reg_type::ExpandString))
        return std::nullopt;
    key.reset();
    return mod_RegWin::GetSettingString(HKLM, AgentKey, name, "");
}

std::string StoredName(const std::string& name)
{
    for (const settings::CatalogRow& row : settings::CatalogRows())
        if (platform::EqualsIgnoringCase(row.key, name))
            return row.key;
    return name;
}

Row SettingRow(const std::string& name, const std::string& text)
{
    LoadCatalogOnce();
    std::string type;
    std::string description;
    for (const auto& entry : settings::SettingCatalog())
        if (platform::EqualsIgnoringCase(entry->Key(), name)) {
            type = entry->ValueType();
            description = entry->Description();
        }
    return {Field::Of("name", name), Field::Of("text", text), Field::Of("type", type),
            Field::Of("description", description)};
}

int Refuse(const Call& call, const std::string& name, settings::SettingCheck check)
{
    using settings::SettingCheck;
    switch (check) {
    case SettingCheck::NoName:
        return call.Fail(kInvalid, "", "a setting needs a name");
    case SettingCheck::Reserved:
        return call.Fail(kInvalid, name, "is one of the agent's reserved names, which are left alone");
    case SettingCheck::Empty:
        return call.Fail(kInvalid, name,
                         settings::CatalogType(name) == "Integer"
                             ? "an Integer setting takes the digits 0 to 9 and commas, and this leaves none"
                             : "the text is empty");
    case SettingCheck::NotABoolean:
        return call.Fail(kInvalid, name, "a Boolean setting takes on/off, true/false, 1/0 or enable/disable");
    case SettingCheck::Accepted:
        break;
    }
    return kDone;
}

int Settings(Call& call)
{
    if (!call.arguments.empty())
        return call.Fail(kInvalid, "settings", "takes no arguments");
    LoadCatalogOnce();
    settings::SearchGeneralValues();
    call.report.listName = "settings";
    // As the settings view shows them: the values outside the catalog above the catalog's.
    for (const auto* list : {&settings::OtherGeneralKeys(), &settings::KnownGeneralKeys()})
        for (const auto& entry : *list)
            call.report.rows.push_back(SettingRow(entry->Key(), entry->Value()));
    return kDone;
}

int Get(Call& call)
{
    if (call.arguments.size() != 1)
        return call.Fail(kInvalid, "get", "usage: get NAME");
    const std::string& name = call.arguments[0];
    if (settings::IsReservedName(name))
        return Refuse(call, name, settings::SettingCheck::Reserved);
    const auto text = StoredText(name);
    if (!text)
        return call.Fail(kFailed, name, "the agent key holds no such setting");
    call.report.listName = "settings";
    call.report.rows.push_back(SettingRow(name, *text));
    // For a person or a shell's $(...): the text alone.
    if (!call.json) {
        call.out << *text << "\n";
        call.printed = true;
    }
    return kDone;
}

int Set(Call& call)
{
    if (call.arguments.size() != 2)
        return call.Fail(kInvalid, "set", "usage: set NAME TEXT");
    const std::string name = StoredName(call.arguments[0]);
    std::string text;
    if (const auto check = settings::CheckSetting(name, call.arguments[1], text);
        check != settings::SettingCheck::Accepted)
        return Refuse(call, name, check);
    call.report.listName = "settings";
    call.report.rows.push_back(SettingRow(name, text));
    call.report.changed = StoredText(name) != text;
    if (!call.report.changed || call.check)
        return kDone;
    if (const int writable = CheckWritable(call, name, AgentKey); writable != kDone)
        return writable;
    if (const auto status = mod_RegWin::SaveSettingString(HKLM, AgentKey, name, text); status != 0)
        return WriteRefused(call, name, status);
    return kDone;
}

int Unset(Call& call)
{
    if (call.arguments.size() != 1)
        return call.Fail(kInvalid, "unset", "usage: unset NAME");
    const std::string& name = call.arguments[0];
    if (settings::IsReservedName(name))
        return Refuse(call, name, settings::SettingCheck::Reserved);
    call.report.changed = StoredText(name).has_value();
    if (!call.report.changed || call.check)
        return kDone;
    if (const int writable = CheckWritable(call, name, AgentKey); writable != kDone)
        return writable;
    mod_RegWin::DeleteSettingValue(HKLM, AgentKey, name);
    if (StoredText(name))
        return call.Fail(kFailed, name, "the registry refused to delete it");
    return kDone;
}

} // namespace quenyx::ctl
