#pragma once

#include <QList>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <array>
#include <functional>

class QTableView;

namespace quenyx::shell {

class ListControl;
class ListModel;

// A row of a ListControl. It keeps pointing at its row while rows are inserted around it, and turns null
// when the list is cleared or destroyed.
class ListRow final
{
public:
    ListRow() = default;

    bool IsNull() const;
    explicit operator bool() const { return !IsNull(); }

    // From 1; 0 for a null row.
    int Position() const;
    QString Key() const;
    QString Text() const;
    // Sub-items are numbered 1 to 3, as the list's further columns; other numbers read empty and are not set.
    QString SubItem(int i) const;
    bool SetSubItem(int i, const QString& text) const;

private:
    friend class ListControl;
    ListRow(ListControl* list, const QModelIndex& index);

    QPointer<ListControl> list_;
    QPersistentModelIndex index_;
};

// The main window's report list: rows of a key, a text and three sub-items under captioned columns, grid
// lines, one whole row selected at a time, nothing editable or sortable. Positions count from 1.
class ListControl final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ListControl)

public:
    static constexpr int kSubItems = 3;

    using SubItems = std::array<QString, kSubItems>;
    struct RowTexts
    {
        QString key;
        QString text;
        SubItems subItems{};
    };
    // A row's sub-items, found when first wanted; `index` is the row's place in the rows handed over with it.
    using SubItemSource = std::function<SubItems(int index)>;

    explicit ListControl(QWidget* parent = nullptr);
    ~ListControl() override;

    void Clear();
    // The rows from `position` on move down by one. A position outside 1..Count() + 1 appends, so a fill
    // never loses a row to a counter that ran ahead.
    ListRow InsertRow(int position, const QString& key, const QString& text);
    // Appends many rows at once, as many InsertRow calls at the end would, for the cost of one. With `source`,
    // the rows' own sub-items are ignored: each row's are asked of `source` the first time one of them is
    // wanted (painted, read or set), so a long list costs only the rows that are looked at. A later source
    // first settles the rows still waiting on the earlier one; Clear drops them.
    void AppendRows(QList<RowTexts> rows, SubItemSource source = {});
    ListRow Row(int position);
    bool SetSubItem(int position, int i, const QString& text);
    int Count() const;

    // From 1; 0 when no row is selected.
    int SelectedRow() const;
    QString SelectedText() const;
    // 0 or a position without a row clears the selection.
    void SelectRow(int position);
    // Gives the list the keyboard on the first row whose text is `text`, without selecting it: a dotted frame
    // marks it, the arrows move on from it and Space selects it. False, and nothing changed, without such a row.
    bool FocusRow(const QString& text);

    // The column's index from 0. The width is in twips; the first column added names the rows' text column.
    int AddColumn(const QString& key, const QString& caption, double widthTwips);
    int ColumnIndex(const QString& key) const;
    int ColumnCount() const;
    int ColumnWidth(int index) const;

    QTableView* view() const { return view_; }

signals:
    // The selected row changed, by the mouse, the keyboard, SelectRow or Clear. Rows inserted above the
    // selected row move it down without a signal: the same row stays selected.
    void selectionChanged();
    // A click anywhere in the rows' area, on a row or below the last one.
    void clicked();
    void rowDoubleClicked(int position);
    // Enter on the selected row.
    void rowActivated(int position);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class ListRow;

    void NoteSelection();

    ListModel* model_;
    QTableView* view_;
    QPersistentModelIndex selected_;
};

} // namespace quenyx::shell
