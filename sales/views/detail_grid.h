// A builder's rows in a detail form's grid: the Line, Part #, Description, Qty, Net and Cost
// columns every document's lines grid has, the prices as "#####.00".
#pragma once

#include "records/detail_line.h"
#include "shell/grid_model.h"

namespace dv {

// Whether a remark row shows its zero figures (the pick ticket) or only its code and text.
enum class RemarkCells { kAll, kTextOnly };

// Adds one row for `line` and returns its index.
int AddDetailRow(GridModel& grid, const DetailLine& line, RemarkCells remark = RemarkCells::kAll);

}  // namespace dv
