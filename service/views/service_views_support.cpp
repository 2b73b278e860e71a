#include "service/views/service_views_support.h"

#include <algorithm>
#include <limits>
#include <numeric>
#include <vector>

#include "engine/error.h"
#include "engine/record_fields.h"
#include "shell/detail_form.h"
#include "shell/operation_log.h"

namespace dv::service {

std::string DateCell(const Date& d) {
    return IsEmptyDate(d) ? std::string() : FormatDate(d);
}

void ServiceHeaderSort(GridModel& grid, int column_index, std::span<const HeaderSort> table) {
    const int16_t order = FlipSortOrder();
    if (column_index < 0 || static_cast<size_t>(column_index) >= table.size()) return;
    const HeaderSort& entry = table[static_cast<size_t>(column_index)];
    const int position = grid.ColumnPosition(entry.column);
    if (position < 0) return;
    if (entry.kind == kSortText) {
        SortGrid(grid, position, order, kSortText);
    } else {
        std::vector<int64_t> keys(static_cast<size_t>(grid.RowCount()));
        for (int r = 0; r < grid.RowCount(); ++r)
            keys[static_cast<size_t>(r)] =
                grid.CellValue(r, position).value_or(std::numeric_limits<int64_t>::min());
        std::vector<int> rows(keys.size());
        std::iota(rows.begin(), rows.end(), 0);
        const bool descending = order == kSortDescending;
        std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) {
            const int64_t ka = keys[static_cast<size_t>(a)], kb = keys[static_cast<size_t>(b)];
            return descending ? ka > kb : ka < kb;
        });
        grid.Reorder(rows);
    }
    grid.MoveFirst();
}

void ReportDetailError(View& view, std::string_view routine, const std::exception& error) {
    const std::string line = LogRoutineError(view.form_name(), routine, error);
    view.Details().Message(line.substr(1));
}

}  // namespace dv::service
