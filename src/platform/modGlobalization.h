#pragma once

#include <string>

// Visible texts by key, from the text catalog.
namespace quenyx::modGlobalization {

// The key's text, or the empty text when the catalog has none (or there is no catalog).
std::string GetLocalizedString(const std::string& key);

} // namespace quenyx::modGlobalization
