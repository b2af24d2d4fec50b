#pragma once

#include "Ctl.h"

#include "settings/SettingRules.h"

#include <optional>
#include <string>

// The agent key's values as quenyxctl reads, checks and reports them.
namespace quenyx::ctl {

// The value's text when the agent key holds it as a string value, else nothing.
std::optional<std::string> StoredText(const std::string& name);

// The name to store under: the catalog's spelling for a catalog setting, else as given.
std::string StoredName(const std::string& name);

// name, text, type and description (the catalog's, looked up once per run).
Row SettingRow(const std::string& name, const std::string& text);

// The stderr line and exit status for a value the dialogs would not store.
int Refuse(const Call& call, const std::string& name, settings::SettingCheck check);

} // namespace quenyx::ctl
