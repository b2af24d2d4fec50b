// The main window's commands: toolbar, menu, and what each command does.
#include "shell/frmMain.h"
#include "widgets/TranslateForm.h"

#include "options/AgentValues.h"
#include "platform/Text.h"
#include "platform/modGlobalization.h"
#include "platform/mod_RegWin.h"
#include "platform/mod_Trace.h"
#include "printers/mod_Printers.h"
#include "session/mod_Main.h"
#include "settings/AgentSettings.h"
#include "shell/frmWait.h"
#include "widgets/ListControl.h"
#include "widgets/Look.h"
#include "widgets/MenuBar.h"
#include "widgets/ToolButton.h"

#include <QLabel>
#include <QShortcut>

namespace quenyx::shell {

namespace {

using modGlobalization::Text;

using options::AgentValue;

// "InstallType" as an integer; a text that is not one gives nothing, and the menu is built as for any type
// other than 1 (no Secure print entry) instead of failing.
std::optional<int> InstallType()
{
    return platform::ParseInteger<int>(AgentValue("InstallType", "1"));
}

} // namespace

void frmMain::BuildMenuAndColumns()
{
    const std::optional<int> installType = InstallType();

    btnToolRefresh_->setToolTip(Text("Refresh"));
    btnToolInclude_->setToolTip(Text("Add"));
    btnToolDelete_->setToolTip(Text("Exclude"));
    btnToolAlter_->setToolTip(Text("Edit"));
    btnToolProperties_->setToolTip(Text("Properties"));
    btnToolCancel_->setToolTip(Text("Quit"));

    const auto icon = [this](const char* name) { return Image(QString::fromLatin1(name), 16, 16, this); };
    const QString more = QStringLiteral("...");
    const QString none;
    MenuBar& m = *menu_;
    m.AddEntry(none, "mnApplication", MenuStyle::Normal, Text("Application"), {}, true);
    m.AddEntry("mnApplication", "opExit", MenuStyle::Normal, Text("Quit"), icon("menu_quit"), true);
    m.AddEntry(none, "mnAction", MenuStyle::Normal, Text("Action"), {}, true);
    m.AddEntry("mnAction", "opRefresh", MenuStyle::Normal, Text("Refresh"), icon("menu_refresh"), false);
    m.AddEntry("mnAction", "opBar", MenuStyle::Separator, QString(), {}, true);
    m.AddEntry("mnAction", "opInclude", MenuStyle::Normal, Text("Add") + more, icon("menu_add"), false);
    m.AddEntry("mnAction", "opExclude", MenuStyle::Normal, Text("Exclude"), icon("menu_exclude"), false);
    m.AddEntry("mnAction", "opAlter", MenuStyle::Normal, Text("Edit") + more, icon("menu_edit"), false);
    m.AddEntry("mnAction", "opProperties", MenuStyle::Normal, Text("Properties") + more, icon("menu_properties"),
               false);
    m.AddEntry(none, "mnTools", MenuStyle::Normal, Text("Tools"), {}, true);
    if (installType == 1)
        m.AddEntry("mnTools", "opSecurePrint", MenuStyle::Normal, Text("rlsSafePrint") + more, icon("menu_secureprint"),
                   true);
    m.AddEntry("mnTools", "opTrace", MenuStyle::Normal, Text("Trace") + more, icon("menu_trace"), true);
    m.AddEntry(none, "mnAbout", MenuStyle::Normal, Text("About") + more, {}, true);
    // F5 refreshes the current view, as everywhere in Windows, while Refresh acts (the menu shows no key: its
    // look stays as designed).
    connect(new QShortcut(QKeySequence(Qt::Key_F5), this), &QShortcut::activated, this, [this] {
        if (menu_->IsEnabled(QStringLiteral("opRefresh")))
            MenuClicked(QStringLiteral("opRefresh"));
    });
    // F10 opens the menu bar's first menu; the arrows go on from there (Alt does the same where the style
    // has the bar take it, as Windows' does).
    connect(new QShortcut(QKeySequence(Qt::Key_F10), this), &QShortcut::activated, this,
            [this] { menu_->setActiveAction(menu_->Action(QStringLiteral("mnApplication"))); });

    listView_->AddColumn("name", Text("Name"), 1480);
    listView_->AddColumn("data", Text("Datas"), 1480);
    listView_->AddColumn("description", Text("Description"), 5500);
    const bool toner = mod_Main::ecoTonerEnabled();
    listViewPrinters_->AddColumn("printerName", Text("Printer"), toner ? 3700 : 4300);
    listViewPrinters_->AddColumn("billing", Text("Billing"), toner ? 1586 : 2080);
    listViewPrinters_->AddColumn("securePrint", Text("rlsSafePrint"), toner ? 1586 : 2080);
    if (toner)
        listViewPrinters_->AddColumn("ecoToner", Text("PoupaTonerName"), 1586);
}

void frmMain::UpdateCommandState()
{
    for (const char* key : {"opProperties", "opInclude", "opExclude", "opAlter", "opRefresh"})
        menu_->SetEnabled(key, false);
    for (ToolButton* button : {btnToolProperties_, btnToolAlter_, btnToolInclude_, btnToolDelete_, btnToolRefresh_})
        button->SetActive(false);

    if (currentView == 2 || currentView == 3) {
        menu_->SetEnabled("opRefresh", true);
        btnToolRefresh_->SetActive(true);
        if (listViewPrinters_->SelectedRow() > 0) {
            btnToolProperties_->SetActive(true);
            menu_->SetEnabled("opProperties", true);
        }
    }
    if (currentView == 1) {
        btnToolInclude_->SetActive(true);
        btnToolRefresh_->SetActive(true);
        menu_->SetEnabled("opRefresh", true);
        menu_->SetEnabled("opInclude", true);
        if (listView_->SelectedRow() > 0) {
            btnToolAlter_->SetActive(true);
            btnToolDelete_->SetActive(true);
            menu_->SetEnabled("opExclude", true);
            menu_->SetEnabled("opAlter", true);
        }
    }
}

void frmMain::MenuClicked(const QString& key)
{
    if (key == QLatin1String("opExit")) {
        QuitConsole();
        return;
    }
    if (key == QLatin1String("mnAbout"))
        About();
    else if (key == QLatin1String("opTrace"))
        OpenOptions(2);
    else if (key == QLatin1String("opSecurePrint"))
        OpenOptions(1);
    else if (key == QLatin1String("opAlter"))
        Edit();
    else if (key == QLatin1String("opProperties"))
        Properties();
    else if (key == QLatin1String("opExclude"))
        Exclude();
    else if (key == QLatin1String("opRefresh"))
        Refresh();
    else if (key == QLatin1String("opInclude"))
        Add();
    UpdateCommandState();
}

void frmMain::Refresh()
{
    ShowCurrentView();
}

void frmMain::Exclude()
{
    if (listView_->SelectedRow() == 0)
        return;
    const std::string name = listView_->SelectedText().toStdString();
    if (!AskYesNo(Text("DeleteConfirmSequenceValue")))
        return;
    mod_RegWin::DeleteSettingValue(mod_RegWin::HKLM, mod_Trace::AgentKey, name);
    settings::SearchGeneralValues();
    Refresh();
    // Set whatever the deletion did: the agent is offered a restart all the same.
    mod_Main::setConfigsAltered(true);
}

} // namespace quenyx::shell
