// export and import: the agent's settings as a version 5.00 .reg file, the reserved names left out.
#include "AgentKeyValues.h"
#include "MemoryRegistry.h"

#include "platform/Files.h"
#include "platform/RegFile.h"
#include "platform/Text.h"
#include "platform/mod_RegWin.h"
#include "platform/mod_Trace.h"

#include <filesystem>

namespace quenyx::ctl {

namespace {

using mod_RegWin::HKLM;
using mod_Trace::AgentKey;
using Change = MemoryRegistry::Change;

// A file named on the command line is a file of the host, wherever the machine is.
std::filesystem::path HostFile(const std::string& name)
{
    return std::filesystem::path(std::u8string(name.begin(), name.end()));
}

bool IsAgentKeyOrAbove(const std::string& path)
{
    const std::string folded = platform::FoldName(path);
    const std::string agent = platform::FoldName(AgentKey);
    return folded == agent || (agent.starts_with(folded) && agent[folded.size()] == '\\');
}

struct Planned
{
    std::string name;
    std::optional<std::string> text; // nothing: delete the value
};

} // namespace

int Export(Call& call)
{
    if (call.arguments.size() > 1)
        return call.Fail(kInvalid, "export", "usage: export [FILE]");
    std::vector<std::string> entries;
    mod_RegWin::EnumValues(HKLM, AgentKey, entries);
    MemoryRegistry settings;
    std::ignore = settings.CreateKey(AgentKey);
    call.report.listName = "settings";
    if (entries.back() != "-1") {
        for (const std::string& entry : entries) {
            const std::size_t separator = entry.find(';');
            const std::string name = entry.substr(0, separator);
            if (settings::IsReservedName(name))
                continue;
            const std::string text = entry.substr(separator + 1);
            std::ignore = settings.SetRawValue(AgentKey, {name, platform::reg_type::String, text + '\0'});
            call.report.rows.push_back(SettingRow(name, text));
        }
    }
    std::string bytes;
    std::string error;
    if (!platform::ExportRegFile(settings, AgentKey, bytes, error))
        return call.Fail(kFailed, "export", error);
    if (call.arguments.empty()) {
        if (call.json)
            return kDone;
        call.out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        call.printed = true;
        return kDone;
    }
    const std::string& name = call.arguments[0];
    const std::filesystem::path file = HostFile(name);
    call.report.extra.push_back(Field::Of("file", name));
    call.report.changed = platform::ReadWholeFile(file) != bytes;
    if (call.report.changed && !call.check && !platform::ReplaceWholeFile(file, bytes))
        return call.Fail(kFailed, name, "cannot be written");
    return kDone;
}

int Import(Call& call)
{
    if (call.arguments.size() != 1)
        return call.Fail(kInvalid, "import", "usage: import FILE");
    const std::string& name = call.arguments[0];
    const auto bytes = platform::ReadWholeFile(HostFile(name));
    if (!bytes)
        return call.Fail(kFailed, name, "cannot be read");
    MemoryRegistry file;
    platform::RegFileError error;
    if (!platform::ImportRegFile(*bytes, file, error))
        return call.Fail(kInvalid, name + (error.line ? ":" + std::to_string(error.line) : ""), error.message);

    // Every value is checked before anything is written: one refusal refuses the whole file.
    std::vector<Planned> plan;
    for (const Change& change : file.changes) {
        const std::string where = name + ": HKEY_LOCAL_MACHINE\\" + change.path;
        if (change.kind == Change::Kind::CreateKey && IsAgentKeyOrAbove(change.path))
            continue;
        if (!platform::EqualsIgnoringCase(change.path, AgentKey) || change.kind == Change::Kind::CreateKey ||
            change.kind == Change::Kind::DeleteKey)
            return call.Fail(kInvalid, where, "only the values of the agent key can be imported; nothing imported");
        const std::string setting = StoredName(change.value.name);
        if (change.kind == Change::Kind::DeleteValue) {
            if (settings::IsReservedName(setting))
                return Refuse(call, name + ": " + setting, settings::SettingCheck::Reserved);
            plan.push_back({setting, std::nullopt});
            continue;
        }
        if (change.value.type != platform::reg_type::String)
            return call.Fail(kInvalid, name + ": " + setting,
                             "the agent's settings are string values; nothing imported");
        std::string text = change.value.data;
        if (!text.empty() && text.back() == '\0')
            text.pop_back();
        std::string stored;
        if (const auto check = settings::CheckSetting(setting, text, stored); check != settings::SettingCheck::Accepted)
            return Refuse(call, name + ": " + setting, check);
        plan.push_back({setting, stored});
    }

    call.report.listName = "settings";
    std::vector<std::pair<Planned, std::optional<std::string>>> writes; // with the value each replaces
    for (const Planned& step : plan) {
        const auto before = StoredText(step.name);
        Row row = SettingRow(step.name, step.text.value_or(""));
        if (!step.text)
            row[1] = Field::None("text");
        row.push_back(Field::Truth("changed", before != step.text));
        call.report.rows.push_back(row);
        if (before != step.text)
            writes.emplace_back(step, before);
    }
    call.report.changed = !writes.empty();
    if (!call.report.changed || call.check)
        return kDone;
    if (const int writable = CheckWritable(call, name, AgentKey); writable != kDone)
        return writable;
    const auto put = [](const std::string& setting, const std::optional<std::string>& text) -> std::int32_t {
        if (text)
            return mod_RegWin::SaveSettingString(HKLM, AgentKey, setting, *text);
        mod_RegWin::DeleteSettingValue(HKLM, AgentKey, setting);
        return StoredText(setting) ? platform::reg_error::AccessDenied : 0;
    };
    for (std::size_t done = 0; done < writes.size(); ++done) {
        const std::int32_t status = put(writes[done].first.name, writes[done].first.text);
        if (status == 0)
            continue;
        // Nothing half-written: what was already written goes back as it was.
        for (std::size_t undo = done; undo-- > 0;)
            std::ignore = put(writes[undo].first.name, writes[undo].second);
        return WriteRefused(call, name + ": " + writes[done].first.name, status);
    }
    return kDone;
}

} // namespace quenyx::ctl
