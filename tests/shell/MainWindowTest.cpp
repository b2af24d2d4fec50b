#include "FakeDevices.h"
#include "TestMachine.h"

#include "platform/Platform.h"
#include "platform/mod_RegWin.h"
#include "platform/mod_Trace.h"
#include "printers/Printer.h"
#include "session/mod_Main.h"
#include "settings/AgentSettings.h"
#include "settings/frmYesNo.h"
#include "shell/frmMain.h"
#include "widgets/ListControl.h"
#include "widgets/Look.h"
#include "widgets/MenuBar.h"
#include "widgets/ToolButton.h"

#include <QLabel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using namespace quenyx;
using namespace std::string_literals;

namespace {

const std::string kPrinters = "SYSTEM\\CurrentControlSet\\Control\\Print\\Printers";

} // namespace

class MainWindowTest final : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::TestMachine> machine_;
    std::shared_ptr<test::FakeSpooler> spooler_;
    std::unique_ptr<QTemporaryDir> lockDir_;
    std::unique_ptr<shell::frmMain> window_;

    void SetAgent(const std::string& name, const std::string& text)
    {
        QCOMPARE(mod_RegWin::SaveSettingString(mod_RegWin::HKLM, mod_Trace::AgentKey, name, text), 0);
    }

    void AddPrinter(const std::string& name, const std::vector<std::pair<std::string, std::string>>& values = {})
    {
        const std::string key = kPrinters + "\\" + name;
        QCOMPARE(machine_->Admin().CreateKey(key), 0);
        for (const auto& [value, text] : values)
            QCOMPARE(mod_RegWin::SaveSettingString(mod_RegWin::HKLM, key, value, text), 0);
        spooler_->openable.insert(name);
    }

    void Open(const QString& arguments = QString())
    {
        window_ = std::make_unique<shell::frmMain>(arguments, lockDir_->filePath("lock"));
        QVERIFY(window_->Load());
        window_->show();
    }

    shell::ToolButton* Tool(const char* name) { return window_->findChild<shell::ToolButton*>(name); }

    QStringList Rows(shell::ListControl* list)
    {
        QStringList rows;
        for (int i = 1; i <= list->Count(); ++i) {
            const auto row = list->Row(i);
            QStringList cells{row.Text()};
            for (int c = 1; c < list->ColumnCount(); ++c)
                cells << row.SubItem(c);
            rows << cells.join('|');
        }
        return rows;
    }

    // What acts now: the toolbar's active buttons and the menu's enabled action entries.
    QString CommandState()
    {
        QStringList active;
        for (const char* name :
             {"btnToolRefresh", "btnToolInclude", "btnToolDelete", "btnToolAlter", "btnToolProperties"})
            if (Tool(name)->IsActive())
                active << name;
        for (const char* key : {"opRefresh", "opInclude", "opExclude", "opAlter", "opProperties"})
            if (window_->menu()->IsEnabled(key))
                active << key;
        return active.join(' ');
    }

private slots:
    void init()
    {
        machine_ = test::TestMachine::Create();
        machine_->Admin().CreateKey(mod_Trace::AgentKey);
        machine_->Admin().CreateKey(kPrinters);
        spooler_ = std::make_shared<test::FakeSpooler>();
        auto catalog = std::make_shared<test::FakeTextCatalog>();
        catalog->texts = {{u"Enabled", u"On"}, {u"Disabled", u"Off"}, {u"DCSServerDescription", u"DCS"}};
        auto& current = platform::Current();
        current.spooler = spooler_;
        current.printerStatus = std::make_shared<test::FakePrinterStatus>();
        current.textCatalog = catalog;
        lockDir_ = std::make_unique<QTemporaryDir>();
        for (auto* c : {&settings::SettingCatalog(), &settings::ReservedSettingNames()})
            c->Clear();
        printers::printers().Clear();
        printers::clusters().Clear();
        mod_Main::setConfigsAltered(false);
        SetAgent("PathInstall", "C:\\Agent");
    }

    void cleanup()
    {
        settings::frmYesNo::SetAnswerHandlerForTests(nullptr);
        window_.reset();
        machine_.reset();
    }

    void viewsSwitchAndHighlightTheirEntry()
    {
        Open();
        QCOMPARE(window_->currentView, qint16(0));
        QVERIFY(!window_->settingsList()->isVisible() && !window_->printersList()->isVisible());
        QCOMPARE(CommandState(), QString());

        window_->SelectConfigsView(true);
        QCOMPARE(window_->currentView, qint16(1));
        QVERIFY(window_->settingsList()->isVisible() && !window_->printersList()->isVisible());
        auto* pbConfigs = window_->findChild<QWidget*>("pbConfigs");
        auto* pbPrinters = window_->findChild<QWidget*>("pbPrinters");
        QCOMPARE(pbConfigs->palette().color(QPalette::Window), shell::kSelectedOrange);
        QVERIFY(window_->findChild<QWidget*>("iconConfigsSelected")->isVisible());
        QVERIFY(!window_->findChild<QWidget*>("iconConfigs")->isVisible());

        QTest::mouseClick(window_->findChild<QWidget*>("lblPrinters"), Qt::LeftButton);
        QCOMPARE(window_->currentView, qint16(2));
        QCOMPARE(pbPrinters->palette().color(QPalette::Window), shell::kSelectedOrange);
        QCOMPARE(pbConfigs->palette().color(QPalette::Window), shell::kBandGrey);
        QCOMPARE(window_->findChild<QLabel*>("lblConfigs")->palette().color(QPalette::WindowText), shell::kLabelGrey);
        QVERIFY(window_->printersList()->isVisible() && !window_->settingsList()->isVisible());

        // The selected settings icon takes a click without acting; the printers one refreshes.
        window_->SelectConfigsView(true);
        window_->currentView = 0;
        QTest::mouseClick(window_->findChild<QWidget*>("iconConfigsSelected"), Qt::LeftButton);
        QCOMPARE(window_->currentView, qint16(0));
        window_->SelectPrintersView(true);
        window_->currentView = 0;
        QTest::mouseClick(window_->findChild<QWidget*>("iconPrintersSelected"), Qt::LeftButton);
        QCOMPARE(window_->currentView, qint16(2));
    }

    void printerColumnsFollowTheTonerSwitch_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QList<int>>("widths");
        QTest::newRow("plain") << "" << QList<int>{287, 139, 139};
        QTest::newRow("toner") << "-ecoToner" << QList<int>{247, 106, 106, 106};
    }

    void printerColumnsFollowTheTonerSwitch()
    {
        QFETCH(QString, arguments);
        QFETCH(QList<int>, widths);
        Open(arguments);
        auto* list = window_->printersList();
        QList<int> actual;
        for (int c = 0; c < list->ColumnCount(); ++c)
            actual << list->ColumnWidth(c);
        QCOMPARE(actual, widths);
        QCOMPARE(window_->settingsList()->ColumnCount(), 3);
    }

    void fillPrintFollowsTheSwitches_data()
    {
        QTest::addColumn<QString>("disableAccounts");
        QTest::addColumn<QString>("securePrintEnabled");
        QTest::addColumn<QStringList>("expected");
        // The spooler's key lists its printers sorted by name.
        const QStringList normal{"Activated|On|On|Off", "Billed|On|On|On", "Local|Off|Off|Off", "NoSecure|On|Off|On",
                                 "Server|Off|Off|Off"};
        QTest::newRow("accounts on") << "0"
                                     << "1" << normal;
        QTest::newRow("accounts off") << "1"
                                      << "1"
                                      << QStringList{"Activated|On|On|Off", "Billed|Off|Off|Off", "Local|Off|Off|Off",
                                                     "NoSecure|Off|Off|Off", "Server|Off|Off|Off"};
        QTest::newRow("secure print absent")
            << "0"
            << ""
            << QStringList{"Activated|On|Off|Off", "Billed|On|Off|On", "Local|Off|Off|Off", "NoSecure|On|Off|On",
                           "Server|Off|Off|Off"};
        QTest::newRow("switch texts that are not numbers")
            << "0"
            << "yes"
            << QStringList{"Activated|On|Off|Off", "Billed|On|Off|On", "Local|Off|Off|Off", "NoSecure|On|Off|On",
                           "Server|Off|Off|Off"};
    }

    void fillPrintFollowsTheSwitches()
    {
        QFETCH(QString, disableAccounts);
        QFETCH(QString, securePrintEnabled);
        QFETCH(QStringList, expected);
        SetAgent("DisableAccounts", disableAccounts.toStdString());
        if (!securePrintEnabled.isEmpty())
            SetAgent("SecurePrintEnabled", securePrintEnabled.toStdString());
        AddPrinter("Billed");
        AddPrinter("Activated", {{"NCActivate", "1"}, {"DisableEcoToner", "1"}});
        AddPrinter("NoSecure", {{"DisableSecurePrint", "1"}});
        AddPrinter("Local");
        AddPrinter("Server");
        AddPrinter("Offline");
        spooler_->openable.erase("Offline");
        auto* status = static_cast<test::FakePrinterStatus*>(platform::Current().printerStatus.get());
        status->answers["Local"] = {platform::StatusAnswer::Answered, 2};
        status->answers["Server"] = {platform::StatusAnswer::Answered, 1};
        Open("-ecoToner");
        window_->SelectPrintersView(true);
        QCOMPARE(Rows(window_->printersList()), expected);
    }

    void eachPrinterViewListsItsOwnGroup()
    {
        SetAgent("EnableCluster", "1");
        SetAgent("ClusterName", "SRV");
        const std::string resource = "Cluster\\Resources\\Spooler";
        QCOMPARE(mod_RegWin::SaveSettingString(mod_RegWin::HKLM, mod_Trace::AgentKey, "x", "x"), 0);
        machine_->Admin().CreateKey(resource + "\\Parameters\\Printers\\Q1\\DsSpooler");
        machine_->Admin().SetRawValue(resource,
                                      {"Type", platform::reg_type::String, std::string("Print Spooler") + '\0'});
        machine_->Admin().SetRawValue(resource + "\\Parameters\\Printers\\Q1\\DsSpooler",
                                      {"shortServerName", platform::reg_type::String, std::string("Srv") + '\0'});
        AddPrinter("Local1");
        Open();
        QVERIFY(window_->findChild<QWidget*>("pbCluster")->isVisibleTo(window_.get()));
        QCOMPARE(window_->findChild<QLabel*>("lblCluster")->text(), QStringLiteral("Srv"));

        window_->SelectPrintersView(true);
        QCOMPARE(Rows(window_->printersList()), QStringList{"Local1|On|Off"});
        window_->SelectClusterView(true);
        QCOMPARE(window_->currentView, qint16(3));
        QCOMPARE(Rows(window_->printersList()), QStringList{"Q1|On|Off"});
        machine_->Admin().DeleteKeyTree("Cluster");
    }

    void settingsListShowsOtherValuesAboveTheCatalog()
    {
        SetAgent("DCSServer", "srv");
        SetAgent("X", "1");
        SetAgent("TimeUpdatePerfis", "30");
        SetAgent("Y", "2");
        SetAgent("Version", "5.1");
        Open();
        window_->SelectConfigsView(true);
        QCOMPARE(Rows(window_->settingsList()),
                 (QStringList{"X|1|", "Y|2|", "DCSServer|srv|DCS", "TimeUpdatePerfis|30|"}));
    }

    void f5RefreshesTheViewOnlyOnceAViewIsShown()
    {
        SetAgent("X", "1");
        Open();
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        QTest::keyClick(window_.get(), Qt::Key_F5); // before a view: Refresh does not act
        QCOMPARE(window_->settingsList()->Count(), 0);
        window_->SelectConfigsView(true);
        SetAgent("Y", "2");
        QTest::keyClick(window_.get(), Qt::Key_F5);
        QCOMPARE(Rows(window_->settingsList()), (QStringList{"X|1|", "Y|2|"}));
    }

    // Past 32,767 rows the order still holds: every value outside the catalog, in registry order, then the
    // catalog's. The names sort as they were created, since Wine's registry lists values by name.
    void settingsListOfAnyLengthKeepsItsOrder()
    {
        constexpr int kOthers = 40000;
        const auto name = [](int i) { return QStringLiteral("V%1").arg(i, 5, 10, QLatin1Char('0')); };
        QCOMPARE(machine_->Admin().Atomically([this, &name] {
            machine_->Admin().SetRawValue(mod_Trace::AgentKey,
                                          {"DCSServer", platform::reg_type::String, "srv"s + '\0'});
            for (int i = 0; i < kOthers; ++i)
                machine_->Admin().SetRawValue(mod_Trace::AgentKey,
                                              {name(i).toStdString(), platform::reg_type::String, "x"s + '\0'});
            return machine_->Admin().SetRawValue(mod_Trace::AgentKey,
                                                 {"TimeUpdatePerfis", platform::reg_type::String, "30"s + '\0'});
        }),
                 0);
        Open();
        window_->SelectConfigsView(true);
        shell::ListControl* list = window_->settingsList();
        QCOMPARE(list->Count(), kOthers + 2); // PathInstall is reserved: no row
        for (const int position : {1, 32767, 32768, 32769, kOthers})
            QCOMPARE(list->Row(position).Text(), name(position - 1));
        QCOMPARE(list->Row(kOthers + 1).Text() + list->Row(kOthers + 2).Text(),
                 QStringLiteral("DCSServerTimeUpdatePerfis"));
    }

    void commandsActByViewAndSelection()
    {
        SetAgent("X", "1");
        AddPrinter("P");
        Open();
        window_->SelectConfigsView(true);
        QCOMPARE(CommandState(), QStringLiteral("btnToolRefresh btnToolInclude opRefresh opInclude"));
        window_->settingsList()->SelectRow(1);
        QCOMPARE(CommandState(), QStringLiteral("btnToolRefresh btnToolInclude btnToolDelete btnToolAlter opRefresh "
                                                "opInclude opExclude opAlter"));
        window_->SelectPrintersView(true);
        QCOMPARE(CommandState(), QStringLiteral("btnToolRefresh opRefresh"));
        QTest::keyClick(window_->printersList()->view(), Qt::Key_Down);
        QCOMPARE(window_->printersList()->SelectedRow(), 1);
        QCOMPARE(CommandState(), QStringLiteral("btnToolRefresh btnToolProperties opRefresh opProperties"));
    }

    void excludeDeletesOnlyWhenConfirmed_data()
    {
        QTest::addColumn<bool>("answer");
        QTest::newRow("no") << false;
        QTest::newRow("yes") << true;
    }

    void excludeDeletesOnlyWhenConfirmed()
    {
        QFETCH(bool, answer);
        SetAgent("X", "1");
        Open();
        window_->SelectConfigsView(true);
        const int before = window_->settingsList()->Count();
        window_->settingsList()->SelectRow(1);
        QCOMPARE(window_->settingsList()->SelectedText(), QStringLiteral("X"));
        QString asked;
        settings::frmYesNo::SetAnswerHandlerForTests([&](settings::frmYesNo& dialog) {
            asked = dialog.message;
            return answer;
        });
        window_->MenuClicked("opExclude");
        QVERIFY(!asked.isNull());
        QCOMPARE(window_->settingsList()->Count(), answer ? before - 1 : before);
        QCOMPARE(mod_RegWin::GetSettingString(mod_RegWin::HKLM, mod_Trace::AgentKey, "X", "gone"),
                 answer ? std::string("gone") : std::string("1"));
        QCOMPARE(mod_Main::configsAltered(), answer);
    }

    void menuOffersSecurePrintOnlyToInstallTypeOne_data()
    {
        QTest::addColumn<QString>("installType");
        QTest::addColumn<bool>("securePrint");
        QTest::newRow("absent") << "" << true;
        QTest::newRow("1") << "1" << true;
        QTest::newRow("2") << "2" << false;
        QTest::newRow("not a number") << "abc" << false;
    }

    void menuOffersSecurePrintOnlyToInstallTypeOne()
    {
        QFETCH(QString, installType);
        QFETCH(bool, securePrint);
        if (!installType.isEmpty())
            SetAgent("InstallType", installType.toStdString());
        Open();
        QStringList expected{"mnApplication", "opExit",    "mnAction", "opRefresh",    "opBar",
                             "opInclude",     "opExclude", "opAlter",  "opProperties", "mnTools"};
        if (securePrint)
            expected << "opSecurePrint";
        expected << "opTrace"
                 << "mnAbout";
        QCOMPARE(window_->menu()->Keys(), expected);
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
