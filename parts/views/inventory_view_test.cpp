// The Inventory Investment view on product lines written byte by byte: which lines the walk
// shows, the cells of a row, the estimated turns and fill rates, the totals, the failure path
// and the header clicks.
#include "parts/views/inventory_view.h"

#include <gtest/gtest.h>

#include "engine/codec.h"
#include "parts/views/order_views.h"
#include "sampledata/damage.h"
#include "test_support/views/view_test_support.h"

namespace dv {
namespace {

using sample::RecordBuilder;
using views_test::LineRec;
using views_test::ViewTest;

class InventoryTest : public ViewTest {};

TEST_F(InventoryTest, AnEmptyIndexGivesNoRowsAndTotalsOfNothing) {
    views_test::AddLines(set, {});
    Start();
    const auto view = Load<InventoryView>();
    EXPECT_EQ(view->grid().RowCount(), 0);
    EXPECT_EQ(context.recap.Figure(1).caption, "$.00");
    EXPECT_FALSE(context.recap.Figure(1).red);
    EXPECT_EQ(Caption(*view, "lblinvtot(0)"), "Investment Total : $.00");
    EXPECT_EQ(Caption(*view, "lblinvtot(1)"), "Sales YTD : $.00");
    EXPECT_EQ(Caption(*view, "lblinvtot(2)"), "Sales MTD : $.00");
    EXPECT_EQ(context.splash.progress(), "Loading Inventory...");
    EXPECT_TRUE(log.lines().empty());
}

TEST_F(InventoryTest, TheWalkStartsAtTheLowestLineAndEndsAtTheFirstKeyOf1000) {
    // No line 1; 999 is shown; 1000 ends the walk although 1001 and 1200 follow.
    std::vector<LineRec> lines;
    for (int32_t n : {1200, 12, 999, 1000, 5, 1001}) {
        LineRec l;
        l.line = n;
        l.goods = 100 * n;
        lines.push_back(l);
    }
    views_test::AddLines(set, lines);
    Start();
    const auto view = Load<InventoryView>();
    EXPECT_EQ(Column(view->grid(), "Line"), (std::vector<std::string>{"5", "12", "999"}));
    EXPECT_EQ(context.recap.Figure(1).caption, "$1,016.00");
    EXPECT_EQ(view->grid().CurrentRow(), 0);
}

TEST_F(InventoryTest, ARowShowsTheLineItsSalesTurnsAndUncappedFillRates) {
    LineRec a;
    a.line = 7;
    a.alpha = "HYD";
    a.goods = 1234567;      // $12,345.67
    a.mtd_sales = 50000;    // $500.00
    a.ytd_sales = 1000000;  // the year before this month: $10,000.00
    a.mtd_cogs = 36500;
    a.ytd_cogs = 0;
    a.items_ordered = 8, a.items_filled = 10;  // 125 %
    a.dollars_ordered = 3, a.dollars_filled = 1;
    a.pieces_ordered = 0, a.pieces_filled = 4;  // nothing ordered: 0
    LineRec zero;                               // goods cost 0
    zero.line = 8;
    zero.alpha = "ZZZ";
    zero.mtd_cogs = 5000;
    zero.mtd_sales = -2500;
    views_test::AddLines(set, {a, zero});
    Start();
    const auto view = Load<InventoryView>();
    const GridModel& g = view->grid();
    ASSERT_EQ(g.RowCount(), 2);
    const std::vector<std::string> expected = {
        "7",      "HYD", "$12,345.67", "$10,500.00", "$500.00", ".03", "8",  "10",
        "125.00", "3",   "1",          "33.33",      "0",       "4",   ".00"};
    ASSERT_EQ(g.ColumnCount(), 15);
    for (int c = 0; c < 15; ++c)
        EXPECT_EQ(g.CellText(0, c), expected[static_cast<size_t>(c)]) << g.Column(c).name;
    // 36,500 cents of goods sold in the 320 days of 2024 to 15 November, brought to 365 days,
    // over $12,345.67 of goods: 0.034.
    EXPECT_EQ(g.CellText(1, "Est. Turns"), ".00");
    EXPECT_EQ(g.CellText(1, "Merchandise"), "$0.00");
    EXPECT_EQ(g.CellText(1, "Ytd"), "-$25.00");
    EXPECT_EQ(g.CellValue(0, "Merchandise"), 1234567);

    EXPECT_EQ(context.recap.Figure(1).caption, "$12,345.67");
    EXPECT_EQ(Caption(*view, "lblinvtot(0)"), "Investment Total : $12,345.67");
    EXPECT_EQ(Caption(*view, "lblinvtot(1)"), "Sales YTD : $10,475.00");
    EXPECT_EQ(Caption(*view, "lblinvtot(2)"), "Sales MTD : $475.00");
}

TEST(EstTurns, DividesByTheDaysElapsedInTheYearWithTheSumIn64Bits) {
    struct Case {
        Date today;
        int64_t mtd_cogs, ytd_cogs, goods;
        const char* shown;
    };
    const Case cases[] = {
        // 14,350 x 365 / 41 days / 36,500 = 3.5
        {MakeDate(2024, 2, 10), 14350, 0, 36500, "3.50"},
        {MakeDate(2024, 2, 10), 4350, 10000, 36500, "3.50"},
        // 1 January counts as one day: 100 x 365 / 1 / 365.
        {MakeDate(2025, 1, 1), 100, 0, 365, "100.00"},
        // 31 December of a leap year is day 366.
        {MakeDate(2024, 12, 31), 366, 0, 365, "1.00"},
        {MakeDate(2023, 12, 31), 365, 0, 365, "1.00"},
        // Two figures whose sum leaves 32 bits.
        {MakeDate(2024, 12, 31), INT32_MAX, INT32_MAX, INT32_MAX, "1.99"},
        {MakeDate(2024, 6, 1), 12345, 0, 0, ".00"},
        {MakeDate(2024, 2, 10), -14350, 0, 36500, "-3.50"},
        {MakeDate(2024, 2, 10), 14350, 0, -36500, "-3.50"},
    };
    for (const Case& c : cases) {
        const std::string record = RecordBuilder(192)
                                       .Bin(75, 'L', c.goods)
                                       .Bin(91, 'L', c.mtd_cogs)
                                       .Bin(103, 'L', c.ytd_cogs)
                                       .str();
        EXPECT_EQ(FormatNumber(GetEstTurns(record, c.today), "####.00"), c.shown)
            << FormatDate(c.today) << " " << c.mtd_cogs << " " << c.goods;
    }
    EXPECT_EQ(DaysElapsedInYear(MakeDate(2024, 1, 1)), 1);
    EXPECT_EQ(DaysElapsedInYear(MakeDate(2024, 3, 1)), 61);
    // A record too short for the cost of goods raises the engine's 31.
    EXPECT_THROW(GetEstTurns(std::string(100, '\0'), MakeDate(2024, 1, 1)), BasicError);
}

TEST(FillRates, AreFilledOverOrderedTimes100AndZeroWithoutOrders) {
    struct Case {
        int64_t ordered, filled;
        const char* shown;
    };
    const Case cases[] = {{8, 10, "125.00"}, {3, 1, "33.33"},  {0, 5, ".00"},
                          {-2, 5, ".00"},    {1, 1, "100.00"}, {7, 0, ".00"}};
    for (const Case& c : cases)
        EXPECT_EQ(FormatNumber(FillRate(c.ordered, c.filled), "##.00"), c.shown) << c.ordered;
}

TEST_F(InventoryTest, AnErrorAtTheFifthLineKeepsFourRowsAndMarksTheRecapLabel) {
    std::vector<LineRec> lines;
    for (int32_t n = 1; n <= 6; ++n) {
        LineRec l;
        l.line = n;
        l.goods = 100;
        lines.push_back(l);
    }
    views_test::AddLines(set, lines);
    sample::DataSetImage image = set.Build();
    sample::damage::RecordPointerPastLastRecord(image, "LINEI", "LINEL", 4);
    Start(image);
    context.recap.SetCaption(1, "$9.99");
    const auto view = Load<InventoryView>();
    EXPECT_EQ(Column(view->grid(), "Line"), (std::vector<std::string>{"1", "2", "3", "4"}));
    EXPECT_EQ(context.recap.Figure(1).caption, "Data Error !");
    EXPECT_TRUE(context.recap.Figure(1).red);
    EXPECT_EQ(Caption(*view, "lblinvtot(0)"), "");
    EXPECT_EQ(Caption(*view, "lblinvtot(1)"), "");
    EXPECT_EQ(Caption(*view, "lblinvtot(2)"), "");
    EXPECT_EQ(log.lines(), (std::vector<std::string>{
                               "*Error in frmInv GetLineData routine error # :  81  Illegal "
                               "Record Number for File: LINEL and Record:  7"}));
    EXPECT_TRUE(context.recap.Click(1));
}

TEST_F(InventoryTest, ALineRecordTooShortForTheTurnsEndsTheLoadWithoutHalfARow) {
    views_test::AddLines(set, {LineRec{}});
    sample::DataSetImage image = set.Build();
    sample::damage::ShortenRecords(image, "LINEL", 96);
    Start(image);
    const auto view = Load<InventoryView>();
    EXPECT_EQ(view->grid().RowCount(), 0);
    EXPECT_TRUE(context.recap.Figure(1).red);
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_EQ(log.lines()[0].rfind("*Error in frmInv GetLineData routine error # :  31  ", 0), 0u)
        << log.lines()[0];
}

TEST_F(InventoryTest, HeaderClicksSortNumericallyAndShareOneToggleWithTheOtherViews) {
    std::vector<LineRec> lines;
    const int64_t ytd[] = {90000, 1000000, 500, 1000000};
    const char* alpha[] = {"M01", "ABD", "XYZ", "B  "};
    for (int32_t n = 0; n < 4; ++n) {
        LineRec l;
        l.line = n + 1;
        l.alpha = alpha[n];
        l.ytd_sales = ytd[n];
        l.goods = 1000 * (4 - n);
        lines.push_back(l);
    }
    views_test::AddLines(set, lines);
    set.AddIndex("RTTBI", 16);
    Start();
    const auto view = Load<InventoryView>();
    const auto returns = Load<ReturnsView>();
    GridModel& g = view->grid();

    // "Ytd": the first click sorts descending, the next ascending; equal keys keep their order.
    view->HeaderClick(kInventoryGrid, 3);
    EXPECT_EQ(Column(g, "Line"), (std::vector<std::string>{"2", "4", "1", "3"}));
    view->HeaderClick(kInventoryGrid, 3);
    EXPECT_EQ(Column(g, "Line"), (std::vector<std::string>{"3", "1", "2", "4"}));
    // A click in another view flips the shared toggle: the next click here sorts ascending
    // again.
    returns->HeaderClick(kReturnGrid, 4);
    EXPECT_EQ(mSortOrder, 1);
    view->HeaderClick(kInventoryGrid, 2);  // "Investment": the goods cost, as a number
    EXPECT_EQ(Column(g, "Line"), (std::vector<std::string>{"4", "3", "2", "1"}));
    view->HeaderClick(kInventoryGrid, 1);  // "Alpha": text by character code, descending
    EXPECT_EQ(Column(g, "Alpha"), (std::vector<std::string>{"XYZ", "M01", "B  ", "ABD"}));
    EXPECT_EQ(g.CurrentRow(), 0);
    // An index the view does not list only flips the toggle.
    const std::vector<std::string> before = Column(g, "Line");
    view->HeaderClick(kInventoryGrid, 15);
    view->HeaderClick(kInventoryGrid, -1);
    EXPECT_EQ(Column(g, "Line"), before);
    EXPECT_EQ(mSortOrder, 1);
}

}  // namespace
}  // namespace dv
