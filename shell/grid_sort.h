// The grid sort every view's header click uses: re-orders all rows of a grid by one column, as
// text or as whole numbers, in the direction of the program-wide toggle mSortOrder.
//
// The sort is stable (rows with equal keys keep their order) and runs in O(n log n). It reads
// every key before it moves a row: when a cell of a number column does not convert, the grid
// is left exactly as it was and the result says so. It never yields to window events.
#pragma once

#include <cstdint>
#include <string_view>

#include "shell/grid_model.h"

namespace dv {

// The direction toggle shared by every grid of every view; starts at 0. A header click sets it
// to 1 when it was not 1, else to 0, so the first click after start-up sorts descending.
extern int16_t mSortOrder;
// Flips mSortOrder and returns its new value.
int16_t FlipSortOrder();

// Kinds of comparison.
inline constexpr int16_t kSortText = -1;   // binary, by character code (case-sensitive)
inline constexpr int16_t kSortNumber = 0;  // the shown text as a whole number
// Order: 1 sorts descending; any other value ascending.
inline constexpr int16_t kSortDescending = 1;

enum class SortResult {
    kSorted,          // the rows are in their new order
    kUnchanged,       // a kind that is neither text nor number: the order stays as it is
    kNotConvertible,  // a number cell did not convert: the grid is as it was
    kNoColumn,        // the column lies outside the grid: the grid is as it was
};

// Sorts every row of grid by the column at sort_col (a negative value counts as 0). A number
// sort takes a cell's typed value where it has one, else the number its text shows; a view
// that gives a column typed values gives them to every row, in one unit.
// A grid with a single column is always sorted ascending as text by that column, whatever
// sort_col, order and kind say.
SortResult SortGrid(GridModel& grid, int32_t sort_col, int32_t order, int32_t kind);

// The whole number a number sort gives a shown text: blanks around it, a sign ("-" or "+",
// before or after a "$"), or parentheses for a negative amount, digits grouped with ",",
// decimals after ".", and a trailing "%" are accepted ("$1,234.50" is 1234, "25.0%" is 25,
// "$.00" is 0). The fraction is rounded to the nearest whole number, halves to the even one.
// False for an empty text, letters, or a number beyond 64 bits.
bool ShownNumber(std::string_view text, int64_t& value);

// True when the grid sorts on a header click: one of its columns has a sort kind. A grid
// without one ignores header clicks; even the toggle stays as it is.
bool SortsOnHeader(const GridModel& grid);

// The common header click of every view and detail form: flips mSortOrder, then sorts grid as
// the clicked column declares (GridColumn::sort, by the column sort_by names or else by
// itself) with the toggle, and moves the grid to its first row. A column without a sort kind,
// or an index outside the grid, only flips the toggle (kUnchanged); a sort_by that names no
// column gives kNoColumn, and a failed sort leaves the grid and its current row as they were.
// A sort puts the grid's sort indicator on the clicked column.
SortResult HeaderClickSort(GridModel& grid, int column_index);

}  // namespace dv
