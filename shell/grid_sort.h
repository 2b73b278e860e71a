// The grid sort every view's header click uses: re-orders all rows of a grid by one column, as
// text or as whole numbers, in the direction of the program-wide toggle mSortOrder.
//
// The sort is stable (rows with equal keys keep their order) and runs in O(n log n). It reads
// every key before it moves a row: when a cell of a number column does not convert, the grid
// is left exactly as it was and the result says so. It never yields to window events.
#pragma once

#include <cstdint>
#include <span>
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

// One entry of a view's header table: the column a header index sorts and how.
struct HeaderSort {
    std::string_view column;
    int16_t kind;
};

// A table entry for a header that sorts nothing (a hidden or a blank column): no column has
// the empty name, so the click only flips the toggle.
inline constexpr HeaderSort kNoHeaderSort{"", kSortText};

// The common header click: flips mSortOrder, then, when column_index is an index of the table,
// sorts grid by the position of the named column with the toggle and the entry's kind and
// moves the grid to its first row. An index outside the table only flips the toggle (and gives
// kUnchanged); a failed sort leaves the grid and its current row as they were. A sort puts the
// grid's sort indicator on the clicked column.
SortResult HeaderClickSort(GridModel& grid, int column_index, std::span<const HeaderSort> table);

}  // namespace dv
