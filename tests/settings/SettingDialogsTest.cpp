#include "FakeDevices.h"
#include "TestMachine.h"

#include "platform/mod_RegWin.h"
#include "platform/mod_Trace.h"
#include "settings/AgentSettings.h"
#include "settings/frmAlter.h"
#include "settings/frmInsert.h"
#include "shell/MessageBox.h"
#include "shell/mod_Main.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

using namespace quenyx;
using settings::frmAlter;
using settings::frmInsert;

namespace {

constexpr const char* kNone = "(not written)";

QString Agent(const QString& name)
{
    return QString::fromStdString(
        mod_RegWin::GetSettingString(mod_RegWin::HKLM, mod_Trace::AgentKey, name.toStdString(), kNone));
}

// Writes the value and reads the agent key again, as the main window does before it opens a dialog.
void Have(const QString& name, const QString& text)
{
    QCOMPARE(
        mod_RegWin::SaveSettingString(mod_RegWin::HKLM, mod_Trace::AgentKey, name.toStdString(), text.toStdString()),
        0);
    settings::SearchGeneralValues();
}

bool Listed(const QString& name)
{
    for (const auto* list : {&settings::KnownGeneralKeys(), &settings::OtherGeneralKeys()})
        for (const auto& entry : *list)
            if (entry->Key() == name.toStdString())
                return true;
    return false;
}

template <typename Control = QWidget> Control* Find(QWidget& dialog, const QString& name)
{
    auto* control = dialog.findChild<Control*>(name);
    if (!control)
        qFatal("no control %s", qPrintable(name));
    return control;
}

void ClickOn(QWidget& dialog, const QString& name)
{
    QTest::mouseClick(Find(dialog, name), Qt::LeftButton);
}

// Picks an entry of the list with the arrow keys, as the keyboard does.
void Pick(QComboBox* box, const QString& name)
{
    const int at = box->findText(name);
    QVERIFY2(at >= 0, qPrintable(name));
    while (box->currentIndex() != at)
        QTest::keyClick(box, box->currentIndex() < at ? Qt::Key_Down : Qt::Key_Up);
}

// Opens one of the two dialogs; `drive` acts on it while it is shown.
void Open(const QString& kind, const QString& value, const QString& data, const std::function<void(QWidget&)>& drive)
{
    if (kind == QLatin1String("insert")) {
        frmInsert::SetShowHandlerForTests([&](frmInsert& d) { drive(d); });
        frmInsert dialog;
        dialog.ShowModal();
    } else {
        frmAlter::SetShowHandlerForTests([&](frmAlter& d) { drive(d); });
        frmAlter dialog;
        dialog.Value = value;
        dialog.data = data;
        dialog.ShowModal();
    }
}

QLineEdit* VisibleBox(QWidget& dialog)
{
    for (const char* name : {"txtDadosValor", "txtDadosValorInteger"})
        if (auto* box = Find<QLineEdit>(dialog, name); box->isVisible())
            return box;
    return nullptr;
}

} // namespace

class SettingDialogsTest final : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::TestMachine> machine_;
    QStringList messages_;

private slots:
    void init()
    {
        machine_ = test::TestMachine::Create();
        QCOMPARE(machine_->Admin().CreateKey(mod_Trace::AgentKey), 0);
        auto catalog = std::make_shared<test::FakeTextCatalog>();
        catalog->texts = {{u"DisableAccountsDescription", u"Desliga a contabilização."},
                          {u"TimeUpdatePerfisDescription", u"Minutos entre atualizações."},
                          {u"PopUpExpirationDescription", u"Segundos."},
                          {u"DCSServerDescription", u"Servidor central."},
                          {u"ChooseSequenceValueName", u"Escolha o nome."},
                          {u"InsertSequenceValueData", u"Informe os dados."},
                          {u"DeniedAccess", u"Acesso negado."},
                          {u"QuenyxRunAsAdminInWin7", u"Execute como administrador."},
                          {u"Name", u"Nome"},
                          {u"ToInsert", u"Incluir"},
                          {u"ToChange", u"Mudar"}};
        platform::Current().textCatalog = catalog;
        for (auto* c : {&settings::SettingCatalog(), &settings::ReservedSettingNames()})
            c->Clear();
        settings::LoadSettingCatalog();
        settings::SearchGeneralValues();
        messages_.clear();
        shell::SetMessageHandlerForTests([this](const QString& text) { messages_ << text; });
        mod_Main::setConfigsAltered(false);
    }

    void cleanup()
    {
        frmInsert::SetShowHandlerForTests(nullptr);
        frmAlter::SetShowHandlerForTests(nullptr);
        shell::SetMessageHandlerForTests(nullptr);
        machine_.reset();
    }

    void insertOffersOnlyTheMissingSettings_data()
    {
        QTest::addColumn<QStringList>("held");
        QTest::addColumn<QStringList>("offered");
        const QStringList all{"DCSServer",  "DisableAccounts",  "DisableAccountInformation",
                              "WorkFolder", "TimeUpdatePerfis", "PopUpExpiration"};
        QTest::newRow("empty key") << QStringList{} << all;
        QTest::newRow("some held, one in another case")
            << QStringList{"dcsserver", "PopUpExpiration", "EnableCluster", "Version"}
            << QStringList{"DisableAccounts", "DisableAccountInformation", "WorkFolder", "TimeUpdatePerfis"};
        QTest::newRow("all held") << all << QStringList{};
    }

    void insertOffersOnlyTheMissingSettings()
    {
        QFETCH(QStringList, held);
        for (const QString& name : held)
            Have(name, "1");
        Open("insert", {}, {}, [&](QWidget& d) {
            auto* combo = Find<QComboBox>(d, "cboGeneralKeys");
            QVERIFY(combo->isVisible());
            QVERIFY(combo->currentText().isEmpty());
            QCOMPARE(Find<QLabel>(d, "Label2")->text(), QStringLiteral("Nome:"));
            QCOMPARE(Find<QLabel>(d, "lblInsert")->text(), QStringLiteral("Incluir"));
            QStringList offered;
            for (int i = 0; i < combo->count(); ++i)
                offered << combo->itemText(i);
            QTEST(offered, "offered");
        });
    }

    void insertTakesTheInputOfThePickedType_data()
    {
        QTest::addColumn<QString>("pick");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("description");
        QTest::newRow("Boolean") << "DisableAccounts" << "OptTrue" << "" << "Desliga a contabilização.";
        QTest::newRow("Integer") << "TimeUpdatePerfis" << "txtDadosValorInteger" << "1,5"
                                 << "Minutos entre atualizações.";
        QTest::newRow("String") << "DCSServer" << "txtDadosValor" << "srv01" << "Servidor central.";
    }

    void insertTakesTheInputOfThePickedType()
    {
        QFETCH(QString, pick);
        QFETCH(QString, input);
        QFETCH(QString, typed);
        Open("insert", {}, {}, [&](QWidget& d) {
            Pick(Find<QComboBox>(d, "cboGeneralKeys"), pick);
            for (const char* name : {"txtDadosValor", "txtDadosValorInteger", "OptTrue", "OptFalse"})
                QCOMPARE(Find(d, name)->isVisible(),
                         input == name || (input == "OptTrue" && name == QString("OptFalse")));
            QTEST(Find<QLabel>(d, "lblDescricao")->text(), "description");
            if (input == "OptTrue") {
                // Every Boolean pick selects OptTrue, whatever was selected before.
                ClickOn(d, "OptFalse");
                Pick(Find<QComboBox>(d, "cboGeneralKeys"), "DisableAccountInformation");
                Pick(Find<QComboBox>(d, "cboGeneralKeys"), pick);
                QVERIFY(Find<QRadioButton>(d, "OptTrue")->isChecked());
                QVERIFY(!Find<QRadioButton>(d, "OptFalse")->isChecked());
            } else
                QTest::keyClicks(Find(d, input), typed);
            ClickOn(d, "OKButton");
            QVERIFY(!d.isVisible());
        });
        QCOMPARE(Agent(pick), typed.isEmpty() ? QStringLiteral("1") : typed);
        QVERIFY(mod_Main::configsAltered());
        QVERIFY(messages_.isEmpty());
    }

    // A typed name has no type: its value comes from the input the last pick left shown, and it is stored
    // whether or not the key holds it.
    void insertStoresATypedNameFromTheLastPicksInput_data()
    {
        QTest::addColumn<QStringList>("picks");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::newRow("nothing picked, existing value") << QStringList{} << "EnableCluster" << "1";
        QTest::newRow("a listed name typed, not picked") << QStringList{} << "DisableAccounts" << "yes";
        QTest::newRow("after an Integer pick") << QStringList{"TimeUpdatePerfis"} << "CustomDelay" << "15";
        QTest::newRow("Boolean then String pick keeps the text")
            << QStringList{"DCSServer", "DisableAccounts", "WorkFolder"} << "" << "srv9";
    }

    void insertStoresATypedNameFromTheLastPicksInput()
    {
        QFETCH(QStringList, picks);
        QFETCH(QString, name);
        QFETCH(QString, value);
        Have("EnableCluster", "0");
        Open("insert", {}, {}, [&](QWidget& d) {
            auto* combo = Find<QComboBox>(d, "cboGeneralKeys");
            for (int i = 0; i < picks.size(); ++i) {
                Pick(combo, picks[i]);
                if (i == 0)
                    QTest::keyClicks(VisibleBox(d), value);
            }
            if (picks.isEmpty())
                QTest::keyClicks(VisibleBox(d), value);
            if (!name.isEmpty()) {
                combo->lineEdit()->clear();
                QTest::keyClicks(combo->lineEdit(), name);
                QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
            }
            QVERIFY(VisibleBox(d));
            QCOMPARE(VisibleBox(d)->text(), value);
            ClickOn(d, "lblInsert");
        });
        QCOMPARE(Agent(name.isEmpty() ? picks.last() : name), value);
    }

    void integerBoxesTakeOnlyTypedDigitsAndCommas_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("insert: letters and signs") << "insert" << "a1-2b,5+x" << "12,5";
        QTest::newRow("insert: blanks and points") << "insert" << " 1 000.5" << "10005";
        QTest::newRow("alter: letters and signs") << "alter" << "-3e4,,q" << "34,,";
    }

    void integerBoxesTakeOnlyTypedDigitsAndCommas()
    {
        QFETCH(QString, kind);
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        Have("PopUpExpiration", "9");
        Open(kind, "PopUpExpiration", "9", [&](QWidget& d) {
            if (kind == "insert")
                Pick(Find<QComboBox>(d, "cboGeneralKeys"), "TimeUpdatePerfis");
            auto* box = Find<QLineEdit>(d, "txtDadosValorInteger");
            box->clear();
            QTest::keyClicks(box, typed);
            QCOMPARE(box->text(), kept);
            QTest::keyClick(box, Qt::Key_Backspace);
            QCOMPARE(box->text(), kept.chopped(1));
            // Only typing is filtered: pasted text goes in as it is.
            QApplication::clipboard()->setText(QStringLiteral("-7x"));
            QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(box->text(), kept.chopped(1) + "-7x");
        });
    }

    // An empty input is asked for and the dialog stays; a store the registry refuses is reported, closes the
    // dialog and still counts as a change.
    void storesEndAsTheRegistryAndTheInputsSay_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("denied");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("closed");
        QTest::newRow("insert without a name") << "insert" << "" << "x" << false << "Escolha o nome." << false;
        QTest::newRow("insert String empty") << "insert" << "DCSServer" << "" << false << "Informe os dados." << false;
        QTest::newRow("insert Integer empty") << "insert" << "TimeUpdatePerfis" << "" << false << "Informe os dados."
                                              << false;
        QTest::newRow("alter String emptied") << "alter" << "DCSServer" << "" << false << "Informe os dados." << false;
        QTest::newRow("insert refused") << "insert" << "DCSServer" << "srv02" << true
                                        << "Acesso negado.\r\nExecute como administrador." << true;
        QTest::newRow("alter refused") << "alter" << "DCSServer" << "srv02" << true << "Acesso negado." << true;
    }

    void storesEndAsTheRegistryAndTheInputsSay()
    {
        QFETCH(QString, kind);
        QFETCH(QString, name);
        QFETCH(QString, typed);
        QFETCH(bool, denied);
        QFETCH(bool, closed);
        if (kind == "alter")
            Have(name, "srv01");
        if (denied)
            QVERIFY(machine_->DenyWrite(mod_Trace::AgentKey));
        Open(kind, name, "srv01", [&](QWidget& d) {
            if (kind == "insert" && !name.isEmpty())
                Pick(Find<QComboBox>(d, "cboGeneralKeys"), name);
            VisibleBox(d)->setText(typed);
            ClickOn(d, "OKButton");
            QCOMPARE(d.isVisible(), !closed);
        });
        QTEST(messages_.join('|'), "message");
        QCOMPARE(Agent(name.isEmpty() ? "DCSServer" : name), QString(kind == "alter" ? "srv01" : kNone));
        QCOMPARE(mod_Main::configsAltered(), closed);
    }

    void cancelWritesNothing_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("target");
        for (const char* kind : {"insert", "alter"})
            for (const char* target : {"CancelButton", "lblCancel", "btnClose"})
                QTest::addRow("%s %s", kind, target) << kind << target;
    }

    void cancelWritesNothing()
    {
        QFETCH(QString, kind);
        QFETCH(QString, target);
        Have("WorkFolder", "C:\\Work");
        Open(kind, "WorkFolder", "C:\\Work", [&](QWidget& d) {
            if (kind == "insert")
                Pick(Find<QComboBox>(d, "cboGeneralKeys"), "DCSServer");
            QTest::keyClicks(VisibleBox(d), "2");
            ClickOn(d, target);
            QVERIFY(!d.isVisible());
        });
        QCOMPARE(Agent("WorkFolder"), QStringLiteral("C:\\Work"));
        QCOMPARE(Agent("DCSServer"), QString(kNone));
        QVERIFY(!mod_Main::configsAltered());
    }

    // The input the type asks for shows the current text; the store writes what the shown input holds.
    void alterShowsAndStoresByType_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("data");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("typed"); // into the shown box; for the options, the one to click
        QTest::addColumn<QString>("stored");
        const QString accounts = "Desliga a contabilização.";
        QTest::newRow("Boolean 1") << "DisableAccounts" << "1" << "OptTrue" << accounts << "OptFalse" << "0";
        QTest::newRow("Boolean 0") << "DisableAccounts" << "0" << "OptFalse" << accounts << "OptTrue" << "1";
        QTest::newRow("Boolean other text") << "DisableAccounts" << "true" << "OptFalse" << accounts << "" << "0";
        QTest::newRow("name in another case") << "DISABLEACCOUNTS" << "1" << "OptTrue" << accounts << "" << "1";
        QTest::newRow("Integer") << "PopUpExpiration" << "30" << "txtDadosValorInteger" << "Segundos." << "45" << "45";
        QTest::newRow("Integer emptied") << "PopUpExpiration" << "30" << "txtDadosValorInteger" << "Segundos." << ""
                                         << "";
        QTest::newRow("String") << "DCSServer" << "srv01" << "txtDadosValor" << "Servidor central." << "srv01"
                                << "srv01";
        QTest::newRow("without description text") << "WorkFolder" << "C:\\W" << "txtDadosValor" << "" << "D:"
                                                  << "D:";
        QTest::newRow("other value") << "EnableCluster" << "1" << "txtDadosValor" << "" << "0" << "0";
    }

    void alterShowsAndStoresByType()
    {
        QFETCH(QString, name);
        QFETCH(QString, data);
        QFETCH(QString, input);
        QFETCH(QString, description);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        Have(name, data);
        Open("alter", name, data, [&](QWidget& d) {
            QCOMPARE(Find<QLabel>(d, "lblAlter")->text(), QStringLiteral("Mudar"));
            const bool boolean = input.startsWith("Opt");
            QCOMPARE(Find(d, "OptTrue")->isVisible(), boolean);
            QCOMPARE(Find(d, "OptFalse")->isVisible(), boolean);
            if (boolean)
                QVERIFY(Find<QRadioButton>(d, input)->isChecked());
            else
                QCOMPARE(VisibleBox(d)->objectName(), input);
            // The text box holds the current text whatever is shown: the store's empty test reads it.
            QCOMPARE(Find<QLineEdit>(d, "txtDadosValor")->text(), data);
            QCOMPARE(Find<QLabel>(d, "lblDescriptionValue")->text(), description);
            QCOMPARE(Find(d, "lblDescriptionName")->isVisible(), !description.isEmpty());

            // The name is locked: the store writes under Value.
            QTest::keyClicks(Find(d, "txtNomeValor"), "Z");
            QCOMPARE(Find<QLineEdit>(d, "txtNomeValor")->text(), name);
            if (boolean && !typed.isEmpty())
                ClickOn(d, typed);
            else if (!boolean) {
                VisibleBox(d)->clear();
                QTest::keyClicks(VisibleBox(d), typed);
            }
            ClickOn(d, "lblAlter");
            QVERIFY(!d.isVisible());
        });
        QTEST(Agent(name), "stored");
        QVERIFY(messages_.isEmpty());
        QVERIFY(mod_Main::configsAltered());
        // A value without data is no longer listed, and the insert dialog offers it again.
        settings::SearchGeneralValues();
        QCOMPARE(Listed(name), !stored.isEmpty());
    }
};

QTEST_MAIN(SettingDialogsTest)
#include "SettingDialogsTest.moc"
