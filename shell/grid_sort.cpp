#include "shell/grid_sort.h"

#include <algorithm>
#include <numeric>
#include <optional>
#include <string>
#include <vector>

namespace dv {

int16_t mSortOrder = 0;

int16_t FlipSortOrder() {
    mSortOrder = mSortOrder != 1 ? 1 : 0;
    return mSortOrder;
}

bool ShownNumber(std::string_view text, int64_t& value) {
    auto is_blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);

    bool negative = false;
    if (text.size() >= 2 && text.front() == '(' && text.back() == ')') {
        negative = true;
        text = text.substr(1, text.size() - 2);
    }
    bool sign_seen = false;
    bool dollar_seen = false;
    while (!text.empty()) {
        const char c = text.front();
        if ((c == '-' || c == '+') && !sign_seen && !negative) {
            sign_seen = true;
            negative = c == '-';
        } else if (c == '$' && !dollar_seen) {
            dollar_seen = true;
        } else {
            break;
        }
        text.remove_prefix(1);
    }
    if (!text.empty() && text.back() == '%') text.remove_suffix(1);

    std::string integer_digits;
    std::string fraction;
    bool in_fraction = false;
    bool any_digit = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            (in_fraction ? fraction : integer_digits).push_back(c);
            any_digit = true;
        } else if (c == ',' && !in_fraction && !integer_digits.empty()) {
            // digit grouping
        } else if (c == '.' && !in_fraction) {
            in_fraction = true;
        } else {
            return false;
        }
    }
    if (!any_digit) return false;

    uint64_t magnitude = 0;
    for (char c : integer_digits) {
        const uint64_t d = static_cast<uint64_t>(c - '0');
        if (magnitude > (UINT64_MAX - d) / 10) return false;
        magnitude = magnitude * 10 + d;
    }
    // Halves to the even number.
    if (!fraction.empty() && fraction[0] >= '5') {
        const bool above_half =
            fraction[0] > '5' || fraction.find_first_not_of('0', 1) != std::string::npos;
        if (above_half || (magnitude % 2 == 1)) ++magnitude;
    }
    const uint64_t limit = negative ? static_cast<uint64_t>(INT64_MAX) + 1 : INT64_MAX;
    if (magnitude > limit) return false;
    value = negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
    return true;
}

SortResult SortGrid(GridModel& grid, int32_t sort_col, int32_t order, int32_t kind) {
    if (sort_col < 0) sort_col = 0;
    const int rows = grid.RowCount();
    const int cols = grid.ColumnCount();
    if (cols == 1) {
        // A one-column grid: ascending text by its only column, always.
        sort_col = 0;
        order = 0;
        kind = kSortText;
    }
    if (sort_col >= cols) return SortResult::kNoColumn;
    if (kind != kSortText && kind != kSortNumber) return SortResult::kUnchanged;

    std::vector<int> index(static_cast<size_t>(rows));
    std::iota(index.begin(), index.end(), 0);
    const bool descending = order == kSortDescending;

    if (kind == kSortText) {
        std::vector<const std::string*> key(static_cast<size_t>(rows));
        for (int i = 0; i < rows; ++i) key[static_cast<size_t>(i)] = &grid.CellText(i, sort_col);
        std::stable_sort(index.begin(), index.end(), [&](int a, int b) {
            const std::string& ka = *key[static_cast<size_t>(a)];
            const std::string& kb = *key[static_cast<size_t>(b)];
            return descending ? kb < ka : ka < kb;
        });
    } else {
        std::vector<int64_t> key(static_cast<size_t>(rows));
        for (int i = 0; i < rows; ++i) {
            // A cell's typed value is the number it stands for (a percentage kept to more
            // places than it shows, an empty cell the view counts as a number).
            if (const std::optional<int64_t> value = grid.CellValue(i, sort_col)) {
                key[static_cast<size_t>(i)] = *value;
            } else if (!ShownNumber(grid.CellText(i, sort_col), key[static_cast<size_t>(i)])) {
                return SortResult::kNotConvertible;
            }
        }
        std::stable_sort(index.begin(), index.end(), [&](int a, int b) {
            const int64_t ka = key[static_cast<size_t>(a)];
            const int64_t kb = key[static_cast<size_t>(b)];
            return descending ? kb < ka : ka < kb;
        });
    }
    grid.SetSortIndicator(sort_col, descending);
    grid.Reorder(index);
    return SortResult::kSorted;
}

bool SortsOnHeader(const GridModel& grid) {
    for (int c = 0; c < grid.ColumnCount(); ++c)
        if (grid.Column(c).sort != SortKind::kNone) return true;
    return false;
}

SortResult HeaderClickSort(GridModel& grid, int column_index) {
    const int16_t order = FlipSortOrder();
    if (column_index < 0 || column_index >= grid.ColumnCount()) return SortResult::kUnchanged;
    const GridColumn& column = grid.Column(column_index);
    if (column.sort == SortKind::kNone) return SortResult::kUnchanged;
    const int position =
        column.sort_by.empty() ? column_index : grid.ColumnPosition(column.sort_by);
    if (position < 0) return SortResult::kNoColumn;
    const int16_t kind = column.sort == SortKind::kText ? kSortText : kSortNumber;
    const SortResult result = SortGrid(grid, position, order, kind);
    // The header shows the direction on the column clicked, also where the rows were sorted by
    // a hidden column of its own (a date's day number).
    if (result == SortResult::kSorted) grid.SetSortIndicator(column_index, grid.SortDescending());
    if (result == SortResult::kSorted) grid.MoveFirst();
    return result;
}

}  // namespace dv
