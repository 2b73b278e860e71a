#include "units/views/units_view.h"

#include "engine/business_basic.h"
#include "engine/codec.h"
#include "engine/index_cursor.h"
#include "engine/live_record.h"
#include "parts/lines_record.h"
#include "shell/detail_form.h"
#include "shell/number_format.h"
#include "shell/recap_board.h"
#include "shell/splash.h"
#include "units/record_chain.h"
#include "units/views/unit_detail.h"

namespace dv {
namespace {

constexpr std::string_view kTotalFormat = "$###,###,###.00";
constexpr std::string_view kAmountFormat = "###,###,###.00";
constexpr int32_t kFirstLine = 1;
constexpr int32_t kLineLimit = 1000;

constexpr auto kRight = CellAlignment::kRight;
constexpr auto kLeft = CellAlignment::kLeft;
constexpr auto kNumber = SortKind::kNumber;
constexpr auto kText = SortKind::kText;

const GridColumn kColumns[] = {
    {"Line", "Line", "", false, true, kRight, 0, kNumber},
    {"Name", "Name", "", false, false, kLeft, 0, kText},
    {"ndateIn", "ndate", "", true, false, kRight, 0},
    {"ndateComp", "ndateComp", "", true, false, kRight, 0},
    {"Total", "Total", "", false, false, kRight, 0, kNumber},
};

}  // namespace

UnitsView::UnitsView() : View("frmUnits", "Units") {
    AddLabel("Label1", "Units");
    AddLabel("lblFpTot(0)", "Label3");
    grid_ = &AddGrid(std::string(kUnitsGrid));
    for (const GridColumn& c : kColumns) grid_->AddColumn(c);
}

void UnitsView::Load(ViewContext& context) {
    context.Splash().SetProgress(std::string(kUnitsProgress));
    // The total label takes the sum only when the fill ran to its end: a fill that failed (an
    // index's range message included) leaves its design caption, so that no partial sum is
    // shown as the total.
    if (RunFill(context, "GetUnitData", {kUnitsRecapLabel}, [&] { GetUnitData(context); }))
        SetLabelCaption("lblFpTot(0)",
                        "Total  : " + FormatNumber(Number::Cents(total_cents_), kTotalFormat));
}

void UnitsView::GetUnitData(ViewContext& context) {
    grid_->RemoveAll();
    total_cents_ = 0;
    cBusinessBasic& engine = RequireEngine("GetUnitData");
    clsLines line;
    std::string from(2, '\0'), below(2, '\0');
    Pack("C", from, kFirstLine, 1);
    Pack("C", below, kLineLimit, 1);
    IndexCursor(engine, "LINEI").Walk(KeyRange::Between(from, below), [&](const IndexCursor& at) {
        line.Unpack(ReadLiveRecord(engine, "LINEL", at.record(), "LINEI"));
        if (line.Line_Type == "U") GetUnitLineData(line.Line, line.Line_Name);
    });
    grid_->MoveFirst();
    const std::string total = FormatNumber(Number::Cents(total_cents_), kTotalFormat);
    context.Recap().SetCaption(kUnitsRecapLabel, total);
}

void UnitsView::GetUnitLineData(int32_t line, const std::string& name) {
    int64_t sum = 0;
    ForEachUnitInStock(line, [&sum](const clsUnits&, int64_t cost) { sum += cost; });
    const int r = grid_->AddRow();
    grid_->SetCell(r, "Line", std::to_string(line), line);
    grid_->SetCell(r, "Name", name);
    grid_->SetCell(r, "Total", FormatNumber(Number::Cents(sum), kAmountFormat), sum);
    total_cents_ += sum;
}

void UnitsView::ButtonClick(std::string_view grid, int row) {
    if (grid != kUnitsGrid || row < 0 || row >= grid_->RowCount()) return;
    if (grid_->CurrentRow() != row) grid_->SetCurrentRow(row);
    ShowUnitDetail(grid_->CellText(row, "Line"), grid_->CellText(row, "Name"), Details());
}

}  // namespace dv
