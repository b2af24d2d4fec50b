#include "FakeDevices.h"
#include "TestMachine.h"

#include "platform/mod_RegWin.h"
#include "printers/Printer.h"
#include "printers/frmPrinterProperties.h"
#include "printers/mod_Printers.h"
#include "session/mod_Main.h"
#include "widgets/MessageBox.h"

#include <QCheckBox>
#include <QTest>

using namespace quenyx;
using printers::frmPrinterProperties;

namespace {

const std::string kQueue = "Sala 2 Laser";
const std::string kPrinterKey = std::string(mod_Printers::SpoolerPrintersKey) + "\\" + kQueue;

// The printer's NCActivate, NCDisactivate, DisableSecurePrint and DisableEcoToner; "-" where not written.
QString Written()
{
    QStringList values;
    for (const char* name : {"NCActivate", "NCDisactivate", "DisableSecurePrint", "DisableEcoToner"})
        values << QString::fromStdString(mod_RegWin::GetSettingString(mod_RegWin::HKLM, kPrinterKey, name, "-"));
    return values.join(' ');
}

} // namespace

class PropertiesDialogTest final : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::TestMachine> machine_;
    QStringList messages_;

private slots:
    void init()
    {
        machine_ = test::TestMachine::Create();
        QCOMPARE(machine_->Admin().CreateKey(kPrinterKey), 0);
        auto catalog = std::make_shared<test::FakeTextCatalog>();
        catalog->texts = {{u"NoPermissionPrinterProperties", u"Sem permissão."}};
        platform::Current().textCatalog = catalog;
        messages_.clear();
        shell::SetMessageHandlerForTests([this](const QString& text) { messages_ << text; });
        mod_Main::setConfigsAltered(false);
        printers::printers().Clear();
    }

    void cleanup()
    {
        frmPrinterProperties::SetShowHandlerForTests(nullptr);
        shell::SetMessageHandlerForTests(nullptr);
        printers::printers().Clear();
        machine_.reset();
    }

    // `on` names the inputs set: the printer record's serverDisabled and localDisabled, the dialog's fields,
    // ecoTonerEnabled agent-wide, securePrintOff (securePrintEnabled clear) and denied (the printer key refuses
    // writes). `clicks` are the user's, on a box's indicator so that a disabled box ignores them.
    void apply_data()
    {
        QTest::addColumn<QStringList>("on");
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QString>("written");
        QTest::addColumn<bool>("altered");
        QTest::addColumn<bool>("localDisabled");
        const QString apply = "lblApply", billing = "chkBilling", secure = "chkSecurePrint", toner = "chkEcoToner";
        const QStringList twice{secure, billing, billing, apply};
        // clang-format off
        QTest::newRow("accounting agent-wide, printer switched off") << QStringList{} << QStringList{billing, apply}
            << "0 1 - -" << true << true;
        QTest::newRow("accounting agent-wide, printer switched on") << QStringList{"localDisabled"}
            << QStringList{billing, apply} << "0 0 0 -" << true << false;
        QTest::newRow("no accounting agent-wide, printer switched off") << QStringList{"disableAccounts", "Activate"}
            << QStringList{billing, apply} << "0 0 - -" << true << true;
        QTest::newRow("no accounting agent-wide, printer switched on") << QStringList{"disableAccounts"}
            << QStringList{billing, apply} << "1 0 0 -" << true << false;
        QTest::newRow("unchanged") << QStringList{} << QStringList{apply} << "0 0 0 -" << false << false;
        QTest::newRow("secure printing off agent-wide") << QStringList{"securePrintOff"}
            << QStringList{secure, apply} << "0 0 - -" << false << false;
        QTest::newRow("server-disabled") << QStringList{"serverDisabled"} << QStringList{billing, secure, apply}
            << "0 1 - -" << false << true;
        // Billing off and on again: the stored switch, not the box the user changed, decides.
        QTest::newRow("billing twice, secure printing stored off") << QStringList{"disableSecurePrinter"} << twice
            << "0 0 1 -" << false << false;
        QTest::newRow("billing twice, secure printing stored on") << QStringList{} << twice
            << "0 0 0 -" << false << false;
        QTest::newRow("toner box hidden") << QStringList{"disableEcoToner"} << QStringList{apply}
            << "0 0 0 -" << false << false;
        QTest::newRow("toner switched on") << QStringList{"ecoTonerEnabled", "disableEcoToner"}
            << QStringList{toner, apply} << "0 0 0 0" << true << false;
        for (const char* cancel : {"btnCancel", "lblCancel", "btnClose"})
            QTest::addRow("%s", cancel) << QStringList{"ecoTonerEnabled"} << QStringList{billing, toner, cancel}
                << "- - - -" << false << false;
        QTest::newRow("refused") << QStringList{"denied"} << QStringList{billing, apply} << "- - - -" << false
            << true;
        // clang-format on
    }

    void apply()
    {
        QFETCH(QStringList, on);
        QFETCH(QStringList, clicks);
        const auto set = [&](const char* input) { return on.contains(input); };
        mod_Main::setEcoTonerEnabled(set("ecoTonerEnabled"));
        const auto printer = printers::printers().Add(7, kQueue, set("serverDisabled"), set("localDisabled"), {});
        if (set("denied") && !machine_->DenyWrite(kPrinterKey))
            QSKIP("this machine cannot deny writes to a key (Wine does not enforce registry security)");
        frmPrinterProperties dialog;
        dialog.queueName = QString::fromStdString(kQueue);
        dialog.disableAccounts = set("disableAccounts");
        dialog.Activate = set("Activate");
        dialog.securePrintEnabled = !set("securePrintOff");
        dialog.disableSecurePrinter = set("disableSecurePrinter");
        dialog.disableEcoToner = set("disableEcoToner");
        frmPrinterProperties::SetShowHandlerForTests([&](frmPrinterProperties& d) {
            for (const QString& name : clicks) {
                auto* widget = d.findChild<QWidget*>(name);
                QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(6, widget->height() / 2));
            }
            QVERIFY(!d.isVisible());
        });
        dialog.ShowModal();
        QTEST(Written(), "written");
        QTEST(mod_Main::configsAltered(), "altered");
        QTEST(printer->localDisabled(), "localDisabled");
        QCOMPARE(messages_.join('|'), QString(set("denied") ? "Sem permissão." : ""));
    }
};

QTEST_MAIN(PropertiesDialogTest)
#include "PropertiesDialogTest.moc"
