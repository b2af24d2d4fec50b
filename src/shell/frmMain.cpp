#include "shell/frmMain.h"

#include "platform/modGlobalization.h"
#include "platform/mod_RegWin.h"
#include "platform/mod_Services.h"
#include "platform/mod_Trace.h"
#include "printers/mod_Printers.h"
#include "settings/AgentSettings.h"
#include "settings/frmYesNo.h"
#include "shell/Look.h"
#include "shell/SingleInstance.h"
#include "shell/TitleStrip.h"
#include "shell/TranslateForm.h"
#include "shell/frmWait.h"
#include "shell/mod_Main.h"

#include "platform/Platform.h"

#include <QCloseEvent>
#include <QLabel>

namespace quenyx::shell {

namespace {

std::function<void(const QString&)>& StepObserver()
{
    static std::function<void(const QString&)> observer;
    return observer;
}

QString Text(const char* key) { return QString::fromStdString(modGlobalization::GetLocalizedString(key)); }

void Sleep(std::uint32_t milliseconds)
{
    if (const auto& sleeper = platform::Current().sleeper)
        sleeper->Sleep(milliseconds);
}

QLabel* NavigationLabel(QWidget* entry, const char* name, const QString& caption, int x, int y)
{
    auto* label = new QLabel(caption, entry);
    label->setObjectName(QString::fromLatin1(name));
    label->move(Px(x), Px(y));
    label->setFont(DesignFont(9));
    label->setMinimumWidth(Px(1700));
    SetTextColour(label, kLabelGrey);
    return label;
}

QWidget* NavigationEntry(QWidget* panel, const char* name, int y)
{
    auto* entry = new QWidget(panel);
    entry->setObjectName(QString::fromLatin1(name));
    entry->setGeometry(0, Px(y), Px(2655), Px(400));
    SetBackground(entry, kBandGrey);
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
    brdTop_ = new TitleStrip(this, 11415, 420, true);
    connect(brdTop_, &TitleStrip::closeClicked, this, &frmMain::QuitConsole);

    auto* picture1 = new QWidget(this);
    picture1->setObjectName(QStringLiteral("Picture1"));
    picture1->setGeometry(0, Px(360), Px(11415), Px(430));
    SetBackground(picture1, kBandGrey);
    brdTop_->raise();

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

    auto* pbConfigs = NavigationEntry(pbTreeView_, "pbConfigs", 600);
    lblConfigs_ = NavigationLabel(pbConfigs, "lblConfigs", QStringLiteral("Configurações"), 860, 80);
    modGlobalization::SetTag(lblConfigs_, "Settings02");
    auto* pbPrinters = NavigationEntry(pbTreeView_, "pbPrinters", 960);
    lblPrinters_ = NavigationLabel(pbPrinters, "lblPrinters", QStringLiteral("Impressoras"), 840, 75);
    modGlobalization::SetTag(lblPrinters_, "Printers");
    pbCluster_ = NavigationEntry(pbTreeView_, "pbCluster", 1320);
    lblCluster_ = NavigationLabel(pbCluster_, "lblCluster", QStringLiteral("Cluster"), 840, 75);
    pbCluster_->hide();

    listView_ = new QWidget(this);
    listView_->setObjectName(QStringLiteral("ListView"));
    listView_->setGeometry(Px(2760), Px(1550), Px(8550), Px(5775));
    listView_->hide();
    listViewPrinters_ = new QWidget(this);
    listViewPrinters_->setObjectName(QStringLiteral("listViewPrinters"));
    listViewPrinters_->setGeometry(Px(2760), Px(1550), Px(8550), Px(5775));
    listViewPrinters_->hide();
}

bool frmMain::Load()
{
    currentView = 0;

    Step("SingleInstance");
    if (!instance_->Acquire()) {
        Unload();
        return false;
    }

    Step("ReadTraceSettings");
    mod_Trace::ReadTraceSettings();

    mod_Main::setEcoTonerEnabled(mod_Main::IsEcoTonerSwitch(argumentText_.toStdString()));
    mod_Trace::WriteTrace("Form_Load", "Load");

    Step("IsServiceRunning");
    if (!mod_Services::IsServiceRunning("Quenyx.Agent.listener")) {
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
    return true;
}

void frmMain::BuildMenuAndColumns() {}

void frmMain::ShowClusterEntry()
{
    Step("ShowClusterEntry");
    const auto first = printers::clusters().Item(1);
    if (!first)
        return;
    pbCluster_->show();
    lblCluster_->setText(QString::fromStdString(first->clusterName()));
}

void frmMain::QuitConsole() { close(); }

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
    settings::frmYesNo question(this);
    question.message = Text("QuenyxAlteredControlConfigs") + QStringLiteral("\r\n") + Text("RestartQuenyx");
    question.ShowModal();
    if (question.result)
        mod_Services::RestartAgentServices();
}

} // namespace quenyx::shell
