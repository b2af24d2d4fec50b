#pragma once

#include <string>
#include <vector>

// One printer's agent switches as the properties dialog presents them (a checked box: the feature is off for
// the printer), the box rules that bind them, and what Apply writes into the printer's key for them.
namespace quenyx::printers {

// What the dialog is given about the printer and the agent.
struct SwitchInputs
{
    bool disableAccounts = false;      // the agent's DisableAccounts is "1"
    bool Activate = false;             // the printer's NCActivate is "1"
    bool securePrintEnabled = false;   // the agent's SecurePrintEnabled is "1"
    bool disableSecurePrinter = false; // the printer's DisableSecurePrint is "1"
    bool disableEcoToner = false;      // the printer's DisableEcoToner is "1"
    bool serverDisabled = false;       // the server switched accounting off for the printer
    bool localDisabled = false;        // accounting was switched off on this machine
};

struct SwitchBox
{
    bool checked = false;
    bool enabled = true;
};

struct SwitchBoxes
{
    SwitchBox billing;
    SwitchBox securePrint;
    SwitchBox ecoToner;
};

// The boxes as the dialog opens with them.
SwitchBoxes LoadSwitchBoxes(const SwitchInputs& inputs);

// After the billing box changed (and once at load): without accounting there is no secure printing, and the
// agent's and the printer's own secure-print switches put the box back to checked.
void UpdateSecurePrintBox(SwitchBoxes& boxes, const SwitchInputs& inputs);

struct SwitchWrite
{
    std::string name; // the printer key's value
    std::string text; // "1" or "0"
};

// What Apply writes, in order, for these box states: NCActivate and NCDisactivate always, DisableSecurePrint
// while accounting is on and secure printing is in use, DisableEcoToner when its box differs from the stored one.
std::vector<SwitchWrite> ApplyWrites(const SwitchInputs& inputs, const SwitchBoxes& boxes);

// How the printers view shows a printer: billed, then secure printing and toner saving (both only for a billed
// printer). `securePrintEnabled` and the printer's values are the registry's texts.
struct SwitchColumns
{
    bool billed = false;
    bool securePrint = false;
    bool ecoToner = false;
};
SwitchColumns ShownSwitches(bool serverDisabled, bool localDisabled, bool accountsOff,
                            const std::string& securePrintEnabled, const std::string& disableSecurePrint,
                            const std::string& nCActivate, const std::string& disableEcoToner);

} // namespace quenyx::printers
