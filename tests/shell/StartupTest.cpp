#include "FakeDevices.h"
#include "TestMachine.h"

#include "platform/Platform.h"
#include "platform/mod_RegWin.h"
#include "platform/mod_Trace.h"
#include "printers/Printer.h"
#include "session/mod_Main.h"
#include "settings/AgentSettings.h"
#include "settings/frmYesNo.h"
#include "shell/GuiUserInterface.h"
#include "shell/frmMain.h"
#include "shell/frmWait.h"
#include "widgets/MessageBox.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLockFile>
#include <QTemporaryDir>
#include <QTest>

#include <fstream>
#include <sstream>

using namespace quenyx;

namespace {

// One list of everything that happened, so the test can check the order across seams.
struct Events
{
    QStringList list;
};

class Services final : public platform::ServiceControl, public platform::ProcessLauncher, public platform::Sleeper
{
public:
    explicit Services(Events& events) : events_(events) {}
    std::uint32_t listenerState = 4;

    platform::ServiceQuery QueryServiceState(const std::string& name, std::uint32_t& state) override
    {
        events_.list << QStringLiteral("query %1").arg(QString::fromStdString(name));
        state = listenerState;
        return platform::ServiceQuery::Done;
    }
    bool StartHidden(const std::string& commandLine) override
    {
        events_.list << QString::fromStdString(commandLine);
        return true;
    }
    bool StartNormal(const std::string& commandLine) override { return StartHidden(commandLine); }
    void Sleep(std::uint32_t ms) override { events_.list << QStringLiteral("sleep %1").arg(ms); }

private:
    Events& events_;
};

} // namespace

class StartupTest final : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::TestMachine> machine_;
    std::shared_ptr<Services> services_;
    std::unique_ptr<QTemporaryDir> lockDir_;
    Events events_;

    QString LockFile() const { return QDir(lockDir_->path()).filePath(QStringLiteral("console.lock")); }

    void SetAgent(const std::string& name, const std::string& text)
    {
        QCOMPARE(mod_RegWin::SaveSettingString(mod_RegWin::HKLM, mod_Trace::AgentKey, name, text), 0);
    }

    QStringList Steps(const QStringList& only)
    {
        QStringList out;
        for (const QString& e : events_.list)
            for (const QString& prefix : only)
                if (e.startsWith(prefix))
                    out << e;
        return out;
    }

private slots:
    void init()
    {
        machine_ = test::TestMachine::Create();
        machine_->Admin().CreateKey(mod_Trace::AgentKey);
        machine_->Admin().CreateKey("SYSTEM\\CurrentControlSet\\Control\\Print\\Printers");
        events_.list.clear();
        services_ = std::make_shared<Services>(events_);
        auto catalog = std::make_shared<test::FakeTextCatalog>();
        catalog->texts = {
            {u"StartingQuenyxWait", u"Iniciando o agente"}, {u"LoadingPrinterListWait", u"Carregando impressoras"},
            {u"WaitRestartingQuenyx", u"Reiniciando"},      {u"QuenyxAlteredControlConfigs", u"A configuração mudou."},
            {u"RestartQuenyx", u"Reiniciar o agente?"},     {u"Printers", u"Printers!"}};
        auto& current = platform::Current();
        current.textCatalog = catalog;
        current.services = services_;
        current.processes = services_;
        current.sleeper = services_;
        current.ui = std::make_shared<shell::GuiUserInterface>();
        current.spooler = std::make_shared<test::FakeSpooler>();
        current.printerStatus = std::make_shared<test::FakePrinterStatus>();
        lockDir_ = std::make_unique<QTemporaryDir>();
        shell::frmMain::SetStepObserverForTests([this](const QString& step) { events_.list << "step " + step; });
        shell::SetWaitObserverForTests(
            [this](const QString& text, bool shown) { events_.list << (shown ? "wait " + text : "hide"); });
        settings::frmYesNo::SetAnswerHandlerForTests([this](settings::frmYesNo& asked) {
            events_.list << "ask " + asked.message;
            return false;
        });
        mod_Main::setConfigsAltered(false);
        for (auto* c : {&settings::SettingCatalog(), &settings::ReservedSettingNames()})
            c->Clear();
        printers::printers().Clear();
        printers::clusters().Clear();
    }

    void cleanup()
    {
        shell::frmMain::SetStepObserverForTests(nullptr);
        shell::SetWaitObserverForTests(nullptr);
        settings::frmYesNo::SetAnswerHandlerForTests(nullptr);
        mod_Trace::ResetTraceSettings();
        machine_.reset();
    }

    void startupRunsItsStepsInOrder_data()
    {
        QTest::addColumn<uint>("listenerState");
        QTest::addColumn<QStringList>("expected");
        const QStringList tail{"step BuildMenuAndColumns",    "step LoadSettingCatalog", "step SearchGeneralValues",
                               "wait Carregando impressoras", "step SearchPrinters",     "hide",
                               "step TranslateForm"};
        QTest::newRow("listener running") << 4u
                                          << QStringList{"step SingleInstance", "step ReadTraceSettings",
                                                         "step IsServiceRunning", "query Quenyx.Agent.listener"} +
                                                 tail;
        QTest::newRow("listener stopped") << 1u
                                          << QStringList{"step SingleInstance",
                                                         "step ReadTraceSettings",
                                                         "step IsServiceRunning",
                                                         "query Quenyx.Agent.listener",
                                                         "wait Iniciando o agente",
                                                         "step StartListener",
                                                         "net stop Quenyx.Agent.listener",
                                                         "sleep 5000",
                                                         "net start Quenyx.Agent.listener",
                                                         "sleep 2000",
                                                         "sleep 5000",
                                                         "hide"} +
                                                 tail;
    }

    void startupRunsItsStepsInOrder()
    {
        QFETCH(uint, listenerState);
        QFETCH(QStringList, expected);
        services_->listenerState = listenerState;
        shell::frmMain window(QString(), LockFile());
        QVERIFY(window.Load());
        QCOMPARE(events_.list, expected);
        QCOMPARE(window.currentView, qint16(0));
        QCOMPARE(window.findChild<QLabel*>("lblPrinters")->text(), QStringLiteral("Printers!"));
        QCOMPARE(window.findChild<QLabel*>("lblConfigs")->text(), QStringLiteral("Configurações"));
        QCOMPARE(settings::SettingCatalog().Count(), 6);
    }

    void clusterStepRunsOnlyForExactlyOne_data()
    {
        QTest::addColumn<QString>("enableCluster");
        QTest::addColumn<bool>("searched");
        QTest::newRow("1") << "1" << true;
        QTest::newRow("absent") << "" << false;
        QTest::newRow("0") << "0" << false;
        QTest::newRow("true") << "true" << false;
        QTest::newRow("leading blank") << " 1" << false;
    }

    void clusterStepRunsOnlyForExactlyOne()
    {
        QFETCH(QString, enableCluster);
        QFETCH(bool, searched);
        if (!enableCluster.isEmpty())
            SetAgent("EnableCluster", enableCluster.toStdString());
        shell::frmMain window(QString(), LockFile());
        QVERIFY(window.Load());
        QCOMPARE(Steps({"step SearchClusterPrinters"}).size(), searched ? 1 : 0);
    }

    void ecoTonerOnlyFromTheSwitchAlone_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("exact") << "-ecoToner" << true;
        QTest::newRow("upper case") << "-ECOTONER" << true;
        QTest::newRow("with a second argument") << "-ecoToner x" << false;
        QTest::newRow("none") << "" << false;
        QTest::newRow("without the dash") << "ecoToner" << false;
    }

    void ecoTonerOnlyFromTheSwitchAlone()
    {
        QFETCH(QString, arguments);
        QFETCH(bool, enabled);
        mod_Main::setEcoTonerEnabled(!enabled);
        shell::frmMain window(arguments, LockFile());
        QVERIFY(window.Load());
        QCOMPARE(mod_Main::ecoTonerEnabled(), enabled);
    }

    void aSecondInstanceEndsSilently()
    {
        SetAgent("TraceLevel", "1");
        SetAgent("TracePath", machine_->Folder());
        shell::frmMain first(QString(), LockFile());
        QVERIFY(first.Load());
        const auto log = machine_->HostPath(machine_->Folder() + "\\VeltrinAdmin_03122026.log");
        const auto size = std::filesystem::file_size(log);
        events_.list.clear();

        shell::frmMain second(QString(), LockFile());
        QVERIFY(!second.Load());
        QCOMPARE(second.exitStatus(), 0);
        QCOMPARE(events_.list, QStringList{"step SingleInstance"});
        QCOMPARE(std::filesystem::file_size(log), size);
        QVERIFY(!second.isVisible());
    }

    void aLockLeftByADeadInstanceIsTakenOver()
    {
        {
            // What a crashed instance leaves: a lock file as this platform's QLockFile writes it, naming a
            // process that no longer exists.
            QByteArray contents;
            {
                QLockFile model(LockFile());
                QVERIFY(model.tryLock());
                QFile written(LockFile());
                QVERIFY(written.open(QIODevice::ReadOnly));
                contents = written.readAll();
            }
            contents = "999999" + contents.mid(contents.indexOf('\n'));
            QFile stale(LockFile());
            QVERIFY(stale.open(QIODevice::WriteOnly | QIODevice::Truncate));
            QVERIFY(stale.write(contents) == contents.size());
        }
        shell::frmMain window(QString(), LockFile());
        QVERIFY(window.Load());
    }

    void shutdownAsksOnlyAfterAChange_data()
    {
        QTest::addColumn<bool>("altered");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QStringList>("expected");
        const QString question = QStringLiteral("ask A configuração mudou.\r\nReiniciar o agente?");
        QStringList restart{question, "wait Reiniciando"};
        for (const char* verb : {"stop", "start"}) {
            for (const char* service : {"listener", "sender", "httpServer", "liveupdate", "Guardian"})
                restart << QStringLiteral("net %1 Quenyx.Agent.%2").arg(verb, service);
            restart << (QLatin1String(verb) == QLatin1String("stop") ? "sleep 10000" : "sleep 2000");
        }
        restart << "hide";
        QTest::newRow("no change") << false << true << QStringList{};
        QTest::newRow("change, no") << true << false << QStringList{question};
        QTest::newRow("change, yes") << true << true << restart;
    }

    void shutdownAsksOnlyAfterAChange()
    {
        QFETCH(bool, altered);
        QFETCH(bool, answer);
        QFETCH(QStringList, expected);
        SetAgent("PathInstall", "C:\\Program Files\\Quenyx");
        shell::frmMain window(QString(), LockFile());
        QVERIFY(window.Load());
        window.show();
        mod_Main::setConfigsAltered(altered);
        settings::frmYesNo::SetAnswerHandlerForTests([&](settings::frmYesNo& asked) {
            events_.list << "ask " + asked.message;
            return answer;
        });
        events_.list.clear();
        QVERIFY(window.close());
        QCOMPARE(events_.list, expected);
        QVERIFY(!window.isVisible());
    }
};

QTEST_MAIN(StartupTest)
#include "StartupTest.moc"
