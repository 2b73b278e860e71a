#include "parts/views/inventory_view.h"

#include <array>
#include <chrono>
#include <optional>
#include <string>

#include "engine/business_basic.h"
#include "engine/codec.h"
#include "engine/error.h"
#include "engine/index_cursor.h"
#include "parts/lines_record.h"
#include "shell/recap_board.h"
#include "shell/splash.h"

namespace dv {
namespace {

constexpr std::string_view kTotalFormat = "$#,###,###.00";
constexpr std::string_view kSalesFormat = "$##,###,###.00";
constexpr std::string_view kTurnsFormat = "####.00";
constexpr std::string_view kFillFormat = "##.00";

// Positions in a LINEL record that the turns read straight.
constexpr int32_t kGoodsCostAt = 75;
constexpr int32_t kMonthCogsAt = 91;
constexpr int32_t kYearCogsAt = 103;

using namespace grid_columns;

const GridColumn kColumns[] = {
    {"Line", "Line", "Product Group", false, false, kRight, 0, kNumber},
    {"Alpha", "Alpha", "", false, false, kLeft, 0, kText},
    {"Merchandise", "Investment", "", false, false, kRight, 0, kNumber},
    {"Ytd", "Ytd", "Sales", false, false, kRight, 0, kNumber},
    {"Mtd", "Mtd", "", false, false, kRight, 0, kNumber},
    {"Est. Turns", "Est. Turns", "", false, false, kRight, 0, kNumber},
    {"Ord/I", "Ord", "Fill %  By Invoice Item", false, false, kRight, 0, kNumber},
    {"Shp/I", "Shp", "", false, false, kRight, 0, kNumber},
    {"Fill %/I", "Fill %", "", false, false, kRight, 0, kNumber},
    {"Ord/D", "Ord", "Fill % By Dollars Ordered", false, false, kRight, 0, kNumber},
    {"Shp/D", "Shp", "", false, false, kRight, 0, kNumber},
    {"Fill %/D", "Fill %", "", false, false, kRight, 0, kNumber},
    {"Ord/P", "Ord", "Fill % By Peices Ordered", false, false, kRight, 0, kNumber},
    {"Shp/P", "Shp", "", false, false, kRight, 0, kNumber},
    {"Fill %/P", "Fill %", "", false, false, kRight, 0, kNumber},
};
constexpr size_t kColumnCount = std::size(kColumns);

// One row's cells, in column order, with the typed value of the money cells.
struct InventoryRow {
    std::array<std::string, kColumnCount> text;
    std::array<std::optional<int64_t>, kColumnCount> value;
};

InventoryRow BuildRow(const clsLines& line, std::string_view record, const Date& today) {
    InventoryRow row;
    auto set = [&row](size_t column, std::string text) { row.text[column] = std::move(text); };
    set(0, std::to_string(line.Line));
    set(1, line.Alpha_Line);
    set(2, FormatNumber(Number::Cents(line.Cost_of_Mdse), kCurrencyFormat));
    row.value[2] = line.Cost_of_Mdse;
    set(3, FormatNumber(Number::Cents(line.YTD_Sales), kSalesFormat));
    row.value[3] = line.YTD_Sales;
    set(4, FormatNumber(Number::Cents(line.MTD_Sales), kSalesFormat));
    row.value[4] = line.MTD_Sales;
    set(5, FormatNumber(GetEstTurns(record, today), kTurnsFormat));
    auto fill = [&](size_t first, int32_t ordered, int32_t filled) {
        set(first, std::to_string(ordered));
        set(first + 1, std::to_string(filled));
        set(first + 2, FormatNumber(FillRate(ordered, filled), kFillFormat));
    };
    fill(6, line.YTD_Items_Ordered, line.YTD_Items_Filled);
    fill(9, line.YTD_Dollars_Ord, line.YTD_Dollars_Filled);
    fill(12, line.YTD_Pieces_Ordered, line.YTD_Pieces_Filled);
    return row;
}

}  // namespace

int32_t DaysElapsedInYear(const Date& today) {
    using namespace std::chrono;
    const year_month_day ymd{today.day};
    return static_cast<int32_t>((today.day - sys_days{ymd.year() / January / 1}).count()) + 1;
}

Number GetEstTurns(std::string_view record, const Date& today) {
    const int64_t sold =
        int64_t{Unpack("L", record, kMonthCogsAt)} + int64_t{Unpack("L", record, kYearCogsAt)};
    const int64_t goods = Unpack("L", record, kGoodsCostAt);
    if (goods == 0) return Number::Whole(0);
    // (sold x 365 / days) / goods, as one fraction: |sold| < 2^33 and |goods| < 2^31, so
    // neither side comes near 64 bits.
    return Number::Ratio(sold * 365, goods * DaysElapsedInYear(today));
}

Number FillRate(int64_t ordered, int64_t filled) {
    if (ordered <= 0) return Number::Whole(0);
    return Number::Ratio(filled * 100, ordered);
}

InventoryView::InventoryView() : View("frmInv", "Inventory Investment") {
    AddLabel("Label1", "Current Inventory");
    AddLabel("lblinvtot(0)");
    AddLabel("lblinvtot(1)");
    AddLabel("lblinvtot(2)");
    grid_ = &AddGrid(std::string(kInventoryGrid));
    for (const GridColumn& c : kColumns) grid_->AddColumn(c);
    SetLayout(layout::Titled(std::string(kInventoryGrid),
                             {layout::Total("lblinvtot(0)"), layout::Total("lblinvtot(1)"),
                              layout::Total("lblinvtot(2)")}));
}

void InventoryView::Load(ViewContext& context) {
    context.Splash().SetProgress(std::string(kInventoryProgress));
    RunFill(context, "GetLineData", {kInventoryRecapLabel}, [&] { GetLineData(context); });
}

void InventoryView::GetLineData(ViewContext& context) {
    grid_->RemoveAll();

    cBusinessBasic& engine = RequireEngine("GetLineData");
    const Date today = Now();
    int64_t investment = 0, sales_ytd = 0, sales_mtd = 0;
    ForEachShownLine(engine, [&](const clsLines& line, const std::string& data) {
        // The whole row first: an error on the way leaves no half row behind.
        const InventoryRow row = BuildRow(line, data, today);
        const int r = grid_->AddRow();
        for (size_t c = 0; c < kColumnCount; ++c) {
            const int column = static_cast<int>(c);
            if (row.value[c]) {
                grid_->SetCell(r, kColumns[c].name, row.text[c], *row.value[c]);
            } else {
                grid_->SetCell(r, column, row.text[c]);
            }
        }
        investment += line.Cost_of_Mdse;
        sales_ytd += line.YTD_Sales;
        sales_mtd += line.MTD_Sales;
    });
    grid_->MoveFirst();

    const std::string total = FormatNumber(Number::Cents(investment), kTotalFormat);
    context.Recap().SetCaption(kInventoryRecapLabel, total);
    SetLabelCaption("lblinvtot(0)", "Investment Total : " + total);
    SetLabelCaption("lblinvtot(1)",
                    "Sales YTD : " + FormatNumber(Number::Cents(sales_ytd), kTotalFormat));
    SetLabelCaption("lblinvtot(2)",
                    "Sales MTD : " + FormatNumber(Number::Cents(sales_mtd), kTotalFormat));
}

}  // namespace dv
