// Small helpers the service views share.
#pragma once

#include <cstdint>
#include <exception>
#include <span>
#include <string>
#include <string_view>

#include "engine/business_basic.h"
#include "engine/dates.h"
#include "shell/grid_model.h"
#include "shell/grid_sort.h"
#include "shell/view.h"

namespace dv::service {

// The global engine object; error 91 from source when there is none.
cBusinessBasic& Engine(const char* source);

// A date as the grids show it: blank for the empty date 1/1/68, else "m/d/yyyy".
std::string DateCell(const Date& d);

// The header click of the service grids: flips the shared toggle; when the index is in the
// table, sorts by the named column and moves the grid to its first row. A number column sorts
// by the typed value each cell carries (a cell without one sorts below every number), so an
// empty or formatted cell never stops the sort; a text column sorts by its text.
void ServiceHeaderSort(GridModel& grid, int column_index, std::span<const HeaderSort> table);

// The trap of a detail or button handler: the error goes into a message box through the view's
// detail host ("Error in frmShop grdShop_BtnClick routine error # :  81  Illegal ...") and into
// the operation log with a leading "*"; the program goes on.
void ReportDetailError(View& view, std::string_view routine, const std::exception& error);

}  // namespace dv::service
