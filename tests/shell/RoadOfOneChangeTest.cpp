// One change from click to effect, on an emulated machine with its real spooler, services and net
// stand-in: a printer's accounting switched on in its properties, the list showing it, and the agent
// restarted on the way out.
#include "FakeDevices.h"
#include "TestMachine.h"

#include "platform/Platform.h"
#include "platform/emulated/EmulatedMachine.h"
#include "platform/emulated/EmulatedSystem.h"
#include "platform/mod_RegWin.h"
#include "platform/mod_Services.h"
#include "platform/mod_Trace.h"
#include "printers/Printer.h"
#include "printers/frmPrinterProperties.h"
#include "session/mod_Main.h"
#include "settings/AgentSettings.h"
#include "settings/frmYesNo.h"
#include "shell/GuiUserInterface.h"
#include "shell/frmMain.h"
#include "widgets/ListControl.h"
#include "widgets/MessageBox.h"

#include <QCheckBox>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <cstdlib>
#include <map>
#include <thread>

using namespace quenyx;

namespace {

const std::string kPrinterKey = "SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Finance";

// Notes the state each net command it starts asks for, so the pauses can wait for them.
class CountingLauncher final : public platform::ProcessLauncher
{
public:
    explicit CountingLauncher(std::shared_ptr<platform::EmulatedSystem> system) : system_(std::move(system)) {}
    bool StartHidden(const std::string& commandLine) override
    {
        wanted[commandLine.substr(commandLine.rfind(' ') + 1)] = commandLine.starts_with("net stop") ? 1 : 4;
        return system_->StartHidden(commandLine);
    }
    bool StartNormal(const std::string& commandLine) override { return system_->StartNormal(commandLine); }
    std::map<std::string, std::uint32_t> wanted;

private:
    std::shared_ptr<platform::EmulatedSystem> system_;
};

// Stands in for a pause long enough for every child started so far to have done its work (a few seconds
// at most, however loaded the host is); the console's own pauses are not slept.
class WaitingSleeper final : public platform::Sleeper
{
public:
    WaitingSleeper(std::shared_ptr<platform::EmulatedSystem> system, CountingLauncher& launcher)
        : system_(std::move(system)), launcher_(launcher)
    {
    }
    void Sleep(std::uint32_t) override
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!Settled() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }

private:
    bool Settled()
    {
        for (const auto& [service, wanted] : launcher_.wanted) {
            std::uint32_t state = 0;
            if (system_->QueryServiceState(service, state) != platform::ServiceQuery::Done || state != wanted)
                return false;
        }
        return true;
    }

    std::shared_ptr<platform::EmulatedSystem> system_;
    CountingLauncher& launcher_;
};

} // namespace

class RoadOfOneChangeTest final : public QObject
{
    Q_OBJECT

private slots:
    void clearingBillingEnablesThePrinterAndRestartsTheAgent()
    {
        ::setenv("QUENYX_NET", QUENYX_NET_PATH, 1);
        auto machine = test::TestMachine::Create();
        std::string error;
        const auto folder = dynamic_cast<platform::EmulatedMachine&>(machine->Admin()).folder();
        auto system = platform::EmulatedSystem::Open(folder, error);
        QVERIFY2(system, error.c_str());
        for (const char* service : mod_Services::AgentServices)
            QVERIFY(system->SetServiceState(service, platform::EmulatedSystem::Running));
        QVERIFY(system->AddSpoolerPrinter("Finance"));

        auto& admin = machine->Admin();
        QCOMPARE(admin.CreateKey(mod_Trace::AgentKey), 0);
        QCOMPARE(admin.CreateKey(kPrinterKey), 0);
        const auto set = [](const std::string& key, const char* name, const char* text) {
            QCOMPARE(mod_RegWin::SaveSettingString(mod_RegWin::HKLM, key, name, text), 0);
        };
        set(mod_Trace::AgentKey, "PathInstall", "C:\\Program Files\\Quenyx");
        set(mod_Trace::AgentKey, "DisableAccounts", "1");
        set(mod_Trace::AgentKey, "SecurePrintEnabled", "1");
        set(kPrinterKey, "TessalineID", "7");

        auto launcher = std::make_shared<CountingLauncher>(system);
        auto catalog = std::make_shared<test::FakeTextCatalog>();
        catalog->texts = {{u"Enabled", u"Enabled!"}, {u"Disabled", u"Disabled!"}};
        auto& current = platform::Current();
        current.spooler = system;
        current.printerStatus = system;
        current.services = system;
        current.processes = launcher;
        current.sleeper = std::make_shared<WaitingSleeper>(system, *launcher);
        current.textCatalog = catalog;
        current.ui = std::make_shared<shell::GuiUserInterface>();
        shell::SetMessageHandlerForTests([](const QString& text) { QFAIL(qPrintable("unexpected message: " + text)); });
        printers::printers().Clear();
        settings::SettingCatalog().Clear();
        settings::ReservedSettingNames().Clear();

        QTemporaryDir lockDir;
        shell::frmMain window(QString(), lockDir.filePath("lock"));
        QVERIFY(window.Load());
        window.show();
        window.SelectPrintersView(true);
        QCOMPARE(window.printersList()->Row(1).SubItem(1), QStringLiteral("Disabled!"));

        bool shown = false;
        printers::frmPrinterProperties::SetShowHandlerForTests([&](printers::frmPrinterProperties& dialog) {
            shown = true;
            QCOMPARE(dialog.queueName, QStringLiteral("Finance"));
            auto* billing = dialog.findChild<QCheckBox*>("chkBilling");
            QVERIFY(billing && billing->isChecked());
            billing->click();
            QTest::mouseClick(dialog.findChild<QWidget*>("lblApply"), Qt::LeftButton);
        });
        window.printersList()->SelectRow(1);
        window.MenuClicked("opProperties");
        printers::frmPrinterProperties::SetShowHandlerForTests(nullptr);
        QVERIFY(shown);
        QCOMPARE(window.printersList()->Row(1).SubItem(1), QStringLiteral("Enabled!"));
        QCOMPARE(mod_RegWin::GetSettingString(mod_RegWin::HKLM, kPrinterKey, "NCActivate", ""), std::string("1"));
        QCOMPARE(mod_RegWin::GetSettingString(mod_RegWin::HKLM, kPrinterKey, "NCDisactivate", ""), std::string("0"));
        QVERIFY(mod_Main::configsAltered());

        settings::frmYesNo::SetAnswerHandlerForTests([](settings::frmYesNo&) { return true; });
        QVERIFY(window.close());
        settings::frmYesNo::SetAnswerHandlerForTests(nullptr);
        shell::SetMessageHandlerForTests(nullptr);

        // The five stops run at once, yet they are recorded in the order the console launched them.
        std::vector<std::string> launched;
        for (const char* verb : {"stop", "start"})
            for (const char* service : mod_Services::AgentServices)
                launched.push_back(std::string("net ") + verb + " " + service);
        QCOMPARE(system->RecordedCommands(), launched);
        std::uint32_t state = 0;
        for (const char* service : mod_Services::AgentServices) {
            QCOMPARE(system->QueryServiceState(service, state), platform::ServiceQuery::Done);
            QCOMPARE(state, std::uint32_t(4));
        }
        platform::Install({});
    }
};

QTEST_MAIN(RoadOfOneChangeTest)
#include "RoadOfOneChangeTest.moc"
