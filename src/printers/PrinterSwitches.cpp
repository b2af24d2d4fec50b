#include "printers/PrinterSwitches.h"

#include "platform/Text.h"

namespace quenyx::printers {

namespace {

const char* Text(bool on)
{
    return on ? "1" : "0";
}

// A switch's text as a truth value: an integer, zero or not. The console writes only "0" and "1"; any other
// text (someone's "yes", an empty value) reads as off rather than stopping the fill.
bool IntegerTruth(const std::string& text)
{
    const auto value = platform::ParseInteger<long long>(text);
    return value && *value != 0;
}

} // namespace

SwitchBoxes LoadSwitchBoxes(const SwitchInputs& inputs)
{
    SwitchBoxes boxes;
    boxes.billing.checked =
        inputs.serverDisabled || inputs.localDisabled || (inputs.disableAccounts && !inputs.Activate);
    // Accounting switched off by the server cannot be switched on here.
    boxes.billing.enabled = !inputs.serverDisabled;
    boxes.ecoToner.checked = inputs.disableEcoToner;
    UpdateSecurePrintBox(boxes, inputs);
    return boxes;
}

void UpdateSecurePrintBox(SwitchBoxes& boxes, const SwitchInputs& inputs)
{
    SwitchBox& box = boxes.securePrint;
    if (boxes.billing.checked) {
        box = {true, false};
    } else {
        if (!box.enabled && box.checked)
            box.checked = false;
        box.enabled = true;
    }
    if (!inputs.securePrintEnabled)
        box = {true, false};
    // The printer's stored switch, not the box: a box the user cleared comes back checked.
    if (inputs.disableSecurePrinter)
        box.checked = true;
}

std::vector<SwitchWrite> ApplyWrites(const SwitchInputs& inputs, const SwitchBoxes& boxes)
{
    const bool billingOff = boxes.billing.checked;
    // With accounting off agent-wide a printer is switched on one by one (NCActivate); otherwise it is switched
    // off one by one (NCDisactivate). Both are written every time.
    std::vector<SwitchWrite> writes{{"NCActivate", Text(inputs.disableAccounts && !billingOff)},
                                    {"NCDisactivate", Text(!inputs.disableAccounts && billingOff)}};
    if (!billingOff && inputs.securePrintEnabled)
        writes.push_back({"DisableSecurePrint", Text(boxes.securePrint.checked)});
    if (boxes.ecoToner.checked != inputs.disableEcoToner)
        writes.push_back({"DisableEcoToner", Text(boxes.ecoToner.checked)});
    return writes;
}

SwitchColumns ShownSwitches(bool serverDisabled, bool localDisabled, bool accountsOff,
                            const std::string& securePrintEnabled, const std::string& disableSecurePrint,
                            const std::string& nCActivate, const std::string& disableEcoToner)
{
    SwitchColumns columns;
    columns.billed = !serverDisabled && !localDisabled && !(accountsOff && !IntegerTruth(nCActivate));
    columns.securePrint = columns.billed && IntegerTruth(securePrintEnabled) && disableSecurePrint != "1";
    columns.ecoToner = columns.billed && !IntegerTruth(disableEcoToner);
    return columns;
}

} // namespace quenyx::printers
