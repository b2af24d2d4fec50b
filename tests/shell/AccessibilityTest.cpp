// What a screen reader is told of the console's windows: every control that acts has a role, a name and, where
// it is pressed, the press action, through Qt's accessibility interface (what UI Automation and AT-SPI read).
#include "FakeDevices.h"
#include "TestMachine.h"

#include "platform/Platform.h"
#include "platform/mod_Trace.h"
#include "settings/frmAlter.h"
#include "settings/frmInsert.h"
#include "settings/frmYesNo.h"
#include "shell/frmMain.h"
#include "widgets/PanelButton.h"
#include "widgets/TitleStrip.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

using namespace quenyx;

namespace {

// The controls a person acts on, whatever they are drawn with.
bool Acts(const QObject* object)
{
    return qobject_cast<const shell::ClickableLabel*>(object) || qobject_cast<const shell::PanelButton*>(object) ||
           qobject_cast<const QAbstractButton*>(object) || qobject_cast<const QLineEdit*>(object) ||
           qobject_cast<const QComboBox*>(object) || qobject_cast<const QAbstractItemView*>(object);
}

bool Pressed(const QObject* object)
{
    return qobject_cast<const shell::ClickableLabel*>(object) || qobject_cast<const shell::PanelButton*>(object) ||
           qobject_cast<const QAbstractButton*>(object);
}

constexpr QAccessible::Role kActingRoles[] = {QAccessible::Button,   QAccessible::CheckBox, QAccessible::RadioButton,
                                               QAccessible::EditableText, QAccessible::ComboBox, QAccessible::Table,
                                               QAccessible::List,     QAccessible::ListItem, QAccessible::PageTab};

// Every shown control that acts and lacks something, as "objectName: what is missing".
void Walk(QAccessibleInterface* node, QStringList& problems, int& acting)
{
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface* child = node->child(i);
        if (!child || !child->isValid() || child->state().invisible)
            continue;
        QObject* object = child->object();
        const auto* widget = qobject_cast<const QWidget*>(object);
        if (widget && widget->isVisible() && Acts(object)) {
            ++acting;
            QStringList missing;
            if (std::find(std::begin(kActingRoles), std::end(kActingRoles), child->role()) == std::end(kActingRoles))
                missing << QStringLiteral("role (%1)").arg(child->role());
            if (child->text(QAccessible::Name).trimmed().isEmpty())
                missing << QStringLiteral("name");
            if (Pressed(object) && !child->state().disabled &&
                (!child->actionInterface() ||
                 !child->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction())))
                missing << QStringLiteral("press action");
            if (!missing.isEmpty())
                problems << QStringLiteral("%1 (%2): no %3")
                                .arg(object->objectName(), QString::fromLatin1(object->metaObject()->className()),
                                     missing.join(QStringLiteral(", ")));
        }
        Walk(child, problems, acting);
    }
}

} // namespace

class AccessibilityTest final : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::TestMachine> machine_;
    std::unique_ptr<QTemporaryDir> lockDir_;

    static void CheckWindow(QWidget& window)
    {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QStringList problems;
        int acting = 0;
        Walk(QAccessible::queryAccessibleInterface(&window), problems, acting);
        qInfo("%s: %d acting controls, %lld lacking", qPrintable(window.objectName()), acting,
              static_cast<long long>(problems.size()));
        QVERIFY2(acting > 0, "no acting control found");
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
    }

private slots:
    void init()
    {
        machine_ = test::TestMachine::Create();
        machine_->Admin().CreateKey(mod_Trace::AgentKey);
        auto& current = platform::Current();
        current.spooler = std::make_shared<test::FakeSpooler>();
        current.printerStatus = std::make_shared<test::FakePrinterStatus>();
        current.textCatalog = nullptr; // the built-in English texts
        lockDir_ = std::make_unique<QTemporaryDir>();
    }
    void cleanup() { machine_.reset(); }

    void mainWindow()
    {
        shell::frmMain window(QString(), lockDir_->filePath("lock"));
        QVERIFY(window.Load());
        CheckWindow(window);
    }
    void dialogs()
    {
        settings::frmAlter alter;
        CheckWindow(alter);
        settings::frmInsert insert;
        CheckWindow(insert);

        // A screen reader's press is a click: the close picture closes the dialog.
        QAccessibleInterface* close = QAccessible::queryAccessibleInterface(alter.findChild<QWidget*>("btnClose"));
        QVERIFY(close && close->actionInterface());
        close->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QTRY_VERIFY(!alter.isVisible());
    }

    // Without a mouse: Tab goes through the boxes in reading order and then the panel buttons, and round again;
    // Space on the focused Cancel closes the dialog.
    void dialogsByKeyboard()
    {
        settings::frmAlter alter;
        alter.show();
        alter.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&alter));
        auto* first = alter.findChild<QWidget*>("txtNomeValor");
        first->setFocus();
        QStringList visited{first->objectName()};
        for (int i = 0; i < 4; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited, (QStringList{"txtNomeValor", "txtDadosValor", "OKButton", "CancelButton", "txtNomeValor"}));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("CancelButton"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QTRY_VERIFY(!alter.isVisible());
    }
};

QTEST_MAIN(AccessibilityTest)
#include "AccessibilityTest.moc"
