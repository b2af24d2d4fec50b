#include "options/frmOptions.h"

#include "options/AgentOptions.h"
#include "options/AgentValues.h"
#include "options/mod_TraceConfig.h"
#include "platform/modGlobalization.h"
#include "platform/mod_Trace.h"
#include "session/mod_Main.h"
#include "widgets/Accessibility.h"
#include "widgets/KeyboardGroup.h"
#include "widgets/Look.h"
#include "widgets/MessageBox.h"
#include "widgets/ModalHook.h"
#include "widgets/PanelButton.h"
#include "widgets/TitleStrip.h"
#include "widgets/TranslateForm.h"
#include "widgets/WrappingCheckBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <tuple>

namespace quenyx::options {

using mod_Trace::kTraceComponents;
using shell::Px;

namespace {

constexpr std::size_t kListener = kListenerFile;
constexpr std::size_t kSender = kSenderFile;
constexpr std::size_t kWatcher = kWatcherFile;

const QColor kTabIdle{0xF0, 0xF0, 0xF0};
const QColor kTabSelected{0xE6, 0xE6, 0xE6};

struct Row
{
    std::size_t component; // index in kTraceComponents
    const char* labelName;
    const char* caption;
    const char* listName;
};

// Top to bottom on the trace page; the Watcher's row, last, is shown only where the Watcher is installed.
constexpr std::array<Row, 7> kRows{{
    {0, "lblListenerLevel", "Listener:", "cbListenerLevel"},
    {1, "lblSenderLevel", "Sender:", "cbSenderLevel"},
    {2, "lblGuardianLevel", "Guardian:", "cbGuardianLevel"},
    {3, "lblLiveupdateLevel", "LiveUpdate:", "cbLiveupdateLevel"},
    {4, "lblRivezLevel", "HttpServer:", "cbHttpServerLevel"},
    {6, "lblUiCallerLevel", "UICaller:", "cbUICallerLevel"},
    {5, "lblWatcherLevel", "Watcher:", "cbUIWatcherLevel"},
}};

using modGlobalization::Text;

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption, int left, int top, int width, int height)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(Px(left), Px(top), Px(width), Px(height));
    label->setFont(shell::DesignFont(9));
    return label;
}

shell::ClickableLabel* MakeTabHeader(QWidget* parent, const char* name, int left, int width, QLabel*& caption,
                                     const char* captionName, const QString& text)
{
    auto* header = new shell::ClickableLabel(parent);
    header->setObjectName(QString::fromLatin1(name));
    header->setGeometry(Px(left), Px(660), Px(width), Px(420));
    header->setCursor(Qt::PointingHandCursor);
    shell::SetBackground(header, kTabIdle);
    caption = new QLabel(text, header);
    caption->setObjectName(QString::fromLatin1(captionName));
    caption->setGeometry(0, 0, Px(width), Px(420));
    caption->setAlignment(Qt::AlignCenter);
    caption->setFont(shell::DesignFont(9));
    shell::MarkAsTab(header);
    return header;
}

} // namespace

frmOptions::frmOptions(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), brdTop_(new shell::TitleStrip(this, 4800, 420, true))
{
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Quenyx Agent Admin"));
    setModal(true);
    setFixedSize(Px(4800), Px(6395));
    shell::SetBackground(this, Qt::white);
    connect(brdTop_, &shell::TitleStrip::closeClicked, this, &QDialog::reject);

    pbPrintSecure_ = MakeTabHeader(this, "pbPrintSecure", 120, 2160, lblPrintSecure_, "lblPrintSecure",
                                   QStringLiteral("Impressão Segura"));
    pbTrace_ = MakeTabHeader(this, "pbTrace", 2340, 1200, lblTraceTab_, "lblTraceTab", QStringLiteral("Trace"));
    modGlobalization::SetTag(lblPrintSecure_, "rlsSafePrint");
    modGlobalization::SetTag(lblTraceTab_, "Trace");
    // The header's caption leaves the mouse to the header, so a click on either chooses the page.
    connect(pbPrintSecure_, &shell::ClickableLabel::clicked, this, [this] {
        selectedTab = 1;
        ShowSelectedTab();
    });
    connect(pbTrace_, &shell::ClickableLabel::clicked, this, [this] {
        selectedTab = 2;
        ShowSelectedTab();
    });
    // The page tabs are one Tab stop, at the page shown; the arrows choose the page, as in a tab control.
    auto* tabs = new shell::KeyboardGroup(Qt::Horizontal, shell::KeyboardGroup::Moves::Press, this);
    tabs->Add(pbPrintSecure_);
    tabs->Add(pbTrace_);
    tabs->SetEntry([this] { return selectedTab == 1 ? pbPrintSecure_ : pbTrace_; });

    auto* picture6 = new QWidget(this);
    picture6->setObjectName(QStringLiteral("Picture6"));
    picture6->setGeometry(0, Px(1080), Px(4800), 1);
    shell::SetBackground(picture6, kTabSelected);

    for (std::size_t index = 0; index < frmTab_.size(); ++index) {
        auto* page = new QWidget(this);
        page->setObjectName(QStringLiteral("frmTab"));
        page->setProperty("Index", static_cast<int>(index));
        page->setGeometry(Px(300), Px(1100), Px(4200), Px(4300));
        page->hide();
        frmTab_[index] = page;
    }
    BuildSecurePrintPage(frmTab_[0]);
    BuildTracePage(frmTab_[1]);

    auto* line1 = new QWidget(this);
    line1->setObjectName(QStringLiteral("Line1"));
    line1->setGeometry(0, Px(5490), Px(4800), 1);
    shell::SetBackground(line1, shell::kPanelGrey);

    auto* picture3 = new QWidget(this);
    picture3->setObjectName(QStringLiteral("Picture3"));
    picture3->setGeometry(0, Px(5505), Px(4800), Px(890));
    shell::SetBackground(picture3, kTabIdle);
    auto* logo = new QLabel(picture3);
    logo->setObjectName(QStringLiteral("picQuenyxLogo"));
    logo->setGeometry(Px(240), Px(210), 32, 32);
    logo->setPixmap(shell::Image(QStringLiteral("logo"), 32, 32, this));

    btnOK_ =
        new shell::PanelButton(QStringLiteral("btnOK"), QStringLiteral("lblOK"), QStringLiteral("Aplicar"), picture3);
    btnOK_->setGeometry(Px(1800), Px(245), Px(1350), Px(400));
    btnCancel_ = new shell::PanelButton(QStringLiteral("btnCancel"), QStringLiteral("lblCancel"),
                                        QStringLiteral("Cancelar"), picture3);
    btnCancel_->setGeometry(Px(3270), Px(245), Px(1350), Px(400));
    modGlobalization::SetTag(btnOK_->label(), "Apply");
    modGlobalization::SetTag(btnCancel_->label(), "Cancel");
    connect(btnOK_, &shell::PanelButton::clicked, this, &frmOptions::Ok);
    connect(btnCancel_, &shell::PanelButton::clicked, this, &QDialog::reject);
}

frmOptions::~frmOptions() = default;

void frmOptions::BuildTracePage(QWidget* page)
{
    auto* label3 = MakeLabel(page, "Label3", QStringLiteral("Defina as configurações de trace."), 0, 0, 4200, 300);
    modGlobalization::SetTag(label3, "DefineTraceConfigs");

    for (std::size_t position = 0; position < kRows.size(); ++position) {
        const Row& row = kRows[position];
        const int top = 420 + static_cast<int>(position) * 390;
        Component& component = components_[row.component];
        component.label = MakeLabel(page, row.labelName, QString::fromLatin1(row.caption), 0, top + 30, 1300, 255);
        component.list = new QComboBox(page);
        component.list->setObjectName(QString::fromLatin1(row.listName));
        component.list->setGeometry(Px(1400), Px(top), Px(2800), Px(315));
        component.list->setFont(shell::DesignFont(9));
        component.label->setBuddy(component.list);
        for (const std::string_view level : kLevelRows)
            component.list->addItem(QString::fromLatin1(level.data(), static_cast<qsizetype>(level.size())));
        connect(component.list, &QComboBox::activated, this, [this, index = row.component] { RowChosen(index); });
    }
    components_[kWatcher].label->hide();
    components_[kWatcher].list->hide();

    lblWarningWatcher_ =
        MakeLabel(page, "lblWarningWatcher",
                  QStringLiteral("Para ativar o trace do Watcher será necessário reiniciar o serviço manualmente."), 0,
                  3180, 4200, 480);
    lblWarningWatcher_->setWordWrap(true);
    lblWarningWatcher_->setFont(shell::DesignFont(8));
    shell::SetTextColour(lblWarningWatcher_, shell::kSelectedOrange);
    modGlobalization::SetTag(lblWarningWatcher_, "WarningWatcher");
    lblWarningWatcher_->hide();

    auto* lblSenderPath = MakeLabel(page, "lblSenderPath", QStringLiteral("Diretório:"), 0, 3720, 4200, 255);
    modGlobalization::SetTag(lblSenderPath, "Directory:");
    txtTracePath_ = new QLineEdit(page);
    txtTracePath_->setObjectName(QStringLiteral("txtTracePath"));
    txtTracePath_->setGeometry(0, Px(3975), Px(3600), Px(315));
    txtTracePath_->setFont(shell::DesignFont(9));
    lblSenderPath->setBuddy(txtTracePath_);
    btnTracePath_ = new QPushButton(QStringLiteral("..."), page);
    btnTracePath_->setObjectName(QStringLiteral("btnTracePath"));
    btnTracePath_->setGeometry(Px(3660), Px(3975), Px(540), Px(315));
    connect(btnTracePath_, &QPushButton::clicked, this, &frmOptions::BrowseTracePath);
}

void frmOptions::BuildSecurePrintPage(QWidget* page)
{
    chkPrintSecureEnable_ = new QCheckBox(QStringLiteral("Habilitar impressão segura"), page);
    chkPrintSecureEnable_->setObjectName(QStringLiteral("chkPrintSecureEnable"));
    chkPrintSecureEnable_->setGeometry(0, 0, Px(4200), Px(300));
    chkPrintSecureEnable_->setFont(shell::DesignFont(9));
    modGlobalization::SetTag(chkPrintSecureEnable_, "EnableSecurePrint2");
    connect(chkPrintSecureEnable_, &QCheckBox::toggled, this, &frmOptions::UpdateSecurePrintPanel);

    frmPrintSecureOptions_ = new QWidget(page);
    frmPrintSecureOptions_->setObjectName(QStringLiteral("frmPrintSecureOptions"));
    frmPrintSecureOptions_->setGeometry(0, Px(420), Px(4200), Px(3800));

    chkSecurePrintChoiceEnabled_ = new shell::WrappingCheckBox(
        QStringLiteral("Habilitar a escolha entre imprimir documento na hora ou reter para posterior liberação"),
        frmPrintSecureOptions_);
    chkSecurePrintChoiceEnabled_->setObjectName(QStringLiteral("chkSecurePrintChoiceEnabled"));
    chkSecurePrintChoiceEnabled_->setGeometry(0, 0, Px(4200), Px(600));
    chkSecurePrintChoiceEnabled_->setFont(shell::DesignFont(9));
    modGlobalization::SetTag(chkSecurePrintChoiceEnabled_, "SecurePrintChoiceActivation");

    lblReleaserAddress_ = MakeLabel(frmPrintSecureOptions_, "lblReleaserAddress",
                                    QStringLiteral("Endereço do Quenyx Releaser:"), 0, 720, 4200, 255);
    modGlobalization::SetTag(lblReleaserAddress_, "ReleaserAddress:");
    txtReleaserAddress_ = new QLineEdit(frmPrintSecureOptions_);
    txtReleaserAddress_->setObjectName(QStringLiteral("txtReleaserAddress"));
    txtReleaserAddress_->setGeometry(0, Px(990), Px(4200), Px(315));
    txtReleaserAddress_->setFont(shell::DesignFont(9));

    lblSecurePrintWarning_ = MakeLabel(
        frmPrintSecureOptions_, "lblSecurePrintWarning",
        QStringLiteral("Todas as suas impressoras de rede serão habilitadas para utilizar característica de impressão "
                       "segura, caso deseja desativar a característica para uma impressora específica acesse as "
                       "propriedades da impressora."),
        0, 1470, 4200, 1500);
    lblSecurePrintWarning_->setWordWrap(true);
    lblSecurePrintWarning_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    shell::SetTextColour(lblSecurePrintWarning_, shell::kLabelGrey);
    modGlobalization::SetTag(lblSecurePrintWarning_, "SecurePrintRuleDescription");
}

void frmOptions::ShowModal()
{
    Load();
    shell::ModalHook<frmOptions>::Run(*this);
}

void frmOptions::SetShowHandlerForTests(std::function<void(frmOptions&)> handler)
{
    shell::ModalHook<frmOptions>::Set(std::move(handler));
}

void frmOptions::Load()
{
    setFixedSize(Px(4800), Px(6395));
    settingsChanged = false;

    const std::optional<int> installType = ToNumber(AgentValue("InstallType", "1"));
    const std::string pathInstall = AgentValue("PathInstall", "");
    const bool withWatcher = HasWatcher(installType);
    const auto paths = TraceFilePaths(installType, pathInstall);
    for (std::size_t index = 0; index < components_.size(); ++index)
        components_[index].path = paths[index];

    if (withWatcher) {
        components_[kWatcher].label->show();
        components_[kWatcher].list->show();
    }
    if (installType != 1) {
        lblPrintSecure_->hide();
        pbPrintSecure_->hide();
        pbTrace_->move(Px(120), pbTrace_->y());
    }

    std::string listenerBase;
    ReadComponent(kListener, listenerBase);
    txtTracePath_->setText(QString::fromStdString(FolderOfListenerLog(listenerBase)));

    for (const Row& row : kRows) {
        if (row.component == kListener || components_[row.component].path.empty())
            continue;
        std::string ignoredBase;
        ReadComponent(row.component, ignoredBase);
    }
    lblWarningWatcher_->hide();

    chkSecurePrintChoiceEnabled_->setChecked(ToNumber(AgentValue("SecurePrintChoiceEnabled", "0")) == 1);
    chkPrintSecureEnable_->setChecked(ToNumber(AgentValue("SecurePrintEnabled", "0")) == 1);
    txtReleaserAddress_->setText(QString::fromStdString(AgentValue("ReleaserServer", "")));

    ShowSelectedTab();
    UpdateSecurePrintPanel();
    modGlobalization::TranslateForm(this);
    // The choice's caption, translated, may take more lines than the design's: what follows it moves down.
    const int grown = chkSecurePrintChoiceEnabled_->FitCaption();
    for (QWidget* below :
         std::initializer_list<QWidget*>{lblReleaserAddress_, txtReleaserAddress_, lblSecurePrintWarning_})
        below->move(below->x(), below->y() + grown);
}

void frmOptions::ReadComponent(std::size_t index, std::string& baseFile)
{
    Component& component = components_[index];
    std::int16_t level = 0;
    component.readable =
        mod_Trace::ReadTraceConfig(component.path, level, baseFile) == mod_Trace::TraceFileStatus::Done;
    ChooseRow(index, level);
}

// Setting a row is choosing it, with the same effects as the user's choice.
void frmOptions::ChooseRow(std::size_t index, int row)
{
    components_[index].list->setCurrentIndex(row);
    RowChosen(index);
}

void frmOptions::RowChosen(std::size_t index)
{
    if (index == kListener || index == kSender)
        settingsChanged = true;
    else if (index == kWatcher)
        lblWarningWatcher_->show();
}

void frmOptions::ShowSelectedTab()
{
    for (QWidget* page : frmTab_)
        page->hide();
    shell::SetBackground(pbTrace_, kTabIdle);
    shell::SetBackground(pbPrintSecure_, kTabIdle);
    if (selectedTab != 1 && selectedTab != 2)
        return;
    QWidget* page = frmTab_[static_cast<std::size_t>(selectedTab - 1)];
    page->move(Px(300), Px(1100));
    page->show();
    shell::SetBackground(selectedTab == 1 ? pbPrintSecure_ : pbTrace_, kTabSelected);
}

// The entered values stay while the panel is disabled.
void frmOptions::UpdateSecurePrintPanel()
{
    const bool enabled = chkPrintSecureEnable_->isChecked();
    for (QWidget* control : {frmPrintSecureOptions_, static_cast<QWidget*>(lblReleaserAddress_),
                             static_cast<QWidget*>(txtReleaserAddress_), static_cast<QWidget*>(lblSecurePrintWarning_),
                             static_cast<QWidget*>(chkSecurePrintChoiceEnabled_)})
        control->setEnabled(enabled);
}

void frmOptions::BrowseTracePath()
{
    const std::string folder = mod_Trace::BrowseForFolder();
    if (folder.empty())
        return;
    txtTracePath_->setText(QString::fromStdString(folder));
    settingsChanged = true;
}

void frmOptions::Ok()
{
    if (txtTracePath_->text().isEmpty()) {
        shell::ShowMessage(Text("TracePathRequired"), this);
        return;
    }
    const bool securePrint = chkPrintSecureEnable_->isChecked();
    if (securePrint && txtReleaserAddress_->text().isEmpty()) {
        shell::ShowMessage(Text("ReleaserAddressRequired"), this);
        return;
    }

    const std::string folder = TraceFolder(txtTracePath_->text().toStdString());
    // A file that could not be read at load is left alone: its level in the list was never its own.
    QStringList notWritten;
    for (std::size_t index = 0; index < components_.size(); ++index) {
        const Component& component = components_[index];
        if (component.path.empty())
            continue;
        const auto level = static_cast<std::int16_t>(component.list->currentIndex());
        const bool written =
            component.readable &&
            mod_Trace::WriteTraceConfig(component.path, level, folder + std::string(kTraceComponents[index].logFile)) ==
                mod_Trace::TraceFileStatus::Done;
        if (!written)
            notWritten << QString::fromStdString(component.path);
    }

    // The registry's answers are not looked at: a refused write leaves the value as it was.
    std::ignore = SaveSecurePrint(securePrint, txtReleaserAddress_->text().toStdString(),
                                  chkSecurePrintChoiceEnabled_->isChecked());
    if (settingsChanged)
        mod_Main::setConfigsAltered(true);

    if (!notWritten.isEmpty())
        shell::ShowMessage(Text("TraceFileNotWritten") + QStringLiteral("\n\n") + notWritten.join(QLatin1Char('\n')),
                           this);
    accept();
}

} // namespace quenyx::options
