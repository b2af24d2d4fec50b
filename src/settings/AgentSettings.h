#pragma once

#include "settings/GeneralKey.h"

// The catalog of settings the console knows, the names it keeps out of view, and the agent key's values
// sorted against both.
namespace quenyx::settings {

GeneralKeyCollection& SettingCatalog();
GeneralKeyCollection& ReservedSettingNames();
GeneralKeyCollection& KnownGeneralKeys();
GeneralKeyCollection& OtherGeneralKeys();

// Fills SettingCatalog (six settings, descriptions looked up now) and ReservedSettingNames (34 names).
// Called once per run; it does not clear them first.
void LoadSettingCatalog();

// Rebuilds KnownGeneralKeys and OtherGeneralKeys from the agent key, in the registry's order.
void SearchGeneralValues();

} // namespace quenyx::settings
