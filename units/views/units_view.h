// The Units view (frmUnits): one grid row per product line of type "U" of LINEI from 1 to 999,
// with the sum of the ledgers (LUNITL, along each unit's bounded chain) of its units in stock;
// the grand total in lblFpTot(0) and on recap label 12. A row's button lists the line's units
// in stock with their cost (frmUnitDtl), and a unit's button there shows its fields with the
// dealer's captions (frmUnitInfo): unit_detail.h.
//
// A unit is in stock when its Date_Sold reads as the empty date 1/1/68: a sold day of 0 or 1,
// and a record too short to hold the day. Money is whole cents summed in 64 bits.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "units/unit_records.h"
#include "units/views/product_line_view.h"

namespace dv {

inline constexpr std::string_view kUnitsGrid = "grdUnits";
inline constexpr std::string_view kUnitsProgress = "Loading Unit Data...";
inline constexpr int kUnitsRecapLabel = 12;

class UnitsView : public ProductLineView {
  public:
    UnitsView();

  protected:
    void AddLine(const clsLines& line) override;
    // Lists the line's units in stock in frmUnitDtl.
    void OpenLine(const std::string& line, const std::string& name) override;
};

}  // namespace dv
