#include "parts/views/order_views.h"

#include <exception>

#include "records/clock_text.h"
#include "shell/number_format.h"
#include "shell/recap_board.h"
#include "shell/splash.h"

namespace dv {
namespace {

constexpr std::string_view kSumFormat = "$#,###,###.00";
constexpr std::string_view kRowTotalFormat = "$###,###.00";
constexpr std::string_view kVendorTotalFormat = "######.00";

}  // namespace

// ---- the shared grid ----

OrderListView::OrderListView(std::string form, std::string caption, std::string title,
                             std::string grid, std::string number_header, std::string ndate_header)
    : View(std::move(form), std::move(caption)) {
    AddLabel("Label1", std::move(title));
    grid_ = &AddGrid(std::move(grid));
    using namespace grid_columns;
    grid_->AddColumn(
        {"PO Number", std::move(number_header), "", false, true, kLeft, 0, SortKind::kText});
    grid_->AddColumn({"Vendor #", "Vendor #", "", false, false, kRight, 0, SortKind::kNumber});
    grid_->AddColumn({"Vendor Name", "Vendor Name", "", false, false, kLeft, 0, SortKind::kText});
    // The date sorts by its day number in the hidden column.
    grid_->AddColumn({"Date", "Date", "", false, false, kRight, 0, SortKind::kDate, "ndate"});
    grid_->AddColumn({"Total", "Total", "", false, false, kRight, 0, SortKind::kNumber});
    grid_->AddColumn({"ndate", std::move(ndate_header), "", true, false, kRight, 0});
}

void OrderListView::Clear() {
    grid_->RemoveAll();
    total_cents_ = 0;
}

void OrderListView::AddDocumentRow(const OrderSummary& document) {
    const int r = grid_->AddRow();
    grid_->SetCell(r, "PO Number", document.number);
    grid_->SetCell(r, "Vendor #", std::to_string(document.vendor));
    grid_->SetCell(r, "Vendor Name", document.vendor_name);
    grid_->SetCell(r, "Date", ShortDateText(document.date));
    const int32_t day = DayNumber(document.date);
    grid_->SetCell(r, "ndate", std::to_string(day), day);
    grid_->SetCell(r, "Total", FormatNumber(Number::Cents(document.total_cents), kRowTotalFormat),
                   document.total_cents);
    total_cents_ += document.total_cents;
}

void OrderListView::ButtonClick(std::string_view grid, int row) {
    if (grid != grid_->name() || !grid_->SelectRow(row)) return;
    const int current = grid_->CurrentRow();
    OpenDetail(grid_->CellText(current, 0), grid_->BookmarkOf(current));
}

// ---- Returns ----

ReturnsView::ReturnsView()
    : OrderListView("frmReturn", "Returns", "Returns", std::string(kReturnGrid), "Return Number",
                    "ndate") {
    AddLabel("lblRetTotal");
    SetLayout(layout::Titled(std::string(kReturnGrid), {layout::Total("lblRetTotal")}));
    grid().SetToolTip(std::string(kSortHint));
}

void ReturnsView::Load(ViewContext& context) {
    context.Splash().SetProgress(std::string(kReturnsProgress));
    RunFill(context, "GetReturn", {kReturnsRecapLabel}, [&] { GetReturn(context); });
}

void ReturnsView::GetReturn(ViewContext& context) {
    Clear();
    WalkOrderDocuments(
        "RTTBI", IsReturnEntry, [this](const OrderIndexEntry&, std::unique_ptr<OrderDocument> doc) {
            const std::optional<OrderSummary> document = ReadOrderSummary(std::move(doc));
            if (document) AddDocumentRow(*document);
        });
    grid().MoveFirst();
    const std::string sum = FormatNumber(Number::Cents(total_cents()), kSumFormat);
    context.Recap().SetCaption(kReturnsRecapLabel, sum);
    SetLabelCaption("lblRetTotal", sum);
}

void ReturnsView::OpenDetail(const std::string& number, Bookmark bookmark) {
    ShowReturnDetail(number, grid(), bookmark, Details());
}

// ---- Open Purchase Orders ----

VendorTotalsForm::VendorTotalsForm() {
    grid.AddColumn({"Vendor", "Vendor", "", false, false, CellAlignment::kRight, 0});
    grid.AddColumn({"Name", "Name", "", false, false, CellAlignment::kLeft, 0});
    grid.AddColumn({"Total", "Total", "", false, false, CellAlignment::kRight, 0});
}

std::unique_ptr<VendorTotalsForm> BuildVendorTotals(const std::map<int32_t, VendorTotal>& totals) {
    auto form = std::make_unique<VendorTotalsForm>();
    int64_t grand = 0;
    for (const auto& [number, total] : totals) {
        if (total.cents == 0) continue;
        const int r = form->grid.AddRow();
        form->grid.SetCell(r, "Vendor", std::to_string(total.vendor));
        form->grid.SetCell(r, "Name", total.name);
        form->grid.SetCell(r, "Total", FormatNumber(Number::Cents(total.cents), kVendorTotalFormat),
                           total.cents);
        grand += total.cents;
    }
    form->label1 = FormatNumber(Number::Cents(grand), kSumFormat);
    form->grid.MoveFirst();
    return form;
}

PurchaseOrdersView::PurchaseOrdersView()
    : OrderListView("frmPo", "Open Purchase Orders", "Purchase Orders",
                    std::string(kPurchaseOrderGrid), "PO Number", "jdate") {
    AddLabel("lblPoTotal");
    const int loading = AddLabel("lblLoading", std::string(kLoadingText));
    SetLabelVisible(loading, false);
    // "Loading..." stands beside the progress bar, at the row's end after the total.
    SetLayout(
        layout::Titled(std::string(kPurchaseOrderGrid),
                       {layout::Total("lblPoTotal"), layout::Stretch(), layout::Label("lblLoading"),
                        layout::Control(std::string(kProgressBar)),
                        layout::Control(std::string(kVendorTotalsButton))}));
}

void PurchaseOrdersView::Load(ViewContext& context) {
    context.Splash().SetProgress(std::string(kPurchaseOrdersProgress));
    RunFill(context, "frmPO", "GetPO", {kPurchaseOrdersRecapLabel}, [&] { GetPO(context); });
}

void PurchaseOrdersView::GetPO(ViewContext& context) {
    Clear();
    vendor_totals_.clear();
    WalkOrderDocuments("PUTBI", IsPurchaseOrderEntry,
                       [this](const OrderIndexEntry&, std::unique_ptr<OrderDocument> doc) {
                           const std::optional<OrderSummary> document =
                               ReadOrderSummary(std::move(doc));
                           if (!document) return;
                           AddDocumentRow(*document);
                           // Any vendor number keeps its entry: they are 16-bit, and none is
                           // refused.
                           VendorTotal& total = vendor_totals_[document->vendor];
                           total.vendor = document->vendor;
                           total.name = document->vendor_name;
                           total.cents += document->total_cents;
                       });
    grid().MoveFirst();
    const std::string sum = FormatNumber(Number::Cents(total_cents()), kSumFormat);
    context.Recap().SetCaption(kPurchaseOrdersRecapLabel, sum);
    SetLabelCaption("lblPoTotal", sum);
}

std::unique_ptr<VendorTotalsForm> PurchaseOrdersView::VendorTotalsClick() {
    grid().MoveFirst();
    return BuildVendorTotals(vendor_totals_);
}

void PurchaseOrdersView::OpenDetail(const std::string& number, Bookmark bookmark) {
    ShowPODetail(number, grid(), bookmark, *this, Details());
}

void PurchaseOrdersView::SetLoadingVisible(bool visible) {
    progress_visible_ = visible;
    if (progress_listener_) progress_listener_();
    SetLabelVisible(LabelIndex("lblLoading"), visible);
}

void PurchaseOrdersView::SetProgressValue(int value) {
    progress_value_ = value < 0 ? 0 : (value > 100 ? 100 : value);
    if (progress_listener_) progress_listener_();
}

}  // namespace dv
