#include "shell/grid_model.h"

#include "engine/error.h"

namespace dv {
namespace {

const std::string kEmpty;

}  // namespace

GridModel::GridModel(std::string name) : name_(std::move(name)) {}

int GridModel::AddColumn(GridColumn column) {
    if (positions_.count(column.name) != 0) RaisePlatform(err::kDuplicateKey, "Columns.Add");
    const int position = ColumnCount();
    positions_.emplace(column.name, position);
    columns_.push_back(std::move(column));
    for (Row& r : rows_) r.text.resize(columns_.size());
    if (listener_) listener_->OnColumnsChanged();
    return position;
}

const GridColumn& GridModel::Column(int position) const {
    if (position < 0 || position >= ColumnCount()) RaisePlatform(err::kSubscript, "Columns");
    return columns_[static_cast<size_t>(position)];
}

int GridModel::ColumnPosition(std::string_view name) const {
    const auto it = positions_.find(name);
    return it == positions_.end() ? -1 : it->second;
}

const std::string& GridModel::GroupCaption(int position) const {
    for (int i = std::min(position, ColumnCount() - 1); i >= 0; --i) {
        if (!columns_[static_cast<size_t>(i)].group.empty())
            return columns_[static_cast<size_t>(i)].group;
    }
    return kEmpty;
}

bool GridModel::HasGroups() const {
    for (const GridColumn& c : columns_) {
        if (!c.group.empty()) return true;
    }
    return false;
}

int GridModel::Position(std::string_view column) const {
    const int p = ColumnPosition(column);
    if (p < 0) RaisePlatform(err::kSubscript, "Columns");
    return p;
}

GridModel::Row& GridModel::RowAt(int row) {
    if (row < 0 || row >= RowCount()) RaisePlatform(err::kSubscript, "Rows");
    return rows_[static_cast<size_t>(row)];
}

const GridModel::Row& GridModel::RowAt(int row) const {
    if (row < 0 || row >= RowCount()) RaisePlatform(err::kSubscript, "Rows");
    return rows_[static_cast<size_t>(row)];
}

int GridModel::AddRow() {
    Row r;
    r.text.resize(columns_.size());
    r.bookmark = next_bookmark_++;
    rows_.push_back(std::move(r));
    const int row = RowCount() - 1;
    if (!bookmarks_stale_) bookmark_rows_.emplace(rows_.back().bookmark, row);
    if (listener_) listener_->OnRowAdded(row);
    return row;
}

void GridModel::SetCell(int row, int column, std::string text) {
    Row& r = RowAt(row);
    if (column < 0 || column >= ColumnCount()) RaisePlatform(err::kSubscript, "Columns");
    r.text[static_cast<size_t>(column)] = std::move(text);
    if (listener_) listener_->OnCellChanged(row, column);
}

void GridModel::SetCell(int row, std::string_view column, std::string text) {
    SetCell(row, Position(column), std::move(text));
}

void GridModel::SetCell(int row, std::string_view column, std::string text, int64_t value) {
    const int p = Position(column);
    Row& r = RowAt(row);
    if (r.values.size() < columns_.size()) r.values.resize(columns_.size());
    r.values[static_cast<size_t>(p)] = value;
    SetCell(row, p, std::move(text));
}

void GridModel::SetValue(int row, std::string_view column, int64_t value) {
    const int p = Position(column);
    Row& r = RowAt(row);
    if (r.values.size() < columns_.size()) r.values.resize(columns_.size());
    r.values[static_cast<size_t>(p)] = value;
}

const std::string& GridModel::CellText(int row, int column) const {
    const Row& r = RowAt(row);
    if (column < 0 || column >= ColumnCount()) RaisePlatform(err::kSubscript, "Columns");
    return r.text[static_cast<size_t>(column)];
}

const std::string& GridModel::CellText(int row, std::string_view column) const {
    return CellText(row, Position(column));
}

std::optional<int64_t> GridModel::CellValue(int row, int column) const {
    const Row& r = RowAt(row);
    if (column < 0 || column >= ColumnCount()) RaisePlatform(err::kSubscript, "Columns");
    if (static_cast<size_t>(column) >= r.values.size()) return std::nullopt;
    return r.values[static_cast<size_t>(column)];
}

std::optional<int64_t> GridModel::CellValue(int row, std::string_view column) const {
    return CellValue(row, Position(column));
}

void GridModel::SetPayload(int row, std::string bytes) {
    RowAt(row).payload = std::move(bytes);
}

const std::string& GridModel::Payload(int row) const {
    return RowAt(row).payload;
}

void GridModel::RemoveAll() {
    rows_.clear();
    bookmark_rows_.clear();
    bookmarks_stale_ = false;
    current_row_ = -1;
    sort_column_ = -1;
    if (listener_) listener_->OnRowsReset();
}

Bookmark GridModel::BookmarkOf(int row) const {
    return RowAt(row).bookmark;
}

int GridModel::RowOf(Bookmark bookmark) const {
    if (bookmarks_stale_) {
        bookmark_rows_.clear();
        for (size_t i = 0; i < rows_.size(); ++i)
            bookmark_rows_.emplace(rows_[i].bookmark, static_cast<int>(i));
        bookmarks_stale_ = false;
    }
    const auto it = bookmark_rows_.find(bookmark);
    return it == bookmark_rows_.end() ? -1 : it->second;
}

void GridModel::SetCurrentRow(int row) {
    if (row < -1 || row >= RowCount()) RaisePlatform(err::kSubscript, "Rows");
    if (row == current_row_) return;
    current_row_ = row;
    if (listener_) listener_->OnCurrentRowChanged(row);
}

bool GridModel::SelectRow(int row) {
    if (row < 0 || row >= RowCount()) return false;
    SetCurrentRow(row);
    return true;
}

void GridModel::MoveFirst() {
    current_row_ = rows_.empty() ? -1 : 0;
    if (listener_) listener_->OnCurrentRowChanged(current_row_);
}

void GridModel::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    if (listener_) listener_->OnVisibilityChanged(visible);
}

void GridModel::Reorder(const std::vector<int>& order) {
    if (order.size() != rows_.size()) RaisePlatform(err::kInvalidArgument, "Reorder");
    std::vector<Row> sorted;
    sorted.reserve(rows_.size());
    std::vector<bool> taken(rows_.size(), false);
    for (int from : order) {
        if (from < 0 || static_cast<size_t>(from) >= rows_.size() ||
            taken[static_cast<size_t>(from)])
            RaisePlatform(err::kInvalidArgument, "Reorder");
        taken[static_cast<size_t>(from)] = true;
    }
    for (int from : order) sorted.push_back(std::move(rows_[static_cast<size_t>(from)]));
    rows_ = std::move(sorted);
    bookmarks_stale_ = true;
    if (listener_) listener_->OnRowsReset();
}

}  // namespace dv
