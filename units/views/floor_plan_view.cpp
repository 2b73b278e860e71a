#include "units/views/floor_plan_view.h"

#include "engine/business_basic.h"
#include "engine/codec.h"
#include "engine/index_cursor.h"
#include "shell/detail_form.h"
#include "shell/number_format.h"
#include "units/floor_plan_record.h"
#include "units/views/floor_plan_detail.h"

namespace dv {
namespace {

constexpr std::string_view kAmountFormat = "###,###,###.00";

using namespace grid_columns;

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

FloorPlanView::FloorPlanView()
    : ProductLineView(
          {.form = "frmFp",
           .caption = "Floor Plan",
           .labels = {{"Label1", "Floor Plan"}, {"Label2", "Extents NOT included in totals"}},
           .grid = kFloorPlanGrid,
           .columns = kColumns,
           .progress = kFloorPlanProgress,
           .fill = "GetFpData",
           .recap_label = kFloorPlanRecapLabel}) {}

// The line's row when its open units add up to anything but 0.
void FloorPlanView::AddLine(const clsLines& line) {
    cBusinessBasic& engine = RequireEngine("GetFpLineData");
    std::string prefix(2, '\0');
    Pack("C", prefix, line.Line, 1);
    int64_t sum = 0;
    int16_t flag = 0;
    IndexCursor(engine, "FPLNI").Walk(KeyRange::Prefix(prefix), [&](const IndexCursor& at) {
        const std::string data = engine.LreadFile("FPLNL", at.record(), flag);
        clsFloorPlan unit;
        unit.Unpack(data);
        if (FloorPlanUnitOpen(data)) sum += FloorPlanUnitCost(unit.Cost, data);
    });
    if (sum == 0) return;
    const int r = AddLineRow(line.Line, line.Line_Name, sum);
    grid().SetCell(r, "Cost", FormatNumber(Number::Cents(sum), kAmountFormat), sum);
    grid().SetCell(r, "Extents", FormatNumber(Number::Cents(0), kAmountFormat), 0);
}

void FloorPlanView::OpenLine(const std::string& line, const std::string& name) {
    ShowFloorPlanDetail(line, name, Details());
}

}  // namespace dv
