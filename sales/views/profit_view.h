// The Profit view (frmProfit, "Profit by Line"): per product line of LINEI from 1 to 999, the
// sales, the cost of goods sold and the gross-profit ratio month to date, year to date and for
// the previous year, in three header groups; the nine grand figures (sales, cost and ratio of
// each period) on recap labels 13 to 21.
//
// Arithmetic: money is whole cents summed in 64 bits; a ratio (sales - cost) / sales is an exact
// fraction handed to the number format, 0 when the sales are 0. The grand ratios come from the
// sums, not from the lines' ratios. The grid's money cells carry their cents and the ratio
// cells the ratio in millionths as the typed value they sort by.
#pragma once

#include <cstdint>
#include <string_view>

#include "shell/grid_sort.h"
#include "shell/number_format.h"
#include "shell/view.h"

namespace dv {

inline constexpr std::string_view kProfitGrid = "grdProfit";
inline constexpr std::string_view kProfitProgress = "Loading Profit Data...";
// Recap labels 13 to 21: sales, cost and ratio of the month, the year and the previous year.
inline constexpr int kProfitFirstRecapLabel = 13;
inline constexpr int kProfitRecapLabels = 9;
inline constexpr std::string_view kProfitMoneyFormat = "$##,###,##0.00";
inline constexpr std::string_view kProfitRatioFormat = "00.00%";
inline constexpr std::string_view kProfitCellFormat = "###,###,###.00";
inline constexpr std::string_view kProfitCellRatioFormat = "##.0%";

// The gross-profit ratio of sales and cost in cents: (sales - cost) / sales, exactly; 0 when
// the sales are 0.
Number ProfitRatio(int64_t sales, int64_t cost);
// The ratio in millionths, rounded half away from zero: the typed value a ratio cell sorts by.
int64_t RatioMillionths(int64_t sales, int64_t cost);

class ProfitView : public View {
  public:
    ProfitView();

    GridModel& grid() const { return *grid_; }

  protected:
    void Load(ViewContext& context) override;

  private:
    // The fill routine; its errors reach the shared handler of Load.
    void GetProfit(ViewContext& context);

    GridModel* grid_;
};

}  // namespace dv
