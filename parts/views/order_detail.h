// The order detail frmPODetail: one return or purchase order in full. The vendor, date and
// total come from the view's row; the drop-ship invoice number, the four comment lines and the
// part lines come from the document's file, opened again under the document number.
//
// ShowReturnDetail and ShowPODetail build the form's contents, hand them to the desktop layer
// to show modally (DetailHooks::show) and return when it is closed. Every step that fails is
// skipped and the next one runs, so the form still opens with what could be read; a record
// that can't be read shows blank, never the values of the record read before it. A part line
// whose lookup fails part-way shows what the lookup read (the description, or "Part Not Found")
// and keeps its own cost unless the part's was read. The return
// detail also reports its first failure in a message and in the operation log; the purchase-
// order detail reports nothing. While a purchase-order detail loads (and while it is shown)
// its view shows a progress bar.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "shell/grid_model.h"

namespace dv {

inline constexpr std::string_view kDetailForm = "frmPODetail";
inline constexpr std::string_view kDetailGrid = "grdPod";
inline constexpr std::string_view kPurchaseOrderDetailCaption = "Purchase Order Detail";
inline constexpr std::string_view kReturnDetailCaption = "Return Order Detail";
inline constexpr std::string_view kLoadingText = "Loading...";

// What the form shows.
struct OrderDetail {
    OrderDetail();
    OrderDetail(const OrderDetail&) = delete;
    OrderDetail& operator=(const OrderDetail&) = delete;

    std::string caption;                           // the form's caption
    std::string comments_caption = "PO Comments";  // Frame3
    std::array<std::string, 5> captions = {"Vendor", "Date", "Total $", "# of Items",
                                           "Drop Ship Invoice"};  // Label1(0..4)
    std::array<std::string, 5> values;                            // lblDetail(0..4)
    bool drop_ship_visible = false;                               // Label1(4) and lblDetail(4)
    std::string comments;                                         // lblComments: each line and a LF
    GridModel lines{std::string(kDetailGrid)};                    // grdPod
    int32_t item_count = 0;
    // The steps that failed, as "error # :  <number>  <description>".
    std::vector<std::string> errors;
};

struct DetailHooks {
    // Shows the filled form modally and returns when the user closed it. Empty: not shown.
    std::function<void(OrderDetail&)> show;
    // Shows a message box (the return detail's report of a failed step).
    std::function<void(const std::string&)> message;
};

// The progress display of the Open Purchase Orders view: pb1 (0 to 100) and lblLoading.
class DetailProgress {
  public:
    virtual ~DetailProgress() = default;
    virtual void SetLoadingVisible(bool visible) = 0;  // pb1 and lblLoading together
    virtual void SetProgressValue(int value) = 0;      // 0 to 100
};

// The bar's advance over n line records: 100 / n per record, kept as an exact fraction; a
// value above 99 is set back to 99 before each step, and a step past 100 is not taken.
class ProgressSteps {
  public:
    explicit ProgressSteps(int32_t line_records) : n_(line_records > 0 ? line_records : 0) {}
    // The next whole value of the bar.
    int Step();
    int Value() const { return n_ == 0 ? 0 : static_cast<int>(hundredths_ / n_); }

  private:
    int64_t n_;
    int64_t hundredths_ = 0;  // the value times n
};

// The detail of a return: number from column 0 of the row with the bookmark in source
// (grdReturn). False when no file holds that number (nothing is shown).
bool ShowReturnDetail(const std::string& number, const GridModel& source, Bookmark bookmark,
                      const DetailHooks& hooks);

// The detail of a purchase order, from grdPO, with progress on its view.
bool ShowPODetail(const std::string& number, const GridModel& source, Bookmark bookmark,
                  DetailProgress& progress, const DetailHooks& hooks);

}  // namespace dv
