#include "FakeDevices.h"
#include "TestMachine.h"

#include "platform/mod_RegWin.h"
#include "platform/mod_Trace.h"
#include "session/mod_Main.h"
#include "settings/AgentSettings.h"
#include "settings/frmAlter.h"
#include "settings/frmInsert.h"
#include "widgets/MessageBox.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <algorithm>

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
    mod_RegWin::SaveSettingString(mod_RegWin::HKLM, mod_Trace::AgentKey, name.toStdString(), text.toStdString());
    settings::SearchGeneralValues();
}

bool Listed(const std::string& name)
{
    settings::SearchGeneralValues();
    const auto named = [&](const auto& entry) { return entry->Key() == name; };
    return std::ranges::any_of(settings::KnownGeneralKeys(), named) ||
           std::ranges::any_of(settings::OtherGeneralKeys(), named);
}

template <typename Control = QWidget> Control* Find(QWidget& dialog, const char* name)
{
    if (auto* control = dialog.findChild<Control*>(name))
        return control;
    qFatal("no control %s", name);
}

// In the insert dialog, picks with the arrow keys, as the keyboard does, and types `name` if none of the picks is
// it; in the alter dialog, tries to type into the name. Then types into the shown box or clicks the option `typed`
// names, clicks `button` and says whether the dialog closed.
bool Fill(QWidget& d, const QStringList& picks, const QString& name, const QString& typed, const char* button)
{
    if (auto* combo = d.findChild<QComboBox*>("cboGeneralKeys")) {
        for (const QString& pick : picks) {
            if (Find(d, "OptFalse")->isVisible()) // a later Boolean pick must select OptTrue again
                QTest::mouseClick(Find(d, "OptFalse"), Qt::LeftButton);
            for (const int at = combo->findText(pick); at >= 0 && combo->currentIndex() != at;)
                QTest::keyClick(combo, combo->currentIndex() < at ? Qt::Key_Down : Qt::Key_Up);
        }
        if (!picks.contains(name))
            QTest::keyClicks(combo->lineEdit(), name);
    } else
        QTest::keyClicks(Find(d, "txtNomeValor"), "Z"); // the name is locked: the store writes under Value
    if (typed.startsWith("Opt"))
        QTest::mouseClick(Find(d, qPrintable(typed)), Qt::LeftButton);
    for (const char* input : {"txtDadosValor", "txtDadosValorInteger"})
        if (auto* box = Find<QLineEdit>(d, input); box->isVisible()) {
            box->clear();
            QTest::keyClicks(box, typed);
        }
    QTest::mouseClick(Find(d, button), Qt::LeftButton);
    return !d.isVisible();
}

} // namespace

class SettingDialogsTest final : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::TestMachine> machine_;
    QStringList messages_;

private slots:
    void init()
    {
        machine_ = test::TestMachine::Create();
        QCOMPARE(machine_->Admin().CreateKey(mod_Trace::AgentKey), 0);
        auto catalog = std::make_shared<test::FakeTextCatalog>();
        catalog->texts = {{u"InsertSequenceValueData", u"Informe os dados."},
                          {u"ChooseSequenceValueName", u"Escolha o nome."},
                          {u"DeniedAccess", u"Acesso negado."},
                          {u"QuenyxRunAsAdminInWin7", u"Execute como administrador."}};
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

    void insertOffersOnlyTheMissingSettings()
    {
        for (const char* name : {"dcsserver", "PopUpExpiration", "EnableCluster"})
            Have(name, "1");
        QStringList offered;
        frmInsert::SetShowHandlerForTests([&](frmInsert& d) {
            auto* combo = Find<QComboBox>(d, "cboGeneralKeys");
            for (int i = 0; i < combo->count(); ++i)
                offered << combo->itemText(i);
        });
        frmInsert().ShowModal();
        QCOMPARE(offered,
                 (QStringList{"DisableAccounts", "DisableAccountInformation", "WorkFolder", "TimeUpdatePerfis"}));
    }

    // Insert rows, without `data`, pick `picks` and type `name` if it is none of them; alter rows open `name`
    // holding `data`. `typed` goes into the shown box or names the option to click. An access-denied message
    // means the agent key refuses writes.
    void stores_data()
    {
        QTest::addColumn<QStringList>("picks");
        for (const char* column : {"name", "data", "typed", "button", "message", "stored"})
            QTest::addColumn<QString>(column);
        const QString ok = "OKButton", cancel = "CancelButton", noData = "Informe os dados.", denied = "Acesso negado.";
        const QStringList none, integer{"TimeUpdatePerfis"}, server{"DCSServer"};
        // clang-format off
        QTest::newRow("insert Boolean pick")
            << QStringList{"DisableAccountInformation", "DisableAccounts"} << "DisableAccounts" << "" << "" << ok
            << "" << "1";
        QTest::newRow("insert Integer filtered, kept as typed")
            << integer << "TimeUpdatePerfis" << "" << "-a1,5x" << ok << "" << "1,5";
        QTest::newRow("insert typed name") << none << "CustomDelay" << "" << "15" << ok << "" << "15";
        QTest::newRow("insert without a name") << none << "" << "" << "x" << ok << "Escolha o nome." << kNone;
        QTest::newRow("insert empty value") << integer << "TimeUpdatePerfis" << "" << "" << ok << noData << kNone;
        QTest::newRow("insert refused") << server << "DCSServer" << "" << "srv02" << ok
                                        << denied + "\r\nExecute como administrador." << kNone;
        QTest::newRow("insert cancelled") << server << "DCSServer" << "" << "srv02" << cancel << "" << kNone;
        QTest::newRow("alter Boolean loaded off") << none << "DisableAccounts" << "0" << "" << ok << "" << "0";
        QTest::newRow("alter Boolean switched off")
            << none << "DisableAccounts" << "1" << "OptFalse" << ok << "" << "0";
        QTest::newRow("alter Integer filtered") << none << "PopUpExpiration" << "30" << "4a-5" << ok << "" << "45";
        QTest::newRow("alter Integer emptied") << none << "PopUpExpiration" << "30" << "" << ok << "" << "";
        QTest::newRow("alter String") << none << "DCSServer" << "srv01" << "srv02" << ok << "" << "srv02";
        QTest::newRow("alter String emptied") << none << "DCSServer" << "srv01" << "" << ok << noData << "srv01";
        QTest::newRow("alter other value") << none << "EnableCluster" << "1" << "0" << ok << "" << "0";
        QTest::newRow("alter refused") << none << "DCSServer" << "srv01" << "srv02" << ok << denied << "srv01";
        QTest::newRow("alter cancelled") << none << "DCSServer" << "srv01" << "srv02" << cancel << "" << "srv01";
        // clang-format on
    }

    void stores()
    {
        QFETCH(QStringList, picks);
        QFETCH(QString, name);
        QFETCH(QString, data);
        QFETCH(QString, typed);
        QFETCH(QString, button);
        QFETCH(QString, message);
        QFETCH(QString, stored);
        const bool denied = message.startsWith("Acesso negado.");
        if (!data.isEmpty())
            Have(name, data);
        if (denied && !machine_->DenyWrite(mod_Trace::AgentKey))
            QSKIP("this machine cannot deny writes to a key (Wine does not enforce registry security)");
        bool closed = false;
        const auto fill = [&](QWidget& d) { closed = Fill(d, picks, name, typed, qPrintable(button)); };
        frmInsert::SetShowHandlerForTests(fill);
        frmAlter::SetShowHandlerForTests(fill);
        frmAlter alter;
        alter.Value = name;
        alter.data = data;
        data.isEmpty() ? frmInsert().ShowModal() : alter.ShowModal();
        QCOMPARE(messages_.join('|'), message);
        QCOMPARE(closed, message.isEmpty() || denied);
        QCOMPARE(mod_Main::configsAltered(), closed && button == "OKButton");
        QCOMPARE(Agent(name), stored);
        QCOMPARE(Listed(name.toStdString()), stored != kNone && !stored.isEmpty()); // no data: no longer listed
    }
};

QTEST_MAIN(SettingDialogsTest)
#include "SettingDialogsTest.moc"
