// The Open Shop Work view (frmShop): one row per open shop job of the open shop-job table in
// FILE0 (blocks 451-458, then 501-571, 128 slots of an L INVOL record number each), with the
// fields of the job's head page (clsShop) and the customer's name; billed jobs ("B") are left
// out. The sum of the listed sub-totals goes to recap label 3. The load also sets the segment
// flag from option 317, which chooses the form of Billed Warranties
// (warranty_segments, taken by the main controller after each load).
//
// Columns: "Job #", "Status" (the status text), "Shop Ref #", "Request" (segment + 1, blank for
// the first request), "Account" (caption "Cust #"), "Name", "CM", "Date In", "Date Comp" (for
// a completed job), "Sub-Total", "Warranty" ("Y" or blank), "Brand", and the hidden day numbers
// "ndateIn" and "ndateComp" that the date columns sort by. Number cells carry their value.
//
// A row's button opens the job's detail (shop_detail.h).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "service/shop_record.h"
#include "shell/grid_sort.h"
#include "shell/view.h"

namespace dv {

inline constexpr std::string_view kShopGrid = "grdShop";
inline constexpr std::string_view kShopProgress = "Loading Open Shop Jobs...";

// The status text of a job: "1" to "5" "Open-" and the sub-status name at 432 + 15 (k - 1) of
// block 450 (15 characters as stored; "Open" when the block does not reach it), "O" "Open", "S"
// "Scratch", "C" "Complete", anything else "No status".
std::string ShopStatusText(std::string_view status, std::string_view block450);

class ShopView : public View {
  public:
    ShopView();

    GridModel& grid() const { return *grid_; }
    int64_t total_cents() const { return total_cents_; }

    // Opens the detail of the clicked row's job; an error is shown in a message and logged.
    void ButtonClick(std::string_view grid, int row) override;
    // Option 317 as the last load read it: the segment flag that chooses the Billed Warranties
    // form (the view's declaration hands it to the main controller).
    std::optional<bool> warranty_segments() const { return warranty_segments_; }

  protected:
    void Load(ViewContext& context) override;

  private:
    void GetShopData(ViewContext& context);

    GridModel* grid_;
    int64_t total_cents_ = 0;
    std::optional<bool> warranty_segments_;
};

}  // namespace dv
