// What a screen reader is told of the console's windows: every control that acts has a role, a name and, where
// it is pressed, the press action, through Qt's accessibility interface (what UI Automation and AT-SPI read).
#include "FakeDevices.h"
#include "TestMachine.h"

#include "options/frmAbout.h"
#include "options/frmOptions.h"
#include "platform/Platform.h"
#include "platform/mod_RegWin.h"
#include "platform/mod_Trace.h"
#include "printers/Printer.h"
#include "printers/frmPrinterProperties.h"
#include "session/mod_Main.h"
#include "settings/frmAlter.h"
#include "settings/frmInsert.h"
#include "settings/frmYesNo.h"
#include "shell/frmMain.h"
#include "shell/frmWait.h"
#include "widgets/ListControl.h"
#include "widgets/Look.h"
#include "widgets/MessageBox.h"
#include "widgets/PanelButton.h"
#include "widgets/TitleStrip.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <string_view>
#include <vector>

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
    const auto* button = qobject_cast<const QAbstractButton*>(object);
    return qobject_cast<const shell::ClickableLabel*>(object) || qobject_cast<const shell::PanelButton*>(object) ||
           (button && !button->isCheckable());
}

// A check box or option button is toggled.
bool Toggled(const QObject* object)
{
    const auto* button = qobject_cast<const QAbstractButton*>(object);
    return button && button->isCheckable();
}

constexpr QAccessible::Role kActingRoles[] = {
    QAccessible::Button,       QAccessible::CheckBox, QAccessible::RadioButton,
    QAccessible::EditableText, QAccessible::ComboBox, QAccessible::Table,
    QAccessible::List,         QAccessible::ListItem, QAccessible::PageTab};

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
            if (Toggled(object) && !child->state().disabled &&
                (!child->actionInterface() ||
                 !child->actionInterface()->actionNames().contains(QAccessibleActionInterface::toggleAction())))
                missing << QStringLiteral("toggle action");
            if (!missing.isEmpty())
                problems << QStringLiteral("%1 (%2): no %3")
                                .arg(object->objectName(), QString::fromLatin1(object->metaObject()->className()),
                                     missing.join(QStringLiteral(", ")));
        }
        Walk(child, problems, acting);
    }
}

// Every shown text of `window` that is not one of the design's own colour pairs, read against the background it
// is drawn on, as "objectName: ratio" where it falls below what normal text needs.
QStringList Unreadable(QWidget& window)
{
    const auto background = [](const QWidget* widget) {
        for (; widget; widget = widget->parentWidget()) {
            if (widget->autoFillBackground() || widget->isWindow())
                return widget->palette().color(QPalette::Window);
        }
        return QColor(Qt::white);
    };
    const auto designed = [](const QColor& text, const QColor& back) {
        return text == shell::kLabelGrey || text == shell::kSelectedOrange ||
               (text == QColor(Qt::white) && (back == shell::kTitleBlue || back == shell::kSelectedOrange));
    };
    QStringList unreadable;
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        const auto* label = qobject_cast<QLabel*>(widget);
        const auto* button = qobject_cast<QAbstractButton*>(widget);
        if (!widget->isVisible() || !((label && !label->text().isEmpty()) || (button && !button->text().isEmpty())))
            continue;
        const QColor text = widget->palette().color(QPalette::Active, widget->foregroundRole());
        // A push button draws its own face.
        const QColor back =
            qobject_cast<QPushButton*>(widget)
                ? widget->palette().color(QPalette::Button)
                : background(widget->parentWidget() && !widget->autoFillBackground() ? widget->parentWidget() : widget);
        const double ratio = shell::ContrastRatio(text, back);
        if (!designed(text, back) && ratio < shell::kReadableContrast)
            unreadable << QStringLiteral("%1: %2 on %3, %4")
                              .arg(widget->objectName(), text.name(), back.name())
                              .arg(ratio, 0, 'f', 1);
    }
    return unreadable;
}

} // namespace

class AccessibilityTest final : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::TestMachine> machine_;
    std::unique_ptr<QTemporaryDir> lockDir_;
    std::shared_ptr<test::FakeSpooler> spooler_;

    static constexpr char kPrinterKey[] = "SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Finance";

    // A dialog shares its owner's activation in the widget's own sense, so QTest's wait would not wait for it.
    static bool Activate(QWidget& window)
    {
        window.activateWindow();
        return QTest::qWaitFor([&] { return QApplication::activeWindow() == &window; });
    }
    // The main window on the settings view and every dialog, each shown and handed to `check`.
    void EachWindow(const std::function<void(QWidget&)>& check)
    {
        const auto shown = [&](QWidget& window) {
            window.show();
            check(window);
        };
        {
            shell::frmMain window(QString(), lockDir_->filePath("lock"));
            QVERIFY(window.Load());
            window.SelectConfigsView(true);
            shown(window);
        }
        settings::frmAlter alter;
        shown(alter);
        settings::frmInsert insert;
        shown(insert);
        settings::frmYesNo question;
        question.description()->setText(QStringLiteral("Restart the agent?"));
        shown(question);
        options::frmOptions::SetShowHandlerForTests(check);
        options::frmOptions().ShowModal();
        options::frmAbout::SetShowHandlerForTests(check);
        options::frmAbout().ShowModal();
        QCOMPARE(machine_->Admin().CreateKey(kPrinterKey), 0);
        printers::frmPrinterProperties::SetShowHandlerForTests(check);
        printers::frmPrinterProperties properties;
        properties.queueName = QStringLiteral("Finance");
        properties.ShowModal();
    }

    static QWidget* Focused() { return QApplication::focusWidget(); }
    static QString FocusedName() { return Focused() ? Focused()->objectName() : QStringLiteral("(none)"); }
    static void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(Focused(), key, modifiers);
    }

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
        spooler_ = std::make_shared<test::FakeSpooler>();
        current.spooler = spooler_;
        current.printerStatus = std::make_shared<test::FakePrinterStatus>();
        current.textCatalog = nullptr; // the built-in English texts
        lockDir_ = std::make_unique<QTemporaryDir>();
        shell::SetMessageHandlerForTests([](const QString& text) { QFAIL(qPrintable("unexpected message: " + text)); });
    }
    void cleanup()
    {
        printers::frmPrinterProperties::SetShowHandlerForTests(nullptr);
        options::frmOptions::SetShowHandlerForTests(nullptr);
        options::frmAbout::SetShowHandlerForTests(nullptr);
        settings::frmYesNo::SetAnswerHandlerForTests(nullptr);
        shell::SetMessageHandlerForTests(nullptr);
        printers::printers().Clear();
        machine_.reset();
    }

    void everyWindow()
    {
        EachWindow(CheckWindow);

        // The wait box is a busy status that says what is waited for.
        shell::ShowWait(QStringLiteral("Loading the printers"));
        QAccessibleInterface* wait = QAccessible::queryAccessibleInterface(shell::waitForm());
        QVERIFY(wait);
        QCOMPARE(wait->text(QAccessible::Name), QStringLiteral("Loading the printers"));
        QVERIFY(wait->state().busy);
        shell::HideWait();

        // A screen reader's press is a click: the close picture closes the dialog.
        settings::frmAlter alter;
        alter.show();
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

    // The main window without a mouse: the navigation panel has the keyboard at start; its arrows select a
    // view; Tab goes on to the list, and on to the toolbar, whose arrows pass over the commands that cannot
    // act; Shift+Tab comes back. Then the road of one change by keys alone: a printer's accounting switched on
    // in its properties, Apply by Enter, the keyboard back on the printer's row, and the restart question
    // answered on the way out.
    void mainWindowByKeyboard()
    {
        QCOMPARE(machine_->Admin().CreateKey(kPrinterKey), 0);
        for (const auto& [key, name, text] : {std::tuple{std::string(kPrinterKey), "TessalineID", "7"},
                                              {mod_Trace::AgentKey, "DisableAccounts", "1"},
                                              {mod_Trace::AgentKey, "SecurePrintEnabled", "1"}})
            QCOMPARE(mod_RegWin::SaveSettingString(mod_RegWin::HKLM, key, name, text), 0);
        spooler_->openable.insert("Finance");
        mod_Main::setConfigsAltered(false);
        shell::frmMain window(QString(), lockDir_->filePath("lock"));
        QVERIFY(window.Load());
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QCOMPARE(FocusedName(), QStringLiteral("pbConfigs"));

        Key(Qt::Key_Down);
        QCOMPARE(FocusedName(), QStringLiteral("pbPrinters"));
        QCOMPARE(window.currentView, qint16(2));
        Key(Qt::Key_Tab);
        QCOMPARE(Focused(), window.printersList()->view());
        Key(Qt::Key_Tab);
        QCOMPARE(FocusedName(), QStringLiteral("btnToolRefresh"));
        Key(Qt::Key_Right); // Add, Exclude, Edit and Properties cannot act without a selected printer
        QCOMPARE(FocusedName(), QStringLiteral("btnToolCancel"));
        Key(Qt::Key_Home);
        QCOMPARE(FocusedName(), QStringLiteral("btnToolRefresh"));
        Key(Qt::Key_Tab);
        QCOMPARE(FocusedName(), QStringLiteral("pbPrinters")); // Tab enters the panel at the selected view
        Key(Qt::Key_Tab);
        QCOMPARE(Focused(), window.printersList()->view());

        Key(Qt::Key_Space);
        QCOMPARE(window.printersList()->SelectedRow(), 1);
        bool shown = false;
        printers::frmPrinterProperties::SetShowHandlerForTests([&](printers::frmPrinterProperties& dialog) {
            shown = true;
            QVERIFY(Activate(dialog));
            auto* billing = dialog.findChild<QCheckBox*>("chkBilling");
            QVERIFY(billing && billing->isChecked());
            for (int i = 0; i < 10 && Focused() != billing; ++i)
                Key(Qt::Key_Tab);
            QCOMPARE(Focused(), billing);
            Key(Qt::Key_Space);
            Key(Qt::Key_Return);
            QVERIFY(!dialog.isVisible());
        });
        Key(Qt::Key_Return);
        QVERIFY(shown);
        QCOMPARE(mod_RegWin::GetSettingString(mod_RegWin::HKLM, kPrinterKey, "NCActivate", ""), std::string("1"));
        QTRY_COMPARE(Focused(), window.printersList()->view());
        QCOMPARE(window.printersList()->view()->currentIndex().row(), 0);

        Key(Qt::Key_Tab);
        Key(Qt::Key_End);
        QCOMPARE(FocusedName(), QStringLiteral("btnToolCancel"));
        bool asked = false;
        settings::frmYesNo::SetAnswerHandlerForTests([&](settings::frmYesNo& question) {
            asked = true;
            question.show();
            [&] { QVERIFY(Activate(question)); }();
            Key(Qt::Key_Tab);
            Key(Qt::Key_Space); // No: the agent is not restarted here
            return question.result;
        });
        Key(Qt::Key_Space);
        QVERIFY(asked);
        QVERIFY(!window.isVisible());
    }

    // Under Windows' high-contrast themes the texts whose colour the design leaves to the system stay readable on
    // the backgrounds it fixes.
    void readableUnderHighContrast_data()
    {
        QTest::addColumn<QColor>("back");
        QTest::addColumn<QColor>("text");
        QTest::newRow("black theme") << QColor(Qt::black) << QColor(Qt::white);
        QTest::newRow("white theme") << QColor(Qt::white) << QColor(Qt::black);
        QTest::newRow("desert theme") << QColor(255, 250, 239) << QColor(61, 61, 61);
    }
    void readableUnderHighContrast()
    {
        QFETCH(QColor, back);
        QFETCH(QColor, text);
        const QPalette original = QApplication::palette();
        QPalette theme = original;
        for (const auto role : {QPalette::Window, QPalette::Base, QPalette::Button})
            theme.setColor(role, back);
        for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            theme.setColor(role, text);
        QApplication::setPalette(theme);
        QStringList unreadable;
        EachWindow([&](QWidget& window) { unreadable << Unreadable(window); });
        QApplication::setPalette(original);
        QVERIFY2(unreadable.isEmpty(), qPrintable(unreadable.join(QLatin1Char('\n'))));
    }

    // At the scale the run was given (100 %, and 150 % and 200 % as Windows' display scaling), no picture is
    // drawn from fewer pixels than the screen shows (blurred), and no one-line text is wider than its place (cut).
    void sharpAndWholeWhenScaled()
    {
        QStringList faults;
        EachWindow([&](QWidget& window) {
            for (const QLabel* label : window.findChildren<QLabel*>()) {
                if (!label->isVisible())
                    continue;
                const QString name = window.objectName() + QLatin1Char('/') + label->objectName();
                const QPixmap picture = label->pixmap();
                if (!picture.isNull() && picture.devicePixelRatio() < label->devicePixelRatioF() - 0.01)
                    faults << QStringLiteral("%1: a picture at %2x on a %3x screen")
                                  .arg(name)
                                  .arg(picture.devicePixelRatio())
                                  .arg(label->devicePixelRatioF());
                if (!label->text().isEmpty() && !label->wordWrap() && !label->text().contains(QLatin1Char('<')) &&
                    label->fontMetrics().horizontalAdvance(label->text()) > label->contentsRect().width())
                    faults << QStringLiteral("%1: \"%2\" is %3 px wide in %4")
                                  .arg(name, label->text())
                                  .arg(label->fontMetrics().horizontalAdvance(label->text()))
                                  .arg(label->contentsRect().width());
            }
        });
        qInfo("at %.2fx", qApp->devicePixelRatio());
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }
};

// "--scale F" runs every case on a screen scaled by F, as Windows' display scaling does: the scale must be set
// before the application starts, and Wine passes no QT_* variable from the host.
int main(int argc, char** argv)
{
    std::vector<char*> args(argv, argv + argc);
    if (const auto at = std::find(args.begin(), args.end(), std::string_view("--scale")); at + 1 < args.end()) {
        qputenv("QT_SCALE_FACTOR", *(at + 1));
        args.erase(at, at + 2);
    }
    int count = static_cast<int>(args.size());
    QApplication app(count, args.data());
    app.setAttribute(Qt::AA_Use96Dpi, true);
    AccessibilityTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, count, args.data());
}
#include "AccessibilityTest.moc"
