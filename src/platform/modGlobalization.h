#pragma once

#include <string>

// Visible texts by key, from the text catalog.
namespace quenyx::modGlobalization {

// The key's text, or the empty text when the catalog has none. Without a catalog library, the English text.
std::string GetLocalizedString(const std::string& key);

// Why the console runs without a text catalog. The first lookup made without one writes it to the log; the
// console's first lookup comes after the log's settings have been read.
void NoteCatalogMissing(const std::string& reason);

} // namespace quenyx::modGlobalization
