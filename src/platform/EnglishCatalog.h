#pragma once

#include <map>
#include <string>
#include <string_view>

namespace quenyx::platform {

// The English texts of the catalog, built into the console so that it stays usable without the text-catalog
// library: captions, column headers, menus and questions in English instead of empty ones.
std::string EnglishText(std::string_view key);

// Every key of a catalog file (quenyx_*.ts) with its text.
std::map<std::string, std::string, std::less<>> CatalogTexts(std::string_view source);

// The catalog's English source file, as built in.
std::string_view EnglishCatalogSource();

} // namespace quenyx::platform
