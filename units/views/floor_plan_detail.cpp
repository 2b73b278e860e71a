#include "units/views/floor_plan_detail.h"

#include "engine/business_basic.h"
#include "engine/codec.h"
#include "engine/index_cursor.h"
#include "engine/numeric.h"
#include "engine/packed_text.h"
#include "parts/part_description.h"
#include "records/clock_text.h"
#include "shell/detail_trap.h"
#include "shell/number_format.h"
#include "units/floor_plan_record.h"
#include "units/record_chain.h"

namespace dv {
namespace {

constexpr std::string_view kAmountFormat = "###,###,###.00";

using namespace grid_columns;

const GridColumn kDetailColumns[] = {
    {"Model", "Model ", "", false, false, kLeft, 0, kText},
    {"Serial Number", "Serial Number", "", false, false, kLeft, 0, kText},
    {"Ext", "Extents", "", false, true, kLeft, 0, kText},
    {"Date Sold", "Date Sold", "", false, false, kRight, 0, kText},
    {"Cust #", "Cust #", "", false, false, kRight, 0, kNumber},
    {"Invoice", "Invoice", "", false, false, kRight, 0, kText},
    {"Amount", "Amount", "", false, false, kRight, 0, kNumber},
    {"Date In", "Date In", "", false, false, kRight, 0, kText},
    {"Date Due", "Date Due", "", false, false, kRight, 0, kText},
    {"Ref 1", "Ref 1", "", false, false, kLeft, 0, kText},
    {"Ref 2", "Ref 2", "", false, false, kLeft, 0, kText},
    {"Date Paid", "Date Paid", "", false, false, kRight, 0, kText},
    {"Pmt #", "Pmt #", "", false, false, kLeft, 0, kText},
    {"Cost", "Cost", "", false, false, kRight, 0, kNumber},
    {"Extptr", "Extptr", "", true, false, kRight, 0},
};

const GridColumn kExtentColumns[] = {
    {"Line", "Line", "", false, false, kRight, 0},
    {"Part Number", "Part Number", "", false, false, kLeft, 0},
    {"Description", "Description", "", false, false, kLeft, 0},
    {"Quantity", "Quantity", "", false, false, kRight, 0},
    {"Cost", "Cost", "", false, false, kRight, 0},
    {"Net", "Net", "", false, false, kRight, 0},
};

// A date cell: empty for the empty date 1/1/68.
std::string DateCell(const Date& date) {
    return IsEmptyDate(date) ? std::string() : ShortDateText(date);
}

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string Amount(int64_t cents) {
    return FormatNumber(Number::Cents(cents), kAmountFormat);
}

void AddUnitRow(GridModel& grid, const clsFloorPlan& u, int64_t cost) {
    const int r = grid.AddRow();
    grid.SetCell(r, "Model", u.Part_Number);
    grid.SetCell(r, "Serial Number", u.Serial_Number);
    grid.SetCell(r, "Ext", u.ExtentChain != 0 ? "Yes" : "No");
    grid.SetCell(r, "Date Sold", DateCell(u.Date_Sold));
    grid.SetCell(r, "Cust #", std::to_string(u.Account), u.Account);
    grid.SetCell(r, "Invoice", std::to_string(u.Customer_Invoice));
    grid.SetCell(r, "Amount", Amount(u.Sold_For_Price), u.Sold_For_Price);
    grid.SetCell(r, "Date In", DateCell(u.Date_Received));
    grid.SetCell(r, "Date Due", DateCell(u.Date_Due));
    grid.SetCell(r, "Ref 1", u.Reference_1);
    grid.SetCell(r, "Ref 2", u.Reference_2);
    grid.SetCell(r, "Date Paid", DateCell(u.Date_Paid));
    grid.SetCell(r, "Pmt #", u.Payment_Reference);
    grid.SetCell(r, "Cost", Amount(cost), cost);
    grid.SetCell(r, "Extptr", std::to_string(u.ExtentChain), u.ExtentChain);
}

void AddExtentRow(GridModel& grid, const clsFloorPlanExtent& x) {
    const int r = grid.AddRow();
    grid.SetCell(r, "Line", x.LineText());
    if (!std::holds_alternative<int32_t>(x.Line)) {
        // A text record carries no part: its part columns stay blank.
        grid.SetCell(r, "Description", x.IsRemark() ? x.Comment : kDescriptionNotFound);
        return;
    }
    grid.SetCell(r, "Part Number", x.PartNumber);
    grid.SetCell(r, "Description", GetPartDescription(x.LineText(), x.PartNumber));
    grid.SetCell(r, "Quantity", std::to_string(x.Quantity), x.Quantity);
    grid.SetCell(r, "Cost", Amount(x.Cost), x.Cost);
    grid.SetCell(r, "Net", Amount(x.Net), x.Net);
}

}  // namespace

std::unique_ptr<DetailForm> BuildFloorPlanDetail(const std::string& line_text,
                                                 const std::string& name) {
    auto form =
        std::make_unique<DetailForm>(std::string(kFloorPlanDetailForm), "Floor Plan Detail");
    form->AddLabel("Label1", "Line  " + line_text + " - " + name);
    GridModel& grid = form->AddGrid(std::string(kFloorPlanDetailGrid));
    for (const GridColumn& c : kDetailColumns) grid.AddColumn(c);

    const int32_t line = ParseLong(line_text, "grdFp_BtnClick");
    cBusinessBasic& engine = RequireEngine("grdFp_BtnClick");
    std::string prefix(2, '\0');
    Pack("C", prefix, line, 1);
    int16_t flag = 0;
    IndexCursor(engine, "FPLNI").Walk(KeyRange::Prefix(prefix), [&](const IndexCursor& at) {
        const std::string data = engine.LreadFile("FPLNL", at.record(), flag);
        clsFloorPlan unit;
        unit.Unpack(data);
        if (FloorPlanUnitOpen(data)) AddUnitRow(grid, unit, FloorPlanUnitCost(unit.Cost, data));
    });
    grid.MoveFirst();
    form->SetButtonHandler(
        [](DetailForm& self, std::string_view grid_name, int row, DetailHost& host) {
            if (GridModel* units = self.FindGrid(grid_name)) ShowExtents(*units, row, host);
        });
    return form;
}

std::string ExtentsCaption(const std::string& model, const std::string& serial) {
    return "Extents...     Model " + Trimmed(model) + " - " + Trimmed(serial);
}

std::unique_ptr<DetailForm> BuildExtents(const std::string& model, const std::string& serial,
                                         int32_t first) {
    auto form =
        std::make_unique<DetailForm>(std::string(kExtentsForm), ExtentsCaption(model, serial));
    GridModel& grid = form->AddGrid(std::string(kExtentsGrid));
    for (const GridColumn& c : kExtentColumns) grid.AddColumn(c);
    SwitchAlphabet(0, kNameSet);
    RecordChain chain(RequireEngine("grdFpdtl_BtnClick"), "FPEXL", first);
    clsFloorPlanExtent extent;
    std::string data;
    int32_t number = 0;
    while (chain.Next(data, number)) {
        extent.Unpack(data);
        AddExtentRow(grid, extent);
        chain.SetNext(extent.ExtentChain);
    }
    grid.MoveFirst();
    return form;
}

void ShowFloorPlanDetail(const std::string& line_text, const std::string& name, DetailHost& host) {
    DetailTrap trap("frmFp", "grdFp_BtnClick");
    const bool shown = trap.Step([&] {
        auto form = BuildFloorPlanDetail(line_text, name);
        host.Show(*form);
    });
    if (!shown) trap.ReportNotShown(host, "The floor plan detail");
}

void ShowExtents(GridModel& detail, int row, DetailHost& host) {
    if (!detail.SelectRow(row)) return;
    if (detail.CellText(row, "Ext") == "No") return;
    DetailTrap trap(kFloorPlanDetailForm, "grdFpdtl_BtnClick");
    const bool shown = trap.Step([&] {
        const int32_t first = ParseLong(detail.CellText(row, "Extptr"), "grdFpdtl_BtnClick");
        auto form = BuildExtents(detail.CellText(row, "Model"),
                                 detail.CellText(row, "Serial Number"), first);
        host.Show(*form);
    });
    if (!shown) trap.ReportNotShown(host, "The extents");
}

}  // namespace dv
