#pragma once

#include <string>
#include <string_view>

namespace quenyx::platform {

// The English texts of the catalog, built into the console so that it stays usable without the text-catalog
// library: captions, column headers, menus and questions in English instead of empty ones.
std::string EnglishText(std::string_view key);

// The catalog's English source file, as built in.
std::string_view EnglishCatalogSource();

} // namespace quenyx::platform
