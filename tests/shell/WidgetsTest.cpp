#include "shell/ListControl.h"
#include "shell/Look.h"
#include "shell/MenuBar.h"

#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

using namespace quenyx;
using shell::MenuStyle;

namespace {

QStringList Keys(shell::ListControl& list)
{
    QStringList keys;
    for (int i = 1; i <= list.Count(); ++i)
        keys << list.Row(i).Key();
    return keys;
}

// Widgets see a double click as one event; a real one comes after the press and release of a click.
void DoubleClick(QWidget* widget, QPoint at)
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, at);
    QTest::mouseDClick(widget, Qt::LeftButton, {}, at);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
}

QPoint RowCentre(shell::ListControl& list, int position)
{
    return list.view()->visualRect(list.view()->model()->index(position - 1, 0)).center();
}

// The shape of the main window's menu: bar entries with and without children, a separator, disabled entries.
void BuildMenu(shell::MenuBar& bar)
{
    const QPixmap icon = shell::Image(QStringLiteral("logo"), 16, 16);
    const auto add = [&](const char* parent, const char* key, const char* caption, bool enabled = true) {
        const auto style = caption ? MenuStyle::Normal : MenuStyle::Separator;
        QVERIFY(bar.AddEntry(QString::fromLatin1(parent), QString::fromLatin1(key), style, QString::fromLatin1(caption),
                             *parent ? icon : QPixmap(), enabled));
    };
    add("", "mnApplication", "Application");
    add("mnApplication", "opExit", "Quit");
    add("", "mnAction", "Action");
    add("mnAction", "opRefresh", "Refresh", false);
    add("mnAction", "opBar", nullptr);
    add("mnAction", "opProperties", "Properties...", false);
    add("", "mnTools", "Tools");
    add("mnTools", "opSecurePrint", "Secure print...");
    add("mnTools", "opTrace", "Trace...");
    add("", "mnAbout", "About...");
}

} // namespace

class WidgetsTest final : public QObject
{
    Q_OBJECT

private slots:
    void insertRowMovesTheFollowingRowsDown_data()
    {
        QTest::addColumn<QList<int>>("positions");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("counting up appends")
            << QList<int>{1, 2, 3} << QStringList{"A", "B", "C"} << QStringList{"A", "B", "C"};
        // Settings missing from the catalog are inserted from position 1 again, above the catalogued ones.
        QTest::newRow("second group from 1 goes above")
            << QList<int>{1, 2, 1, 2} << QStringList{"A", "B", "X", "Y"} << QStringList{"X", "Y", "A", "B"};
        QTest::newRow("into the middle") << QList<int>{1, 2, 2} << QStringList{"A", "B", "M"}
                                         << QStringList{"A", "M", "B"};
        QTest::newRow("past the end appends") << QList<int>{1, 7} << QStringList{"A", "B"} << QStringList{"A", "B"};
        QTest::newRow("zero appends") << QList<int>{1, 0} << QStringList{"A", "B"} << QStringList{"A", "B"};
        QTest::newRow("negative appends") << QList<int>{-3, 1} << QStringList{"A", "B"} << QStringList{"B", "A"};
    }

    void insertRowMovesTheFollowingRowsDown()
    {
        QFETCH(QList<int>, positions);
        QFETCH(QStringList, keys);
        QFETCH(QStringList, expected);
        shell::ListControl list; // no column yet: rows must still be addressable
        for (qsizetype i = 0; i < positions.size(); ++i) {
            const shell::ListRow row = list.InsertRow(positions[i], keys[i], keys[i].toLower());
            QVERIFY(row);
            QCOMPARE(row.Key(), keys[i]);
        }
        QCOMPARE(Keys(list), expected);
        for (int i = 1; i <= list.Count(); ++i) {
            QCOMPARE(list.Row(i).Position(), i);
            QCOMPARE(list.Row(i).Text(), expected[i - 1].toLower());
        }
        QVERIFY(!list.Row(0));
        QVERIFY(!list.Row(list.Count() + 1));
    }

    void subItems_data()
    {
        QTest::addColumn<int>("i");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("1") << 1 << true;
        QTest::newRow("2") << 2 << true;
        QTest::newRow("3") << 3 << true;
        QTest::newRow("0 is the text") << 0 << false;
        QTest::newRow("4") << 4 << false;
    }

    void subItems()
    {
        QFETCH(int, i);
        QFETCH(bool, accepted);
        shell::ListControl list;
        for (const char* key : {"name", "data", "description", "extra"})
            list.AddColumn(QString::fromLatin1(key), {}, 1480);
        list.InsertRow(1, QStringLiteral("k1"), QStringLiteral("first"));
        const shell::ListRow row = list.InsertRow(2, QStringLiteral("k2"), QStringLiteral("second"));
        QCOMPARE(list.SetSubItem(2, i, QStringLiteral("value")), accepted);
        QCOMPARE(list.view()->model()->index(1, i).data().toString(), accepted ? "value" : i ? "" : "second");
        QCOMPARE(row.SetSubItem(i, QStringLiteral("changed")), accepted);
        QCOMPARE(row.SubItem(i), accepted ? QStringLiteral("changed") : QString());
        QCOMPARE(list.Row(1).SubItem(i), QString());
    }

    void rowFollowsInsertsAndDiesWithClear()
    {
        shell::ListControl list;
        const shell::ListRow a = list.InsertRow(1, QStringLiteral("A"), QStringLiteral("A"));
        list.InsertRow(1, QStringLiteral("X"), QStringLiteral("X"));
        QCOMPARE(a.Position(), 2);
        QVERIFY(a.SetSubItem(1, QStringLiteral("value")));
        QCOMPARE(list.Row(2).SubItem(1), QStringLiteral("value"));
        list.Clear();
        QCOMPARE(list.Count(), 0);
        QVERIFY(!a);
        QVERIFY(!a.SetSubItem(1, QStringLiteral("value")));
        QCOMPARE(a.Key(), QString());
    }

    void clearStartsTheNextFillAtTheTop()
    {
        shell::ListControl list;
        list.AddColumn(QStringLiteral("name"), {}, 3000);
        const auto fill = [&list] {
            for (int i = 1; i <= 200; ++i)
                list.InsertRow(i, QString::number(i), QString::number(i));
        };
        fill();
        list.resize(300, 200);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        list.SelectRow(200);
        QVERIFY(list.view()->verticalScrollBar()->value() > 0);
        list.Clear();
        fill();
        QCoreApplication::processEvents();
        QCOMPARE(list.view()->verticalScrollBar()->value(), 0);
    }

    void selectionChangedOnEveryChange_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("selected");
        QTest::addColumn<int>("emissions");
        QTest::newRow("SelectRow") << "SelectRow 3" << 3 << 1;
        QTest::newRow("SelectRow 0 clears") << "SelectRow 0" << 0 << 1;
        QTest::newRow("SelectRow past the end clears") << "SelectRow 9" << 0 << 1;
        QTest::newRow("key Down") << "Down" << 3 << 1;
        QTest::newRow("key Up") << "Up" << 1 << 1;
        QTest::newRow("mouse on a row") << "click 4" << 4 << 1;
        QTest::newRow("mouse on the selected row") << "click 2" << 2 << 0;
        QTest::newRow("Clear") << "Clear" << 0 << 1;
        QTest::newRow("insert above keeps the row") << "insert 1" << 3 << 0;
    }

    void selectionChangedOnEveryChange()
    {
        QFETCH(QString, action);
        QFETCH(int, selected);
        QFETCH(int, emissions);
        shell::ListControl list;
        list.AddColumn(QStringLiteral("name"), QStringLiteral("Name"), 3000);
        for (int i = 1; i <= 4; ++i)
            list.InsertRow(i, QStringLiteral("k%1").arg(i), QStringLiteral("row %1").arg(i));
        list.resize(300, 200);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        list.SelectRow(2);
        QCOMPARE(list.SelectedText(), QStringLiteral("row 2"));
        const QString selectedText = list.SelectedText();

        QSignalSpy changed(&list, &shell::ListControl::selectionChanged);
        const QStringList words = action.split(u' ');
        if (words[0] == u"SelectRow")
            list.SelectRow(words[1].toInt());
        else if (words[0] == u"Down")
            QTest::keyClick(list.view(), Qt::Key_Down);
        else if (words[0] == u"Up")
            QTest::keyClick(list.view(), Qt::Key_Up);
        else if (words[0] == u"click")
            QTest::mouseClick(list.view()->viewport(), Qt::LeftButton, {}, RowCentre(list, words[1].toInt()));
        else if (words[0] == u"Clear")
            list.Clear();
        else if (words[0] == u"insert")
            list.InsertRow(words[1].toInt(), QStringLiteral("new"), QStringLiteral("new"));

        QCOMPARE(list.SelectedRow(), selected);
        QCOMPARE(changed.count(), emissions);
        if (words[0] == u"insert")
            QCOMPARE(list.SelectedText(), selectedText);
        if (selected == 0)
            QCOMPARE(list.SelectedText(), QString());
    }

    void clicksAndDoubleClicks()
    {
        shell::ListControl list;
        list.AddColumn(QStringLiteral("name"), QStringLiteral("Name"), 3000);
        for (int i = 1; i <= 3; ++i)
            list.InsertRow(i, QStringLiteral("k%1").arg(i), QStringLiteral("row %1").arg(i));
        list.resize(300, 300);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QSignalSpy clicked(&list, &shell::ListControl::clicked);
        QSignalSpy doubled(&list, &shell::ListControl::rowDoubleClicked);

        DoubleClick(list.view()->viewport(), RowCentre(list, 3));
        QCOMPARE(doubled.count(), 1);
        QCOMPARE(doubled.first().first().toInt(), 3);
        QCOMPARE(list.SelectedRow(), 3);

        clicked.clear();
        const QPoint belowTheRows(10, list.view()->viewport()->height() - 5);
        QTest::mouseClick(list.view()->viewport(), Qt::LeftButton, {}, belowTheRows);
        QCOMPARE(clicked.count(), 1);
        DoubleClick(list.view()->viewport(), belowTheRows);
        QCOMPARE(doubled.count(), 1);
    }

    void columnWidthsFromTwips_data()
    {
        QTest::addColumn<double>("twips");
        QTest::addColumn<int>("pixels");
        QTest::newRow("1480") << 1480.0 << 99;
        QTest::newRow("5500") << 5500.0 << 367;
        QTest::newRow("fraction rounds") << 1597.6 << 107;
    }

    void columnWidthsFromTwips()
    {
        QFETCH(double, twips);
        QFETCH(int, pixels);
        shell::ListControl list;
        QCOMPARE(list.AddColumn(QStringLiteral("name"), QStringLiteral("Nome"), 1000), 0);
        QCOMPARE(list.AddColumn(QStringLiteral("data"), QStringLiteral("Dados"), twips), 1);
        QCOMPARE(list.ColumnIndex(QStringLiteral("data")), 1);
        QCOMPARE(list.ColumnIndex(QStringLiteral("missing")), -1);
        QCOMPARE(list.ColumnWidth(1), pixels);
        QCOMPARE(list.view()->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Dados"));
    }

    void menuEntriesInCreationOrder()
    {
        shell::MenuBar bar;
        BuildMenu(bar);
        QCOMPARE(bar.Keys(), (QStringList{"mnApplication", "opExit", "mnAction", "opRefresh", "opBar", "opProperties",
                                          "mnTools", "opSecurePrint", "opTrace", "mnAbout"}));
        QStringList onTheBar;
        for (QAction* action : bar.actions())
            onTheBar << action->text();
        QCOMPARE(onTheBar, (QStringList{"Application", "Action", "Tools", "About..."}));
        const QList<QAction*> actionMenu = bar.Action(QStringLiteral("mnAction"))->menu()->actions();
        QCOMPARE(actionMenu.size(), 3);
        QVERIFY(actionMenu[1]->isSeparator());
        QVERIFY(!bar.Action(QStringLiteral("mnAbout"))->menu());

        const auto exit = bar.Entry(QStringLiteral("opExit"));
        QVERIFY(exit);
        QCOMPARE(exit->parentKey, QStringLiteral("mnApplication"));
        QVERIFY(exit->enabled && exit->visible && exit->hasIcon);
        QCOMPARE(bar.Entry(QStringLiteral("opBar"))->style, MenuStyle::Separator);

        // Refused entries leave the menu as it was.
        QVERIFY(!bar.AddEntry({}, QStringLiteral("opExit"), MenuStyle::Normal, QStringLiteral("again"), {}, true));
        QVERIFY(!bar.AddEntry(QStringLiteral("nothing"), QStringLiteral("k"), MenuStyle::Normal, {}, {}, true));
        QVERIFY(!bar.AddEntry(QStringLiteral("opBar"), QStringLiteral("k"), MenuStyle::Normal, {}, {}, true));
        QVERIFY(!bar.AddEntry({}, {}, MenuStyle::Normal, QStringLiteral("no key"), {}, true));
        QCOMPARE(bar.Keys().size(), 10);
        QCOMPARE(bar.Entry(QStringLiteral("opExit"))->caption, QStringLiteral("Quit"));
    }

    void triggerReportsOnlyClickableEntries_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("setEnabled"); // -1 leaves the entry as built
        QTest::addColumn<bool>("emitted");
        QTest::newRow("enabled entry") << "opExit" << -1 << true;
        QTest::newRow("disabled entry") << "opRefresh" << -1 << false;
        QTest::newRow("enabled by key") << "opRefresh" << 1 << true;
        QTest::newRow("disabled by key") << "opExit" << 0 << false;
        QTest::newRow("separator") << "opBar" << -1 << false;
        QTest::newRow("unknown key") << "nothing" << -1 << false;
        QTest::newRow("top level without children") << "mnAbout" << -1 << true;
        QTest::newRow("top level with children") << "mnAction" << -1 << true;
        QTest::newRow("hidden entry") << "opHidden" << -1 << false;
    }

    void triggerReportsOnlyClickableEntries()
    {
        QFETCH(QString, key);
        QFETCH(int, setEnabled);
        QFETCH(bool, emitted);
        shell::MenuBar bar;
        BuildMenu(bar);
        QVERIFY(bar.AddEntry(QStringLiteral("mnTools"), QStringLiteral("opHidden"), MenuStyle::Normal,
                             QStringLiteral("hidden"), {}, true, false));
        if (setEnabled >= 0)
            QVERIFY(bar.SetEnabled(key, setEnabled == 1));
        QCOMPARE(bar.IsEnabled(key), bar.Entry(key) && bar.Entry(key)->enabled);
        QSignalSpy clicked(&bar, &shell::MenuBar::entryClicked);
        QCOMPARE(bar.Trigger(key), emitted);
        QCOMPARE(clicked.count(), emitted ? 1 : 0);
        if (emitted)
            QCOMPARE(clicked.first().first().toString(), key);
    }

    void mouseOnTheBar()
    {
        shell::MenuBar bar;
        BuildMenu(bar);
        bar.resize(400, bar.sizeHint().height());
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        QSignalSpy clicked(&bar, &shell::MenuBar::entryClicked);

        // About has no menu to open: the click itself is the command.
        QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.actionGeometry(bar.Action(QStringLiteral("mnAbout"))).center());
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(clicked.takeFirst().first().toString(), QStringLiteral("mnAbout"));

        QAction* application = bar.Action(QStringLiteral("mnApplication"));
        QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.actionGeometry(application).center());
        QMenu* menu = application->menu();
        QTRY_VERIFY(menu->isVisible());
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(clicked.takeFirst().first().toString(), QStringLiteral("mnApplication"));
        QTest::mouseClick(menu, Qt::LeftButton, {},
                          menu->actionGeometry(bar.Action(QStringLiteral("opExit"))).center());
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(clicked.first().first().toString(), QStringLiteral("opExit"));
        QTRY_VERIFY(!menu->isVisible());
    }

    void menuLook()
    {
        shell::MenuBar bar;
        BuildMenu(bar);
        const QList<QMenu*> menus = bar.findChildren<QMenu*>();
        QCOMPARE(menus.size(), 3);
        for (const QMenu* menu : menus)
            QVERIFY(menu->windowFlags().testFlag(Qt::NoDropShadowWindowHint));

        bar.resize(400, bar.sizeHint().height());
        const QImage barImage = bar.grab().toImage();
        QCOMPARE(barImage.pixelColor(barImage.width() - 2, barImage.height() / 2), shell::kBandGrey);

        // The colours reach the popups, whose parent is the bar.
        QMenu* menu = bar.Action(QStringLiteral("mnTools"))->menu();
        QAction* trace = bar.Action(QStringLiteral("opTrace"));
        menu->ensurePolished();
        menu->adjustSize();
        menu->setActiveAction(trace);
        const QImage menuImage = menu->grab().toImage();
        const QRect highlighted = menu->actionGeometry(trace);
        const QRect other = menu->actionGeometry(bar.Action(QStringLiteral("opSecurePrint")));
        QCOMPARE(menuImage.pixelColor(highlighted.right() - 2, highlighted.center().y()), shell::kSelectedOrange);
        QCOMPARE(menuImage.pixelColor(other.right() - 2, other.center().y()), shell::kBandGrey);
    }
};

QTEST_MAIN(WidgetsTest)
#include "WidgetsTest.moc"
