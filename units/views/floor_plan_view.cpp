#include "units/views/floor_plan_view.h"

#include "engine/business_basic.h"
#include "engine/codec.h"
#include "engine/index_cursor.h"
#include "engine/live_record.h"
#include "parts/lines_record.h"
#include "shell/detail_form.h"
#include "shell/number_format.h"
#include "shell/recap_board.h"
#include "shell/splash.h"
#include "units/floor_plan_record.h"
#include "units/views/floor_plan_detail.h"

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
    {"Cost", "Cost", "", false, false, kRight, 0, kNumber},
    {"ndateIn", "ndate", "", true, false, kRight, 0},
    {"ndateComp", "ndateComp", "", true, false, kRight, 0},
    {"Extents", "Extents", "", false, false, kRight, 0, kNumber},
    {"Total", "Total", "", false, false, kRight, 0, kNumber},
};

}  // namespace

FloorPlanView::FloorPlanView() : View("frmFp", "Floor Plan") {
    AddLabel("Label1", "Floor Plan");
    AddLabel("Label2", "Extents NOT included in totals");
    AddLabel("lblFpTot(0)", "Label3");
    grid_ = &AddGrid(std::string(kFloorPlanGrid));
    for (const GridColumn& c : kColumns) grid_->AddColumn(c);
}

void FloorPlanView::Load(ViewContext& context) {
    context.Splash().SetProgress(std::string(kFloorPlanProgress));
    // The total label takes the sum only when the fill ran to its end: a fill that failed (an
    // index's range message included) leaves its design caption, so that no partial sum is
    // shown as the total.
    if (RunFill(context, "GetFpData", {kFloorPlanRecapLabel}, [&] { GetFpData(context); }))
        SetLabelCaption("lblFpTot(0)",
                        "Total  : " + FormatNumber(Number::Cents(total_cents_), kTotalFormat));
}

void FloorPlanView::GetFpData(ViewContext& context) {
    grid_->RemoveAll();
    total_cents_ = 0;
    cBusinessBasic& engine = RequireEngine("GetFpData");
    clsLines line;
    std::string from(2, '\0'), below(2, '\0');
    Pack("C", from, kFirstLine, 1);
    Pack("C", below, kLineLimit, 1);
    IndexCursor(engine, "LINEI").Walk(KeyRange::Between(from, below), [&](const IndexCursor& at) {
        line.Unpack(ReadLiveRecord(engine, "LINEL", at.record(), "LINEI"));
        GetFpLineData(line.Line, line.Line_Name);
    });
    const std::string total = FormatNumber(Number::Cents(total_cents_), kTotalFormat);
    context.Recap().SetCaption(kFloorPlanRecapLabel, total);
    grid_->MoveFirst();
}

void FloorPlanView::GetFpLineData(int32_t line, const std::string& name) {
    cBusinessBasic& engine = RequireEngine("GetFpLineData");
    std::string prefix(2, '\0');
    Pack("C", prefix, line, 1);
    int64_t sum = 0;
    IndexCursor(engine, "FPLNI").Walk(KeyRange::Prefix(prefix), [&](const IndexCursor& at) {
        const std::string data = ReadLiveRecord(engine, "FPLNL", at.record(), "FPLNI");
        clsFloorPlan unit;
        unit.Unpack(data);
        if (FloorPlanUnitOpen(data)) sum += FloorPlanUnitCost(unit.Cost, data);
    });
    if (sum == 0) return;
    const int r = grid_->AddRow();
    grid_->SetCell(r, "Line", std::to_string(line), line);
    grid_->SetCell(r, "Name", name);
    grid_->SetCell(r, "Cost", FormatNumber(Number::Cents(sum), kAmountFormat), sum);
    grid_->SetCell(r, "Extents", FormatNumber(Number::Cents(0), kAmountFormat), 0);
    grid_->SetCell(r, "Total", FormatNumber(Number::Cents(sum), kAmountFormat), sum);
    total_cents_ += sum;
}

void FloorPlanView::ButtonClick(std::string_view grid, int row) {
    if (grid != kFloorPlanGrid || row < 0 || row >= grid_->RowCount()) return;
    if (grid_->CurrentRow() != row) grid_->SetCurrentRow(row);
    const std::string line = grid_->CellText(row, "Line");
    const std::string name = grid_->CellText(row, "Name");
    ShowFloorPlanDetail(line, name, Details());
}

}  // namespace dv
