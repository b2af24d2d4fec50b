// printers and printer: the printers the console lists, with the three switches of its properties dialog.
#include "Ctl.h"

#include "platform/mod_RegWin.h"
#include "platform/mod_Trace.h"
#include "printers/Printer.h"
#include "printers/PrinterSwitches.h"
#include "printers/mod_Printers.h"

#include <algorithm>
#include <memory>

namespace quenyx::ctl {

namespace {

using mod_RegWin::HKLM;
using printers::Printer;

std::string Agent(const char* name)
{
    return mod_RegWin::GetSettingString(HKLM, mod_Trace::AgentKey, name, "");
}

// The printers as the console finds them at start-up: the cluster's first (when cluster support is on), then
// this machine's.
void FindPrinters()
{
    if (printers::printers().Count() > 0)
        return;
    if (mod_RegWin::GetSettingString(HKLM, mod_Trace::AgentKey, "EnableCluster", "0") == "1")
        mod_Printers::SearchClusterPrinters();
    std::ignore = mod_Printers::SearchPrinters(mod_Printers::SpoolerPrintersKey, "");
}

// "Queue" is this machine's printer of that name (else a cluster's); "\\Cluster\Queue" the cluster's.
std::shared_ptr<Printer> FindPrinter(const std::string& name)
{
    std::shared_ptr<Printer> other;
    for (const auto& printer : printers::printers()) {
        if (mod_Printers::FullPrinterName(*printer) == name)
            return printer;
        if (!other && printer->printerName() == name)
            other = printer;
    }
    return other;
}

std::string OnOff(bool on)
{
    return on ? "on" : "off";
}

// The agent's two values that decide every printer's switches, read once for a whole list.
struct AgentSwitches
{
    bool accountsOff;
    std::string securePrint;
};

AgentSwitches ReadAgentSwitches()
{
    return {Agent("DisableAccounts") == "1",
            mod_RegWin::GetSettingString(HKLM, mod_Trace::AgentKey, "SecurePrintEnabled", "0")};
}

void PrinterRow(const Printer& printer, const AgentSwitches& agent, Row& row)
{
    const std::string key = mod_Printers::PrintersKeyOf(printer.clusterName()) + "\\" + printer.printerName();
    const auto value = [&](const char* name) { return mod_RegWin::GetSettingString(HKLM, key, name, "0"); };
    const printers::SwitchColumns shown =
        printers::ShownSwitches(printer.serverDisabled(), printer.localDisabled(), agent.accountsOff,
                                agent.securePrint, value("DisableSecurePrint"), value("nCActivate"),
                                value("DisableEcoToner"));
    row.push_back(Field::Of("name", printer.printerName()));
    row.push_back(printer.clusterName().empty() ? Field::None("cluster") : Field::Of("cluster", printer.clusterName()));
    row.push_back(Field::Of("id", std::to_string(printer.TessalineID())));
    row.push_back(Field::Of("accounting", OnOff(shown.billed)));
    row.push_back(Field::Of("secure_print", OnOff(shown.securePrint)));
    row.push_back(Field::Of("eco_toner", OnOff(shown.ecoToner)));
}

// What the properties dialog is given for this printer, read as the Properties command reads it.
printers::SwitchInputs Inputs(const Printer& printer, const std::string& key)
{
    const auto is1 = [](const std::string& text) { return text == "1"; };
    return {is1(Agent("DisableAccounts")),
            is1(mod_RegWin::GetSettingString(HKLM, key, "NCActivate", "")),
            is1(Agent("SecurePrintEnabled")),
            is1(mod_RegWin::GetSettingString(HKLM, key, "DisableSecurePrint", "")),
            is1(mod_RegWin::GetSettingString(HKLM, key, "DisableEcoToner", "")),
            printer.serverDisabled(),
            printer.localDisabled()};
}

struct Request
{
    const char* option;
    printers::SwitchBox printers::SwitchBoxes::*box;
    const char* refusal; // why the dialog would not let the box change
};

const Request kRequests[] = {
    {"--accounting", &printers::SwitchBoxes::billing, "accounting is switched off for it by the agent's server"},
    {"--secure-print", &printers::SwitchBoxes::securePrint,
     "secure printing cannot change while accounting is off for it or secure printing is off for the agent"},
    {"--eco-toner", &printers::SwitchBoxes::ecoToner, "toner saving cannot change"},
};

} // namespace

int Printers(Call& call)
{
    if (!call.arguments.empty())
        return call.Fail(kInvalid, "printers", "takes no arguments");
    // One view of the store for the search and every row, as the console's own search has: a store that takes
    // a view per read pays for its locks on every value of every printer. The rows are made as they are
    // printed, so the view lasts as long as the report.
    auto oneView = std::make_shared<const mod_RegWin::SharedReads>();
    FindPrinters();
    call.report.listName = "printers";
    call.report.madeRows = static_cast<std::size_t>(printers::printers().Count());
    call.report.makeRow = [oneView, agent = ReadAgentSwitches()](std::size_t i, Row& row) {
        PrinterRow(*printers::printers().Item(i + 1), agent, row);
    };
    return kDone;
}

int PrinterSwitches(Call& call)
{
    const auto& words = call.arguments;
    if (words.empty() || words.size() % 2 == 0)
        return call.Fail(kInvalid, "printer",
                         "usage: printer NAME [--accounting on|off] [--secure-print on|off] [--eco-toner on|off]");
    const std::string& name = words[0];
    // A box of the dialog is checked when the feature is off: "on" clears it.
    std::vector<std::pair<const Request*, bool>> asked;
    for (std::size_t at = 1; at < words.size(); at += 2) {
        const Request* request = nullptr;
        for (const Request& candidate : kRequests)
            if (words[at] == candidate.option)
                request = &candidate;
        if (!request || (words[at + 1] != "on" && words[at + 1] != "off"))
            return call.Fail(kInvalid, name,
                             "unknown switch " + words[at] + " " + words[at + 1] +
                                 " (--accounting, --secure-print, --eco-toner take on or off)");
        asked.emplace_back(request, words[at + 1] == "off");
    }

    FindPrinters();
    const auto printer = FindPrinter(name);
    if (!printer || !mod_Printers::ExistPrinter(printer->printerName(), printer->clusterName()))
        return call.Fail(kInvalid, name, "no such printer");
    const std::string key = mod_Printers::PrintersKeyOf(printer->clusterName()) + "\\" + printer->printerName();
    const printers::SwitchInputs inputs = Inputs(*printer, key);
    printers::SwitchBoxes boxes = printers::LoadSwitchBoxes(inputs);
    // In the dialog's order, whatever the command line's: accounting first, as it decides the secure-print box.
    std::ranges::sort(asked, {}, [](const auto& entry) { return entry.first - kRequests; });
    for (const auto& [request, checked] : asked) {
        printers::SwitchBox& box = boxes.*(request->box);
        if (box.checked == checked)
            continue;
        if (!box.enabled)
            return call.Fail(kInvalid, name, std::string(request->option) + ": " + request->refusal);
        box.checked = checked;
        if (request->box == &printers::SwitchBoxes::billing)
            printers::UpdateSecurePrintBox(boxes, inputs);
    }

    call.report.listName = "printers";
    if (!asked.empty()) {
        const auto writes = printers::ApplyWrites(inputs, boxes);
        for (const printers::SwitchWrite& write : writes)
            call.report.changed =
                call.report.changed || mod_RegWin::GetSettingString(HKLM, key, write.name, "") != write.text;
        if (call.report.changed && !call.check) {
            if (const int writable = CheckWritable(call, name, key); writable != kDone)
                return writable;
            // All of Apply's writes, in its order, as the dialog makes them.
            printer->setLocalDisabled(boxes.billing.checked);
            for (const printers::SwitchWrite& write : writes)
                if (const auto status = mod_RegWin::SaveSettingString(HKLM, key, write.name, write.text); status != 0)
                    return WriteRefused(call, name, status);
        }
    }
    PrinterRow(*printer, ReadAgentSwitches(), call.report.rows.emplace_back());
    return kDone;
}

} // namespace quenyx::ctl
