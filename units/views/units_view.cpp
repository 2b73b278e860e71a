#include "units/views/units_view.h"

#include "engine/business_basic.h"
#include "engine/codec.h"
#include "engine/index_cursor.h"
#include "parts/lines_record.h"
#include "parts/views/view_support.h"
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

const GridColumn kColumns[] = {
    {"Line", "Line", "", false, true, kRight, 0},
    {"Name", "Name", "", false, false, kLeft, 0},
    {"ndateIn", "ndate", "", true, false, kRight, 0},
    {"ndateComp", "ndateComp", "", true, false, kRight, 0},
    {"Total", "Total", "", false, false, kRight, 0},
};

const HeaderSort kHeaderSorts[] = {
    {"Line", kSortNumber}, {"Name", kSortText},    {"", kSortText},
    {"", kSortText},       {"Total", kSortNumber},
};

}  // namespace

std::span<const HeaderSort> UnitsHeaderSorts() {
    return kHeaderSorts;
}

bool UnitInStock(const clsUnits& unit) {
    return unit.Date_Sold == EmptyDate();
}

int64_t UnitLedgerSum(int32_t first) {
    RecordChain chain(ViewEngine("GetUnitLineData"), "LUNITL", first);
    int64_t sum = 0;
    std::string data;
    int32_t number = 0;
    while (chain.Next(data, number)) {
        clsUnitsLedger entry;
        entry.Unpack(data);
        sum += entry.Amount;
        chain.SetNext(entry.Chain);
    }
    return sum;
}

void ForEachUnitInStock(int32_t line, const std::function<void(const clsUnits&, int64_t)>& visit) {
    cBusinessBasic& engine = ViewEngine("GetUnitLineData");
    std::string prefix(2, '\0');
    Pack("C", prefix, line, 1);
    int16_t flag = 0;
    IndexCursor(engine, "LUNITI").Walk(KeyRange::Prefix(prefix), [&](const IndexCursor& at) {
        // A fresh object per unit: nothing of one unit carries over to the next.
        clsUnits unit;
        unit.Unpack(engine.LreadFile("UNITL", at.record(), flag));
        if (UnitInStock(unit)) visit(unit, UnitLedgerSum(unit.SubLedgerChain));
    });
}

UnitsView::UnitsView() : View("frmUnits", "Units") {
    AddLabel("Label1", "Units");
    AddLabel("lblFpTot(0)", "Label3");
    grid_ = &AddGrid(std::string(kUnitsGrid));
    for (const GridColumn& c : kColumns) grid_->AddColumn(c);
}

void UnitsView::Load(ViewContext& context) {
    context.Splash().SetProgress(std::string(kUnitsProgress));
    RunFill(context, "GetUnitData", {kUnitsRecapLabel}, [&] { GetUnitData(context); });
}

void UnitsView::GetUnitData(ViewContext& context) {
    grid_->RemoveAll();
    total_cents_ = 0;
    cBusinessBasic& engine = ViewEngine("GetUnitData");
    clsLines line;
    std::string from(2, '\0'), below(2, '\0');
    Pack("C", from, kFirstLine, 1);
    Pack("C", below, kLineLimit, 1);
    int16_t flag = 0;
    IndexCursor(engine, "LINEI").Walk(KeyRange::Between(from, below), [&](const IndexCursor& at) {
        line.Unpack(engine.LreadFile("LINEL", at.record(), flag));
        if (line.Line_Type == "U") GetUnitLineData(line.Line, line.Line_Name);
    });
    grid_->MoveFirst();
    const std::string total = FormatNumber(Number::Cents(total_cents_), kTotalFormat);
    context.Recap().SetCaption(kUnitsRecapLabel, total);
    SetLabelCaption("lblFpTot(0)", "Total  : " + total);
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

void UnitsView::HeaderClick(std::string_view grid, int column) {
    if (grid != kUnitsGrid) return;
    HeaderClickSort(*grid_, column, kHeaderSorts);
}

void UnitsView::ButtonClick(std::string_view grid, int row) {
    if (grid != kUnitsGrid || row < 0 || row >= grid_->RowCount()) return;
    if (grid_->CurrentRow() != row) grid_->SetCurrentRow(row);
    ShowUnitDetail(grid_->CellText(row, "Line"), grid_->CellText(row, "Name"), Details());
}

}  // namespace dv
