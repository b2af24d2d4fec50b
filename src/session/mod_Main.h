#pragma once

#include <string_view>

// Program-wide state of the console's run.
namespace quenyx::mod_Main {

// The agent's configuration was changed during this run; set by the commands and dialogs that change
// it, never cleared, read at shutdown.
bool configsAltered();
void setConfigsAltered(bool altered);

// The toner-saving column and box are shown; set at start-up from the command line.
bool ecoTonerEnabled();
void setEcoTonerEnabled(bool enabled);

// True when the command-line argument text (everything after the program's name) is "-ecoToner"
// alone, compared without regard to case.
bool IsEcoTonerSwitch(std::string_view argumentText);

} // namespace quenyx::mod_Main
