#include "FakeDevices.h"
#include "FakeServices.h"
#include "TestMachine.h"

#include "options/frmAbout.h"
#include "platform/mod_RegWin.h"
#include "platform/mod_Trace.h"
#include "shell/MessageBox.h"

#include <QLabel>
#include <QTest>

#include <fstream>

using namespace quenyx;
using options::frmAbout;

class AboutDialogTest final : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::TestMachine> machine_;
    test::EventLog launched_;
    std::shared_ptr<test::RecordingLauncher> launcher_;
    QStringList messages_;

    void Set(const char* key, const char* name, const QString& text)
    {
        if (text == QLatin1String("<missing>"))
            return;
        QCOMPARE(machine_->Admin().CreateKey(key), 0);
        QCOMPARE(mod_RegWin::SaveSettingString(mod_RegWin::HKLM, key, name, text.toStdString()), 0);
    }

    static bool Open(const std::function<void(frmAbout&)>& use)
    {
        bool used = false;
        frmAbout::SetShowHandlerForTests([&](frmAbout& box) { used = true, use(box); });
        frmAbout box;
        box.ShowModal();
        return used;
    }

    // The messages of the log's StartSysInfo lines, in order.
    QStringList SysInfoLog()
    {
        auto& clock = machine_->clock();
        std::ifstream in(machine_->HostPath(mod_Trace::LogFilePath(clock.ShortDate(clock.now))), std::ios::binary);
        QStringList lines;
        const std::string tag = "[StartSysInfo]  - ";
        for (std::string line; std::getline(in, line);)
            if (const auto at = line.find(tag); at != std::string::npos)
                lines << QString::fromStdString(line.substr(at + tag.size())).chopped(1); // less the CR
        return lines;
    }

private slots:
    void init()
    {
        machine_ = test::TestMachine::Create();
        auto catalog = std::make_shared<test::FakeTextCatalog>();
        catalog->texts = {{u"Version", u"Versão"}, {u"SelectedInstallation", u"Instalação"},
                          {u"Full", u"Completa"},  {u"AccountingAndUBSMonitor", u"Bilhetagem e USB"},
                          {u"USBMonitor", u"USB"}, {u"OnlyNotifications", u"Notificações"}};
        platform::Current().textCatalog = catalog;
        launched_.events.clear();
        launcher_ = std::make_shared<test::RecordingLauncher>(launched_);
        platform::Current().processes = launcher_;
        messages_.clear();
        shell::SetMessageHandlerForTests([this](const QString& text) { messages_ << text; });
        mod_Trace::SetTraceSettings("1", machine_->Folder());
    }

    void cleanup()
    {
        frmAbout::SetShowHandlerForTests(nullptr);
        shell::SetMessageHandlerForTests(nullptr);
        mod_Trace::ResetTraceSettings();
        machine_.reset();
    }

    void versionAndInstallationLines_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("installType");
        QTest::addColumn<QString>("showInstallType");
        QTest::addColumn<QString>("lines");
        QTest::newRow("1") << "5.1.0.212"
                           << "1"
                           << "1"
                           << "Versão: 5.1.0.212|Instalação: Completa";
        QTest::newRow("2, Agent Lite") << "5.1"
                                       << "2"
                                       << "1"
                                       << "Versão: 5.1|Instalação: Bilhetagem e USB (Agent Lite)";
        QTest::newRow("2, not marked") << "5.1"
                                       << "2"
                                       << "0"
                                       << "Versão: 5.1|Instalação: Bilhetagem e USB";
        QTest::newRow("3, the mark is only for 2") << "5.1"
                                                   << "3"
                                                   << "1"
                                                   << "Versão: 5.1|Instalação: USB";
        QTest::newRow("4") << "5.1"
                           << "4"
                           << "<missing>"
                           << "Versão: 5.1|Instalação: Notificações";
        QTest::newRow("5 is full") << "5.1"
                                   << "5"
                                   << "1"
                                   << "Versão: 5.1|Instalação: Completa";
        QTest::newRow("nothing recorded") << "<missing>"
                                          << "<missing>"
                                          << "<missing>"
                                          << "Versão: |Instalação: Completa";
        QTest::newRow("6") << "5.1"
                           << "6"
                           << "1"
                           << "Versão: 5.1|Instalação: ";
        QTest::newRow("not a number") << "5.1"
                                      << "full"
                                      << "1"
                                      << "Versão: 5.1|Instalação: ";
    }

    void versionAndInstallationLines()
    {
        QFETCH(QString, version);
        QFETCH(QString, installType);
        QFETCH(QString, showInstallType);
        QFETCH(QString, lines);
        Set(mod_Trace::AgentKey, "Version", version);
        Set(mod_Trace::AgentKey, "InstallType", installType);
        Set(mod_Trace::AgentKey, "ShowInstallType", showInstallType);
        QVERIFY(Open([&](frmAbout& box) {
            auto* installation = box.findChild<QLabel*>("lblInstallType");
            QVERIFY(installation->isVisible());
            QCOMPARE(box.findChild<QLabel*>("lblVersion")->text() + "|" + installation->text(), lines);
        }));
    }

    void systemInformation_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("toolInFolder");
        QTest::addColumn<bool>("starts");
        QTest::addColumn<QStringList>("log");
        QTest::addColumn<QString>("started");
        QTest::addColumn<bool>("unavailable");
        const QString path = QStringLiteral("tentando ler SOFTWARE\\Microsoft\\Shared Tools\\MSINFO PATH");
        const QString location =
            QStringLiteral("erro ao ler, tentando SOFTWARE\\Microsoft\\Shared Tools Location MSINFO");
        const QString tool = QStringLiteral("C:\\Tools\\msinfo32.exe");
        const QString folder = QStringLiteral("C:\\Program Files\\MSInfo");
        const QStringList fromPath{path, "Leu OK", "chamando arquivo"};
        const QStringList fromFolder{path, location, "leu ok " + folder};

        // The path is started as it is: the second value is not read, nor is the file looked for.
        QTest::newRow("path") << tool << folder << true << true << fromPath << "\"" + tool + "\"" << false;
        QTest::newRow("path that does not start")
            << tool << "<missing>" << false << false << fromPath << "\"" + tool + "\"" << true;
        QTest::newRow("empty path, folder with the tool")
            << "" << folder << true << true << fromFolder + QStringList{"achou arquivo ok", "chamando arquivo"}
            << "\"" + folder + "\\MSINFO32.EXE\"" << false;
        QTest::newRow("folder without the tool")
            << "<missing>" << folder << false << true << fromFolder + QStringList{"nao achou arquivo"} << "" << true;
        QTest::newRow("neither") << "<missing>"
                                 << "<missing>" << false << true << QStringList{path, location} << "" << true;
    }

    void systemInformation()
    {
        QFETCH(QString, path);
        QFETCH(QString, folder);
        QFETCH(bool, toolInFolder);
        QFETCH(bool, starts);
        QFETCH(QStringList, log);
        QFETCH(QString, started);
        QFETCH(bool, unavailable);
        Set("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", path);
        Set("SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", folder);
        if (toolInFolder) {
            // Named as Windows installs it; the test for it goes by the name in capitals.
            std::filesystem::create_directories(machine_->HostPath(folder.toStdString()));
            std::ofstream(machine_->HostPath(folder.toStdString() + "\\msinfo32.exe")) << "tool";
        }
        launcher_->starts = starts;
        QVERIFY(Open([&](frmAbout& box) {
            QTest::mouseClick(box.findChild<QWidget*>("lblSysInfo"), Qt::LeftButton);
            QVERIFY(box.isVisible());
        }));
        QCOMPARE(SysInfoLog(), log);
        QCOMPARE(launched_.events, started.isEmpty() ? std::vector<std::string>{}
                                                     : std::vector<std::string>{"normal: " + started.toStdString()});
        QCOMPARE(messages_,
                 unavailable ? QStringList{"System Information Is Unavailable At This Time"} : QStringList{});
    }
};

QTEST_MAIN(AboutDialogTest)
#include "AboutDialogTest.moc"
