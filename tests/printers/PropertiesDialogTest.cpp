#include "FakeDevices.h"
#include "TestMachine.h"

#include "platform/mod_RegWin.h"
#include "printers/Printer.h"
#include "printers/frmPrinterProperties.h"
#include "printers/mod_Printers.h"
#include "shell/Look.h"
#include "shell/MessageBox.h"
#include "shell/TitleStrip.h"
#include "shell/mod_Main.h"

#include <QCheckBox>
#include <QLabel>
#include <QTest>

using namespace quenyx;
using printers::frmPrinterProperties;

namespace {

const std::string kQueue = "Sala 2 Laser";
const std::string kPrinterKey = std::string(mod_Printers::SpoolerPrintersKey) + "\\" + kQueue;
constexpr const char* kNone = "(not written)";

QString Stored(const char* name)
{
    return QString::fromStdString(mod_RegWin::GetSettingString(mod_RegWin::HKLM, kPrinterKey, name, kNone));
}

// A user's click: on the box's indicator, so that a disabled box ignores it.
void Click(QWidget* widget)
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(6, widget->height() / 2));
}

} // namespace

class PropertiesDialogTest final : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::TestMachine> machine_;
    std::unique_ptr<frmPrinterProperties> dialog_; // for the printer kQueue, secure printing on agent-wide
    QStringList messages_;

    // Opens the dialog on the inputs set and lets `drive` act on it, loaded and shown.
    void Open(std::function<void(frmPrinterProperties&)> drive)
    {
        frmPrinterProperties::SetShowHandlerForTests(std::move(drive));
        dialog_->ShowModal();
    }
    static void Apply(frmPrinterProperties& d) { QTest::mouseClick(d.findChild<QWidget*>("lblApply"), Qt::LeftButton); }

    std::shared_ptr<printers::Printer> AddPrinter(bool serverDisabled, bool localDisabled)
    {
        return printers::printers().Add(7, kQueue, serverDisabled, localDisabled, {});
    }

private slots:
    void init()
    {
        machine_ = test::TestMachine::Create();
        QCOMPARE(machine_->Admin().CreateKey(kPrinterKey), 0);
        auto catalog = std::make_shared<test::FakeTextCatalog>();
        catalog->texts = {{u"NoPermissionPrinterProperties", u"Sem permissão."},
                          {u"LocalIdentifier", u"Local ID"},
                          {u"BillingDisable", u"Accounting off"}};
        platform::Current().textCatalog = catalog;
        messages_.clear();
        shell::SetMessageHandlerForTests([this](const QString& text) { messages_ << text; });
        mod_Main::setConfigsAltered(false);
        mod_Main::setEcoTonerEnabled(false);
        printers::printers().Clear();
        dialog_ = std::make_unique<frmPrinterProperties>();
        dialog_->queueName = QString::fromStdString(kQueue);
        dialog_->securePrintEnabled = true;
    }

    void cleanup()
    {
        frmPrinterProperties::SetShowHandlerForTests(nullptr);
        shell::SetMessageHandlerForTests(nullptr);
        dialog_.reset();
        printers::printers().Clear();
        machine_.reset();
    }

    // Each row ends with chkBilling as the column says, reached by one click from the other state.
    void applyWritesTheBillingTable_data()
    {
        QTest::addColumn<bool>("disableAccounts");
        QTest::addColumn<bool>("billingOff");
        QTest::addColumn<QString>("activate");
        QTest::addColumn<QString>("disactivate");
        QTest::addColumn<QString>("securePrint");
        QTest::newRow("agent accounts, printer switched off") << false << true << "0" << "1" << kNone;
        QTest::newRow("agent accounts, printer switched on") << false << false << "0" << "0" << "0";
        QTest::newRow("agent does not, printer switched off") << true << true << "0" << "0" << kNone;
        QTest::newRow("agent does not, printer switched on") << true << false << "1" << "0" << "0";
    }

    void applyWritesTheBillingTable()
    {
        QFETCH(bool, disableAccounts);
        QFETCH(bool, billingOff);
        // Stale values show that both are written whatever they held.
        for (const char* name : {"NCActivate", "NCDisactivate"})
            QCOMPARE(mod_RegWin::SaveSettingString(mod_RegWin::HKLM, kPrinterKey, name, "x"), 0);
        const auto printer = AddPrinter(false, !disableAccounts && !billingOff);
        dialog_->disableAccounts = disableAccounts;
        dialog_->Activate = disableAccounts && billingOff;
        Open([&](frmPrinterProperties& d) {
            QCOMPARE(d.billingBox()->isChecked(), !billingOff);
            Click(d.billingBox());
            QCOMPARE(d.billingBox()->isChecked(), billingOff);
            Apply(d);
            QVERIFY(!d.isVisible());
        });
        QTEST(Stored("NCActivate"), "activate");
        QTEST(Stored("NCDisactivate"), "disactivate");
        QTEST(Stored("DisableSecurePrint"), "securePrint");
        QCOMPARE(printer->localDisabled(), billingOff);
        QVERIFY(mod_Main::configsAltered());
        QVERIFY(messages_.isEmpty());
    }

    void applyingWithoutAChangeWritesButAltersNothing_data()
    {
        QTest::addColumn<bool>("serverDisabled");
        QTest::addColumn<bool>("disableAccounts");
        QTest::addColumn<bool>("securePrintEnabled");
        QTest::addColumn<QString>("disactivate");
        QTest::addColumn<QString>("securePrint");
        QTest::newRow("plain printer") << false << false << true << "0" << "0";
        QTest::newRow("secure printing off agent-wide") << false << false << false << "0" << kNone;
        QTest::newRow("server-disabled") << true << false << true << "1" << kNone;
        QTest::newRow("server-disabled, accounting off") << true << true << true << "0" << kNone;
    }

    void applyingWithoutAChangeWritesButAltersNothing()
    {
        QFETCH(bool, serverDisabled);
        QFETCH(bool, disableAccounts);
        QFETCH(bool, securePrintEnabled);
        AddPrinter(serverDisabled, false);
        dialog_->disableAccounts = disableAccounts;
        dialog_->Activate = true;
        dialog_->securePrintEnabled = securePrintEnabled;
        Open([&](frmPrinterProperties& d) {
            QCOMPARE(d.billingBox()->isChecked(), serverDisabled);
            QCOMPARE(d.billingBox()->isEnabled(), !serverDisabled);
            // Without accounting, or without secure printing agent-wide, the box is checked and out of reach.
            const bool locked = serverDisabled || !securePrintEnabled;
            QCOMPARE(d.securePrintBox()->isChecked(), locked);
            QCOMPARE(d.securePrintBox()->isEnabled(), !locked);
            if (serverDisabled)
                Click(d.billingBox());
            if (locked)
                Click(d.securePrintBox());
            QCOMPARE(d.billingBox()->isChecked(), serverDisabled);
            QCOMPARE(d.securePrintBox()->isChecked(), locked);
            Apply(d);
        });
        QCOMPARE(Stored("NCActivate"), QStringLiteral("0"));
        QTEST(Stored("NCDisactivate"), "disactivate");
        QTEST(Stored("DisableSecurePrint"), "securePrint");
        QVERIFY(!mod_Main::configsAltered());
    }

    // The stored switch, not the box, decides: after billing goes off and on, the box the user changed is back
    // as it was loaded, checked or clear.
    void billingTwiceRestoresTheStoredSecurePrintSwitch_data()
    {
        QTest::addColumn<bool>("disableSecurePrinter");
        QTest::addColumn<QString>("stored");
        QTest::newRow("stored off for the printer") << true << "1";
        QTest::newRow("stored on for the printer") << false << "0";
    }

    void billingTwiceRestoresTheStoredSecurePrintSwitch()
    {
        QFETCH(bool, disableSecurePrinter);
        AddPrinter(false, false);
        dialog_->disableSecurePrinter = disableSecurePrinter;
        Open([&](frmPrinterProperties& d) {
            QCOMPARE(d.securePrintBox()->isChecked(), disableSecurePrinter);
            Click(d.securePrintBox());
            Click(d.billingBox());
            QVERIFY(d.securePrintBox()->isChecked() && !d.securePrintBox()->isEnabled());
            Click(d.billingBox());
            QVERIFY(d.securePrintBox()->isEnabled());
            Apply(d);
        });
        QTEST(Stored("DisableSecurePrint"), "stored");
        QVERIFY(!mod_Main::configsAltered());
    }

    void theTonerBoxWritesOnlyAChange_data()
    {
        QTest::addColumn<bool>("ecoTonerEnabled");
        QTest::addColumn<bool>("disableEcoToner");
        QTest::addColumn<QString>("stored");
        QTest::newRow("hidden keeps its loaded state") << false << true << kNone;
        QTest::newRow("shown, switched off") << true << false << "1";
        QTest::newRow("shown, switched on") << true << true << "0";
    }

    void theTonerBoxWritesOnlyAChange()
    {
        QFETCH(bool, ecoTonerEnabled);
        QFETCH(bool, disableEcoToner);
        mod_Main::setEcoTonerEnabled(ecoTonerEnabled);
        AddPrinter(false, false);
        dialog_->disableEcoToner = disableEcoToner;
        Open([&](frmPrinterProperties& d) {
            QCOMPARE(d.ecoTonerBox()->isVisible(), ecoTonerEnabled);
            QCOMPARE(d.ecoTonerBox()->isChecked(), disableEcoToner);
            if (ecoTonerEnabled)
                Click(d.ecoTonerBox());
            Apply(d);
        });
        QTEST(Stored("DisableEcoToner"), "stored");
        QCOMPARE(mod_Main::configsAltered(), ecoTonerEnabled);
    }

    void cancelWritesNothing_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("btnCancel") << "btnCancel";
        QTest::newRow("lblCancel") << "lblCancel";
        QTest::newRow("btnClose") << "btnClose";
    }

    void cancelWritesNothing()
    {
        QFETCH(QString, target);
        mod_Main::setEcoTonerEnabled(true);
        const auto printer = AddPrinter(false, false);
        Open([&](frmPrinterProperties& d) {
            Click(d.billingBox());
            Click(d.ecoTonerBox());
            QTest::mouseClick(d.findChild<QWidget*>(target), Qt::LeftButton);
            QVERIFY(!d.isVisible());
        });
        std::vector<platform::RawValue> values;
        machine_->Admin().ListValues(kPrinterKey, values);
        QVERIFY(values.empty());
        QVERIFY(!printer->localDisabled());
        QVERIFY(!mod_Main::configsAltered());
    }

    void refusedWritesAreReportedAfterTheRecordChanged()
    {
        const auto printer = AddPrinter(false, false);
        QVERIFY(machine_->DenyWrite(kPrinterKey));
        Open([&](frmPrinterProperties& d) {
            Click(d.billingBox());
            Apply(d);
            QVERIFY(!d.isVisible());
        });
        QCOMPARE(messages_, QStringList{"Sem permissão."});
        QCOMPARE(Stored("NCDisactivate"), QString(kNone));
        QVERIFY(printer->localDisabled());
        QVERIFY(!mod_Main::configsAltered());
    }

    // A printer missing from the collection loads with neither switch set; Apply still writes its values.
    void aPrinterWithoutARecordIsWrittenAlone()
    {
        dialog_->ID = QStringLiteral("12");
        Open([](frmPrinterProperties& d) {
            QCOMPARE(d.queueNameValue()->text(), QString::fromStdString(kQueue));
            QCOMPARE(d.idValue()->text(), QStringLiteral("12"));
            QCOMPARE(d.findChild<QLabel*>("lblID")->text(), QStringLiteral("Local ID:"));
            QCOMPARE(d.billingBox()->text(), QStringLiteral("Accounting off"));
            QVERIFY(!d.billingBox()->isChecked() && d.billingBox()->isEnabled());
            Click(d.billingBox());
            Apply(d);
        });
        QCOMPARE(Stored("NCDisactivate"), QStringLiteral("1"));
        QVERIFY(mod_Main::configsAltered());
    }

    void pressingShowsThePressedLooks()
    {
        Open([](frmPrinterProperties& d) {
            auto* panel = d.findChild<QWidget*>("btnOK");
            QTest::mousePress(d.findChild<QWidget*>("lblApply"), Qt::LeftButton);
            QCOMPARE(panel->palette().color(QPalette::Window), shell::kPanelPressed);
            QTest::mouseRelease(d.findChild<QWidget*>("lblApply"), Qt::LeftButton, {}, QPoint(-5, -5));
            QCOMPARE(panel->palette().color(QPalette::Window), shell::kPanelGrey);
            QVERIFY(d.isVisible()); // released outside: no click

            auto* close = d.findChild<QLabel*>("btnClose");
            const auto image = [&d](const char* name) { return d.findChild<QLabel*>(name)->pixmap().toImage(); };
            QTest::mousePress(close, Qt::LeftButton);
            QCOMPARE(close->pixmap().toImage(), image("btnCloseSelected"));
            QTest::mouseRelease(close, Qt::LeftButton, {}, QPoint(-5, -5));
            QCOMPARE(close->pixmap().toImage(), image("btnCloseUnselected"));
        });
    }
};

QTEST_MAIN(PropertiesDialogTest)
#include "PropertiesDialogTest.moc"
