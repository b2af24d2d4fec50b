#include "FakeDevices.h"
#include "FakeServices.h"
#include "TestMachine.h"

#include "options/frmAbout.h"
#include "platform/mod_RegWin.h"
#include "platform/mod_Trace.h"
#include "widgets/MessageBox.h"

#include <QLabel>
#include <QTest>

using namespace quenyx;
using options::frmAbout;

class AboutDialogTest final : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::TestMachine> machine_;
    QString shown_;         // the version and installation lines of the box last shown
    test::EventLog events_; // the commands started and the messages shown

    // "-" leaves the value missing.
    void Set(const char* key, const char* name, const QString& text)
    {
        QCOMPARE(machine_->Admin().CreateKey(key), 0);
        mod_RegWin::DeleteSettingValue(mod_RegWin::HKLM, key, name);
        QVERIFY(text == "-" || mod_RegWin::SaveSettingString(mod_RegWin::HKLM, key, name, text.toStdString()) == 0);
    }

private slots:
    void init() { machine_ = test::TestMachine::Create(); }
    void cleanup() { machine_.reset(); } // before the next machine installs itself

    void versionAndInstallationLines()
    {
        auto catalog = std::make_shared<test::FakeTextCatalog>();
        catalog->texts = {{u"Version", u"Versão"}, {u"SelectedInstallation", u"Instalação"},
                          {u"Full", u"Completa"},  {u"AccountingAndUBSMonitor", u"Contas"},
                          {u"USBMonitor", u"USB"}, {u"OnlyNotifications", u"Avisos"}};
        platform::Current().textCatalog = catalog;
        frmAbout::SetShowHandlerForTests([this](frmAbout& box) {
            auto* type = box.findChild<QLabel*>("lblInstallType");
            shown_ = box.findChild<QLabel*>("lblVersion")->text() + "|" + (type->isVisible() ? type->text() : "hidden");
        });
        Set(mod_Trace::AgentKey, "Version", "5.1.0.212");
        // InstallType and ShowInstallType ("-": missing), and the installation's name. Agent Lite is marked on 2 only.
        for (const char* each : {"1|1|Completa", "2|1|Contas (Agent Lite)", "2|0|Contas", "3|1|USB", "4|-|Avisos",
                                 "5|1|Completa", "-|-|Completa", "6|1|", "full|1|"}) {
            const QStringList value = QString(each).split('|');
            Set(mod_Trace::AgentKey, "InstallType", value[0]);
            Set(mod_Trace::AgentKey, "ShowInstallType", value[1]);
            frmAbout().ShowModal();
            QCOMPARE(std::exchange(shown_, {}), "Versão: 5.1.0.212|Instalação: " + value[2]);
        }
    }

    // The tool is installed in the machine's folder as msinfo32.exe; it is looked for by the name in capitals.
    void systemInformation()
    {
        const QString folder = QString::fromStdString(machine_->Folder()), tool = "C:\\Tools\\msinfo32.exe";
        QVERIFY(platform::WriteWholeFile(machine_->HostPath(machine_->Folder() + "\\msinfo32.exe"), "tool"));
        mod_Trace::SetTraceSettings("1", machine_->Folder());
        auto launcher = std::make_shared<test::RecordingLauncher>(events_);
        platform::Current().processes = launcher;
        shell::SetMessageHandlerForTests([&](const QString& text) { events_.events.push_back(text.toStdString()); });
        // PATH, MSINFO ("-": missing) and whether the tool starts. The path is started as it is: the folder is then
        // not read, nor is the file looked for.
        const std::tuple<QString, QString, bool> cases[] = {
            {tool, folder, false}, {"", folder, true}, {"-", "C:\\Elsewhere", true}, {"-", "-", true}};
        for (const auto& [path, msinfo, starts] : cases) {
            Set("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", path);
            Set("SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", msinfo);
            launcher->starts = starts;
            QTest::mouseClick(frmAbout().findChild<QWidget*>("lblSysInfo"), Qt::LeftButton);
        }
        const std::string unavailable = "System Information Is Unavailable At This Time";
        QCOMPARE(events_.events, (std::vector<std::string>{"normal: \"C:\\Tools\\msinfo32.exe\"", unavailable,
                                                           "normal: \"" + machine_->Folder() + "\\MSINFO32.EXE\"",
                                                           unavailable, unavailable}));
        const QString read = "tentando ler SOFTWARE\\Microsoft\\Shared Tools\\MSINFO PATH",
                      location = "erro ao ler, tentando SOFTWARE\\Microsoft\\Shared Tools Location MSINFO";
        const auto date = machine_->clock().ShortDate(machine_->clock().now);
        const auto log = platform::ReadWholeFile(machine_->HostPath(mod_Trace::LogFilePath(date))).value_or("");
        QStringList logged = QString::fromStdString(log).split("\r\n").filter("[StartSysInfo]");
        QCOMPARE(logged.replaceInStrings("14:05:33 [StartSysInfo]  - ", ""),
                 QStringList({read, "Leu OK", "chamando arquivo", read, location, "leu ok " + folder,
                              "achou arquivo ok", "chamando arquivo", read, location, "leu ok C:\\Elsewhere",
                              "nao achou arquivo", read, location}));
    }
};

QTEST_MAIN(AboutDialogTest)
#include "AboutDialogTest.moc"
