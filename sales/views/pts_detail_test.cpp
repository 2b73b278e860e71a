#include "sales/views/pts_detail.h"

#include <gtest/gtest.h>

#include "sales/views/open_sales_view.h"
#include "sales/views/sales_view_test_support.h"

namespace dv {
namespace {

using sales_test::RemarkSlot;
using sales_test::Slot;
using sales_views_test::Cust;
using sales_views_test::Doc;
using sales_views_test::SalesViewTest;

TEST(AvailableCredit, RoundsToWholeUnitsHalvesToEven) {
    const struct {
        int32_t limit;
        int64_t mtd, statement;
        const char* expected;
    } cases[] = {
        {500, 12040, 7960, "300.00"}, {500, 12050, 0, "380.00"},                         // 379.50
        {500, 12150, 0, "378.00"},                                                       // 378.50
        {500, 12049, 0, "380.00"},    {100, 20000, 0, "-100.00"}, {0, 150, 0, "-2.00"},  // -1.50
        {0, 250, 0, "-2.00"},                                                            // -2.50
    };
    for (const auto& c : cases) {
        clsCustomers customer;
        customer.Credit_Limit = c.limit;
        customer.MTD_Tot_Bal = c.mtd;
        customer.Statement_Tot_Due = c.statement;
        EXPECT_EQ(AvailableCredit(customer), c.expected) << c.limit << " " << c.mtd;
    }
}

class PTSDetailTest : public SalesViewTest {
  protected:
    PTSDetailTest() {
        AddCustomer({100,
                     "  ALPHA-FARMS",
                     "G",
                     500,
                     12040,
                     7960,
                     {"ATTN BOB ", "12 RIVER RD", "XENIA, OH 45385"}});
        AddCustomer({200, "BETA LAWN CARE", "C", 900, 0, 0, {"", "", "DAYTON, OH"}});
        const std::vector<std::string> lines = {
            Slot("120", "ABCDEF", "4", "BEARING", 25, 1999, 1200),
            RemarkSlot("CALL WHEN IN"),
            Slot("500", "LABOR", "", "SHOP LABOR", 10, -2500, 0),
        };
        Doc ticket{1, 500010, 100, 200, 12, 5, 2, "PO77", 4599};
        ticket_head_ = AddDocument(ticket, 30524, {3, 0}, lines);
        AddTicket(ticket, ticket_head_);
        Doc own{1, 500020, 200, 0, 1, 2, 0, "", 100};
        AddTicket(own, AddDocument(own, 10224, {0}));
        Doc stranger{1, 500030, 4242, 100, 1, 2, 0, "", 100};
        AddTicket(stranger, AddDocument(stranger, 10224, {0}));
        Doc saved{3, 700001, 100, 0, 4, 3, 1, "", 100};
        saved_head_ = AddDocument(saved, 111524, {0});
    }

    int32_t ticket_head_ = 0, saved_head_ = 0;
    CapturingDetailHost host;
};

TEST_F(PTSDetailTest, PickTicketShowsCustomerShipToHeaderAndLines) {
    Start();
    ShowPickTicket("500010", host);
    ASSERT_EQ(host.shown.size(), 1u);
    const DetailSnapshot& form = host.shown[0];
    EXPECT_EQ(form.form_name, "frmPTSDetail");
    EXPECT_EQ(form.caption, "Pick-Ticket # 500010         Sales type : Charge");
    EXPECT_EQ(form.LabelText("lblCust"),
              "100\nALPHA-FARMS\nATTN BOB\n12 RIVER RD\nXENIA, OH 45385");
    EXPECT_EQ(form.LabelText("lblShipto"), "200\nBETA LAWN CARE\n\n\nDAYTON, OH");
    EXPECT_EQ(form.LabelText("Label1(0)"), "Avail CR : ");
    EXPECT_EQ(form.LabelText("lblDtl(0)"), "300.00");  // the sold-to customer's, not the ship-to's
    EXPECT_EQ(form.LabelText("Label1(3)"), "SM :  ");
    EXPECT_EQ(form.LabelText("lblDtl(1)"), "3/05/24");
    EXPECT_EQ(form.LabelText("lblDtl(2)"), "12");
    EXPECT_EQ(form.LabelText("lblDtl(3)"), "5");
    EXPECT_EQ(form.LabelText("lblDtl(4)"), "PO77     ");
    EXPECT_EQ(form.LabelText("lblDtl(5)"), "2");
    const DetailSnapshot::Grid* grid = form.FindGrid(kPTSGrid);
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->columns,
              (std::vector<std::string>{"Line", "Part #", "Description", "Qty", "Net", "Cost"}));
    ASSERT_EQ(grid->rows.size(), 3u);
    EXPECT_EQ(grid->rows[0],
              (std::vector<std::string>{"120", "ABC-DEF            ", "BEARING              ", "2",
                                        "19.99", "12.00"}));
    EXPECT_EQ(grid->rows[1][0], "REM");
    EXPECT_EQ(grid->rows[1][3], "0");
    EXPECT_EQ(grid->rows[2][4], "-25.00");
    EXPECT_EQ(grid->current_row, 0);
}

TEST_F(PTSDetailTest, CashCustomerNoShipToAndAnUnknownAccount) {
    Start();
    ShowPickTicket("500020", host);
    ShowPickTicket("500030", host);
    ASSERT_EQ(host.shown.size(), 2u);
    EXPECT_EQ(host.shown[0].caption, "Pick-Ticket # 500020         Sales type : Cash");
    EXPECT_EQ(host.shown[0].LabelText("lblShipto"), "");
    // Account 4242 is not in CUSTI: no sold-to block, no credit, "Cash"; its ship-to is shown.
    EXPECT_EQ(host.shown[1].caption, "Pick-Ticket # 500030         Sales type : Cash");
    EXPECT_EQ(host.shown[1].LabelText("lblCust"), "");
    EXPECT_EQ(host.shown[1].LabelText("lblDtl(0)"), "");
    EXPECT_EQ(host.shown[1].LabelText("lblShipto").rfind("100\nALPHA-FARMS", 0), 0u);
}

TEST_F(PTSDetailTest, SavedInvoiceCaptionHasNoNumber) {
    Start();
    ShowSavedInvoice(std::to_string(saved_head_), host);
    ASSERT_EQ(host.shown.size(), 1u);
    EXPECT_EQ(host.shown[0].caption, "Saved Invoice            Sales type : Charge");
    EXPECT_TRUE(host.shown[0].FindGrid(kPTSGrid)->rows.empty());
}

TEST_F(PTSDetailTest, AGoneTicketShowsAMessageAndErrorsGoToTheLog) {
    Start();
    ShowPickTicket("500015", host);  // between two keys: never the next ticket's data
    EXPECT_TRUE(host.shown.empty());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], TicketGoneMessage("500015"));
    EXPECT_TRUE(log.lines().empty());

    ShowSavedInvoice("9999", host);  // a head past the end of INVOL
    ShowPickTicket("ABC", host);     // no number
    EXPECT_TRUE(host.shown.empty());
    const std::vector<std::string> lines = log.Take();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].rfind("*Error in frmPTSDetail ShowSavedInvoice routine error # :  81  ", 0),
              0u)
        << lines[0];
    EXPECT_EQ(lines[1].rfind("*Error in frmPTSDetail ShowPickTicket routine error # :  13  ", 0),
              0u)
        << lines[1];
}

TEST_F(PTSDetailTest, AFailedChainShowsAFailureRowAndIsLogged) {
    // Ticket 500040: head page 3 with a line, then a page numbered 0 in place of page 2: the
    // header's walk ends there, the lines' build fails on it.
    const std::vector<std::string> lines = {Slot("120", "ABCDEF", "4", "BEARING", 25, 1999, 1200)};
    Doc looping{1, 500040, 100, 0, 1, 2, 0, "", 100};
    const int32_t head = AddDocument(looping, 10224, {1, 1, 1}, lines);
    set.Records("INVOL").Set(head - 1, sales_test::Page(0, head - 2, {}, 1).bytes());
    AddTicket(looping, head);
    Start();
    ShowPickTicket("500040", host);
    ASSERT_EQ(host.shown.size(), 1u);
    const DetailSnapshot& form = host.shown[0];
    ASSERT_EQ(form.errors.size(), 1u);
    EXPECT_EQ(form.errors[0].rfind("error # :  1030  Damaged page chain in file INVOL", 0), 0u)
        << form.errors[0];
    ASSERT_NE(form.FindGrid(kPTSGrid), nullptr);
    const auto& rows = form.FindGrid(kPTSGrid)->rows;
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.back()[1], kPTSFailureText);
    const std::vector<std::string> logged = log.Take();
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_EQ(logged[0].rfind("*Error in frmPTSDetail ShowPickTicket routine error # :  1030  ", 0),
              0u)
        << logged[0];
}

TEST_F(PTSDetailTest, TheViewsButtonsOpenTheDetail) {
    SetSavedSlot(301, 0, 0, saved_head_);
    Start();
    auto view = Load<OpenSalesView>();
    view->SetDetailHost(&host);
    view->ButtonClick(kTicketsGrid, 0);
    view->ButtonClick(kSavedGrid, 0);
    ASSERT_EQ(host.shown.size(), 2u);
    EXPECT_EQ(host.shown[0].caption, "Pick-Ticket # 500010         Sales type : Charge");
    EXPECT_EQ(host.shown[1].caption, "Saved Invoice            Sales type : Charge");
    EXPECT_EQ(view->tickets().CurrentRow(), 0);
}

}  // namespace
}  // namespace dv
