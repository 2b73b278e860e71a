// The grid model: what a view's data grid holds. Columns are set up once by name, with a header
// caption, an optional group caption (the upper level of a two-level header), and hidden and
// button columns; rows are added one at a time and their cells set by column name. Each cell
// is the text the grid shows, optionally with a typed value beside it (a number of cents, a day
// number) for the view's own use. Each row carries a payload of raw bytes (the key a detail
// button needs) and a bookmark; both travel with the row when the grid is sorted.
//
// The desktop layer shows the model and listens to its changes; nothing here draws.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace dv {

enum class CellAlignment { kLeft, kRight, kCenter };

// How a click on a column's header sorts the grid (HeaderClickSort in grid_sort.h).
enum class SortKind : uint8_t {
    kNone,    // the click only flips the sort toggle: hidden, blank and unsorted columns
    kText,    // the shown text, by character code
    kNumber,  // whole numbers: the cells' typed values, else the numbers their texts show
    kDate,    // a date shown as text: as numbers, by the day numbers of the column sort_by names
};

// The short names the views' column tables are written with (using namespace grid_columns).
namespace grid_columns {
inline constexpr auto kLeft = CellAlignment::kLeft;
inline constexpr auto kRight = CellAlignment::kRight;
inline constexpr auto kNone = SortKind::kNone;
inline constexpr auto kText = SortKind::kText;
inline constexpr auto kNumber = SortKind::kNumber;
}  // namespace grid_columns

struct GridColumn {
    std::string name{};     // the name cells are set by
    std::string caption{};  // the header text
    // The group caption that starts a group at this column; the columns after it belong to the
    // same group until the next column with a group caption. Empty for no new group.
    std::string group{};
    bool hidden = false;
    bool button = false;  // its cells are buttons that raise the button-click event
    CellAlignment alignment = CellAlignment::kLeft;
    int width_twips = 0;  // 0: the desktop layer's choice
    SortKind sort = SortKind::kNone;
    // The column whose cells a click on this header sorts by, when not this one: the hidden
    // day-number column of a date. Empty for the column itself.
    std::string sort_by{};
};

// A row's identity; it stays with the row through sorts and is never reused by the grid.
using Bookmark = uint64_t;

// Changes the desktop layer listens to. Every method has an empty default.
class GridListener {
  public:
    virtual ~GridListener() = default;
    virtual void OnColumnsChanged() {}
    // Every row may have changed: after RemoveAll and after a sort.
    virtual void OnRowsReset() {}
    virtual void OnRowAdded(int /*row*/) {}
    virtual void OnCellChanged(int /*row*/, int /*column*/) {}
    virtual void OnCurrentRowChanged(int /*row*/) {}
    virtual void OnVisibilityChanged(bool /*visible*/) {}
};

class GridModel {
  public:
    explicit GridModel(std::string name);
    GridModel(const GridModel&) = delete;
    GridModel& operator=(const GridModel&) = delete;

    const std::string& name() const { return name_; }

    // Columns. A name that is already present raises error 457.
    int AddColumn(GridColumn column);
    int ColumnCount() const { return static_cast<int>(columns_.size()); }
    const GridColumn& Column(int position) const;
    // The position of a named column, -1 when the grid has none of that name (exact match).
    int ColumnPosition(std::string_view name) const;
    // The group caption in force at a column: its own, or that of the nearest column to its left
    // that has one; empty when none.
    const std::string& GroupCaption(int position) const;
    bool HasGroups() const;

    // Rows. AddRow appends an empty row and returns its position; the cells are then set by
    // name. A column name the grid does not have raises error 9 (the grid's "no such column").
    int AddRow();
    int RowCount() const { return static_cast<int>(rows_.size()); }
    void SetCell(int row, std::string_view column, std::string text);
    void SetCell(int row, int column, std::string text);
    // The text and a typed value beside it.
    void SetCell(int row, std::string_view column, std::string text, int64_t value);
    void SetValue(int row, std::string_view column, int64_t value);
    const std::string& CellText(int row, int column) const;
    const std::string& CellText(int row, std::string_view column) const;
    std::optional<int64_t> CellValue(int row, int column) const;
    std::optional<int64_t> CellValue(int row, std::string_view column) const;
    void SetPayload(int row, std::string bytes);
    const std::string& Payload(int row) const;

    // Removes every row; the current row becomes -1.
    void RemoveAll();

    // Bookmarks: the row's identity and the row that now holds it (-1 when none does).
    Bookmark BookmarkOf(int row) const;
    int RowOf(Bookmark bookmark) const;

    // The current row: -1 in an empty grid. MoveFirst makes row 0 current (-1 when empty).
    int CurrentRow() const { return current_row_; }
    void SetCurrentRow(int row);
    void MoveFirst();
    // A click on a row: false when the grid holds no such row, else the row is made current.
    bool SelectRow(int row);

    bool visible() const { return visible_; }
    void SetVisible(bool visible);
    // A tooltip for the whole grid ("click a header to sort", for the sortable views).
    const std::string& tooltip() const { return tooltip_; }
    void SetToolTip(std::string text) { tooltip_ = std::move(text); }

    // Puts the rows in a new order: new row i is the old row order[i]. order must be a
    // permutation of 0 .. RowCount() - 1; the current row stays where it is.
    void Reorder(const std::vector<int>& order);

    // The column the rows were last sorted by and its direction, which the header shows: -1
    // before any sort and after RemoveAll. SortGrid sets it before it reorders the rows.
    int SortColumn() const { return sort_column_; }
    bool SortDescending() const { return sort_descending_; }
    void SetSortIndicator(int column, bool descending) {
        sort_column_ = column;
        sort_descending_ = descending;
    }

    // One listener at a time; null for none. The grid does not own it.
    void SetListener(GridListener* listener) { listener_ = listener; }

  private:
    struct Row {
        std::vector<std::string> text;
        // Sized to the column count on the first typed value of the row; empty before.
        std::vector<std::optional<int64_t>> values;
        std::string payload;
        Bookmark bookmark = 0;
    };
    struct NameHash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };

    int Position(std::string_view column) const;  // raises 9 when absent
    Row& RowAt(int row);
    const Row& RowAt(int row) const;

    int sort_column_ = -1;
    bool sort_descending_ = false;
    std::string name_;
    std::vector<GridColumn> columns_;
    std::unordered_map<std::string, int, NameHash, std::equal_to<>> positions_;
    std::vector<Row> rows_;
    Bookmark next_bookmark_ = 1;
    mutable std::unordered_map<Bookmark, int> bookmark_rows_;  // rebuilt when stale
    mutable bool bookmarks_stale_ = true;
    int current_row_ = -1;
    bool visible_ = true;
    std::string tooltip_;
    GridListener* listener_ = nullptr;
};

}  // namespace dv
