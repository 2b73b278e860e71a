#include "shell/qt/grid_table_model.h"

#include "shell/qt/text.h"

namespace dv::qt {

namespace {

Qt::Alignment AlignmentOf(CellAlignment alignment) {
    switch (alignment) {
        case CellAlignment::kRight:
            return Qt::AlignRight | Qt::AlignVCenter;
        case CellAlignment::kCenter:
            return Qt::AlignHCenter | Qt::AlignVCenter;
        case CellAlignment::kLeft:
            break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

}  // namespace

GridTableModel::GridTableModel(GridModel& grid, QObject* parent)
    : QAbstractTableModel(parent),
      grid_(grid),
      shown_rows_(grid.RowCount()),
      shown_columns_(grid.ColumnCount()) {
    grid_.SetListener(this);
}

GridTableModel::~GridTableModel() {
    grid_.SetListener(nullptr);
}

int GridTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : shown_rows_;
}

int GridTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : shown_columns_;
}

QVariant GridTableModel::data(const QModelIndex& index, int role) const {
    const int row = index.row();
    const int column = index.column();
    if (!index.isValid() || row >= grid_.RowCount() || column >= grid_.ColumnCount()) return {};
    switch (role) {
        case Qt::DisplayRole:
            return ToQ(ShownCell(grid_.CellText(row, column)));
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(AlignmentOf(grid_.Column(column).alignment));
        case kButtonRole:
            return grid_.Column(column).button;
        case Qt::ToolTipRole:
            // The grid's tooltip covers the whole grid.
            if (grid_.tooltip().empty()) return {};
            return ToQ(grid_.tooltip());
        default:
            return {};
    }
}

QVariant GridTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= grid_.ColumnCount()) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    const GridColumn& c = grid_.Column(section);
    switch (role) {
        case Qt::DisplayRole:
            return ToQ(c.caption);
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
        case kGroupRole:
            return ToQ(grid_.GroupCaption(section));
        case kGroupStartRole:
            for (int i = section; i >= 0; --i) {
                if (!grid_.Column(i).group.empty()) return i;
            }
            return -1;
        case kHiddenRole:
            return c.hidden;
        case Qt::ToolTipRole:
            if (grid_.tooltip().empty()) return {};
            return ToQ(grid_.tooltip());
        default:
            return {};
    }
}

Qt::ItemFlags GridTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void GridTableModel::Sync() {
    sync_queued_ = false;
    const int rows = grid_.RowCount();
    if (rows > shown_rows_) {
        beginInsertRows({}, shown_rows_, rows - 1);
        shown_rows_ = rows;
        endInsertRows();
    } else if (rows < shown_rows_) {
        OnRowsReset();
    }
}

void GridTableModel::OnColumnsChanged() {
    beginResetModel();
    shown_columns_ = grid_.ColumnCount();
    shown_rows_ = grid_.RowCount();
    endResetModel();
    emit columnsChanged();
}

void GridTableModel::OnRowsReset() {
    beginResetModel();
    shown_rows_ = grid_.RowCount();
    endResetModel();
    emit rowsReset();
}

void GridTableModel::OnRowAdded(int) {
    if (sync_queued_) return;
    sync_queued_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (sync_queued_) Sync();
        },
        Qt::QueuedConnection);
}

void GridTableModel::OnCellChanged(int row, int column) {
    if (row < shown_rows_ && column < shown_columns_) {
        const QModelIndex i = index(row, column);
        emit dataChanged(i, i, {Qt::DisplayRole});
    }
}

void GridTableModel::OnCurrentRowChanged(int row) {
    emit currentRowChanged(row);
}

void GridTableModel::OnVisibilityChanged(bool visible) {
    emit visibilityChanged(visible);
}

}  // namespace dv::qt
