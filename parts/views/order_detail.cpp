#include "parts/views/order_detail.h"

#include <exception>

#include "engine/codec.h"
#include "parts/order_files.h"
#include "shell/number_format.h"
#include "shell/operation_log.h"
#include "shell/view.h"

namespace dv {
namespace {

constexpr std::string_view kCostFormat = "#####.00";

enum class DetailKind { kReturn, kPurchaseOrder };

struct TrappedError {
    int32_t number = 0;
    std::string description;
};

// Runs one step; a failure is noted and the next step runs.
class StepTrap {
  public:
    template <typename Fn>
    bool operator()(Fn&& step) {
        try {
            step();
            return true;
        } catch (const std::exception& e) {
            TrappedError t;
            ErrorParts(e, t.number, t.description);
            errors.push_back(std::move(t));
            return false;
        }
    }
    std::vector<TrappedError> errors;
};

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

void ReportReturnErrors(const std::vector<TrappedError>& errors, const DetailHooks& hooks) {
    if (errors.empty()) return;
    mLogLine = FillErrorLine("frmReturn", "ShowReturnDetail", errors.front().number,
                             errors.front().description);
    WriteLog(mLogPath, mLogLine);
    if (hooks.message) hooks.message(mLogLine.substr(1));  // the entry without its "*"
}

bool RunDetail(DetailKind kind, const std::string& number, const GridModel& source,
               Bookmark bookmark, DetailProgress* progress, const DetailHooks& hooks) {
    const bool po = kind == DetailKind::kPurchaseOrder;
    const LoadingScope loading(po ? progress : nullptr);
    StepTrap trap;

    auto detail = std::make_unique<OrderDetail>();
    if (po) {
        detail->caption = std::string(kPurchaseOrderDetailCaption) + "      PO # : " + number;
    } else {
        detail->caption = std::string(kReturnDetailCaption) + "      Return # : " + number;
        detail->comments_caption = "Return Comments";
    }

    std::unique_ptr<OrderDocument> doc;
    trap([&] { doc = OrderDocument::Open(number); });
    if (!doc) {
        if (!po) ReportReturnErrors(trap.errors, hooks);
        return false;
    }
    ProgressSteps steps(doc->LastRecord() - (kFirstOrderLine - 1));

    int32_t drop = 0;
    trap([&] { drop = Unpack("L", doc->Record(1), 17); });

    // The vendor name, date and total as the view's row shows them.
    const int row = source.RowOf(bookmark);
    for (int i = 0; i < 3; ++i) {
        if (row >= 0 && i + 2 < source.ColumnCount())
            detail->values[static_cast<size_t>(i)] = source.CellText(row, i + 2);
    }
    if (drop != 0) {
        detail->drop_ship_visible = true;
        detail->values[4] = std::to_string(drop);
    }

    for (int32_t i = 2; i <= 5; ++i) {
        std::string comment;
        trap([&] { comment = DecodeOrderComment(doc->Record(i)); });
        detail->comments += comment;
        detail->comments += '\n';
    }

    GridModel& grid = detail->lines;
    const int32_t last = doc->LastRecord();
    for (int32_t i = kFirstOrderLine; i <= last; ++i) {
        OrderLine line;
        const bool read = trap([&] { line = doc->Line(i); });
        if (read && line.kind == kPartLineKind) {
            // What the lookup read before a failing step still shows: the description, or
            // "Part Not Found"; the line keeps its own cost unless the part's was read.
            int64_t cost = line.unit_cost;
            LinePart part;
            trap([&] { LookUpLinePart(line.part_key, part); });
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
            ++detail->item_count;
        }
        if (po) progress->SetProgressValue(steps.Step());
    }
    grid.MoveFirst();
    detail->values[3] = std::to_string(detail->item_count);
    doc.reset();  // the file is closed before the form shows

    if (!po) ReportReturnErrors(trap.errors, hooks);
    for (const TrappedError& t : trap.errors)
        detail->errors.push_back("error # :  " + std::to_string(t.number) + "  " + t.description);
    if (hooks.show) hooks.show(*detail);
    return true;
}

}  // namespace

OrderDetail::OrderDetail() {
    for (const char* name : {"Line", "Part #", "Description", "Ordered", "Cost", "Extended"}) {
        const bool number =
            std::string_view(name) != "Part #" && std::string_view(name) != "Description";
        lines.AddColumn({name, name, "", false, false,
                         number ? CellAlignment::kRight : CellAlignment::kLeft, 0});
    }
}

int ProgressSteps::Step() {
    if (n_ == 0) return 0;  // the step is 0
    if (hundredths_ > 99 * n_) hundredths_ = 99 * n_;
    if (hundredths_ + 100 <= 100 * n_) hundredths_ += 100;
    return Value();
}

bool ShowReturnDetail(const std::string& number, const GridModel& source, Bookmark bookmark,
                      const DetailHooks& hooks) {
    return RunDetail(DetailKind::kReturn, number, source, bookmark, nullptr, hooks);
}

bool ShowPODetail(const std::string& number, const GridModel& source, Bookmark bookmark,
                  DetailProgress& progress, const DetailHooks& hooks) {
    return RunDetail(DetailKind::kPurchaseOrder, number, source, bookmark, &progress, hooks);
}

}  // namespace dv
