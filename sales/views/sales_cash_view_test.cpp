// The Sales / Cash view on counterman records written byte by byte: which countermen the walk
// lists, the cells of both grids, the net cash, the totals, the failure path and the header
// clicks.
#include "sales/views/sales_cash_view.h"

#include <gtest/gtest.h>

#include "sampledata/damage.h"
#include "test_support/views/view_test_support.h"

namespace dv {
namespace {

using sample::RecordBuilder;
using views_test::ViewTest;

// One counterman, MANL (200 bytes) and EMANL (200 bytes) joined, with the fields the view reads.
struct ManRec {
    int32_t key = 1;     // the MANI key
    int32_t number = 1;  // C at 3 of the record
    std::string name = "JOHN HARLAN";
    int32_t invoices = 0, items = 0;  // L at 30, 34
    int64_t cash = 0;                 // L at 38
    int64_t refunds = 0;              // L at 46
    int64_t mdse = 0;                 // L at 54
    int64_t labor = 0;                // L at 62
    int64_t discounts = 0;            // L at 70
    int64_t payments = 0;             // L at 74
    int64_t deposits = 0;             // L at 333, in EMANL

    std::string Bytes() const {
        return RecordBuilder(400)
            .Bin(1, 'J', 1)
            .Bin(3, 'C', number)
            .Text(7, name, 20)
            .Bin(30, 'L', invoices)
            .Bin(34, 'L', items)
            .Bin(38, 'L', cash)
            .Bin(46, 'L', refunds)
            .Bin(54, 'L', mdse)
            .Bin(62, 'L', labor)
            .Bin(70, 'L', discounts)
            .Bin(74, 'L', payments)
            .Bin(333, 'L', deposits)
            .str();
    }
};

void AddMen(sample::DataSetWriter& set, const std::vector<ManRec>& men) {
    auto& manl = set.AddRecordFile("MANL", 200);
    auto& emanl = set.AddRecordFile("EMANL", 200);
    auto& mani = set.AddIndex("MANI", 2);
    for (const ManRec& m : men) {
        const std::string bytes = m.Bytes();
        const int32_t n = manl.Add(bytes.substr(0, 200));
        emanl.Add(bytes.substr(200));
        mani.Add(RecordBuilder(2).Bin(1, 'C', m.key).bytes(), n);
    }
}

class SalesCashTest : public ViewTest {};

TEST_F(SalesCashTest, ListsCountermenFromOneWhoseRecordMatchesTheirKey) {
    ManRec house;  // counterman 0 is never listed
    house.key = house.number = 0;
    house.mdse = 99999;
    ManRec a;
    a.key = a.number = 3;
    a.name = "MARY BECKER";
    a.invoices = 12, a.items = 31;
    a.mdse = 123456, a.labor = 50000, a.discounts = 1500;
    a.cash = -1000, a.refunds = 500;  // net |−10.00| + 0 − |5.00| + 0 = 5.00
    ManRec b;
    b.key = b.number = 7;
    b.mdse = 0;
    b.cash = 20000, b.refunds = -2500, b.payments = -30000, b.deposits = -4000;
    ManRec stale;  // the index says 5, the record holds 9: no row, nothing counted
    stale.key = 5;
    stale.number = 9;
    stale.mdse = 77777;
    stale.cash = 77777;
    AddMen(set, {b, house, stale, a});
    Start();
    const auto view = Load<SalesCashView>();
    const GridModel& s = view->sales();
    const GridModel& c = view->cash();
    EXPECT_EQ(Column(s, "Man"), (std::vector<std::string>{"3", "7"}));
    EXPECT_EQ(Column(c, "Man"), (std::vector<std::string>{"3", "7"}));
    const std::vector<std::string> sales_row = {
        "3", "MARY BECKER                   ", "12", "31", "1,234.56", "", "500.00", "15.00", ""};
    for (int col = 0; col < s.ColumnCount(); ++col)
        EXPECT_EQ(s.CellText(0, col), sales_row[static_cast<size_t>(col)]) << s.Column(col).name;
    const std::vector<std::string> cash_row = {
        "3", "MARY BECKER                   ", "-10.00", "5.00", ".00", "", ".00", "5.00", ""};
    for (int col = 0; col < c.ColumnCount(); ++col)
        EXPECT_EQ(c.CellText(0, col), cash_row[static_cast<size_t>(col)]) << c.Column(col).name;
    // Signs as stored, except R-O-A and the net, which take sizes.
    EXPECT_EQ(c.CellText(1, "Refunds"), "-25.00");
    EXPECT_EQ(c.CellText(1, "ROA"), "300.00");
    EXPECT_EQ(c.CellText(1, "Deposits"), "-40.00");
    EXPECT_EQ(c.CellText(1, "Net"), "515.00");  // 200 + 40 − 25 + 300
    EXPECT_EQ(s.CellText(1, "mdse"), ".00");

    // Labor never enters the sales total.
    EXPECT_EQ(context.recap.Figure(kSalesRecapLabel).caption, "$1,234.56");
    EXPECT_EQ(context.recap.Figure(kCashRecapLabel).caption, "$520.00");
    EXPECT_EQ(Caption(*view, "lblSaleTot"), "Sales Total  1,234.56");
    EXPECT_EQ(Caption(*view, "lblCashTot"), "Cash Total  520.00");
    EXPECT_EQ(context.splash.progress(), "Loading Todays Sales...");
    EXPECT_EQ(s.CurrentRow(), 0);
    EXPECT_TRUE(log.lines().empty());
}

TEST_F(SalesCashTest, NoCountermenGiveZeroTotals) {
    AddMen(set, {});
    Start();
    const auto view = Load<SalesCashView>();
    EXPECT_EQ(view->sales().RowCount(), 0);
    EXPECT_EQ(context.recap.Figure(kSalesRecapLabel).caption, "$.00");
    EXPECT_EQ(context.recap.Figure(kCashRecapLabel).caption, "$.00");
    EXPECT_EQ(Caption(*view, "lblSaleTot"), "Sales Total  .00");
}

TEST_F(SalesCashTest, AnErrorMarksTheSalesLabelOnlyAndKeepsTheRowsSoFar) {
    std::vector<ManRec> men;
    for (int32_t n = 1; n <= 3; ++n) {
        ManRec m;
        m.key = m.number = n;
        m.mdse = 100;
        men.push_back(m);
    }
    AddMen(set, men);
    sample::DataSetImage image = set.Build();
    sample::damage::RecordPointerPastLastRecord(image, "MANI", "MANL", 2);
    Start(image);
    context.recap.SetCaption(kCashRecapLabel, "$1.00");
    const auto view = Load<SalesCashView>();
    EXPECT_EQ(Column(view->sales(), "Man"), (std::vector<std::string>{"1", "2"}));
    EXPECT_TRUE(context.recap.Figure(kSalesRecapLabel).red);
    EXPECT_EQ(context.recap.Figure(kSalesRecapLabel).caption, "Data Error !");
    EXPECT_EQ(context.recap.Figure(kCashRecapLabel).caption, "$1.00");
    EXPECT_FALSE(context.recap.Figure(kCashRecapLabel).red);
    EXPECT_EQ(Caption(*view, "lblSaleTot"), "");
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_EQ(log.lines()[0].rfind("*Error in frmSales GetSales routine error # :  81  ", 0), 0u)
        << log.lines()[0];
}

TEST_F(SalesCashTest, HeaderClicksSortByTheTableAndTheBlankColumnsOnlyFlipTheToggle) {
    std::vector<ManRec> men;
    const int64_t mdse[] = {90000, 100, 1000000};
    const char* names[] = {"CAROL", "ANNE", "BILL"};
    for (int32_t n = 0; n < 3; ++n) {
        ManRec m;
        m.key = m.number = n + 1;
        m.name = names[n];
        m.mdse = mdse[n];
        m.cash = -mdse[n];
        men.push_back(m);
    }
    AddMen(set, men);
    Start();
    const auto view = Load<SalesCashView>();
    GridModel& s = view->sales();
    GridModel& c = view->cash();
    view->HeaderClick(kSalesGrid, 4);  // "mdse", descending first
    EXPECT_EQ(Column(s, "Man"), (std::vector<std::string>{"3", "1", "2"}));
    view->HeaderClick(kSalesGrid, 1);  // "Name" as text, ascending
    EXPECT_EQ(Column(s, "Man"), (std::vector<std::string>{"2", "3", "1"}));
    view->HeaderClick(kCashGrid, 2);  // "Cash" with its sign, descending
    EXPECT_EQ(Column(c, "Man"), (std::vector<std::string>{"2", "1", "3"}));
    for (int blank : {5, 8, 9, -1}) {
        const int16_t before = mSortOrder;
        const std::vector<std::string> rows = Column(c, "Man");
        view->HeaderClick(kCashGrid, blank);
        EXPECT_NE(mSortOrder, before) << blank;
        EXPECT_EQ(Column(c, "Man"), rows) << blank;
    }
    EXPECT_EQ(s.Column(8).sort, SortKind::kNone);    // "GPR"
    EXPECT_EQ(c.Column(7).sort, SortKind::kNumber);  // "Net"
}

}  // namespace
}  // namespace dv
