#include "service/views/warranty_view.h"

#include <gtest/gtest.h>

#include "service/views/service_view_test_support.h"

namespace dv {
namespace {

using namespace service_test;

TEST(WarrantyFilter, ClaimTable) {
    const struct {
        int32_t status, reconciled, billed;
        bool listed;
    } cases[] = {
        {1, 0, 52024, true},      {2, 0, 52024, false}, {1, 0, 0, false},
        {1, 0, 10168, false},  // 1/1/68, the empty date
        {1, 0, 10101, true},   // 1/1/01: billed, no longer dropped
        {1, 0, 10100, true},      {1, 0, 10169, true},  {1, 0, 139999, true},  // no date: listed
        {1, 20100, 52024, false},                                              // reconciled
        {0, 0, 52024, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ClaimIsBilled(c.status, c.reconciled, c.billed), c.listed)
            << c.status << " " << c.reconciled << " " << c.billed;
}

TEST(WarrantySegments, KeyTable) {
    const struct {
        int32_t key;
        const char* shop_ref;
        const char* req;
    } cases[] = {{702, "7", "02"}, {910, "9", "10"},       {15, "", "15"}, {5, "", "05"},
                 {100, "1", "00"}, {700099, "7000", "99"}, {0, "", "00"}};
    for (const auto& c : cases) {
        std::string shop_ref, req;
        SplitSegmentKey(c.key, shop_ref, req);
        EXPECT_EQ(shop_ref, c.shop_ref) << c.key;
        EXPECT_EQ(req, c.req) << c.key;
    }
}

struct Claim {
    int32_t key;
    int32_t status = 1;
    int32_t billed = 52024;  // mmddyy as stored
    int32_t reconciled = 0;
    std::vector<std::string> lines = {};
    int32_t customer = 1001;
};

class WarrantyViewTest : public ServiceViewTest {
  protected:
    WarrantyViewTest() { AddCustomers({{1001, "HARLAN FARMS"}}); }

    // Headers in records 1 to n, then each claim's one page (no page: Inv_Ptr 0).
    void AddClaims(const std::vector<Claim>& claims) {
        auto& warrl = set.AddRecordFile("WARRL", 512);
        auto& warri = set.AddIndex("WARRI", 4);
        for (size_t i = 0; i < claims.size(); ++i) warrl.Add(RecordBuilder(512).Bin(1, 'C', 1));
        for (size_t i = 0; i < claims.size(); ++i) {
            const Claim& c = claims[i];
            const int32_t page = c.lines.empty() ? 0 : warrl.Add(Page(1, 1, 60124, c.lines));
            RecordBuilder h(512);
            h.Bin(1, 'C', c.status)
                .Bin(3, 'C', 12)
                .Bin(5, 'L', c.key)
                .Bin(276, 'C', 612)
                .Bin(278, 'L', 5551234)
                .Text(304, "NORTHFIELD", 20)
                .Text(324, "12 MILL ROAD", 20)
                .Bin(401, 'C', c.reconciled)
                .Bin(403, 'D', c.billed)
                .Bin(409, 'L', c.customer)
                .Text(413, "CLAIM NAME", 20)
                .Text(433, "KUBOTA", 10)
                .Text(443, "TRACTOR", 14)
                .Text(457, "SN111", 12)
                .Bin(481, 'L', 60000 + c.key % 1000)
                .Bin(509, 'L', page);
            warrl.Set(static_cast<int32_t>(i) + 1, h.bytes());
            warri.Add(RecordBuilder(4).Bin(1, 'L', c.key).str(), static_cast<int32_t>(i) + 1);
        }
    }
    static std::string Lab(int32_t tenths, int32_t net) {
        return Slot("500", "LAB", "LABOR", tenths, net, 0);
    }
    static std::string Part(int32_t tenths, int32_t net) {
        return Slot("120", "PRT", "PART", tenths, net, 100);
    }
};

TEST_F(WarrantyViewTest, PlainFormListsBilledClaimsWithTheirTotals) {
    AddClaims({
        {7000, 1, 52024, 0, {Lab(10, 250), Part(10, 600), RemarkSlot("AUTH 4411")}},
        {7001, 2, 52024, 0, {Part(10, 100)}},      // status 2
        {7002, 1, 0, 0, {Part(10, 100)}},          // not billed
        {7003, 1, 10168, 0, {Part(10, 100)}},      // the empty date
        {7004, 1, 10101, 0, {Part(10, 100)}},      // 1/1/01: listed
        {7005, 1, 52024, 20100, {Part(10, 100)}},  // reconciled
        {7006, 1, 139999, 0, {}},                  // no date and no pages: a failure row
    });
    Start();
    auto view = Load<PlainWarrantyView>();
    EXPECT_EQ(context.splash.progress(), "Loading Billed Warranties...");
    const GridModel& g = view->grid();
    EXPECT_EQ(Column(g, "Shop Ref"), (std::vector<std::string>{"7000", "7004", "7006"}));
    EXPECT_EQ(Column(g, "Name")[0], "CLAIM NAME                    ");
    EXPECT_EQ(Column(g, "Name")[2], "Error in warranty detail");
    EXPECT_EQ(Column(g, "Brand/Type"),
              (std::vector<std::string>{"KUBOTA - TRACTOR", "KUBOTA - TRACTOR", ""}));
    EXPECT_EQ(Column(g, "Parts"), (std::vector<std::string>{"$6.00", "$1.00", "0"}));
    EXPECT_EQ(Column(g, "Labor"), (std::vector<std::string>{"$2.50", "$.00", "0"}));
    EXPECT_EQ(Column(g, "Date Billed"), (std::vector<std::string>{"5/20/2024", "1/1/2001", ""}));
    EXPECT_EQ(Column(g, "ndate")[1], std::to_string(DayNumber(MakeDate(2001, 1, 1))));
    EXPECT_EQ(Column(g, "ndate")[2], "0");
    EXPECT_EQ(Column(g, "Invoice #")[2], "60006");  // a failure row keeps its invoice
    EXPECT_EQ(context.recap.Figure(recap::kWarranty).caption, "$9.50");
    EXPECT_TRUE(log.lines().empty());
    EXPECT_EQ(event_log.entries().size() + sales_events_.entries().size(), 2u);
}

TEST_F(WarrantyViewTest, EmptyIndexGivesTheZeroTotal) {
    AddClaims({});
    Start();
    auto view = Load<PlainWarrantyView>();
    EXPECT_EQ(view->grid().RowCount(), 0);
    EXPECT_EQ(context.recap.Figure(recap::kWarranty).caption, "$.00");
}

TEST_F(WarrantyViewTest, SegmentFormSplitsTheKeyAndNamesFromTheCustomerFile) {
    AddClaims({
        {5, 1, 52024, 0, {Part(10, 100)}},
        {15, 1, 52024, 0, {Part(10, 200)}},
        {702, 1, 52024, 0, {Part(10, 300)}},
        {910, 1, 52024, 0, {Lab(10, 400)}, 4242},
    });
    Start();
    auto view = Load<SegmentWarrantyView>();
    const GridModel& g = view->grid();
    EXPECT_EQ(Column(g, "Shop Ref"), (std::vector<std::string>{"", "", "7", "9"}));
    EXPECT_EQ(Column(g, "Req"), (std::vector<std::string>{"05", "15", "02", "10"}));
    EXPECT_EQ(Column(g, "Name")[2].substr(0, 12), "HARLAN FARMS");
    EXPECT_EQ(Column(g, "Name")[3], "Customer Name Not Found");
    EXPECT_EQ(context.recap.Figure(recap::kWarranty).caption, "$10.00");

    // Sorting by Shop Ref and by Req never fails on the empty cells.
    view->HeaderClick(kWarrantyGrid, 0);
    EXPECT_EQ(Column(view->grid(), "Req"), (std::vector<std::string>{"10", "02", "05", "15"}));
    view->HeaderClick(kWarrantyGrid, 1);
    EXPECT_EQ(Column(view->grid(), "Req"), (std::vector<std::string>{"02", "05", "10", "15"}));
    view->HeaderClick(kWarrantyGrid, 1);
    EXPECT_EQ(Column(view->grid(), "Req"), (std::vector<std::string>{"15", "10", "05", "02"}));

    // The detail of key 702, from its row.
    const int row = 2;  // "02" after the last sort: 15, 10, 05, 02
    view->ButtonClick(kWarrantyGrid, row + 1);
    ASSERT_EQ(details.shown.size(), 1u);
    EXPECT_EQ(details.shown[0].caption, "Warranty Detail ...   Shop reference : 702");
    EXPECT_EQ(details.shown[0].LabelText("lblCust").substr(0, 17), "1001\nHARLAN FARMS");
    EXPECT_EQ(details.shown[0].LabelText("lblCust").back(), '\n');
}

TEST_F(WarrantyViewTest, PlainDetailShowsPhoneAndLeavesRemarksBare) {
    AddClaims({{7000, 1, 52024, 0, {Lab(15, 250), RemarkSlot("AUTH 4411")}}});
    Start();
    auto view = Load<PlainWarrantyView>();
    view->ButtonClick(kWarrantyGrid, 0);
    ASSERT_EQ(details.shown.size(), 1u);
    const DetailSnapshot& s = details.shown[0];
    EXPECT_EQ(s.form_name, "frmWarrDetail");
    EXPECT_EQ(s.caption, "Warranty Detail ...   Shop reference : 7000");
    EXPECT_EQ(s.LabelText("lblCust"), "1001\nCLAIM NAME                    \n612-555-1234");
    EXPECT_EQ(s.LabelText("lblSn1").substr(0, 5), "SN111");
    EXPECT_EQ(s.LabelText("lblMisc").substr(0, 10), "NORTHFIELD");
    const DetailSnapshot::Grid* g = s.FindGrid(kWarrantyDetailGrid);
    ASSERT_EQ(g->rows.size(), 2u);
    EXPECT_EQ(g->rows[0][3], "1");
    EXPECT_EQ(g->rows[0][4], "2.50");
    EXPECT_EQ(g->rows[1][0], "REM");
    EXPECT_EQ(g->rows[1][2], "");  // a remark shows only its code and text
    EXPECT_EQ(g->rows[1][3], "");
}

// The detail takes whatever claim WARRI's search gives for the row's key: a key the index lacks
// opens the next higher key's claim under the row's own key; a key above every key reads record
// 0, a message.
TEST_F(WarrantyViewTest, DetailOfAKeyNotInTheIndexTakesWhatTheSearchGives) {
    AddClaims({{7000, 1, 52024, 0, {Lab(10, 250)}}, {7002, 1, 52024, 0, {Lab(20, 400)}}});
    Start();
    auto view = Load<PlainWarrantyView>();
    view->grid().SetCell(0, "Shop Ref", "7001", 7001);
    view->ButtonClick(kWarrantyGrid, 0);
    EXPECT_TRUE(details.messages.empty());
    ASSERT_EQ(details.shown.size(), 1u);
    const DetailSnapshot& s = details.shown[0];
    EXPECT_EQ(s.caption, "Warranty Detail ...   Shop reference : 7001");
    const DetailSnapshot::Grid* g = s.FindGrid(kWarrantyDetailGrid);
    ASSERT_EQ(g->rows.size(), 1u);
    EXPECT_EQ(g->rows[0][3], "2");  // 7002's line: 20 tenths at 4.00
    EXPECT_EQ(g->rows[0][4], "4.00");

    view->grid().SetCell(0, "Shop Ref", "9999999", 9999999);
    view->ButtonClick(kWarrantyGrid, 0);
    EXPECT_EQ(details.shown.size(), 1u);
    ASSERT_EQ(details.messages.size(), 1u);
    EXPECT_EQ(details.messages[0],
              "Error in frmWarranty grdWarr_BtnClick routine error # :  81  Illegal Record Number "
              "for File: WARRL and Record:  0");
}

TEST_F(WarrantyViewTest, ALoadThatFailsMarksLabel6AndKeepsItsRows) {
    AddClaims({{7000, 1, 52024, 0, {Lab(10, 250)}}, {7002, 1, 52024, 0, {Lab(10, 250)}}});
    sample::DataSetImage image = set.Build();
    // The second key points past WARRL's last record.
    sample::damage::SetRecordPointer(image, "WARRI", 1, 99);
    Start(image);
    auto view = Load<PlainWarrantyView>();
    EXPECT_EQ(view->grid().RowCount(), 1);
    EXPECT_TRUE(context.recap.Figure(recap::kWarranty).red);
    EXPECT_EQ(context.recap.Figure(recap::kWarranty).caption, "Data Error !");
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_EQ(log.lines()[0].rfind("*Error in frmWarranty.form load routine error # :  81  ", 0),
              0u)
        << log.lines()[0];
}

}  // namespace
}  // namespace dv
