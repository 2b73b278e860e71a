#include "units/views/units_view.h"

#include "units/record_chain.h"
#include "units/views/unit_detail.h"

namespace dv {
namespace {

using namespace grid_columns;

const GridColumn kColumns[] = {
    {"Line", "Line", "", false, true, kRight, 0, kNumber},
    {"Name", "Name", "", false, false, kLeft, 0, kText},
    {"ndateIn", "ndate", "", true, false, kRight, 0},
    {"ndateComp", "ndateComp", "", true, false, kRight, 0},
    {"Total", "Total", "", false, false, kRight, 0, kNumber},
};

}  // namespace

UnitsView::UnitsView()
    : ProductLineView({.form = "frmUnits",
                       .caption = "Units",
                       .labels = {{"Label1", "Units"}},
                       .grid = kUnitsGrid,
                       .columns = kColumns,
                       .progress = kUnitsProgress,
                       .fill = "GetUnitData",
                       .recap_label = kUnitsRecapLabel}) {}

// Every line of type "U", with the sum of its units in stock.
void UnitsView::AddLine(const clsLines& line) {
    if (line.Line_Type != "U") return;
    AddLineRow(line.Line, line.Line_Name, LineStockCost(line.Line));
}

void UnitsView::OpenLine(const std::string& line, const std::string& name) {
    ShowUnitDetail(line, name, Details());
}

}  // namespace dv
