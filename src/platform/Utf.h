#pragma once

#include <string>
#include <string_view>

namespace quenyx::platform {

// The length of the well-formed UTF-8 sequence at `i` (decoded into `cp`), or 0 when there is none.
std::size_t Utf8SequenceAt(std::string_view text, std::size_t i, char32_t& cp);

// UTF-8 and UTF-16 conversions; malformed input becomes U+FFFD, never an error.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);
// Appends one code point as UTF-8.
void AppendUtf8(std::string& out, char32_t cp);

} // namespace quenyx::platform
