// The order detail frmPODetail: one return or purchase order in full. The vendor, date and
// total come from the view's row; the drop-ship invoice number, the four comment lines and the
// part lines come from the document's file, opened again under the document number.
//
// ShowReturnDetail and ShowPODetail build the form (a DetailForm, detail_form.h), show it
// modally on the view's detail host and return when it is closed. Every step that fails is
// skipped and the next one runs, so the form still opens with what could be read; a record
// that can't be read shows blank, never the values of the record read before it. A part line
// whose lookup fails part-way shows what the lookup read (the description, or "Part Not Found")
// and keeps its own cost unless the part's was read. The return
// detail also reports its first failure in a message and in the operation log; the purchase-
// order detail reports nothing. While a purchase-order detail loads (and while it is shown)
// its view shows a progress bar.
//
// The form: Label1(i) captions beside lblDetail(i) values for the vendor, date, total, number
// of items and drop-ship invoice (the last pair only for a drop-shipped order), the comments
// frame's caption Frame3 beside lblComments (each comment line and a LF), and the grid grdPod.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "shell/detail_form.h"
#include "shell/grid_model.h"

namespace dv {

inline constexpr std::string_view kDetailForm = "frmPODetail";
inline constexpr std::string_view kDetailGrid = "grdPod";
inline constexpr std::string_view kPurchaseOrderDetailCaption = "Purchase Order Detail";
inline constexpr std::string_view kReturnDetailCaption = "Return Order Detail";
inline constexpr std::string_view kLoadingText = "Loading...";

inline constexpr std::string_view kDetailCaptionLabel = "Label1";   // Label1(0) .. Label1(4)
inline constexpr std::string_view kDetailValueLabel = "lblDetail";  // lblDetail(0) .. (4)
inline constexpr std::string_view kHeaderFrame = "Frame1";          // untitled: the five pairs
inline constexpr std::string_view kCommentsFrame = "Frame3";
inline constexpr std::string_view kCommentsLabel = "lblComments";

// The control name of element index of a label array: "lblDetail(3)".
std::string ArrayLabel(std::string_view name, int index);

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
// (grdReturn). False when no file holds that number (nothing is shown). The form's errors
// (DetailForm::errors) list the steps that failed.
bool ShowReturnDetail(const std::string& number, const GridModel& source, Bookmark bookmark,
                      DetailHost& host);

// The detail of a purchase order, from grdPO, with progress on its view.
bool ShowPODetail(const std::string& number, const GridModel& source, Bookmark bookmark,
                  DetailProgress& progress, DetailHost& host);

}  // namespace dv
