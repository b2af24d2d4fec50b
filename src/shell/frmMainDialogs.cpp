// The main window's commands that open a dialog, and what follows each one.
#include "shell/frmMain.h"
#include "widgets/TranslateForm.h"

#include "options/frmAbout.h"
#include "options/frmOptions.h"
#include "platform/modGlobalization.h"
#include "platform/mod_RegWin.h"
#include "platform/mod_Trace.h"
#include "printers/frmPrinterProperties.h"
#include "printers/mod_Printers.h"
#include "settings/AgentSettings.h"
#include "settings/frmAlter.h"
#include "settings/frmInsert.h"
#include "shell/frmWait.h"
#include "widgets/ListControl.h"

#include <QLabel>

namespace quenyx::shell {

namespace {

using modGlobalization::Text;

std::string Read(const std::string& key, const char* name, const char* defaultText)
{
    return mod_RegWin::GetSettingString(mod_RegWin::HKLM, key, name, defaultText);
}

const QString kAgentKey = QString::fromLatin1(mod_Trace::AgentKey);

} // namespace

// After a dialog on a row, the keyboard is back on that row, though the refill has dropped the selection. The
// window is made active again as Windows does when a modal dialog closes; a desktop without a window manager
// would leave it inactive, and the keyboard nowhere.
void frmMain::BackOnRow(ListControl& list, const QString& row)
{
    activateWindow();
    list.FocusRow(row);
}

void frmMain::Add()
{
    settings::frmInsert dialog(this);
    dialog.path = kAgentKey;
    dialog.ShowModal();
    settings::SearchGeneralValues();
    Refresh();
}

void frmMain::Edit()
{
    const int selected = listView_->SelectedRow();
    if (selected == 0)
        return;
    settings::frmAlter dialog(this);
    dialog.path = kAgentKey;
    dialog.Value = listView_->Row(selected).Text();
    dialog.data = listView_->Row(selected).SubItem(1);
    dialog.ShowModal();
    settings::SearchGeneralValues();
    Refresh();
    BackOnRow(*listView_, dialog.Value);
}

void frmMain::Properties()
{
    const int selected = listViewPrinters_->SelectedRow();
    if (selected == 0)
        return;
    std::string printersKey = mod_Printers::SpoolerPrintersKey;
    if (currentView != 2) {
        if (const auto cluster = printers::clusters().Find(cluster_.label->text().toStdString()))
            printersKey = cluster->Key();
    }
    mod_Trace::WriteTrace("toolProperties", printersKey);

    const std::string queue = listViewPrinters_->Row(selected).Text().toStdString();
    const std::string printerKey = printersKey + "\\" + queue;
    const std::string agentKey = mod_Trace::AgentKey;
    printers::frmPrinterProperties dialog(this);
    dialog.keyPrinters = QString::fromStdString(printersKey);
    dialog.queueName = QString::fromStdString(queue);
    dialog.ID = QString::fromStdString(Read(printerKey, "TessalineID", "0"));
    dialog.Activate = Read(printerKey, "NCActivate", "") == "1";
    dialog.disableAccounts = Read(agentKey, "DisableAccounts", "") == "1";
    dialog.securePrintEnabled = Read(agentKey, "SecurePrintEnabled", "") == "1";
    dialog.disableSecurePrinter = Read(printerKey, "DisableSecurePrint", "") == "1";
    dialog.disableEcoToner = Read(printerKey, "DisableEcoToner", "") == "1";
    dialog.ShowModal();

    ShowWait(Text("LoadingPrinterListWait"));
    HideWait();
    Refresh();
    BackOnRow(*listViewPrinters_, QString::fromStdString(queue));
}

void frmMain::OpenOptions(int tab)
{
    options::frmOptions dialog(this);
    dialog.selectedTab = tab;
    dialog.ShowModal();
    // Whatever the current view, both lists are refilled: the printers with this machine's printers.
    FillPrint(QString());
    FillSettingsList();
}

void frmMain::About()
{
    options::frmAbout dialog(this);
    dialog.ShowModal();
}

} // namespace quenyx::shell
