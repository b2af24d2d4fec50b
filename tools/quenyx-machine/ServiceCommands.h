#pragma once

#include "platform/emulated/EmulatedSystem.h"

#include <ostream>
#include <string>
#include <vector>

namespace quenyx::tools {

inline constexpr const char* kServiceCommandsUsage =
    "  service set NAME STATE   STATE 1..7 or stopped, start-pending, stop-pending, running,\n"
    "                           continue-pending, pause-pending, paused\n"
    "  service remove NAME\n"
    "  service list\n"
    "  commands                 the command lines run on the machine, oldest first\n"
    "  commands clear\n";

// The machine's services and the commands run on it. `words` is the whole command, starting with "service"
// or "commands". Returns 0 when done, 1 when the machine's store failed, 2 for a usage error (told on `err`).
int RunServiceCommand(platform::EmulatedSystem& system, const std::vector<std::string>& words, std::ostream& out,
                      std::ostream& err);

} // namespace quenyx::tools
