// The Parts view of Inventory Investment (frmInv): one grid row per product line of LINEI from
// 1 to 999 with its goods cost (the investment), its year-to-date and month-to-date sales, its
// estimated stock turns and three fill rates of its orders; three total labels below, and the
// investment total on recap label 1.
//
// Arithmetic: money is whole cents and the totals are summed in 64 bits; the turns and the fill
// rates are exact fractions of 64-bit integers handed to the shell's number format, so no
// binary floating point touches a shown figure.
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/dates.h"
#include "shell/grid_sort.h"
#include "shell/number_format.h"
#include "shell/recap_board.h"
#include "shell/view.h"

namespace dv {

inline constexpr std::string_view kInventoryGrid = "grdInvest";
inline constexpr std::string_view kInventoryProgress = "Loading Inventory...";
inline constexpr int kInventoryRecapLabel = recap::kInventory;

// The days of the current year up to today, 1 January counting as 1 (1 to 366).
int32_t DaysElapsedInYear(const Date& today);

// The estimated turns of a LINEL record: the year's cost of goods sold (the L values at 91 and
// 103, summed in 64 bits) brought to a whole year over the days elapsed, divided by the
// line's goods cost (L at 75); 0 when the goods cost is 0. Raises the engine's 31 when the
// record is too short for those fields.
Number GetEstTurns(std::string_view record, const Date& today);

// A fill rate: filled / ordered x 100, not capped; 0 when nothing was ordered.
Number FillRate(int64_t ordered, int64_t filled);

class InventoryView : public View {
  public:
    InventoryView();

    GridModel& grid() const { return *grid_; }

  protected:
    void Load(ViewContext& context) override;

  private:
    // The fill routine; its errors reach the shared handler of Load.
    void GetLineData(ViewContext& context);

    GridModel* grid_;
};

}  // namespace dv
