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

}  // namespace dv::service
