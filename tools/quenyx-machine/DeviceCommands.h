#pragma once

#include "platform/emulated/EmulatedSystem.h"

#include <ostream>
#include <string>
#include <vector>

namespace quenyx::tools {

inline constexpr const char* kDeviceCommandsUsage =
    "  spooler add NAME         the spooler can open the printer NAME\n"
    "  spooler add --all        the spooler can open every printer key of the machine (one transaction)\n"
    "  spooler remove NAME\n"
    "  spooler list\n"
    "  status set PRINTER CODE  the status component answers CODE for PRINTER (its full name,\n"
    "                           \\\\SERVER\\QUEUE for a cluster printer); 1 server-disabled,\n"
    "                           2 locally disabled, 3 both\n"
    "  status set PRINTER none  the component answers, but not true\n"
    "  status set PRINTER fail  the call fails\n"
    "  status clear PRINTER     back to answering 0\n"
    "  status list\n"
    "  status component installed|removed\n";

// The machine's spooler and printer status component. `words` is the whole command, starting with "spooler"
// or "status". Returns 0 when done, 1 when the machine's store failed, 2 for a usage error (told on `err`).
int RunDeviceCommand(platform::EmulatedSystem& system, const std::vector<std::string>& words, std::ostream& out,
                     std::ostream& err);

} // namespace quenyx::tools
