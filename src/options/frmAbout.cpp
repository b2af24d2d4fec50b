#include "options/frmAbout.h"

#include "options/AgentValues.h"
#include "platform/Platform.h"
#include "platform/modGlobalization.h"
#include "platform/mod_RegWin.h"
#include "platform/mod_Trace.h"
#include "widgets/Look.h"
#include "widgets/MessageBox.h"
#include "widgets/ModalHook.h"
#include "widgets/PanelButton.h"
#include "widgets/TitleStrip.h"
#include "widgets/TranslateForm.h"

#include <QLabel>

#include <system_error>

namespace quenyx::options {

using mod_RegWin::HKLM;
using shell::Px;

namespace {

constexpr const char* kMsInfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr const char* kToolsLocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";

using modGlobalization::Text;

void Log(const std::string& message)
{
    mod_Trace::WriteTrace("StartSysInfo", message);
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption, int left, int top, int width, int height,
                  const QFont& font)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(Px(left), Px(top), Px(width), Px(height));
    label->setFont(font);
    return label;
}

QString InstallTypeName(std::optional<int> installType, bool agentLite)
{
    switch (installType.value_or(0)) {
    case 1:
    case 5:
        return Text("Full");
    case 2:
        return Text("AccountingAndUBSMonitor") + (agentLite ? QStringLiteral(" (Agent Lite)") : QString());
    case 3:
        return Text("USBMonitor");
    case 4:
        return Text("OnlyNotifications");
    default:
        return {};
    }
}

// The program path as one word of a command line, so that a path with blanks is never read as a shorter program.
std::string CommandLineOf(const std::string& program)
{
    return !program.empty() && program.front() == '"' ? program : "\"" + program + "\"";
}

bool FileExists(const std::string& windowsPath)
{
    const auto files = platform::Current().files;
    std::error_code ec;
    return files && std::filesystem::is_regular_file(files->HostPath(windowsPath), ec);
}

} // namespace

frmAbout::frmAbout(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), brdTop_(new shell::TitleStrip(this, 5700, 420, true))
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("Quenyx Agent Admin"));
    setModal(true);
    setFixedSize(Px(5700), Px(4300));
    shell::SetBackground(this, Qt::white);
    connect(brdTop_, &shell::TitleStrip::closeClicked, this, &QDialog::accept);

    auto* picture1 = new QLabel(this);
    picture1->setObjectName(QStringLiteral("Picture1"));
    picture1->setGeometry(Px(360), Px(720), 48, 48);
    picture1->setPixmap(shell::Image(QStringLiteral("logo"), 48, 48, this));

    MakeLabel(this, "lblTitle", QStringLiteral("Tessaline Quenyx Agent"), 1320, 660, 4100, 360,
              shell::DesignFont(12, true));
    MakeLabel(this, "Label1", QStringLiteral("Tessaline Quenyx"), 1320, 1020, 4100, 255, shell::DesignFont(9));
    lblVersion_ = MakeLabel(this, "lblVersion", QStringLiteral("Versão"), 1320, 1320, 4100, 255, shell::DesignFont(9));
    lblInstallType_ = MakeLabel(this, "lblInstallType",
                                QStringLiteral("Instalación seleccionada: Contabilización y Monitorización USB"), 1320,
                                1590, 4100, 480, shell::DesignFont(9));
    lblInstallType_->setWordWrap(true);
    lblInstallType_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblInstallType_->hide();
    auto* lblDescription =
        MakeLabel(this, "lblDescription", QStringLiteral("Aplicativo para edição de configurações do Quenyx."), 1320,
                  2130, 4100, 480, shell::DesignFont(9));
    lblDescription->setWordWrap(true);
    lblDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    modGlobalization::SetTag(lblDescription, "QuenyxAdminDescription");
    auto* label2 = MakeLabel(this, "Label2", QStringLiteral("Copyright © Tessaline. Todos os direitos reservados."),
                             1320, 2670, 4100, 480, shell::DesignFont(8));
    // Where Segoe UI is missing, its stand-in is wider: the line wraps into the room below it instead of being cut.
    label2->setWordWrap(true);
    label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    shell::SetTextColour(label2, shell::kLabelGrey);

    auto* picture3 = new QWidget(this);
    picture3->setObjectName(QStringLiteral("Picture3"));
    picture3->setGeometry(0, Px(3300), Px(5700), Px(1000));
    shell::SetBackground(picture3, QColor(0xF0, 0xF0, 0xF0));
    auto* logo = new QLabel(picture3);
    logo->setObjectName(QStringLiteral("picQuenyxLogo"));
    logo->setGeometry(Px(240), Px(260), 32, 32);
    logo->setPixmap(shell::Image(QStringLiteral("logo"), 32, 32, this));

    cmdSysInfo_ = new shell::PanelButton(QStringLiteral("cmdSysInfo"), QStringLiteral("lblSysInfo"),
                                         QStringLiteral("System Info..."), picture3);
    cmdSysInfo_->setGeometry(Px(2500), Px(300), Px(1500), Px(400));
    cmdOK_ =
        new shell::PanelButton(QStringLiteral("cmdOK"), QStringLiteral("lblOK"), QStringLiteral("Fechar"), picture3);
    cmdOK_->setGeometry(Px(4100), Px(300), Px(1350), Px(400));
    modGlobalization::SetTag(cmdOK_->label(), "Close");
    connect(cmdSysInfo_, &shell::PanelButton::clicked, this, &frmAbout::StartSysInfo);
    connect(cmdOK_, &shell::PanelButton::clicked, this, &QDialog::accept);
}

frmAbout::~frmAbout() = default;

void frmAbout::ShowModal()
{
    Load();
    shell::ModalHook<frmAbout>::Run(*this);
}

void frmAbout::SetShowHandlerForTests(std::function<void(frmAbout&)> handler)
{
    shell::ModalHook<frmAbout>::Set(std::move(handler));
}

void frmAbout::Load()
{
    const std::string version = AgentValue("Version", "");
    lblVersion_->setText(Text("Version") + QStringLiteral(": ") + QString::fromStdString(version));
    VerifyInstallType();
    modGlobalization::TranslateForm(this);
}

void frmAbout::VerifyInstallType()
{
    const bool agentLite = ToNumber(AgentValue("ShowInstallType", "0")) == 1;
    lblInstallType_->show();
    const QString name = InstallTypeName(ToNumber(AgentValue("InstallType", "1")), agentLite);
    lblInstallType_->setText(Text("SelectedInstallation") + QStringLiteral(": ") + name);
}

void frmAbout::StartSysInfo()
{
    const auto start = [](const std::string& program) {
        Log("chamando arquivo");
        const auto processes = platform::Current().processes;
        return processes && processes->StartNormal(CommandLineOf(program));
    };

    bool started = false;
    Log(std::string("tentando ler ") + kMsInfoKey + " PATH");
    const std::string program = mod_RegWin::GetSettingString(HKLM, kMsInfoKey, "PATH", "");
    if (!program.empty()) {
        Log("Leu OK");
        started = start(program);
    } else {
        Log(std::string("erro ao ler, tentando ") + kToolsLocationKey + " MSINFO");
        const std::string folder = mod_RegWin::GetSettingString(HKLM, kToolsLocationKey, "MSINFO", "");
        if (!folder.empty()) {
            Log("leu ok " + folder);
            const std::string file = folder + "\\MSINFO32.EXE";
            if (FileExists(file)) {
                Log("achou arquivo ok");
                started = start(file);
            } else {
                Log("nao achou arquivo");
            }
        }
    }
    if (!started)
        shell::ShowPlainMessage(QStringLiteral("System Information Is Unavailable At This Time"), this);
}

} // namespace quenyx::options
