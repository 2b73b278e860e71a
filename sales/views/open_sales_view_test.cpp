#include "sales/views/open_sales_view.h"

#include <gtest/gtest.h>

#include "records/page_chain.h"
#include "sales/views/sales_view_test_support.h"
#include "shell/number_format.h"

namespace dv {
namespace {

using sales_views_test::Cust;
using sales_views_test::Doc;
using sales_views_test::SalesViewTest;

class OpenSalesTest : public SalesViewTest {
  protected:
    OpenSalesTest() {
        AddCustomer({100, "ALPHA-FARMS", "G", 500});
        AddCustomer({200, "BETA LAWN CARE", "C", 0});
    }

    // Tickets 9 (one page, 1/05/24), 10 (three pages: head 5 items, then 8 and 8, 3/05/24)
    // and 11 (an account CUSTI lacks); saved invoices at both ends of the directory.
    void AddStandardDocuments() {
        Doc nine{1, 9, 200, 0, 3, 1, 0, "PO9", 1250};
        AddTicket(nine, AddDocument(nine, 10524, {2}));
        Doc ten{1, 10, 100, 0, 12, 5, 2, "PO10", 123456};
        ten_head_ = AddDocument(ten, 30524, {8, 8, 5});
        AddTicket(ten, ten_head_);
        Doc eleven{1, 11, 999, 0, 1, 1, 0, "", -500};
        AddTicket(eleven, AddDocument(eleven, 123199, {1}));
        Doc s1{3, 70001, 100, 0, 4, 0, 0, "", 1000};
        first_saved_ = AddDocument(s1, 111524, {1});
        SetSavedSlot(301, 0, 0, first_saved_);
        Doc s2{3, 70002, 200, 0, 4, 0, 0, "", 2000};
        last_saved_ = AddDocument(s2, 111424, {3, 1});
        SetSavedSlot(325, 3, 30, last_saved_);
        // A sub-block whose first four bytes hold something but whose slots are all zero.
        set.File0().Block(310).Bin(129, 'L', 0x12345678);
    }

    int32_t ten_head_ = 0, first_saved_ = 0, last_saved_ = 0;
};

TEST_F(OpenSalesTest, RowsTotalsAndRecapLabel) {
    AddStandardDocuments();
    Start();
    auto view = Load<OpenSalesView>();
    const GridModel& t = view->tickets();
    ASSERT_EQ(t.RowCount(), 3);
    EXPECT_EQ(Column(t, "Type"), (std::vector<std::string>{"P-Ticket", "P-Ticket", "P-Ticket"}));
    EXPECT_EQ(Column(t, "Ticket No."), (std::vector<std::string>{"9", "10", "11"}));
    EXPECT_EQ(Column(t, "Date"), (std::vector<std::string>{"1/05/24", "3/05/24", "12/31/99"}));
    EXPECT_EQ(Column(t, "Items"), (std::vector<std::string>{"2", "21", "1"}));
    // The name is read raw from CUSTL under the alphabet in force: the default one after the
    // engine's start, so the name set's "-" reads "/".
    EXPECT_EQ(Column(t, "Name"), (std::vector<std::string>{"BETA LAWN CARE                ",
                                                           "ALPHA/FARMS                   ", ""}));
    EXPECT_EQ(Column(t, "Account"), (std::vector<std::string>{"200", "100", "999"}));
    EXPECT_EQ(Column(t, "CM"), (std::vector<std::string>{"3", "12", "1"}));
    EXPECT_EQ(Column(t, "PO Number"),
              (std::vector<std::string>{"PO9      ", "PO10     ", "         "}));
    EXPECT_EQ(Column(t, "Sub-Total"), (std::vector<std::string>{"$12.50", "$1,234.56", "-$5.00"}));
    EXPECT_EQ(Column(t, "ndate")[1], std::to_string(DayNumber(MakeDate(2024, 3, 5))));

    const GridModel& s = view->saved();
    ASSERT_EQ(s.RowCount(), 2);
    EXPECT_EQ(Column(s, "Type"), (std::vector<std::string>{"Saved Inv", "Saved Inv"}));
    EXPECT_EQ(Column(s, "Recno"), (std::vector<std::string>{std::to_string(first_saved_),
                                                            std::to_string(last_saved_)}));
    EXPECT_EQ(Column(s, "Items"), (std::vector<std::string>{"1", "4"}));
    EXPECT_EQ(Caption(*view, "lblPTtot(0)"), "Total      $1,242.06");
    EXPECT_EQ(Caption(*view, "lblPTtot(1)"), "Total      $30.00");
    EXPECT_EQ(context.recap.Figure(recap::kOpenSales).caption, "$1,272.06");
    EXPECT_TRUE(log.lines().empty());
}

TEST_F(OpenSalesTest, EmptyIndexAndDirectoryGiveZeroTotals) {
    Start();
    auto view = Load<OpenSalesView>();
    EXPECT_EQ(view->tickets().RowCount(), 0);
    EXPECT_EQ(view->saved().RowCount(), 0);
    EXPECT_EQ(Caption(*view, "lblPTtot(0)"), "Total      $.00");
    EXPECT_EQ(Caption(*view, "lblPTtot(1)"), "Total      $.00");
    EXPECT_EQ(context.recap.Figure(recap::kOpenSales).caption, "$.00");
}

TEST_F(OpenSalesTest, EachRowDecodesItsOwnHeader) {
    // A ticket whose head page has a status of neither kind: a reused page object would show
    // the ticket before it; a fresh one shows only what this page holds.
    Doc first{1, 21, 100, 0, 7, 0, 0, "FIRSTPO", 100};
    AddTicket(first, AddDocument(first, 10124, {1}));
    Doc odd{5, 22, 200, 0, 8, 0, 0, "ODDPO", 200};
    AddTicket(odd, AddDocument(odd, 10224, {1}));
    Start();
    auto view = Load<OpenSalesView>();
    ASSERT_EQ(view->tickets().RowCount(), 2);
    EXPECT_EQ(view->tickets().CellText(1, "Ticket No."), "0");
    EXPECT_EQ(view->tickets().CellText(1, "Account"), "0");
    EXPECT_EQ(view->tickets().CellText(1, "PO Number"), "");
    EXPECT_EQ(view->tickets().CellText(1, "CM"), "8");  // a common field
}

TEST_F(OpenSalesTest, DamageEndsTheFillWithTheRowsBeforeIt) {
    const struct {
        const char* name;
        int error;
        int tickets;  // rows kept
    } cases[] = {
        {"date 0", err::kTypeMismatch, 1},
        {"looping chain", err::kPageChain, 1},
        {"head past the file", err::kRecordNumber, 1},
        // A page counting more slots than its record holds, a saved invoice naming a pick
        // ticket's head, and one naming a page inside another document's chain.
        {"slot count past the page", err::kPageChain, 1},
        {"saved slot naming a ticket", err::kPageChain, 3},
        {"saved slot naming a page", err::kPageChain, 3},
        // A head page of another ticket's number, and a deleted record under the key.
        {"head of another number", err::kRecordNumberDiffers, 1},
        {"deleted head", err::kRecordNotLive, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Doc good{1, 1, 100, 0, 1, 0, 0, "", 100};
        Doc bad{1, 2, 100, 0, 1, 0, 0, "", 200};
        Doc after{1, 3, 100, 0, 1, 0, 0, "", 300};
        sample::DataSetWriter fresh;
        // Each case on a set of its own.
        auto& invol = fresh.AddRecordFile("INVOL", sales_test::kInvolLength);
        auto& ticki = fresh.AddIndex("TICKI", 4);
        fresh.AddRecordFile("CUSTL", 192);
        fresh.AddIndex("CUSTI", 4);
        auto add = [&](const Doc& d, int32_t head) {
            ticki.Add(sales_views_test::RecordBuilder(4).Bin(1, 'L', d.number).str(), head);
        };
        // A head page holds the number TICKI keys it by.
        const auto numbered = [](sales_views_test::RecordBuilder page, const Doc& d) {
            page.Bin(106, 'L', d.number);
            return page;
        };
        add(good, invol.Add(numbered(sales_test::Page(1, 10124, {}, 1), good)));
        if (std::string(c.name) == "date 0") {
            add(bad, invol.Add(numbered(sales_test::Page(1, 0, {}, 1), bad)));
        } else if (std::string(c.name) == "looping chain") {
            const int32_t two = invol.Add(sales_test::Page(2, 3, {}, 1));
            invol.Add(numbered(sales_test::Page(3, two, {}, 1), bad));
            add(bad, two + 1);
        } else if (std::string(c.name) == "slot count past the page") {
            add(bad, invol.Add(numbered(sales_test::Page(1, 10224, {}, 9), bad)));
        } else if (std::string(c.name).rfind("saved slot", 0) == 0) {
            const int32_t one = invol.Add(sales_test::Page(1, 10224, {}, 1));
            const int32_t two = invol.Add(numbered(sales_test::Page(2, one, {}, 1), bad));
            add(bad, two);
            fresh.File0().Block(301).Bin(5, 'L', c.name[20] == 't' ? two : one);
        } else if (std::string(c.name) == "head of another number") {
            add(bad, invol.Add(numbered(sales_test::Page(1, 10224, {}, 1), after)));
        } else if (std::string(c.name) == "deleted head") {
            add(bad, invol.AddDeleted());
        } else {
            add(bad, 99);
        }
        add(after, invol.Add(numbered(sales_test::Page(1, 10324, {}, 1), after)));
        Reset();
        Start(fresh.Build());
        testing::TestContext ctx;
        log.Take();
        OpenSalesView view;
        view.RunLoad(ctx);
        EXPECT_EQ(view.tickets().RowCount(), c.tickets);
        EXPECT_EQ(ctx.recap.Figure(recap::kOpenSales).caption, kDataError);
        EXPECT_TRUE(ctx.recap.Figure(recap::kOpenSales).red);
        const std::vector<std::string> lines = log.Take();
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0].rfind("*Error in frmOpenSales GetPTSData routine error # :  " +
                                     std::to_string(c.error) + "  ",
                                 0),
                  0u)
            << lines[0];
    }
}

TEST_F(OpenSalesTest, HeaderClicksSortByTheirKindAndShareTheToggle) {
    AddStandardDocuments();
    Start();
    auto view = Load<OpenSalesView>();
    // Ticket No. sorts as a number on the tickets grid: 9 before 10.
    mSortOrder = 1;
    view->HeaderClick(kTicketsGrid, 1);  // the toggle becomes 0: ascending
    EXPECT_EQ(mSortOrder, 0);
    EXPECT_EQ(Column(view->tickets(), "Ticket No."), (std::vector<std::string>{"9", "10", "11"}));
    view->HeaderClick(kTicketsGrid, 1);
    EXPECT_EQ(Column(view->tickets(), "Ticket No."), (std::vector<std::string>{"11", "10", "9"}));
    // Date sorts by the day number: 1999 before 2024.
    view->HeaderClick(kTicketsGrid, 2);
    EXPECT_EQ(Column(view->tickets(), "Ticket No."), (std::vector<std::string>{"11", "9", "10"}));
    // Sub-Total as a number, Name as text.
    view->HeaderClick(kTicketsGrid, 8);
    EXPECT_EQ(Column(view->tickets(), "Ticket No."), (std::vector<std::string>{"10", "9", "11"}));
    view->HeaderClick(kTicketsGrid, 4);
    EXPECT_EQ(Column(view->tickets(), "Ticket No."), (std::vector<std::string>{"11", "10", "9"}));
    // On the saved grid Ticket No. compares as text: "70001" and "70002" as strings.
    view->HeaderClick(kSavedGrid, 1);
    EXPECT_EQ(Column(view->saved(), "Ticket No."), (std::vector<std::string>{"70002", "70001"}));
    // An index outside the table only flips the toggle.
    const int16_t before = mSortOrder;
    view->HeaderClick(kSavedGrid, 9);
    EXPECT_NE(mSortOrder, before);
    EXPECT_EQ(Column(view->saved(), "Ticket No."), (std::vector<std::string>{"70002", "70001"}));
    EXPECT_EQ(view->tickets().Column(1).sort, SortKind::kNumber);
    EXPECT_EQ(view->saved().Column(1).sort, SortKind::kText);
    EXPECT_EQ(view->saved().Column(2).sort_by, "ndate");
}

TEST(OpenSalesDates, DateNumbersAndTheirTexts) {
    EXPECT_EQ(DateNumberText(30524), "3/05/24");
    EXPECT_EQ(DateNumberText(123199), "12/31/99");
    EXPECT_EQ(DateNumberText(0), "//");
    EXPECT_EQ(DateOfText("3/05/24"), MakeDate(2024, 3, 5));
    EXPECT_EQ(DateOfText("12/31/67"), MakeDate(1967, 12, 31));
    EXPECT_EQ(DateOfText("0002/0029/2024"), MakeDate(2024, 2, 29));  // four digits: the year
    for (const char* bad : {"//", "13/01/24", "2/30/24", "1/5", "", "1/2/3/4", "/1/2", "1/2/",
                            "1/a/24", "1/ 2/24", "00001/1/24", "1/1/-24"}) {
        EXPECT_THROW(DateOfText(bad), BasicError) << bad;
    }
}

}  // namespace
}  // namespace dv
