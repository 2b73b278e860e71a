// The Floor Plan view (frmFp): one grid row per product line of LINEI from 1 to 999 whose
// floored units that are neither sold nor invoiced add up to anything but 0, with that cost;
// the grand total in lblFpTot(0) and on recap label 11. A row's button lists the line's units
// (frmFpdtl), and a unit's button there its extents (frmFpx): floor_plan_detail.h.
//
// A unit qualifies when the raw sold day (C at 41 of its FPLNL record) and the invoice (L at
// 60) are both 0: a sold day of 1, which reads as the empty date 1/1/68, still counts as sold
// here. Its cost is its own Cost, or when that is 0 the cost of its model in the parts file
// (an exact PARTI hit only). Money is whole cents summed in 64 bits; extents are never valued.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "units/floor_plan_record.h"
#include "units/views/product_line_view.h"

namespace dv {

inline constexpr std::string_view kFloorPlanGrid = "grdFp";
inline constexpr std::string_view kFloorPlanProgress = "Loading Floor Plan Data...";
inline constexpr int kFloorPlanRecapLabel = 11;

class FloorPlanView : public ProductLineView {
  public:
    FloorPlanView();

  protected:
    void AddLine(const clsLines& line) override;
    // Lists the line's units in frmFpdtl.
    void OpenLine(const std::string& line, const std::string& name) override;
};

}  // namespace dv
