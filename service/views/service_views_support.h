// Small helpers the service views share.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

#include "engine/business_basic.h"
#include "engine/dates.h"
#include "shell/grid_model.h"
#include "shell/grid_sort.h"
#include "shell/view.h"

namespace dv::service {

// A date as the grids show it: blank for the empty date 1/1/68, else "m/d/yyyy".
std::string DateCell(const Date& d);

// The trap of a detail or button handler: the error goes into a message box through the view's
// detail host ("Error in frmShop grdShop_BtnClick routine error # :  81  Illegal ...") and into
// the operation log with a leading "*"; the program goes on.
void ReportDetailError(View& view, std::string_view routine, const std::exception& error);

}  // namespace dv::service
