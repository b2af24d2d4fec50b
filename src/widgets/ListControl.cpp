#include "widgets/ListControl.h"

#include "widgets/Look.h"

#include <QAbstractTableModel>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QList>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace quenyx::shell {
namespace {

struct ListRowData
{
    QString key;
    std::array<QString, 1 + ListControl::kSubItems> texts; // the row's text, then its sub-items
    int pending = -1; // the row's index for the model's sub-item source while its sub-items are not yet known
};

} // namespace
} // namespace quenyx::shell

// Relocatable rows let the list move them as memory, and it keeps room at the front for inserts at position 1.
Q_DECLARE_TYPEINFO(quenyx::shell::ListRowData, Q_RELOCATABLE_TYPE);

namespace quenyx::shell {

class ListModel final : public QAbstractTableModel
{
public:
    static constexpr int kKeyRole = Qt::UserRole;

    struct Column
    {
        QString key;
        QString caption;
    };
    using Row = ListRowData;

    using QAbstractTableModel::QAbstractTableModel;

    // The text column is there before any column is added, so rows inserted first still have an index.
    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(rows_.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : std::max(1, static_cast<int>(columns_.size()));
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!checkIndex(index, CheckIndexOption::IndexIsValid))
            return {};
        const Row& row = index.column() > 0 ? Settled(index.row()) : rows_[index.row()];
        if (role == kKeyRole)
            return row.key;
        if (role == Qt::DisplayRole && index.column() < static_cast<int>(row.texts.size()))
            return row.texts[static_cast<std::size_t>(index.column())];
        return {};
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || section < 0 || section >= static_cast<int>(columns_.size()))
            return {};
        if (role == Qt::DisplayRole)
            return columns_[static_cast<std::size_t>(section)].caption;
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
        return {};
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
    }

    void Clear()
    {
        beginResetModel();
        rows_.clear();
        source_ = nullptr;
        endResetModel();
    }

    void Append(QList<ListControl::RowTexts> rows, ListControl::SubItemSource source)
    {
        if (rows.isEmpty())
            return;
        if (source && source_) {
            for (int row = 0; row < rowCount(); ++row)
                Settled(row);
        }
        const int first = rowCount();
        beginInsertRows({}, first, first + static_cast<int>(rows.size()) - 1);
        rows_.reserve(first + rows.size());
        for (int i = 0; i < rows.size(); ++i) {
            auto& from = rows[i];
            Row row{std::move(from.key), {std::move(from.text)}};
            if (source)
                row.pending = i;
            else
                std::move(from.subItems.begin(), from.subItems.end(), row.texts.begin() + 1);
            rows_.push_back(std::move(row));
        }
        if (source)
            source_ = std::move(source);
        endInsertRows();
    }

    int Insert(int row, const QString& key, const QString& text)
    {
        if (row < 0 || row > rowCount())
            row = rowCount();
        beginInsertRows({}, row, row);
        rows_.insert(row, Row{key, {text}});
        endInsertRows();
        return row;
    }

    QString Text(int row, int i) const
    {
        if (row < 0 || row >= rowCount() || i < 0 || i > ListControl::kSubItems)
            return {};
        return (i > 0 ? Settled(row) : rows_[row]).texts[static_cast<std::size_t>(i)];
    }

    bool SetSubItem(int row, int i, const QString& text)
    {
        if (row < 0 || row >= rowCount() || i < 1 || i > ListControl::kSubItems)
            return false;
        Settled(row).texts[static_cast<std::size_t>(i)] = text;
        if (i < columnCount()) {
            const QModelIndex changed = index(row, i);
            emit dataChanged(changed, changed, {Qt::DisplayRole});
        }
        return true;
    }

    int AddColumn(const QString& key, const QString& caption)
    {
        const int column = static_cast<int>(columns_.size());
        if (column == 0) {
            columns_.push_back({key, caption});
            emit headerDataChanged(Qt::Horizontal, 0, 0);
            return 0;
        }
        beginInsertColumns({}, column, column);
        columns_.push_back({key, caption});
        endInsertColumns();
        return column;
    }

    int ColumnIndex(const QString& key) const
    {
        for (std::size_t i = 0; i < columns_.size(); ++i)
            if (columns_[i].key == key)
                return static_cast<int>(i);
        return -1;
    }

    int ColumnCount() const { return static_cast<int>(columns_.size()); }

private:
    // The row with its sub-items known: asked of the source the first time they are wanted.
    Row& Settled(int row) const
    {
        Row& r = rows_[row];
        if (r.pending >= 0 && source_) {
            const ListControl::SubItems found = source_(r.pending);
            std::copy(found.begin(), found.end(), r.texts.begin() + 1);
        }
        r.pending = -1;
        return r;
    }

    std::vector<Column> columns_;
    // Filled in as rows are looked at, which reading does.
    mutable QList<Row> rows_;
    ListControl::SubItemSource source_;
};

namespace {

// A row is selected whole, so the focus frame of the one current cell would only mark a single column of the
// highlighted row. Only a current row that is not selected (after FocusRow) keeps its frame.
class RowDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (option->state & QStyle::State_Selected)
            option->state &= ~QStyle::State_HasFocus;
    }
};

} // namespace

ListRow::ListRow(ListControl* list, const QModelIndex& index) : list_(list), index_(index) {}

bool ListRow::IsNull() const
{
    return list_.isNull() || !index_.isValid();
}

int ListRow::Position() const
{
    return IsNull() ? 0 : index_.row() + 1;
}

QString ListRow::Key() const
{
    return IsNull() ? QString() : index_.data(ListModel::kKeyRole).toString();
}

QString ListRow::Text() const
{
    return IsNull() ? QString() : list_->model_->Text(index_.row(), 0);
}

QString ListRow::SubItem(int i) const
{
    return IsNull() || i < 1 ? QString() : list_->model_->Text(index_.row(), i);
}

bool ListRow::SetSubItem(int i, const QString& text) const
{
    return !IsNull() && list_->model_->SetSubItem(index_.row(), i, text);
}

ListControl::ListControl(QWidget* parent) : QWidget(parent), model_(new ListModel(this)), view_(new QTableView(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    setFocusProxy(view_);

    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSizeF(8.25);
    setFont(font);

    view_->setModel(model_);
    view_->setItemDelegate(new RowDelegate(view_));
    view_->setShowGrid(true);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setSortingEnabled(false);
    view_->setWordWrap(false);
    view_->setTabKeyNavigation(false);
    view_->setCornerButtonEnabled(false);
    view_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    QHeaderView* rows = view_->verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    const int rowHeight = view_->fontMetrics().height() + 4;
    rows->setMinimumSectionSize(rowHeight);
    rows->setDefaultSectionSize(rowHeight);

    QHeaderView* columns = view_->horizontalHeader();
    columns->setSectionsClickable(false);
    columns->setSectionsMovable(false);
    columns->setHighlightSections(false);
    columns->setSortIndicatorShown(false);
    columns->setStretchLastSection(false);
    columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    // The selected row keeps its colour when another control has the focus.
    QPalette palette = view_->palette();
    for (const auto role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    view_->setPalette(palette);

    connect(view_->selectionModel(), &QItemSelectionModel::selectionChanged, this, &ListControl::NoteSelection);
    connect(view_, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& index) { emit rowDoubleClicked(index.row() + 1); });
    view_->viewport()->installEventFilter(this);
    view_->installEventFilter(this);
}

ListControl::~ListControl() = default;

bool ListControl::eventFilter(QObject* watched, QEvent* event)
{
    // Home and End go to the first and last row, as in a Windows list; a table would only change column.
    if (watched == view_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Home || key->key() == Qt::Key_End) && key->modifiers() == Qt::NoModifier) {
            if (Count() > 0) {
                const QModelIndex row = model_->index(key->key() == Qt::Key_Home ? 0 : Count() - 1, 0);
                view_->selectionModel()->setCurrentIndex(row, QItemSelectionModel::ClearAndSelect |
                                                                  QItemSelectionModel::Rows);
                view_->scrollTo(row);
            }
            return true;
        }
        // Enter acts on the selected row as its double click does.
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            if (const int row = SelectedRow(); row > 0)
                emit rowActivated(row);
            return true;
        }
    }
    if (watched == view_->viewport() && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        // After the view has handled the press, so the selection is already the clicked row.
        emit clicked();
    }
    return QWidget::eventFilter(watched, event);
}

// The selection model also reports rows inserted around the selected one; only another row counts here.
void ListControl::NoteSelection()
{
    const QModelIndexList rows = view_->selectionModel()->selectedRows();
    const QPersistentModelIndex now = rows.isEmpty() ? QPersistentModelIndex() : QPersistentModelIndex(rows.first());
    if (now == selected_)
        return;
    selected_ = now;
    emit selectionChanged();
}

void ListControl::Clear()
{
    // A reset drops the selection without telling anyone.
    const bool hadSelection = selected_.isValid();
    model_->Clear();
    // The old scroll position would otherwise carry over to the next fill.
    view_->scrollToTop();
    selected_ = QPersistentModelIndex();
    if (hadSelection)
        emit selectionChanged();
}

ListRow ListControl::InsertRow(int position, const QString& key, const QString& text)
{
    const int row = model_->Insert(position - 1, key, text);
    return ListRow(this, model_->index(row, 0));
}

void ListControl::AppendRows(QList<RowTexts> rows, SubItemSource source)
{
    model_->Append(std::move(rows), std::move(source));
}

ListRow ListControl::Row(int position)
{
    if (position < 1 || position > Count())
        return {};
    return ListRow(this, model_->index(position - 1, 0));
}

bool ListControl::SetSubItem(int position, int i, const QString& text)
{
    return model_->SetSubItem(position - 1, i, text);
}

int ListControl::Count() const
{
    return model_->rowCount();
}

int ListControl::SelectedRow() const
{
    const QModelIndexList selected = view_->selectionModel()->selectedRows();
    return selected.isEmpty() ? 0 : selected.first().row() + 1;
}

QString ListControl::SelectedText() const
{
    return model_->Text(SelectedRow() - 1, 0);
}

void ListControl::SelectRow(int position)
{
    QItemSelectionModel* selection = view_->selectionModel();
    if (position < 1 || position > Count()) {
        selection->clearSelection();
        return;
    }
    const QModelIndex index = model_->index(position - 1, 0);
    selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    view_->scrollTo(index);
}

bool ListControl::FocusRow(const QString& text)
{
    for (int row = 0; row < Count(); ++row) {
        if (model_->Text(row, 0) != text)
            continue;
        const QModelIndex index = model_->index(row, 0);
        view_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
        view_->scrollTo(index);
        view_->setFocus(Qt::OtherFocusReason);
        return true;
    }
    return false;
}

int ListControl::AddColumn(const QString& key, const QString& caption, double widthTwips)
{
    const int column = model_->AddColumn(key, caption);
    view_->setColumnWidth(column, Px(static_cast<int>(std::lround(widthTwips))));
    return column;
}

int ListControl::ColumnIndex(const QString& key) const
{
    return model_->ColumnIndex(key);
}

int ListControl::ColumnCount() const
{
    return model_->ColumnCount();
}

int ListControl::ColumnWidth(int index) const
{
    return index >= 0 && index < ColumnCount() ? view_->columnWidth(index) : 0;
}

} // namespace quenyx::shell
