// The main window's three views: the navigation panel, and the settings and printers lists.
#include "shell/frmMain.h"
#include "widgets/TranslateForm.h"

#include "options/AgentValues.h"
#include "platform/Text.h"
#include "platform/modGlobalization.h"
#include "platform/mod_RegWin.h"
#include "platform/mod_Trace.h"
#include "printers/PrinterSwitches.h"
#include "printers/mod_Printers.h"
#include "session/mod_Main.h"
#include "settings/AgentSettings.h"
#include "widgets/ListControl.h"
#include "widgets/Look.h"
#include "widgets/TitleStrip.h"

#include <QLabel>
#include <QTableView>

#include <memory>
#include <vector>

namespace quenyx::shell {

namespace {

using modGlobalization::Text;

using options::AgentValue;

} // namespace

void frmMain::Highlight(const NavigationEntry& entry, bool selected)
{
    SetBackground(entry.panel, selected ? kSelectedOrange : kBandGrey);
    entry.selectedIcon->setVisible(selected);
    entry.icon->setVisible(!selected);
    SetTextColour(entry.label, selected ? QColor(Qt::white) : kLabelGrey);
    // A screen reader names the list by the view it shows.
    if (selected)
        (&entry == &configs_ ? listView_ : listViewPrinters_)->view()->setAccessibleName(entry.label->text());
}

void frmMain::SelectConfigsView(bool select)
{
    if (select) {
        SelectPrintersView(false);
        SelectClusterView(false);
        currentView = 1;
        Highlight(configs_, true);
        ShowCurrentView();
    } else {
        Highlight(configs_, false);
    }
}

void frmMain::SelectPrintersView(bool select)
{
    if (select) {
        SelectConfigsView(false);
        SelectClusterView(false);
        currentView = 2;
        Highlight(printers_, true);
        ShowCurrentView();
    } else {
        Highlight(printers_, false);
    }
}

void frmMain::SelectClusterView(bool select)
{
    if (select) {
        SelectConfigsView(false);
        SelectPrintersView(false);
        currentView = 3;
        Highlight(cluster_, true);
        ShowCurrentView();
    } else {
        Highlight(cluster_, false);
    }
}

void frmMain::ShowCurrentView()
{
    listView_->hide();
    listViewPrinters_->hide();
    switch (currentView) {
    case 1:
        listView_->show();
        settings::SearchGeneralValues();
        FillSettingsList();
        break;
    case 2:
        listViewPrinters_->show();
        FillPrint(QString());
        break;
    case 3:
        listViewPrinters_->show();
        if (const auto first = printers::clusters().Item(1))
            FillPrint(QString::fromStdString(first->clusterName()));
        break;
    default:
        break;
    }
    UpdateCommandState();
}

void frmMain::ShowClusterEntry()
{
    Step("ShowClusterEntry");
    const auto first = printers::clusters().Item(1);
    if (!first)
        return;
    cluster_.panel->show();
    cluster_.label->setText(QString::fromStdString(first->clusterName()));
}

void frmMain::FillSettingsList()
{
    listView_->Clear();
    // The values outside the catalog come first, then the catalog's: each pass of the fill starts again at the
    // top, so the second pass (the other values) ends up above the first.
    QList<ListControl::RowTexts> rows;
    rows.reserve(settings::OtherGeneralKeys().Count() + settings::KnownGeneralKeys().Count());
    for (const auto* collection : {&settings::OtherGeneralKeys(), &settings::KnownGeneralKeys()}) {
        for (const auto& entry : *collection) {
            const QString name = QString::fromStdString(entry->Key());
            rows.push_back(
                {name, name, {QString::fromStdString(entry->Value()), QString::fromStdString(entry->Description())}});
        }
    }
    listView_->AppendRows(std::move(rows));
}

void frmMain::FillPrint(const QString& clusterName)
{
    const std::string asked = clusterName.toStdString();
    const std::string securePrintEnabled = AgentValue("SecurePrintEnabled", "0");
    const bool accountsOff = AgentValue("DisableAccounts", "0") == "1";

    const std::string printersKey = mod_Printers::PrintersKeyOf(asked);
    mod_Trace::WriteTrace("FillPrint", " keyPrinters => " + printersKey);

    listViewPrinters_->Clear();
    // A listed printer's cells, from its switches as the registry holds them when they are found.
    const auto cellsOf = [printersKey, securePrintEnabled, accountsOff, enabled = Text("Enabled"),
                          disabled = Text("Disabled"),
                          toner = mod_Main::ecoTonerEnabled()](const printers::Printer& printer) {
        const std::string key = printersKey + "\\" + printer.printerName();
        const std::string disableSecurePrint =
            mod_RegWin::GetSettingString(mod_RegWin::HKLM, key, "DisableSecurePrint", "0");
        const std::string nCActivate = mod_RegWin::GetSettingString(mod_RegWin::HKLM, key, "nCActivate", "0");
        const std::string disableEcoToner = mod_RegWin::GetSettingString(mod_RegWin::HKLM, key, "DisableEcoToner", "0");
        const printers::SwitchColumns shown =
            printers::ShownSwitches(printer.serverDisabled(), printer.localDisabled(), accountsOff, securePrintEnabled,
                                    disableSecurePrint, nCActivate, disableEcoToner);
        if (shown.billed)
            mod_Trace::WriteTrace("FillPrint", "004");
        ListControl::SubItems cells{shown.billed ? enabled : disabled, shown.securePrint ? enabled : disabled,
                                    toner ? (shown.ecoToner ? enabled : disabled) : QString()};
        return cells;
    };

    // With the log on, every line of every listed printer is written here, in the order of the list. With it
    // off, a printer's switches are read only once its row is looked at: a long list costs what is on screen.
    const bool tracing = mod_Trace::Tracing();
    QList<ListControl::RowTexts> rows;
    std::vector<std::shared_ptr<printers::Printer>> listed;
    std::int64_t i = 0;
    const mod_RegWin::SharedReads oneView;
    for (const auto& printer : printers::printers()) {
        ++i;
        if (tracing) {
            mod_Trace::WriteTrace("FillPrint", std::to_string(i) + " escrevendo => " + printer->printerName());
            mod_Trace::WriteTrace("FillPrint",
                                  "iterPrinter.clusterName: " + printer->clusterName() + " x clusterName: " + asked);
        }
        // Both are always computed, so every printer is opened (and logged) on every fill.
        const bool inGroup = printer->clusterName() == asked;
        const bool exists = mod_Printers::ExistPrinter(printer->printerName(), printer->clusterName());
        if (!inGroup || !exists)
            continue;
        const QString name = QString::fromStdString(printer->printerName());
        rows.push_back({name, name, tracing ? cellsOf(*printer) : ListControl::SubItems{}});
        if (!tracing)
            listed.push_back(printer);
        mod_Trace::WriteTrace("FillPrint", "005");
    }
    if (tracing) {
        listViewPrinters_->AppendRows(std::move(rows));
        return;
    }
    listViewPrinters_->AppendRows(std::move(rows), [listed = std::move(listed), cellsOf](int index) {
        const mod_RegWin::SharedReads rowView;
        return cellsOf(*listed[static_cast<std::size_t>(index)]);
    });
}

} // namespace quenyx::shell
