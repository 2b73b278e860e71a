#include "parts/views/order_detail.h"

#include "engine/codec.h"
#include "parts/order_files.h"
#include "shell/detail_trap.h"
#include "shell/number_format.h"
#include "shell/view.h"

namespace dv {
namespace {

constexpr std::string_view kCostFormat = "#####.00";

enum class DetailKind { kReturn, kPurchaseOrder };

// Hides the view's progress display on every way out of the purchase-order detail.
class LoadingScope {
  public:
    explicit LoadingScope(DetailProgress* progress) : progress_(progress) {
        if (progress_ == nullptr) return;
        // The value first, so that the bar never shows the last detail's end.
        progress_->SetProgressValue(0);
        progress_->SetLoadingVisible(true);
    }
    ~LoadingScope() {
        if (progress_ != nullptr) progress_->SetLoadingVisible(false);
    }
    LoadingScope(const LoadingScope&) = delete;
    LoadingScope& operator=(const LoadingScope&) = delete;

  private:
    DetailProgress* progress_;
};

// The empty form: the five caption and value pairs, the comments and the lines grid.
std::unique_ptr<DetailForm> NewOrderDetail(bool po, const std::string& number) {
    auto form = std::make_unique<DetailForm>(
        std::string(kDetailForm),
        po ? std::string(kPurchaseOrderDetailCaption) + "      PO # : " + number
           : std::string(kReturnDetailCaption) + "      Return # : " + number);
    static constexpr const char* kCaptions[] = {"Vendor", "Date", "Total $", "# of Items",
                                                "Drop Ship Invoice"};
    for (int i = 0; i < 5; ++i) {
        form->AddLabel(ArrayLabel(kDetailCaptionLabel, i), kCaptions[i]);
        form->AddLabel(ArrayLabel(kDetailValueLabel, i));
    }
    form->AddLabel(std::string(kCommentsFrame), po ? "PO Comments" : "Return Comments");
    form->AddLabel(std::string(kCommentsLabel));
    GridModel& lines = form->AddGrid(std::string(kDetailGrid));
    for (const char* name : {"Line", "Part #", "Description", "Ordered", "Cost", "Extended"}) {
        const bool figure =
            std::string_view(name) != "Part #" && std::string_view(name) != "Description";
        lines.AddColumn({name, name, "", false, false,
                         figure ? CellAlignment::kRight : CellAlignment::kLeft, 0});
    }
    // The header pairs in a frame without a caption beside the comments' frame, the lines under
    // them taking the height left.
    std::vector<std::string> pairs;
    for (int i = 0; i < 5; ++i) {
        pairs.push_back(ArrayLabel(kDetailCaptionLabel, i));
        pairs.push_back(ArrayLabel(kDetailValueLabel, i));
    }
    form->SetLayout({{layout::Group(std::string(kHeaderFrame), std::move(pairs)),
                      layout::Group(std::string(kCommentsFrame), {std::string(kCommentsLabel)}, 1)},
                     {layout::Grid(std::string(kDetailGrid))}});
    return form;
}

bool RunDetail(DetailKind kind, const std::string& number, const GridModel& source,
               Bookmark bookmark, DetailProgress* progress, DetailHost& host) {
    const bool po = kind == DetailKind::kPurchaseOrder;
    const LoadingScope loading(po ? progress : nullptr);
    // Each step's error is kept and the next step runs; a return's detail logs the first one
    // and shows it in a message.
    DetailTrap trap(po ? "frmPo" : "frmReturn", po ? "ShowPODetail" : "ShowReturnDetail");

    std::unique_ptr<DetailForm> detail = NewOrderDetail(po, number);
    auto value = [&](int i) -> std::string& {
        return detail->Label(ArrayLabel(kDetailValueLabel, i)).caption;
    };

    std::unique_ptr<OrderDocument> doc;
    trap.Step([&] { doc = OrderDocument::Open(number); });
    if (!doc) {
        if (!po) trap.Report(host);
        return false;
    }
    ProgressSteps steps(doc->LastRecord() - (kFirstOrderLine - 1));

    int32_t drop = 0;
    trap.Step([&] { drop = Unpack("L", doc->Record(1), 17); });

    // The vendor name, date and total as the view's row shows them.
    const int row = source.RowOf(bookmark);
    for (int i = 0; i < 3; ++i) {
        if (row >= 0 && i + 2 < source.ColumnCount()) value(i) = source.CellText(row, i + 2);
    }
    // The drop-ship pair shows only for a drop-shipped order.
    detail->Label(ArrayLabel(kDetailCaptionLabel, 4)).visible = drop != 0;
    detail->Label(ArrayLabel(kDetailValueLabel, 4)).visible = drop != 0;
    if (drop != 0) value(4) = std::to_string(drop);

    std::string& comments = detail->Label(kCommentsLabel).caption;
    for (int32_t i = 2; i <= 5; ++i) {
        std::string comment;
        trap.Step([&] { comment = DecodeOrderComment(doc->Record(i)); });
        comments += comment;
        comments += '\n';
    }

    GridModel& grid = *detail->FindGrid(kDetailGrid);
    int32_t item_count = 0;
    const int32_t last = doc->LastRecord();
    for (int32_t i = kFirstOrderLine; i <= last; ++i) {
        OrderLine line;
        const bool read = trap.Step([&] { line = doc->Line(i); });
        if (read && line.kind == kPartLineKind) {
            // What the lookup read before a failing step still shows: the description, or
            // "Part Not Found"; the line keeps its own cost unless the part's was read.
            int64_t cost = line.unit_cost;
            LinePart part;
            trap.Step([&] { LookUpLinePart(line.part_key, part); });
            const std::string& description = part.description;
            if (part.found && cost == 0) cost = part.cost;
            const int r = grid.AddRow();
            grid.SetCell(r, "Line", std::to_string(line.line));
            grid.SetCell(r, "Part #", line.part_number);
            grid.SetCell(r, "Description", description);
            grid.SetCell(r, "Ordered", std::to_string(line.quantity));
            grid.SetCell(r, "Cost", FormatNumber(Number::Cents(cost), kCostFormat), cost);
            const int64_t extended = cost * line.quantity;
            grid.SetCell(r, "Extended", FormatNumber(Number::Cents(extended), kCostFormat),
                         extended);
            ++item_count;
        }
        if (po) progress->SetProgressValue(steps.Step());
    }
    value(3) = std::to_string(item_count);
    doc.reset();  // the file is closed before the form shows

    if (!po) trap.Report(host);
    for (const TrappedError& t : trap.errors())
        detail->AddError("error # :  " + std::to_string(t.number) + "  " + t.description);
    host.Show(*detail);  // at its first row
    return true;
}

}  // namespace

std::string ArrayLabel(std::string_view name, int index) {
    return std::string(name) + "(" + std::to_string(index) + ")";
}

int ProgressSteps::Step() {
    if (n_ == 0) return 0;  // the step is 0
    if (hundredths_ > 99 * n_) hundredths_ = 99 * n_;
    if (hundredths_ + 100 <= 100 * n_) hundredths_ += 100;
    return Value();
}

bool ShowReturnDetail(const std::string& number, const GridModel& source, Bookmark bookmark,
                      DetailHost& host) {
    return RunDetail(DetailKind::kReturn, number, source, bookmark, nullptr, host);
}

bool ShowPODetail(const std::string& number, const GridModel& source, Bookmark bookmark,
                  DetailProgress& progress, DetailHost& host) {
    return RunDetail(DetailKind::kPurchaseOrder, number, source, bookmark, &progress, host);
}

}  // namespace dv
