#include "service/views/shop_detail.h"

#include <gtest/gtest.h>

#include "service/views/service_view_test_support.h"
#include "service/views/shop_view.h"

namespace dv {
namespace {

using namespace service_test;

// INVOL: job 5 (completed, two requests: page 1 request 1, page 2 request 2 and the head),
// job 6 (open, one page of request 1), job 7 (open, its customer missing from CUSTI).
class ShopDetailTest : public ServiceViewTest {
  protected:
    ShopDetailTest() {
        AddCustomers({{1001, "HARLAN FARMS", 612, 5551234, "JOAN"}, {1002, "BECKER", 0, 4441234}});
        AddPeople({{7, "MARY OSTROM"}, {52, "TOM VOGEL"}});
        auto& invol = set.AddRecordFile("INVOL", 512);
        const int32_t p1 = invol.Add(Header(
            Page(80, 1, 111524,
                 {Slot("120", "FLTR4455", "OIL FILTER", 20, 850, 500), RemarkSlot("CHECK BELT")},
                 0),
            5, "C", 1001));
        const int32_t p2 = invol.Add(Header(Page(80, 2, p1,
                                                 {Slot("500", "LABOR", "SHOP LABOR", 15, 7000, 0),
                                                  Slot("502", "FRT", "FREIGHT", 10, 1200, 0),
                                                  Slot("550", "SUP", "SUPPLIES", 10, 300, 0)},
                                                 1),
                                            5, "C", 1001));
        const int32_t p3 = invol.Add(
            Header(Page(80, 1, 111524, {Slot("120", "X", "PART", 10, 100, 50)}), 6, "O", 1002));
        const int32_t p4 = invol.Add(Header(Page(80, 1, 111524, {}), 7, "2", 4242));
        set.File0()
            .Block(451)
            .Bin(5 * 4 + 1, 'L', p2)
            .Bin(6 * 4 + 1, 'L', p3)
            .Bin(7 * 4 + 1, 'L', p4);
        set.File0().Block(446).Raw(1, "NO ANSWER   LEFT MESSAGE");
        Start();
    }

    static RecordBuilder Header(RecordBuilder b, int32_t job, const std::string& status,
                                int32_t account) {
        b.Bin(3, 'L', account)
            .Bin(14, 'D', 12345)
            .Bin(21, 'C', 20000)
            .Bin(23, 'C', 40699)  // a call date the form does not show
            .Bin(25, 'C', 0)
            .Bin(120, 'B', 1)
            .Bin(121, 'B', 2)
            .Bin(122, 'B', 200)  // past the block: no text
            .Text(27, "VESKAR", 10)
            .Text(37, "TRACTOR", 14)
            .Bin(79, 'B', 52)
            .Raw(99, status)
            .Bin(101, 'C', job)
            .Bin(113, 'B', 7)
            .Bin(117, 'C', 41)
            .Raw(119, job == 5 ? "Y" : "N");
        return b;
    }

    DetailSnapshot Open(int32_t job) {
        std::unique_ptr<DetailForm> form = BuildShopDetail(job);
        return DetailSnapshot::Of(*form);
    }
};

TEST(ShopDetailPhone, Format) {
    EXPECT_EQ(PhoneText(612, 5551234), "612-555-1234");
    EXPECT_EQ(PhoneText(0, 5551234), "-555-1234");
    EXPECT_EQ(PhoneText(0, 0), "--");
}

TEST_F(ShopDetailTest, CompletedJobOfTwoRequests) {
    std::unique_ptr<DetailForm> form = BuildShopDetail(5);
    EXPECT_EQ(form->caption(), "Shop Job Detail ...   Shop Job : 5     Job Status : Completed");
    const DetailSnapshot s = DetailSnapshot::Of(*form);
    EXPECT_EQ(s.LabelText("lblCDisp(0)"), "1001");
    EXPECT_EQ(s.LabelText("lblCDisp(1)").substr(0, 13), "HARLAN FARMS ");
    EXPECT_EQ(s.LabelText("lblCDisp(4)"), "612-555-1234");
    EXPECT_EQ(s.LabelText("lblCDisp(5)"), "--");
    EXPECT_EQ(s.LabelText("lblCDisp(7)").substr(0, 4), "JOAN");
    EXPECT_EQ(s.LabelText("lblMan(0)").substr(0, 14), "52 - TOM VOGEL");
    EXPECT_EQ(s.LabelText("lblMan(1)").substr(0, 16), "7 - MARY OSTROM ");
    EXPECT_EQ(s.LabelText("lblEquip(4)"), "1234.5");
    EXPECT_EQ(s.LabelText("lblCallDate(0)"), FormatDate(MakeDate(2022, 10, 3)));
    EXPECT_EQ(s.LabelText("lblCallDate(1)"), "");              // 40699: not shown
    EXPECT_EQ(s.LabelText("lblCallDate(4)"), "LEFT MESSAGE");  // its result still is
    EXPECT_EQ(s.LabelText("lblCallDate(3)"), "NO ANSWER   ");
    EXPECT_EQ(s.LabelText("lblCallDate(5)"), "");
    EXPECT_EQ(s.LabelText("lblWarr(0)"), "Yes");
    EXPECT_EQ(s.LabelText("lblWarr(1)"), "41");
    // Totals: parts 2 x 850, labor 1 x 7000 (15 tenths), freight, misc; supplies 0.
    EXPECT_EQ(s.LabelText("lblRecap(0)"), "17.00");
    EXPECT_EQ(s.LabelText("lblRecap(1)"), "70.00");
    EXPECT_EQ(s.LabelText("lblRecap(2)"), "0.00");
    EXPECT_EQ(s.LabelText("lblRecap(3)"), "3.00");
    EXPECT_EQ(s.LabelText("lblRecap(6)"), "12.00");
    ASSERT_EQ(s.choices.size(), 1u);
    EXPECT_TRUE(s.choices[0].visible);
    ASSERT_EQ(s.choices[0].items.size(), 3u);
    EXPECT_EQ(s.choices[0].items[0], "All Requests");
    EXPECT_EQ(s.choices[0].items[1], "  1 - FLTR4455          ");
    EXPECT_EQ(s.choices[0].items[2], "  2 - LABOR             ");
    const DetailSnapshot::Grid* g = s.FindGrid(kShopDetailGrid);
    ASSERT_NE(g, nullptr);
    ASSERT_EQ(g->rows.size(), 5u);
    EXPECT_EQ(g->rows[0],
              (std::vector<std::string>{"1", "120", "FLTR4455          ", "OIL FILTER           ",
                                        "2", "8.50", "5.00", ""}));
    EXPECT_EQ(g->rows[2][0], "2");

    // Request 2 alone, then every request again.
    form->ChoiceClick(kRequestChoice, 2);
    GridModel* grid = form->FindGrid(kShopDetailGrid);
    ASSERT_EQ(grid->RowCount(), 3);
    EXPECT_EQ(grid->CellText(0, "Line"), "500");
    form->ChoiceClick(kRequestChoice, 1);
    EXPECT_EQ(grid->RowCount(), 2);
    form->ChoiceClick(kRequestChoice, 0);
    EXPECT_EQ(grid->RowCount(), 5);
}

TEST_F(ShopDetailTest, OpenJobShowsNoTotalsAndNoRequestList) {
    const DetailSnapshot s = Open(6);
    EXPECT_EQ(s.caption, "Shop Job Detail ...   Shop Job : 6     Job Status : Open");
    EXPECT_FALSE(s.choices[0].visible);
    for (const FormLabel& l : s.labels)
        if (l.name.rfind("lblRecap(", 0) == 0 || l.name == "Frame5") {
            EXPECT_FALSE(l.visible) << l.name;
        }
    EXPECT_EQ(s.LabelText("lblWarr(0)"), "No");
    EXPECT_EQ(s.LabelText("lblWarr(1)"), "");
    EXPECT_EQ(s.LabelText("lblCDisp(4)"), "-444-1234");  // area code 0
}

TEST_F(ShopDetailTest, MissingCustomerLeavesItsLabelsEmpty) {
    const DetailSnapshot s = Open(7);
    EXPECT_EQ(s.LabelText("lblCDisp(0)"), "0");
    EXPECT_EQ(s.LabelText("lblCDisp(1)"), "");
    EXPECT_EQ(s.LabelText("lblCDisp(2)"), "");
    EXPECT_TRUE(s.FindGrid(kShopDetailGrid)->rows.empty());
}

// The button: the detail through the view's host; an empty slot's error is a message.
TEST_F(ShopDetailTest, ButtonOpensTheDetailAndTrapsItsErrors) {
    auto view = Load<ShopView>();
    ASSERT_EQ(view->grid().RowCount(), 3);
    view->ButtonClick(kShopGrid, 1);
    ASSERT_EQ(details.shown.size(), 1u);
    EXPECT_EQ(details.shown[0].caption, "Shop Job Detail ...   Shop Job : 6     Job Status : Open");
    EXPECT_EQ(view->grid().CurrentRow(), 1);

    view->grid().SetCell(1, "Job #", "9", 9);  // a job whose slot is empty
    view->ButtonClick(kShopGrid, 1);
    EXPECT_EQ(details.shown.size(), 1u);
    ASSERT_EQ(details.messages.size(), 1u);
    EXPECT_EQ(
        details.messages[0].rfind("Error in frmShop grdShop_BtnClick routine error # :  81", 0), 0u)
        << details.messages[0];
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_EQ(log.lines()[0], "*" + details.messages[0]);
}

}  // namespace
}  // namespace dv
