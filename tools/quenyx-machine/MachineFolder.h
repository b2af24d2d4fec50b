#pragma once

#include "platform/RegFile.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace quenyx::tools {

// A key as the user may write it ("HKLM\SOFTWARE\x", "HKEY_LOCAL_MACHINE\SOFTWARE\x" or "SOFTWARE\x"), as
// a path relative to HKEY_LOCAL_MACHINE.
std::string RelativeKeyPath(std::string_view key);

// "line 12: message", or the message alone for the file as a whole.
std::string Describe(const platform::RegFileError& error);

bool ReadWholeFile(const std::filesystem::path& file, std::string& bytes, std::string& error);

// Writes a temporary sibling and renames it over `file`, so a reader never sees half a file.
bool WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes, std::string& error);

// Makes a new machine in `folder` (which must not exist or be empty), imported from `regFile` when it is
// not null. The machine is built in a temporary sibling folder and renamed into place, so a failure
// leaves no machine, and no half-made one, behind.
bool CreateMachine(const std::filesystem::path& folder, const std::string* regFile, std::string& error);

} // namespace quenyx::tools
