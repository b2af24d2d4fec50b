#include "shell/frmMain.h"

#include "platform/Platform.h"
#include "platform/modGlobalization.h"
#include "platform/mod_RegWin.h"
#include "platform/mod_Services.h"
#include "platform/mod_Trace.h"
#include "printers/mod_Printers.h"
#include "session/mod_Main.h"
#include "settings/AgentSettings.h"
#include "settings/frmYesNo.h"
#include "shell/SingleInstance.h"
#include "shell/frmWait.h"
#include "widgets/KeyboardGroup.h"
#include "widgets/ListControl.h"
#include "widgets/Look.h"
#include "widgets/MenuBar.h"
#include "widgets/MessageBox.h"
#include "widgets/TitleStrip.h"
#include "widgets/ToolButton.h"
#include "widgets/TranslateForm.h"

#include <QCloseEvent>
#include <QDir>
#include <QLabel>

namespace quenyx::shell {

namespace {

std::function<void(const QString&)>& StepObserver()
{
    static std::function<void(const QString&)> observer;
    return observer;
}

using modGlobalization::Text;

void Sleep(std::uint32_t milliseconds)
{
    if (const auto& sleeper = platform::Current().sleeper)
        sleeper->Sleep(milliseconds);
}

ClickableLabel* Icon(QWidget* entry, const QString& name, const QString& image)
{
    auto* icon = new ClickableLabel(entry);
    icon->setObjectName(name);
    icon->setGeometry(Px(500), Px(80), 16, 16);
    icon->setPixmap(Image(image, 16, 16, entry));
    return icon;
}

NavigationEntry MakeEntry(QWidget* panel, const char* name, const char* image, const QString& caption, int top,
                          QPoint labelAt)
{
    const QString base = QString::fromLatin1(name);
    NavigationEntry entry;
    auto* clickable = new ClickableLabel(panel);
    clickable->setObjectName(QStringLiteral("pb") + base);
    clickable->setGeometry(0, Px(top), Px(2655), Px(400));
    entry.panel = clickable;
    entry.icon = Icon(clickable, QStringLiteral("icon") + base, QString::fromLatin1(image));
    entry.selectedIcon = Icon(clickable, QStringLiteral("icon%1Selected").arg(base),
                              QString::fromLatin1(image) + QStringLiteral("_selected"));
    entry.selectedIcon->hide();
    entry.label = new QLabel(caption, clickable);
    entry.label->setObjectName(QStringLiteral("lbl") + base);
    entry.label->move(Px(labelAt.x()), Px(labelAt.y()));
    entry.label->setMinimumWidth(Px(1700));
    entry.label->setFont(DesignFont(9));
    return entry;
}

} // namespace

frmMain::frmMain(QString argumentText, QString lockFile, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), argumentText_(std::move(argumentText)),
      instance_(std::make_unique<SingleInstance>(lockFile))
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Quenyx Agent Admin"));
    setFixedSize(Px(11400), Px(7440));
    SetBackground(this, Qt::white);
    BuildLayout();
}

frmMain::~frmMain() = default;

void frmMain::SetStepObserverForTests(std::function<void(const QString&)> observer)
{
    StepObserver() = std::move(observer);
}

void frmMain::Step(const char* name)
{
    if (StepObserver())
        StepObserver()(QString::fromLatin1(name));
}

void frmMain::BuildLayout()
{
    auto* picture1 = new QWidget(this);
    picture1->setObjectName(QStringLiteral("Picture1"));
    picture1->setGeometry(0, Px(360), Px(11415), Px(430));
    SetBackground(picture1, kBandGrey);

    brdTop_ = new TitleStrip(this, 11415, 420, true);
    connect(brdTop_, &TitleStrip::closeClicked, this, &frmMain::QuitConsole);

    menu_ = new MenuBar(this);
    menu_->setObjectName(QStringLiteral("menu"));
    menu_->setGeometry(0, Px(420), Px(6000), Px(375));
    connect(menu_, &MenuBar::entryClicked, this, &frmMain::MenuClicked);

    BuildToolbar();
    BuildNavigation();
    BuildKeyboardGroups();

    listView_ = new ListControl(this);
    listView_->setObjectName(QStringLiteral("ListView"));
    listViewPrinters_ = new ListControl(this);
    listViewPrinters_->setObjectName(QStringLiteral("listViewPrinters"));
    for (ListControl* list : {listView_, listViewPrinters_}) {
        list->setGeometry(Px(2760), Px(1550), Px(8550), Px(5775));
        list->hide();
        connect(list, &ListControl::selectionChanged, this, &frmMain::UpdateCommandState);
        connect(list, &ListControl::clicked, this, &frmMain::UpdateCommandState);
    }
    connect(listView_, &ListControl::rowDoubleClicked, this, &frmMain::UpdateCommandState);
    connect(listViewPrinters_, &ListControl::rowDoubleClicked, this, [this] { Properties(); });
    connect(listViewPrinters_, &ListControl::rowActivated, this, [this] { Properties(); });
}

void frmMain::BuildToolbar()
{
    struct Button
    {
        ToolButton** slot;
        const char* name;
        const char* image;
        int left;
        void (frmMain::*command)();
    };
    const Button buttons[] = {
        {&btnToolRefresh_, "btnToolRefresh", "tool_refresh", 100, &frmMain::Refresh},
        {&btnToolInclude_, "btnToolInclude", "tool_include", 800, &frmMain::Add},
        {&btnToolDelete_, "btnToolDelete", "tool_delete", 1500, &frmMain::Exclude},
        {&btnToolAlter_, "btnToolAlter", "tool_alter", 2200, &frmMain::Edit},
        {&btnToolProperties_, "btnToolProperties", "tool_properties", 2900, &frmMain::Properties},
        {&btnToolCancel_, "btnToolCancel", "tool_cancel", 3600, &frmMain::QuitConsole},
    };
    for (const Button& b : buttons) {
        const bool isQuit = b.slot == &btnToolCancel_;
        auto* button = new ToolButton(QString::fromLatin1(b.name), QString::fromLatin1(b.image), !isQuit, this);
        button->move(Px(b.left), Px(840));
        button->SetActive(isQuit);
        connect(button, &ClickableLabel::clicked, this, b.command);
        *b.slot = button;
    }
}

void frmMain::BuildNavigation()
{
    pbTreeView_ = new QWidget(this);
    pbTreeView_->setObjectName(QStringLiteral("pbTreeView"));
    pbTreeView_->setGeometry(Px(100), Px(1550), Px(2610), Px(5775));
    SetBackground(pbTreeView_, kBandGrey);

    auto* heading = new QWidget(pbTreeView_);
    heading->setObjectName(QStringLiteral("Picture5"));
    heading->setGeometry(Px(120), Px(240), Px(2535), Px(255));
    auto* iconQuenyx = new QLabel(heading);
    iconQuenyx->setObjectName(QStringLiteral("iconQuenyx"));
    iconQuenyx->setGeometry(Px(120), 0, 16, 16);
    iconQuenyx->setPixmap(Image(QStringLiteral("logo"), 16, 16, this));
    auto* label3 = new QLabel(QStringLiteral("Quenyx Agent Admin"), heading);
    label3->setObjectName(QStringLiteral("Label3"));
    label3->move(Px(500), 0);
    label3->setFont(DesignFont(9));
    SetTextColour(label3, kLabelGrey);
    pbTreeView_->setAccessibleName(label3->text()); // the list of views is named by its heading

    configs_ = MakeEntry(pbTreeView_, "Configs", "nav_configs", QStringLiteral("Configurações"), 600, {860, 80});
    modGlobalization::SetTag(configs_.label, "Settings02");
    printers_ = MakeEntry(pbTreeView_, "Printers", "nav_printers", QStringLiteral("Impressoras"), 960, {840, 75});
    modGlobalization::SetTag(printers_.label, "Printers");
    cluster_ = MakeEntry(pbTreeView_, "Cluster", "nav_cluster", QStringLiteral("Cluster"), 1320, {840, 75});
    cluster_.panel->hide();
    for (const NavigationEntry* entry : {&configs_, &printers_, &cluster_})
        Highlight(*entry, false);

    // The selected icons of the settings and cluster entries take the click and do nothing with it; the
    // printers entry's refreshes its view.
    const auto select = [this](void (frmMain::*view)(bool)) { return [this, view] { (this->*view)(true); }; };
    for (auto [entry, view] :
         {std::pair{&configs_, &frmMain::SelectConfigsView}, std::pair{&printers_, &frmMain::SelectPrintersView},
          std::pair{&cluster_, &frmMain::SelectClusterView}}) {
        connect(static_cast<ClickableLabel*>(entry->panel), &ClickableLabel::clicked, this, select(view));
        connect(entry->icon, &ClickableLabel::clicked, this, select(view));
    }
    connect(printers_.selectedIcon, &ClickableLabel::clicked, this, select(&frmMain::SelectPrintersView));
}

// Without a mouse: the toolbar and the navigation panel are one Tab stop each, before the list, and the arrows
// move within them. An arrow in the navigation panel selects the view it moves to, as in the system's tree
// views; Tab enters it at the selected view.
void frmMain::BuildKeyboardGroups()
{
    auto* toolbar = new KeyboardGroup(Qt::Horizontal, KeyboardGroup::Moves::FocusOnly, this);
    for (ToolButton* button :
         {btnToolRefresh_, btnToolInclude_, btnToolDelete_, btnToolAlter_, btnToolProperties_, btnToolCancel_})
        toolbar->Add(button);
    toolbar->SetCanAct([](const ClickableLabel* member) { return static_cast<const ToolButton*>(member)->IsActive(); });

    auto* navigation = new KeyboardGroup(Qt::Vertical, KeyboardGroup::Moves::Press, this);
    for (const NavigationEntry* entry : {&configs_, &printers_, &cluster_})
        navigation->Add(static_cast<ClickableLabel*>(entry->panel));
    navigation->SetEntry([this]() -> ClickableLabel* {
        const NavigationEntry* selected = currentView == 1   ? &configs_
                                          : currentView == 2 ? &printers_
                                          : currentView == 3 ? &cluster_
                                                             : nullptr;
        return selected ? static_cast<ClickableLabel*>(selected->panel) : nullptr;
    });
}

bool frmMain::Load()
{
    currentView = 0;

    Step("SingleInstance");
    const auto instance = instance_->Acquire();
    if (instance != SingleInstance::Outcome::Acquired) {
        // A lock that cannot be made is no other instance: the user is told, and the program fails.
        if (instance == SingleInstance::Outcome::Failed) {
            exitStatus_ = 1;
            ShowMessage(QStringLiteral("The console cannot start: its lock file %1 cannot be made (%2).")
                            .arg(QDir::toNativeSeparators(instance_->fileName()), instance_->failure()),
                        this);
        }
        Unload();
        return false;
    }

    Step("ReadTraceSettings");
    mod_Trace::ReadTraceSettings();

    mod_Main::setEcoTonerEnabled(mod_Main::IsEcoTonerSwitch(argumentText_.toStdString()));
    mod_Trace::WriteTrace("Form_Load", "Load");

    Step("IsServiceRunning");
    if (!mod_Services::IsServiceRunning(mod_Services::ListenerService)) {
        ShowWait(Text("StartingQuenyxWait"));
        Step("StartListener");
        mod_Services::StartListener();
        Sleep(5000);
        HideWait();
    }

    mod_Main::setConfigsAltered(false);

    Step("BuildMenuAndColumns");
    BuildMenuAndColumns();

    Step("LoadSettingCatalog");
    settings::LoadSettingCatalog();
    mod_Trace::WriteTrace("Form_Load", "chamando search general values");
    Step("SearchGeneralValues");
    settings::SearchGeneralValues();

    ShowWait(Text("LoadingPrinterListWait"));
    const std::string enableCluster =
        mod_RegWin::GetSettingString(mod_RegWin::HKLM, mod_Trace::AgentKey, "EnableCluster", "0");
    if (enableCluster == "1") {
        Step("SearchClusterPrinters");
        mod_Printers::SearchClusterPrinters();
        ShowClusterEntry();
    }
    Step("SearchPrinters");
    std::ignore = mod_Printers::SearchPrinters(mod_Printers::SpoolerPrintersKey, "");
    HideWait();

    Step("TranslateForm");
    modGlobalization::TranslateForm(this);
    // The keyboard starts where the work does, on the first view of the navigation panel.
    configs_.panel->setFocus(Qt::ActiveWindowFocusReason);
    return true;
}

void frmMain::QuitConsole()
{
    close();
}

void frmMain::closeEvent(QCloseEvent* event)
{
    Unload();
    event->accept();
}

void frmMain::Unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    if (!mod_Main::configsAltered())
        return;
    const QString question = Text("QuenyxAlteredControlConfigs") + QStringLiteral("\r\n") + Text("RestartQuenyx");
    if (AskYesNo(question))
        mod_Services::RestartAgentServices();
}

bool frmMain::AskYesNo(const QString& question)
{
    settings::frmYesNo dialog(this);
    dialog.message = question;
    dialog.ShowModal();
    return dialog.result;
}

} // namespace quenyx::shell
