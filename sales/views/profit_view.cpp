#include "sales/views/profit_view.h"

#include <array>
#include <string>

#include "engine/business_basic.h"
#include "engine/codec.h"
#include "engine/index_cursor.h"
#include "parts/lines_record.h"
#include "shell/recap_board.h"
#include "shell/splash.h"

namespace dv {
namespace {

using namespace grid_columns;

const GridColumn kColumns[] = {
    {"Line", "Line", "Product Group", false, false, kRight, 0, kNumber},
    {"Alpha", "Alpha", "", false, false, kLeft, 0, kText},
    {"hidden", "", "", true, false, kLeft, 0},
    {"mtdsales", "Sales", "Month to Date", false, false, kRight, 0, kNumber},
    {"mtdcost", "Cost", "", false, false, kRight, 0, kNumber},
    {"mtdgpr", "GPR", "", false, false, kRight, 0, kNumber},
    {"ytdsales", "Sales", "Year to Date", false, false, kRight, 0, kNumber},
    {"ytdcost", "Cost", "", false, false, kRight, 0, kNumber},
    {"ytdgpr", "GPR", "", false, false, kRight, 0, kNumber},
    {"pyrsales", "Sales", "Previous Year", false, false, kRight, 0, kNumber},
    {"pyrcost", "Cost", "", false, false, kRight, 0, kNumber},
    {"pyrgpr", "GPR", "", false, false, kRight, 0, kNumber},
};

struct Period {
    const char* sales;
    const char* cost;
    const char* ratio;
    int64_t clsLines::*line_sales;
    int64_t clsLines::*line_cost;
};
const Period kPeriods[] = {
    {"mtdsales", "mtdcost", "mtdgpr", &clsLines::MTD_Sales, &clsLines::MTD_COGS},
    {"ytdsales", "ytdcost", "ytdgpr", &clsLines::YTD_Sales, &clsLines::YTD_COGS},
    {"pyrsales", "pyrcost", "pyrgpr", &clsLines::PYTD_Sales, &clsLines::PYTD_COGS},
};

}  // namespace

Number ProfitRatio(int64_t sales, int64_t cost) {
    if (sales == 0) return Number::Whole(0);
    return Number::Ratio(sales - cost, sales);
}

int64_t RatioMillionths(int64_t sales, int64_t cost) {
    if (sales == 0) return 0;
    // A line's figures are 32-bit cents (the year to date two of them), so the numerator
    // stays below 2^55.
    int64_t n = (sales - cost) * 1000000;
    int64_t d = sales;
    if (d < 0) {
        n = -n;
        d = -d;
    }
    return (n >= 0 ? n + d / 2 : n - d / 2) / d;
}

ProfitView::ProfitView() : View("frmProfit", "Profit") {
    AddLabel("Label1", "Profit by Line");
    grid_ = &AddGrid(std::string(kProfitGrid));
    for (const GridColumn& c : kColumns) grid_->AddColumn(c);
    SetLayout(layout::Titled(std::string(kProfitGrid)));
}

void ProfitView::Load(ViewContext& context) {
    context.Splash().SetProgress(std::string(kProfitProgress));
    RunFill(context, "GetProfit", {13, 14, 15, 16, 17, 18, 19, 20, 21},
            [&] { GetProfit(context); });
}

void ProfitView::GetProfit(ViewContext& context) {
    grid_->RemoveAll();
    std::array<int64_t, 3> sales{}, cost{};

    cBusinessBasic& engine = RequireEngine("GetProfit");
    ForEachShownLine(engine, [&](const clsLines& line, const std::string&) {
        const int r = grid_->AddRow();
        grid_->SetCell(r, "Line", std::to_string(line.Line), line.Line);
        grid_->SetCell(r, "Alpha", line.Alpha_Line);
        for (size_t p = 0; p < std::size(kPeriods); ++p) {
            const Period& period = kPeriods[p];
            const int64_t s = line.*period.line_sales;
            const int64_t c = line.*period.line_cost;
            grid_->SetCell(r, period.sales, FormatNumber(Number::Cents(s), kProfitCellFormat), s);
            grid_->SetCell(r, period.cost, FormatNumber(Number::Cents(c), kProfitCellFormat), c);
            grid_->SetCell(r, period.ratio, FormatNumber(ProfitRatio(s, c), kProfitCellRatioFormat),
                           RatioMillionths(s, c));
            sales[p] += s;
            cost[p] += c;
        }
    });
    grid_->MoveFirst();

    RecapBoard& recap = context.Recap();
    for (size_t p = 0; p < std::size(kPeriods); ++p) {
        const int label = kProfitFirstRecapLabel + 3 * static_cast<int>(p);
        recap.SetCaption(label, FormatNumber(Number::Cents(sales[p]), kProfitMoneyFormat));
        recap.SetCaption(label + 1, FormatNumber(Number::Cents(cost[p]), kProfitMoneyFormat));
        recap.SetCaption(label + 2,
                         FormatNumber(ProfitRatio(sales[p], cost[p]), kProfitRatioFormat));
    }
}

}  // namespace dv
