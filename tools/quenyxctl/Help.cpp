#include "Ctl.h"

namespace quenyx::ctl {

std::string HelpText()
{
    return R"(usage: quenyxctl [--json] [--check] [--restart] COMMAND ...
       quenyxctl --version

The Quenyx Agent's configuration from a script, with the console's own rules. On Windows it works on this
machine's registry (run it as an administrator to change anything); elsewhere on the emulated machine that
QUENYX_MACHINE names. It writes the console's diagnostic log lines when the agent's TraceLevel asks for them.

Commands:
  settings                    the agent's settings, as the settings view lists them (name, text, type, description)
  get NAME                    one setting's text; exit 1 when it is absent
  set NAME TEXT               store a setting after the checks of the insert and alter dialogs
  unset NAME                  delete a setting
  printers                    this machine's and the cluster's printers with their switches
  printer NAME [--accounting on|off] [--secure-print on|off] [--eco-toner on|off]
                              switch a printer's features as its properties dialog does; NAME is the printer's
                              name, or \\CLUSTER\NAME for a printer of the cluster
  trace                       each agent component's trace level, and the trace folder
  trace COMPONENT LEVEL       LEVEL one of OFF, Fatal, Error, Warn, Info, Debug; COMPONENT one of Listener,
                              Sender, Guardian, LiveUpdate, HttpServer, UICaller, Watcher (installation types 1, 5)
  trace-folder PATH           the folder of every component's log file
  secure-print on|off [--releaser ADDRESS] [--user-choice on|off]
                              the agent's secure printing; "on" needs a releaser address (given or stored)
  export [FILE]               the settings as a Version 5.00 .reg file (what Group Policy and regedit import),
                              reserved names left out; to standard output without FILE
  import FILE                 settings from a .reg file, every value checked first: one invalid value or
                              reserved name refuses the whole file (exit 2)
  restart                     restart the agent's services as the console does when it closes after a change

Values are checked as the dialogs check them: a Boolean setting (DisableAccounts, DisableAccountInformation)
takes on/off, true/false, 1/0 or enable/disable and stores "1" or "0"; an Integer setting (TimeUpdatePerfis,
PopUpExpiration) keeps only the digits 0 to 9 and commas and refuses what would be empty; any other setting
refuses the empty text; the agent's reserved names (Version, PathInstall, SecurePrintEnabled, ...) are refused.
"printer" writes what the properties dialog's Apply writes for the same boxes, and refuses what the dialog
would not let the user change. "trace" and "trace-folder" rewrite the components' trace files line by line as
the options dialog does.

Options:
  --json      print one JSON object: "changed" (true or false) and the data ("settings", "printers" or
              "trace", each a list of objects); without it, aligned text for a person
  --check     report what would change and write nothing ("check": true in the JSON)
  --restart   after a command that changed something, restart the agent's services (same services, order
              and pauses as the console: stop all five, 10 s, start all five, 2 s)
  --help      this text

Every command is idempotent: run twice, the second run reports "changed": false.

Exit status:
  0  done, changed or not
  1  failed: the store or a file refused the write (nothing half-written), or a setting asked for is absent
  2  usage, or an invalid value or name (nothing written)
  5  writing refused for lack of rights (nothing written)
Errors go to standard error in one line that names the setting, printer or file.

Examples:
  quenyxctl --json set DisableAccounts on
  quenyxctl printer "Reception Printer" --accounting on --secure-print off
  quenyxctl trace Listener Debug
  quenyxctl --check import agent.reg
  PowerShell, on many servers at once:
    Invoke-Command -ComputerName (Get-Content servers.txt) { quenyxctl --json set DCSServer srv02 | ConvertFrom-Json }
)";
}

} // namespace quenyx::ctl
