// The Open Shop Work view (frmShop): one row per open shop job of the open shop-job table in
// FILE0 (blocks 451-458, then 501-571, 128 slots of an L INVOL record number each), with the
// fields of the job's head page (clsShop) and the customer's name; billed jobs ("B") are left
// out. The sum of the listed sub-totals goes to recap label 3. The load also sets the segment
// flag mSegmentWarranty from option 317, which chooses the form of Billed Warranties.
//
// Columns: "Job #", "Status" (the status text), "Shop Ref #", "Request" (segment + 1, blank for
// the first request), "Account" (caption "Cust #"), "Name", "CM", "Date In", "Date Comp" (for
// a completed job), "Sub-Total", "Warranty" ("Y" or blank), "Brand", and the hidden day numbers
// "ndateIn" and "ndateComp" that the date columns sort by. Number cells carry their value.
//
// A row's button opens the job's detail (shop_detail.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/control_file.h"
#include "shell/grid_sort.h"
#include "shell/view.h"

namespace dv {

namespace err {
inline constexpr int32_t kJobNumber = 1040;  // a job number outside the open shop-job table
}

inline constexpr std::string_view kShopGrid = "grdShop";
inline constexpr std::string_view kShopProgress = "Loading Open Shop Jobs...";
// The highest job number the table holds: block 571, slot 127.
inline constexpr int32_t kLastJobNumber = file0::kLastJobNumber;

// The block and 1-based position of job j's slot (file0::JobBlock, file0::JobSlotAt): j \ 128 +
// 451 below 1000, else (j - 999) \ 128 + 501; slot j mod 128 at (j mod 128) x 4 + 1. Raises
// 1040 ("Job number outside the open shop-job table: j") for a number below 0 or above
// kLastJobNumber.
void JobSlotOf(int32_t job, int32_t& block, int32_t& position);
// The INVOL record number the table holds for a job (GetJob). Raises 1040 as above and the
// engine's errors.
int32_t GetJob(int32_t job);

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

  protected:
    void Load(ViewContext& context) override;

  private:
    void GetShopData(ViewContext& context);

    GridModel* grid_;
    int64_t total_cents_ = 0;
};

}  // namespace dv
