#include "sales/views/detail_grid.h"

#include <string>
#include <string_view>

#include "shell/number_format.h"

namespace dv {

int AddDetailRow(GridModel& grid, const DetailLine& line, RemarkCells remark) {
    constexpr std::string_view kPriceFormat = "#####.00";
    const int r = grid.AddRow();
    grid.SetCell(r, "Line", line.code);
    grid.SetCell(r, "Part #", line.text);
    if (remark == RemarkCells::kTextOnly && line.IsRemark()) return r;
    grid.SetCell(r, "Description", line.description);
    grid.SetCell(r, "Qty", std::to_string(line.quantity), line.quantity);
    grid.SetCell(r, "Net", FormatNumber(Number::Cents(line.net_each), kPriceFormat), line.net_each);
    grid.SetCell(r, "Cost", FormatNumber(Number::Cents(line.cost_each), kPriceFormat),
                 line.cost_each);
    return r;
}

}  // namespace dv
