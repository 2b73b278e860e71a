// The Returns view (frmReturn) and the Open Purchase Orders view (frmPo): one grid row per
// document that RTTBI or PUTBI lists and the view's selection takes, with its number, vendor,
// date and total; the sum of the totals in a label of the view and on the recap board (label 5
// for returns, 8 for purchase orders). A row's button opens the document's detail
// (order_detail.h); the purchase-order view also sums the totals per vendor for its vendor
// totals form (frmVtotal).
//
// Money is whole cents, summed in 64 bits. The "Date" column shows the date in the short form;
// the hidden column "ndate" holds its day count from 12/31/67 (1/1/68, the date of a field of
// 0 or of a number that is no date, gives 1), which the "Date" header sorts by.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "parts/order_files.h"
#include "parts/views/order_detail.h"
#include "shell/grid_sort.h"
#include "shell/recap_board.h"
#include "shell/view.h"

namespace dv {

inline constexpr std::string_view kReturnGrid = "grdReturn";
inline constexpr std::string_view kPurchaseOrderGrid = "grdPO";
inline constexpr std::string_view kVendorTotalsGrid = "grdVtot";
inline constexpr std::string_view kReturnsProgress = "Loading Returns...";
inline constexpr std::string_view kPurchaseOrdersProgress = "Loading Purchase Orders...";
inline constexpr std::string_view kSortHint = "Click on Blue headers to sort grid by that column";
inline constexpr std::string_view kVendorTotalsCaption = "&Vendor Totals";
// frmPo's controls the desktop makes: the progress bar and the vendor totals button.
inline constexpr std::string_view kProgressBar = "pb1";
inline constexpr std::string_view kVendorTotalsButton = "cmdVtot";
inline constexpr int kReturnsRecapLabel = recap::kReturns;
inline constexpr int kPurchaseOrdersRecapLabel = recap::kPurchaseOrders;

// The grid of both views and its shared events.
class OrderListView : public View {
  public:
    GridModel& grid() const { return *grid_; }
    // The sum of the totals of the rows, in cents.
    int64_t total_cents() const { return total_cents_; }

    // Makes the clicked row current and opens the detail of its document (column 0) on the
    // view's detail host.
    void ButtonClick(std::string_view grid, int row) override;

  protected:
    OrderListView(std::string form, std::string caption, std::string title, std::string grid,
                  std::string number_header, std::string ndate_header);

    // Clears the grid and the sum.
    void Clear();
    // Adds a document's row and its total to the sum.
    void AddDocumentRow(const OrderSummary& document);
    virtual void OpenDetail(const std::string& number, Bookmark bookmark) = 0;

  private:
    GridModel* grid_;
    int64_t total_cents_ = 0;
};

class ReturnsView : public OrderListView {
  public:
    ReturnsView();

  protected:
    void Load(ViewContext& context) override;
    void OpenDetail(const std::string& number, Bookmark bookmark) override;

  private:
    void GetReturn(ViewContext& context);
};

// One vendor's entry of the vendor totals.
struct VendorTotal {
    int32_t vendor = 0;
    std::string name;  // as found for the vendor's last document read
    int64_t cents = 0;
};

// frmVtotal: the vendors whose orders sum to anything but 0, in vendor-number order, and the
// grand total in Label1.
struct VendorTotalsForm {
    VendorTotalsForm();
    VendorTotalsForm(const VendorTotalsForm&) = delete;
    VendorTotalsForm& operator=(const VendorTotalsForm&) = delete;

    GridModel grid{std::string(kVendorTotalsGrid)};
    std::string label1;
};

// The form built from a table of vendor totals.
std::unique_ptr<VendorTotalsForm> BuildVendorTotals(const std::map<int32_t, VendorTotal>& totals);

class PurchaseOrdersView : public OrderListView, public DetailProgress {
  public:
    PurchaseOrdersView();

    // pb1: shown while a detail loads and while it is open.
    bool progress_visible() const { return progress_visible_; }
    int progress_value() const { return progress_value_; }
    // Called after every change of pb1 (the desktop layer repaints it at once).
    void SetProgressListener(std::function<void()> listener) {
        progress_listener_ = std::move(listener);
    }

    // The totals per vendor number as the last load left them, a failed one included.
    const std::map<int32_t, VendorTotal>& vendor_totals() const { return vendor_totals_; }
    // The click of cmdVtot: moves grdPO to its first row and builds a new vendor totals form.
    std::unique_ptr<VendorTotalsForm> VendorTotalsClick();

    // DetailProgress.
    void SetLoadingVisible(bool visible) override;
    void SetProgressValue(int value) override;

  protected:
    void Load(ViewContext& context) override;
    void OpenDetail(const std::string& number, Bookmark bookmark) override;

  private:
    void GetPO(ViewContext& context);

    std::map<int32_t, VendorTotal> vendor_totals_;
    bool progress_visible_ = false;
    int progress_value_ = 0;
    std::function<void()> progress_listener_;
};

}  // namespace dv
