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
// the line at fault and changes nothing.
bool ImportRegFile(std::string_view bytes, RegistryAdmin& admin, RegFileError& error);

// Writes `keyPath` and everything below it as a version 5.00 file (UTF-16LE with BOM, CR LF).
bool ExportRegFile(RegistryAdmin& admin, std::string_view keyPath, std::string& bytes, std::string& error);

} // namespace quenyx::platform
