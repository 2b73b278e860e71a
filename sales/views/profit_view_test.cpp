// The Profit view on product lines written byte by byte: the walk from line 1 to 999, the
// ratio and its picture formats, the grand figures from the sums, the failure path and the
// header clicks.
#include "sales/views/profit_view.h"

#include <gtest/gtest.h>

#include "sampledata/damage.h"
#include "test_support/views/view_test_support.h"

namespace dv {
namespace {

using views_test::LineRec;
using views_test::ViewTest;

class ProfitTest : public ViewTest {
  protected:
    std::vector<std::string> Recap() const {
        std::vector<std::string> out;
        for (int i = 0; i < kProfitRecapLabels; ++i)
            out.push_back(context.recap.Figure(kProfitFirstRecapLabel + i).caption);
        return out;
    }
};

TEST(ProfitRatio, IsProfitOverSalesAndZeroWithoutSales) {
    struct Case {
        int64_t sales, cost;
        const char* cell;   // "##.0%"
        const char* recap;  // "00.00%"
        int64_t millionths;
    };
    const Case cases[] = {
        {20000, 15000, "25.0%", "25.00%", 250000},
        {0, 15000, ".0%", "00.00%", 0},  // no sales: 0, whatever the cost
        {0, -15000, ".0%", "00.00%", 0},
        {-10000, -8000, "20.0%", "20.00%", 200000},  // same formula for negatives
        {10000, 12000, "-20.0%", "-20.00%", -200000},
        {30000, 0, "100.0%", "100.00%", 1000000},
        {100, 99, "1.0%", "01.00%", 10000},
        {300, 299, ".3%", "00.33%", 3333},
        {3, 1, "66.7%", "66.67%", 666667},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatNumber(ProfitRatio(c.sales, c.cost), kProfitCellRatioFormat), c.cell)
            << c.sales << " " << c.cost;
        EXPECT_EQ(FormatNumber(ProfitRatio(c.sales, c.cost), kProfitRatioFormat), c.recap)
            << c.sales << " " << c.cost;
        EXPECT_EQ(RatioMillionths(c.sales, c.cost), c.millionths) << c.sales << " " << c.cost;
    }
}

TEST_F(ProfitTest, ListsLinesOneTo999WithTheirThreePeriodsAndGrandRatiosFromTheSums) {
    std::vector<LineRec> lines;
    LineRec zero;  // line 0 is never listed
    zero.line = 0;
    zero.mtd_sales = 99999;
    LineRec a;
    a.line = 4;
    a.alpha = "HYD";
    a.mtd_sales = 10000, a.mtd_cogs = 5000;   // 100 / 50
    a.ytd_sales = 90000, a.ytd_cogs = 45000;  // stored without the month: 1,000 / 500
    LineRec b;
    b.line = 999;
    b.alpha = "TIR";
    b.mtd_sales = 30000, b.mtd_cogs = 30000;  // 300 / 300
    LineRec big;                              // 1000 ends the walk, though 1001 follows
    big.line = 1000;
    big.mtd_sales = 5;
    LineRec bigger;
    bigger.line = 1001;
    views_test::AddLines(set, {bigger, b, zero, big, a});
    // The previous year: L at 111 and 115 (not in LineRec).
    sample::RecordFileWriter& linel = set.Records("LINEL");
    for (int32_t n = 1; n <= linel.Count(); ++n) {
        std::string rec = linel.Get(n);
        if (rec[3] == 4) {
            rec.replace(
                110, 8,
                sample::RecordBuilder(8).Bin(1, 'L', 123456789).Bin(5, 'L', 23456789).str());
            linel.Set(n, rec);
        }
    }
    Start();
    const auto view = Load<ProfitView>();
    const GridModel& g = view->grid();
    EXPECT_EQ(Column(g, "Line"), (std::vector<std::string>{"4", "999"}));
    const std::vector<std::string> row = {"4",     "HYD",          "",           "100.00",
                                          "50.00", "50.0%",        "1,000.00",   "500.00",
                                          "50.0%", "1,234,567.89", "234,567.89", "81.0%"};
    ASSERT_EQ(g.ColumnCount(), 12);
    for (int c = 0; c < 12; ++c)
        EXPECT_EQ(g.CellText(0, c), row[static_cast<size_t>(c)]) << g.Column(c).name;
    EXPECT_EQ(g.CellText(1, "pyrgpr"), ".0%");
    EXPECT_EQ(g.CellText(1, "mtdgpr"), ".0%");
    EXPECT_EQ(g.GroupCaption(4), "Month to Date");
    EXPECT_EQ(g.GroupCaption(11), "Previous Year");
    EXPECT_EQ(g.Column(0).group, "Product Group");
    // 100/50 and 300/300: (400 − 350) / 400 from the sums, not the mean of the lines' ratios.
    EXPECT_EQ(Recap(),
              (std::vector<std::string>{"$400.00", "$350.00", "12.50%", "$1,300.00", "$800.00",
                                        "38.46%", "$1,234,567.89", "$234,567.89", "81.00%"}));
    EXPECT_EQ(context.splash.progress(), "Loading Profit Data...");
    EXPECT_TRUE(log.lines().empty());
}

TEST_F(ProfitTest, NoSalesShowZeroMoneyAndZeroRatios) {
    LineRec l;
    l.mtd_cogs = 5000;
    views_test::AddLines(set, {l});
    Start();
    Load<ProfitView>();
    EXPECT_EQ(Recap(), (std::vector<std::string>{"$0.00", "$50.00", "00.00%", "$0.00", "$50.00",
                                                 "00.00%", "$0.00", "$0.00", "00.00%"}));
}

TEST_F(ProfitTest, AnErrorMarksAllNineLabelsAndKeepsTheRowsSoFar) {
    std::vector<LineRec> lines;
    for (int32_t n = 1; n <= 3; ++n) {
        LineRec l;
        l.line = n;
        l.mtd_sales = 100;
        lines.push_back(l);
    }
    views_test::AddLines(set, lines);
    sample::DataSetImage image = set.Build();
    sample::damage::RecordPointerPastLastRecord(image, "LINEI", "LINEL", 1);
    Start(image);
    const auto view = Load<ProfitView>();
    EXPECT_EQ(Column(view->grid(), "Line"), (std::vector<std::string>{"1"}));
    for (int i = 0; i < kProfitRecapLabels; ++i) {
        EXPECT_TRUE(context.recap.Figure(kProfitFirstRecapLabel + i).red) << i;
        EXPECT_EQ(context.recap.Figure(kProfitFirstRecapLabel + i).caption, kDataError);
    }
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_EQ(log.lines()[0].rfind("*Error in frmProfit GetProfit routine error # :  81  ", 0), 0u)
        << log.lines()[0];
}

TEST_F(ProfitTest, RatioColumnsSortByTheirValueAndTheHiddenColumnOnlyFlipsTheToggle) {
    std::vector<LineRec> lines;
    const int64_t cost[] = {7460, 7500, 0, 10500};  // 25.4 %, 25.0 %, no sales, -5.0 %
    const int64_t sales[] = {10000, 10000, 0, 10000};
    for (int32_t n = 0; n < 4; ++n) {
        LineRec l;
        l.line = n + 1;
        l.mtd_sales = sales[n];
        l.mtd_cogs = cost[n];
        lines.push_back(l);
    }
    views_test::AddLines(set, lines);
    Start();
    const auto view = Load<ProfitView>();
    GridModel& g = view->grid();
    view->HeaderClick(kProfitGrid, 5);  // "mtdgpr", descending first
    EXPECT_EQ(Column(g, "Line"), (std::vector<std::string>{"1", "2", "3", "4"}));
    view->HeaderClick(kProfitGrid, 5);
    EXPECT_EQ(Column(g, "Line"), (std::vector<std::string>{"4", "3", "2", "1"}));
    view->HeaderClick(kProfitGrid, 4);  // "mtdcost", descending
    EXPECT_EQ(Column(g, "Line"), (std::vector<std::string>{"4", "2", "1", "3"}));
    for (int blank : {2, 12, -1}) {
        const int16_t before = mSortOrder;
        const std::vector<std::string> rows = Column(g, "Line");
        view->HeaderClick(kProfitGrid, blank);
        EXPECT_NE(mSortOrder, before) << blank;
        EXPECT_EQ(Column(g, "Line"), rows) << blank;
    }
}

}  // namespace
}  // namespace dv
