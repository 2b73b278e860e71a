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

#include "shell/grid_sort.h"
#include "shell/view.h"
#include "units/unit_records.h"

namespace dv {

inline constexpr std::string_view kUnitsGrid = "grdUnits";
inline constexpr std::string_view kUnitsProgress = "Loading Unit Data...";
inline constexpr int kUnitsRecapLabel = 12;

class UnitsView : public View {
  public:
    UnitsView();

    GridModel& grid() const { return *grid_; }
    int64_t total_cents() const { return total_cents_; }

    // Lists the clicked line's units in stock in frmUnitDtl (errors become a message).
    void ButtonClick(std::string_view grid, int row) override;

  protected:
    void Load(ViewContext& context) override;

  private:
    void GetUnitData(ViewContext& context);
    void GetUnitLineData(int32_t line, const std::string& name);

    GridModel* grid_;
    int64_t total_cents_ = 0;
};

}  // namespace dv
