#include "FakeDevices.h"
#include "TestMachine.h"

#include "platform/Platform.h"
#include "settings/frmYesNo.h"
#include "shell/frmWait.h"
#include "widgets/Look.h"
#include "widgets/PanelButton.h"
#include "widgets/TranslateForm.h"

#include <QCheckBox>
#include <QLabel>
#include <QTest>
#include <QTimer>

using namespace quenyx;

class DialogsTest final : public QObject
{
    Q_OBJECT

private:
    std::shared_ptr<test::FakeTextCatalog> catalog_;

    static QColor Background(QWidget* w) { return w->palette().color(QPalette::Window); }

private slots:
    void init()
    {
        catalog_ = std::make_shared<test::FakeTextCatalog>();
        catalog_->texts = {{u"Directory", u"Pasta"}, {u"Yes", u"Sim!"},         {u"No", u"Não!"},
                           {u"", u"vazio"},          {u"FormTitle", u"Título"}, {u"StartingQuenyxWait", u"Iniciando"}};
        platform::Platform platform;
        platform.textCatalog = catalog_;
        platform::Install(platform);
    }
    void cleanup()
    {
        settings::frmYesNo::SetAnswerHandlerForTests(nullptr);
        shell::HideWait();
        platform::Install({});
    }

    void translateForm_data()
    {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QString>("caption");
        QTest::newRow("key with text") << "Directory"
                                       << "Pasta";
        QTest::newRow("colon rule") << "Directory:"
                                    << "Pasta:";
        QTest::newRow("unknown key keeps design") << "Missing:"
                                                  << "design";
        QTest::newRow("colon alone is the empty key") << ":"
                                                      << "vazio:";
        QTest::newRow("no tag") << ""
                                << "design";
    }

    void translateForm()
    {
        QFETCH(QString, tag);
        QFETCH(QString, caption);
        QWidget form;
        form.setWindowTitle(QStringLiteral("design title"));
        auto* label = new QLabel(QStringLiteral("design"), &form);
        auto* box = new QCheckBox(QStringLiteral("design"), new QWidget(&form)); // nested controls count too
        if (!tag.isEmpty()) {
            modGlobalization::SetTag(label, tag.toUtf8().constData());
            modGlobalization::SetTag(box, tag.toUtf8().constData());
        }
        modGlobalization::TranslateForm(&form);
        QCOMPARE(label->text(), caption);
        QCOMPARE(box->text(), caption);
        QCOMPARE(form.windowTitle(), QStringLiteral("design title"));
    }

    void translateFormUsesTheFormsOwnTagWithoutTheColonRule()
    {
        QWidget form;
        form.setWindowTitle(QStringLiteral("design"));
        modGlobalization::SetTag(&form, "FormTitle");
        modGlobalization::TranslateForm(&form);
        QCOMPARE(form.windowTitle(), QStringLiteral("Título"));
        modGlobalization::SetTag(&form, "Directory:");
        modGlobalization::TranslateForm(&form);
        QCOMPARE(form.windowTitle(), QStringLiteral("Título"));
    }

    // Without a catalog library the English texts stand in; a key they lack keeps the design's caption.
    void translateFormWithoutACatalogShowsTheEnglishTexts()
    {
        platform::Install({});
        QWidget form;
        auto* label = new QLabel(QStringLiteral("design"), &form);
        auto* other = new QLabel(QStringLiteral("design"), &form);
        modGlobalization::SetTag(label, "Directory:");
        modGlobalization::SetTag(other, "NoSuchKey");
        modGlobalization::TranslateForm(&form);
        QCOMPARE(label->text(), QStringLiteral("Folder:"));
        QCOMPARE(other->text(), QStringLiteral("design"));
    }

    void yesNoLabelsAnswerLikeTheirButtons_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("expected");
        QTest::newRow("btnYes") << "btnYes" << true;
        QTest::newRow("lblYes") << "lblYes" << true;
        QTest::newRow("btnNo") << "btnNo" << false;
        QTest::newRow("lblNo") << "lblNo" << false;
    }

    void yesNoLabelsAnswerLikeTheirButtons()
    {
        QFETCH(QString, target);
        QFETCH(bool, expected);
        settings::frmYesNo dialog;
        dialog.message = QStringLiteral("Primeira linha\r\nSegunda linha");
        dialog.result = !expected;
        bool clicked = false;
        QTimer::singleShot(0, &dialog, [&] {
            auto* widget = dialog.findChild<QWidget*>(target);
            QVERIFY(widget);
            QCOMPARE(dialog.description()->text(), dialog.message);
            QCOMPARE(dialog.yesButton()->label()->text(), QStringLiteral("Sim!"));
            QTest::mouseClick(widget, Qt::LeftButton);
            clicked = true;
        });
        // A dialog left open would hang the test: close it after a while and fail.
        QTimer::singleShot(5000, &dialog, [&] { dialog.reject(); });
        dialog.ShowModal();
        QVERIFY(clicked);
        QCOMPARE(dialog.result, expected);
    }

    void yesNoStartsEachQuestionAnsweringNo()
    {
        bool seenResult = true;
        settings::frmYesNo::SetAnswerHandlerForTests([&](settings::frmYesNo& asked) {
            seenResult = asked.result;
            return true;
        });
        settings::frmYesNo first;
        first.ShowModal();
        QVERIFY(first.result);
        settings::frmYesNo second;
        second.result = true;
        second.ShowModal();
        QVERIFY(!seenResult);
    }

    void panelsDarkenWhilePressed()
    {
        settings::frmYesNo dialog;
        auto* panel = dialog.yesButton();
        QCOMPARE(Background(panel), shell::kPanelGrey);
        QTest::mousePress(panel->label(), Qt::LeftButton);
        QCOMPARE(Background(panel), shell::kPanelPressed);
        QTest::mouseRelease(panel->label(), Qt::LeftButton);
        QCOMPARE(Background(panel), shell::kPanelGrey);
    }

    void waitBoxIsShownWithItsTextUntilHidden()
    {
        QStringList seen;
        shell::SetWaitObserverForTests([&](const QString& text, bool shown) { seen << (shown ? text : "hidden"); });
        shell::HideWait(); // nothing open: nothing happens
        shell::ShowWait(QStringLiteral("Aguarde"));
        QVERIFY(shell::waitForm());
        QVERIFY(shell::waitForm()->isVisible());
        QCOMPARE(shell::waitForm()->message()->text(), QStringLiteral("Aguarde"));
        shell::HideWait();
        QVERIFY(!shell::waitForm());
        shell::SetWaitObserverForTests(nullptr);
        QCOMPARE(seen, (QStringList{"Aguarde", "hidden"}));
    }
};

QTEST_MAIN(DialogsTest)
#include "DialogsTest.moc"
