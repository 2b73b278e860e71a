#include "sales/views/ar_view.h"

#include <exception>

#include "engine/codec.h"
#include "engine/error.h"
#include "engine/startup.h"
#include "engine/system.h"
#include "shell/recap_board.h"
#include "shell/splash.h"

namespace dv {
namespace {

constexpr std::string_view kAmountFormat = "$#,###,###.00";

}  // namespace

Number ReceivableAmount(std::string_view piece) {
    while (!piece.empty() && piece.front() == ' ') piece.remove_prefix(1);
    while (!piece.empty() && piece.back() == ' ') piece.remove_suffix(1);
    bool negative = false;
    if (!piece.empty() && (piece.front() == '-' || piece.front() == '+')) {
        negative = piece.front() == '-';
        piece.remove_prefix(1);
    }
    int64_t units = 0;
    int decimals = -1;
    bool digits = false;
    for (char c : piece) {
        if (c == '.' && decimals < 0) {
            decimals = 0;
        } else if (c >= '0' && c <= '9' && units <= (INT64_MAX - 9) / 10 && decimals < 14) {
            units = units * 10 + (c - '0');
            digits = true;
            if (decimals >= 0) ++decimals;
        } else {
            RaisePlatform(err::kTypeMismatch, "GetAR");
        }
    }
    if (!digits) RaisePlatform(err::kTypeMismatch, "GetAR");
    // Cents to dollars: two more decimals.
    return Number::Scaled(negative ? -units : units, (decimals < 0 ? 0 : decimals) + 2);
}

ARView::ARView() : View("frmAR", "Accounts Receivable") {
    AddLabel("Label1", "Accounts Receivable");
    AddLabel("Label2", "as of last ENDDAY");
    current_ = &AddGrid(std::string(kARCurrentGrid));
    current_->AddColumn({"Description", "Description", "", false, false, CellAlignment::kLeft, 0});
    current_->AddColumn({"Balance", "Balance", "", false, false, CellAlignment::kRight, 0});
    current_->AddColumn({"% Total", "% Total", "", false, false, CellAlignment::kRight, 0});
    current_->SetToolTip("Current Accounts Receivable");
    future_ = &AddGrid(std::string(kARFutureGrid));
    future_->AddColumn({"Period", "Period", "", false, false, CellAlignment::kLeft, 0});
    future_->AddColumn({"Balance", "Balance", "", false, false, CellAlignment::kRight, 0});
    future_->SetToolTip("Futures");
    // The picture and the title with its "as of" note above the two grids, the current table
    // over the futures.
    SetLayout({{layout::Picture("Image1"), layout::Title("Label1"), layout::Label("Label2")},
               {layout::Grid(std::string(kARCurrentGrid))},
               {layout::Grid(std::string(kARFutureGrid))}});
}

void ARView::Load(ViewContext& context) {
    context.Splash().SetProgress(std::string(kARProgress));
    RunFill(context, "frmAr", "GetAR", {recap::kAR}, [&] { GetAR(context); });
}

void ARView::GetAR(ViewContext& context) {
    current_->RemoveAll();
    future_->RemoveAll();
    if (!mSystem) RaisePlatform(err::kNoObject, "GetAR");
    const std::string path = mSystem->TMARLNK() + "\\" + std::string(kARFile);
    ShareTextFailure failure;
    const std::optional<std::vector<std::string>> lines =
        ReadShareTextLines(path, "GetAR", &failure);
    // There but refused: the open's own error, which names the file and the system's reason.
    if (!lines && !failure.missing)
        throw OpenFailureBecause(failure.number, "GetAR", path, failure.reason);
    if (!lines) {
        // No summary is no error: both grids are hidden and the recap label is left as it is.
        current_->SetVisible(false);
        future_->SetVisible(false);
        return;
    }
    // An empty summary shows both grids empty, and is no error either.
    if (lines->empty()) {
        current_->MoveFirst();
        future_->MoveFirst();
        return;
    }
    // A full-width counter: a long file never overflows it.
    int64_t counter = 1;
    for (const std::string& line : *lines) {
        const std::vector<std::string> pieces = Split(line, ",", -1, 0);
        if (counter >= 2) {
            if (pieces.size() < 2) RaisePlatform(err::kSubscript, "GetAR");
            const std::string amount = FormatNumber(ReceivableAmount(pieces[1]), kAmountFormat);
            GridModel& grid = counter <= 30 ? *current_ : *future_;
            const int r = grid.AddRow();
            grid.SetCell(r, 0, pieces[0]);
            grid.SetCell(r, "Balance", amount);
            if (counter == 30) context.Recap().SetCaption(recap::kAR, amount);
        }
        ++counter;
    }
    // Line 30 is the total the recap board shows; a summary that holds lines but ends before it
    // has lost lines, and the label would stay blank without a word.
    if (counter <= 30) {
        throw BasicError(err::kReceivablesShort, "GetAR",
                         "Receivables summary " + path + " ends at line " +
                             std::to_string(counter - 1) + ", before its total at line 30");
    }
    current_->MoveFirst();
    future_->MoveFirst();
}

}  // namespace dv
