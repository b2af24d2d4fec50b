#include "widgets/ListControl.h"
#include "widgets/MenuBar.h"

#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include <tuple>

using namespace quenyx;
using shell::ListControl;

namespace {

using Heard = QList<QList<QVariant>>; // what a QSignalSpy holds

// Gives the list a column and the rows "row 1", "row 2"..., and shows it.
[[nodiscard]] bool Show(ListControl& list, int rows)
{
    list.AddColumn(QStringLiteral("name"), QStringLiteral("Name"), 3000);
    for (int i = 1; i <= rows; ++i)
        list.InsertRow(i, QStringLiteral("k%1").arg(i), QStringLiteral("row %1").arg(i));
    list.resize(300, 200);
    list.show();
    return QTest::qWaitForWindowExposed(&list);
}

QPoint RowCentre(ListControl& list, int position)
{
    return list.view()->visualRect(list.view()->model()->index(position - 1, 0)).center();
}

// The shape of the main window's menu, as parent/key/caption: bar entries with and without children, a separator
// (no caption) and a disabled entry, Refresh.
void BuildMenu(shell::MenuBar& bar)
{
    for (const char* entry :
         {"/mnApplication/Application", "mnApplication/opExit/Quit", "/mnAction/Action", "mnAction/opRefresh/Refresh",
          "mnAction/opBar/", "/mnTools/Tools", "mnTools/opTrace/Trace...", "/mnAbout/About..."}) {
        const QStringList p = QString::fromLatin1(entry).split(u'/');
        QVERIFY(bar.AddEntry(p[0], p[1], p[2].isEmpty() ? shell::MenuStyle::Separator : shell::MenuStyle::Normal, p[2],
                             p[0].isEmpty() ? QPixmap() : QPixmap(16, 16), p[1] != u"opRefresh"));
    }
}

} // namespace

class WidgetsTest final : public QObject
{
    Q_OBJECT

private slots:
    void insertRowMovesTheFollowingRowsDown()
    {
        // Positions, keys, then each row's key and text in order. Settings missing from the catalog are inserted
        // from position 1 again, above the catalogued ones; past the end and 0 append.
        const char* const cases[][3] = {
            {"123", "ABC", "AaBbCc"}, {"1212", "ABXY", "XxYyAaBb"}, {"122", "ABM", "AaMmBb"}, {"170", "ABC", "AaBbCc"}};
        for (const auto& [positions, keys, expected] : cases) {
            ListControl list; // no column yet: rows must still be addressable
            for (int i = 0; keys[i]; ++i)
                list.InsertRow(positions[i] - '0', QString(QChar(keys[i])), QString(QChar(keys[i] + 32)));
            QString found;
            for (int i = 1; i <= list.Count(); ++i)
                found += list.Row(i).Key() + list.Row(i).Text();
            QCOMPARE(found, QString::fromLatin1(expected));
        }
    }

    void subItemsColumnsAndClear()
    {
        ListControl list;
        QVERIFY(Show(list, 0));
        list.AddColumn(QStringLiteral("data"), QStringLiteral("Dados"), 1480);
        list.AddColumn(QStringLiteral("description"), {}, 5500);
        list.AddColumn(QStringLiteral("extra"), {}, 1597.6); // pixels are rounded
        QCOMPARE(QList<int>({list.ColumnWidth(1), list.ColumnWidth(2), list.ColumnWidth(3), list.ColumnIndex("extra")}),
                 QList<int>({99, 367, 107, 3}));
        QCOMPARE(list.view()->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Dados"));

        const shell::ListRow a = list.InsertRow(1, QStringLiteral("A"), QStringLiteral("first"));
        list.InsertRow(1, QStringLiteral("X"), QStringLiteral("above"));
        QCOMPARE(a.Position(), 2);
        for (int i = 0; i <= 4; ++i) { // 0 is the text; there are three sub-items
            const bool accepted = i >= 1 && i <= 3;
            QCOMPARE(i % 2 ? list.SetSubItem(2, i, QStringLiteral("value")) : a.SetSubItem(i, "value"), accepted);
            QCOMPARE(list.view()->model()->index(1, i).data().toString(), accepted ? "value" : i ? "" : "first");
            QCOMPARE(a.SubItem(i), accepted ? QStringLiteral("value") : QString());
        }
        // Clear ends the row handles, and the next fill starts at the top.
        for (int round = 0; round < 2; ++round) {
            for (int i = 1; i <= 200; ++i)
                list.InsertRow(i, QString::number(i), QString::number(i));
            QCoreApplication::processEvents();
            QCOMPARE(list.view()->verticalScrollBar()->value(), 0);
            list.SelectRow(200);
            QVERIFY(list.view()->verticalScrollBar()->value() > 0);
            list.Clear();
        }
        QVERIFY(list.Count() == 0 && !a && !a.SetSubItem(1, QStringLiteral("value")));
    }

    // Rows handed over with a source ask it for their sub-items only once they are painted or read, each row
    // once, wherever inserts have moved it; a later source first settles the rows of the earlier one.
    void appendedRowsAskForTheirSubItemsWhenLookedAt()
    {
        ListControl list;
        QVERIFY(Show(list, 0));
        list.AddColumn(QStringLiteral("state"), {}, 1000);
        QList<int> asked;
        const auto source = [&asked](const QString& tag) {
            return [&asked, tag](int index) {
                asked << index;
                return ListControl::SubItems{tag + QString::number(index), QStringLiteral("b"), {}};
            };
        };
        QList<ListControl::RowTexts> rows;
        for (int i = 0; i < 5000; ++i)
            rows.push_back(
                {QStringLiteral("k%1").arg(i), QStringLiteral("row %1").arg(i), {QStringLiteral("ignored")}});
        list.AppendRows(rows, source(QStringLiteral("s")));
        QCoreApplication::processEvents();
        list.view()->viewport()->repaint();
        QCOMPARE(list.Count(), 5000);
        QVERIFY2(!asked.isEmpty() && asked.size() < 100 && asked.first() == 0,
                 qPrintable(QString::number(asked.size())));

        asked.clear();
        list.InsertRow(1, QStringLiteral("new"), QStringLiteral("new"));
        QCOMPARE(list.Row(5001).Key() + list.Row(5001).Text(), QStringLiteral("k4999row 4999"));
        QVERIFY(asked.isEmpty());
        QCOMPARE(list.Row(4001).SubItem(1), QStringLiteral("s3999"));
        QVERIFY(list.SetSubItem(4002, 2, QStringLiteral("set")));
        QCOMPARE(list.Row(4002).SubItem(1) + list.Row(4002).SubItem(2), QStringLiteral("s4000set"));
        QCOMPARE(list.Row(4001).SubItem(2), QStringLiteral("b"));
        QCOMPARE(asked, QList<int>({3999, 4000}));

        list.AppendRows({{QStringLiteral("own"), QStringLiteral("own"), {QStringLiteral("x"), QStringLiteral("y")}}});
        QCOMPARE(list.Row(5002).SubItem(1) + list.Row(5002).SubItem(2), QStringLiteral("xy"));
        list.AppendRows({{QStringLiteral("late"), QStringLiteral("late"), {}}}, source(QStringLiteral("t")));
        QCOMPARE(list.Row(5001).SubItem(1) + list.Row(5003).SubItem(1), QStringLiteral("s4999t0"));
        list.Clear();
        QCOMPARE(list.Count(), 0);
    }

    void selectionChanged()
    {
        // Row 2 of four is selected, then the action is done: the selected row, the signals and its text follow.
        using Action = void (*)(ListControl&);
        const std::tuple<const char*, Action, const char*> cases[] = {
            {"SelectRow 3", [](ListControl& list) { list.SelectRow(3); }, "3 1 row 3"},
            {"SelectRow 0", [](ListControl& list) { list.SelectRow(0); }, "0 1 "},
            {"Down", [](ListControl& list) { QTest::keyClick(list.view(), Qt::Key_Down); }, "3 1 row 3"},
            {"Up", [](ListControl& list) { QTest::keyClick(list.view(), Qt::Key_Up); }, "1 1 row 1"},
            {"Home", [](ListControl& list) { QTest::keyClick(list.view(), Qt::Key_Home); }, "1 1 row 1"},
            {"End", [](ListControl& list) { QTest::keyClick(list.view(), Qt::Key_End); }, "4 1 row 4"},
            {"Clear", [](ListControl& list) { list.Clear(); }, "0 1 "},
            {"insert 1", [](ListControl& list) { list.InsertRow(1, "new", "new"); }, "3 0 row 2"}};
        for (const auto& [name, action, outcome] : cases) {
            ListControl list;
            QVERIFY(Show(list, 4));
            list.SelectRow(2);
            QSignalSpy changed(&list, &ListControl::selectionChanged);
            action(list);
            QCOMPARE(QStringLiteral("%1: %2 %3 ").arg(name).arg(list.SelectedRow()).arg(changed.count()) +
                         list.SelectedText(),
                     QStringLiteral("%1: %2").arg(name, outcome));
        }
    }

    void doubleClickReportsTheRow()
    {
        ListControl list;
        QVERIFY(Show(list, 3));
        QSignalSpy doubled(&list, &ListControl::rowDoubleClicked);
        // A real double click comes after the press and release of a click; below the rows it reports nothing.
        for (const QPoint at : {RowCentre(list, 3), QPoint(10, list.view()->viewport()->height() - 5)}) {
            QTest::mouseClick(list.view()->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(list.view()->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseRelease(list.view()->viewport(), Qt::LeftButton, {}, at);
            QCOMPARE(Heard(doubled), Heard{{3}});
        }
    }

    void menuEntriesInCreationOrder()
    {
        shell::MenuBar bar;
        BuildMenu(bar);
        QCOMPARE(bar.Keys(), (QStringList{"mnApplication", "opExit", "mnAction", "opRefresh", "opBar", "mnTools",
                                          "opTrace", "mnAbout"}));
        QStringList onTheBar;
        for (QAction* action : bar.actions())
            onTheBar << action->text();
        QCOMPARE(onTheBar, (QStringList{"Application", "Action", "Tools", "About..."}));
        QVERIFY(bar.Action(QStringLiteral("mnAction"))->menu()->actions()[1]->isSeparator());
        QCOMPARE(bar.Entry(QStringLiteral("opExit"))->parentKey, QStringLiteral("mnApplication"));
        for (const QMenu* menu : bar.findChildren<QMenu*>()) // the popups cast no shadow
            QVERIFY(menu->windowFlags().testFlag(Qt::NoDropShadowWindowHint));
    }

    // Escape on an open menu closes it and leaves the bar as it was before: no entry highlighted, and the arrow
    // keys no longer move along the bar.
    void escapeClosesTheMenuAndClearsTheHighlight()
    {
        QWidget window;
        shell::MenuBar bar(&window);
        BuildMenu(bar);
        bar.resize(400, 25);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QAction* action = bar.Action(QStringLiteral("mnAction"));
        QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.actionGeometry(action).center());
        QVERIFY(QTest::qWaitFor([&] { return action->menu()->isVisible(); }));
        QCOMPARE(bar.activeAction(), action);

        QTest::keyClick(action->menu(), Qt::Key_Escape);
        QVERIFY(!action->menu()->isVisible());
        QVERIFY(QTest::qWaitFor([&] { return bar.activeAction() == nullptr; }));
        QTest::keyClick(&bar, Qt::Key_Right);
        QCOMPARE(bar.activeAction(), nullptr);
    }

    void triggerReportsOnlyClickableEntries()
    {
        // The key, whether SetEnabled first disables (0) or enables (1) it, then the key Trigger reports, if any.
        // About is a bar entry without children.
        const std::tuple<const char*, int, const char*> cases[] = {
            {"opExit", -1, "opExit"}, {"opRefresh", -1, ""}, {"opRefresh", 1, "opRefresh"}, {"opExit", 0, ""},
            {"opBar", -1, ""},        {"nothing", -1, ""},   {"mnAbout", -1, "mnAbout"}};
        for (const auto& [key, enable, emitted] : cases) {
            shell::MenuBar bar;
            BuildMenu(bar);
            if (enable >= 0)
                QVERIFY(bar.SetEnabled(key, enable));
            QSignalSpy clicked(&bar, &shell::MenuBar::entryClicked);
            QCOMPARE(bar.Trigger(key), *emitted != 0);
            QCOMPARE(Heard(clicked), *emitted ? Heard{{QString::fromLatin1(emitted)}} : Heard{});
        }
    }
};

QTEST_MAIN(WidgetsTest)
#include "WidgetsTest.moc"
