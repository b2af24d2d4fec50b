#pragma once

#include "platform/Platform.h"

#include <string>
#include <string_view>

namespace quenyx::platform::win32 {

// The real machine: the registry and the service manager through advapi32, child processes, the local time
// and the user's formats, files by their own Windows paths.
Platform MakePlatform();

// Between the program's UTF-8 and the ANSI code page (CP_ACP). Lengths are explicit, so embedded NULs
// survive; what the code page cannot hold comes out as Windows' default character.
std::string ToAnsi(std::string_view text);
std::string FromAnsi(std::string_view bytes);

} // namespace quenyx::platform::win32
