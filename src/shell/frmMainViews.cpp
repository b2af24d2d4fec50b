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
    const auto fill = [this](const settings::GeneralKeyCollection& collection) {
        qint16 i = 0;
        for (const auto& entry : collection) {
            ++i;
            const QString name = QString::fromStdString(entry->Key());
            ListRow row = listView_->InsertRow(i, name, name);
            row.SetSubItem(1, QString::fromStdString(entry->Value()));
            row.SetSubItem(2, QString::fromStdString(entry->Description()));
        }
    };
    // The second pass starts again at the top, so the values outside the catalog end up above it.
    fill(settings::KnownGeneralKeys());
    fill(settings::OtherGeneralKeys());
}

void frmMain::FillPrint(const QString& clusterName)
{
    const std::string asked = clusterName.toStdString();
    const std::string securePrintEnabled = AgentValue("SecurePrintEnabled", "0");
    const bool accountsOff = AgentValue("DisableAccounts", "0") == "1";

    std::string printersKey = mod_Printers::SpoolerPrintersKey;
    if (!asked.empty()) {
        const auto cluster = printers::clusters().Find(asked);
        printersKey = cluster ? cluster->Key() : std::string();
    }
    mod_Trace::WriteTrace("FillPrint", " keyPrinters => " + printersKey);

    listViewPrinters_->Clear();
    const QString enabled = Text("Enabled");
    const QString disabled = Text("Disabled");
    const bool toner = mod_Main::ecoTonerEnabled();
    qint16 row = 0;
    std::int32_t i = 0;
    const mod_RegWin::SharedReads oneView;
    for (const auto& printer : printers::printers()) {
        ++i;
        mod_Trace::WriteTrace("FillPrint", std::to_string(i) + " escrevendo => " + printer->printerName());
        mod_Trace::WriteTrace("FillPrint",
                              "iterPrinter.clusterName: " + printer->clusterName() + " x clusterName: " + asked);
        // Both are always computed, so every printer is opened (and logged) on every fill.
        const bool inGroup = printer->clusterName() == asked;
        const bool exists = mod_Printers::ExistPrinter(printer->printerName(), printer->clusterName());
        if (!inGroup || !exists)
            continue;
        ++row;
        const std::string key = printersKey + "\\" + printer->printerName();
        const std::string disableSecurePrint =
            mod_RegWin::GetSettingString(mod_RegWin::HKLM, key, "DisableSecurePrint", "0");
        const std::string nCActivate = mod_RegWin::GetSettingString(mod_RegWin::HKLM, key, "nCActivate", "0");
        const std::string disableEcoToner = mod_RegWin::GetSettingString(mod_RegWin::HKLM, key, "DisableEcoToner", "0");
        const QString name = QString::fromStdString(printer->printerName());
        ListRow item = listViewPrinters_->InsertRow(row, name, name);
        const printers::SwitchColumns shown =
            printers::ShownSwitches(printer->serverDisabled(), printer->localDisabled(), accountsOff,
                                    securePrintEnabled, disableSecurePrint, nCActivate, disableEcoToner);
        item.SetSubItem(1, shown.billed ? enabled : disabled);
        if (shown.billed)
            mod_Trace::WriteTrace("FillPrint", "004");
        item.SetSubItem(2, shown.securePrint ? enabled : disabled);
        if (toner)
            item.SetSubItem(3, shown.ecoToner ? enabled : disabled);
        mod_Trace::WriteTrace("FillPrint", "005");
    }
}

} // namespace quenyx::shell
