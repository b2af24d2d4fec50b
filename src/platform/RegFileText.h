#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// What the .reg reader and writer share: the file's fixed words and its text encodings.
namespace quenyx::platform::regfile {

constexpr std::string_view kHeader5 = "Windows Registry Editor Version 5.00";
constexpr std::string_view kHeader4 = "REGEDIT4";
constexpr std::string_view kRootName = "HKEY_LOCAL_MACHINE";
constexpr std::string_view kRootAbbreviation = "HKLM";

bool IsUtf8(std::string_view text);

// The emulated machine stores whatever bytes it is given, so a name or string need not be UTF-8. A byte
// that is not part of UTF-8 travels as the lone surrogate U+DC00 + byte (never produced by real text),
// which brings every string back from a file byte for byte.
std::string ToUtf16Le(std::string_view text);

// The reverse of ToUtf16Le; other lone surrogates and an odd last byte become U+FFFD.
std::string FromUtf16Le(std::string_view bytes);

std::string FromWindows1252(std::string_view bytes);

bool IsStringType(std::uint32_t type);
std::string JoinKeyPath(const std::string& parent, std::string_view child);

} // namespace quenyx::platform::regfile
