// Billed Warranties, in its two forms: frmWarranty (the plain arrangement, one WARRI key per
// shop reference) and frmWarSeg (by request segment, keys shop reference x 100 + request). The
// main window loads the segment form when the segment flag is set, else the plain one.
//
// The load walks WARRI from the key 1 to its end and lists every claim whose status is 1, whose
// reconciliation day (C at 401) is 0 and whose billing value (the raw mmddyy D at 403) is
// neither 0 nor 10168 (1/1/68, the empty date). For each listed claim one warranty builder
// (clsWarrDetail, reused for the whole list) sums the claim's parts and labor; the sum of both
// goes to recap label 6. A claim whose builder fails gets a failure row ("Error in warranty
// detail", no brand, 0 parts and labor) and adds the totals the builder holds after the
// failure, which the builder clears at the start of every claim.
//
// Columns: "Shop Ref" (the button), in the segment form "Req", then "Invoice #", "Cust #",
// "Name", "Brand/Type", "Date Billed" (blank for a billing value that is no date), "Dist",
// "Parts", "Labor" and the hidden "ndate" (the billing day's number, 0 for no date) that the
// "Date Billed" header sorts by. The segment form splits the key it reached: Shop Ref = key
// div 100 (blank below 100), Req = key mod 100 in two digits; its names come from the customer
// file (GetCustomerName), the plain form's from the claim.
//
// A row's button opens frmWarrDetail for the row's key; a key WARRI does not hold exactly, or
// any other error, shows a message and the program goes on.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "shell/detail_form.h"
#include "shell/grid_sort.h"
#include "shell/view.h"

namespace dv {

inline constexpr std::string_view kWarrantyGrid = "grdWarr";
inline constexpr std::string_view kWarrantyDetailGrid = "grdwd";
inline constexpr std::string_view kWarrantyDetailForm = "frmWarrDetail";
inline constexpr std::string_view kWarrantyProgress = "Loading Billed Warranties...";
inline constexpr std::string_view kWarrantyFailureName = "Error in warranty detail";
inline constexpr int32_t kEmptyBillingValue = 10168;  // 01/01/68 as mmddyy

// True when a claim is listed: status 1, reconciliation day 0, billing value neither 0 nor
// 10168.
bool ClaimIsBilled(int32_t status, int32_t reconciled_day, int32_t billing_value);

// The segment form's split of a WARRI key: "Shop Ref" (key div 100, empty below 100) and "Req"
// (key mod 100 in two digits).
void SplitSegmentKey(int32_t key, std::string& shop_ref, std::string& request);

// Builds frmWarrDetail for a WARRI key (the plain form's customer block with the claim's name
// and phone; the segment form's with the customer file's name), from the claim WARRI's search
// gives for the key (a key WARRI lacks: the next higher key's claim). Raises the engine's
// errors (a key above every key: 81, record 0 of WARRL).
std::unique_ptr<DetailForm> BuildWarrantyDetail(int32_t key, bool segments);

class WarrantyView : public View {
  public:
    // segments: the form by request segment (frmWarSeg).
    explicit WarrantyView(bool segments);

    GridModel& grid() const { return *grid_; }
    bool segments() const { return segments_; }
    int64_t parts_cents() const { return parts_cents_; }
    int64_t labor_cents() const { return labor_cents_; }

    void ButtonClick(std::string_view grid, int row) override;

  protected:
    void Load(ViewContext& context) override;

  private:
    void Fill(ViewContext& context);

    bool segments_;
    GridModel* grid_;
    int64_t parts_cents_ = 0;
    int64_t labor_cents_ = 0;
};

class PlainWarrantyView : public WarrantyView {
  public:
    PlainWarrantyView() : WarrantyView(false) {}
};
class SegmentWarrantyView : public WarrantyView {
  public:
    SegmentWarrantyView() : WarrantyView(true) {}
};

}  // namespace dv
