#pragma once

#include "platform/Registry.h"

#include <string>
#include <string_view>

namespace quenyx::platform {

// .reg files: "Windows Registry Editor Version 5.00" (UTF-16LE with BOM, CR LF) and "REGEDIT4".
struct RegFileError
{
    int line = 0; // 1-based line of the file; 0 when the file as a whole is wrong
    std::string message;
};

// Parses `bytes` (the whole file) and applies it through `admin` in one step: a malformed file reports
// the line at fault and changes nothing. Only HKEY_LOCAL_MACHINE (or HKLM) keys are accepted.
// Text without a UTF-16LE BOM is read as UTF-8, or as Windows-1252 when it is not valid UTF-8. The string
// types in hex(1), hex(2) and hex(7) are UTF-16LE in a version 5.00 file and become UTF-8; in a REGEDIT4
// file they are kept byte for byte.
bool ImportRegFile(std::string_view bytes, RegistryAdmin& admin, RegFileError& error);

// Writes `keyPath` (relative to HKEY_LOCAL_MACHINE) and everything below it as a version 5.00 file
// (UTF-16LE with BOM, CR LF) that imports back into the same keys, names, types and data bytes. Fails
// only for a key that does not exist or a name holding a line feed or NUL, which no .reg file can carry.
bool ExportRegFile(RegistryAdmin& admin, std::string_view keyPath, std::string& bytes, std::string& error);

} // namespace quenyx::platform
