#include "service/views/shop_view.h"

#include <gtest/gtest.h>

#include "service/views/service_view_test_support.h"
#include "test_support/expect_error.h"

namespace dv {
namespace {

using namespace service_test;

struct Job {
    int32_t number;
    std::string status;
    int32_t account = 1001;
    int64_t sub_total = 0;
    int32_t segment = 0;
    int32_t day_in = 20000;
    int32_t day_done = 0;
    std::string warranty = "N";
};

class ShopViewTest : public ServiceViewTest {
  protected:
    ShopViewTest() {
        AddCustomers({{1001, "HARLAN FARMS"}, {1002, "BECKER LAWN CARE"}});
        invol_ = &set.AddRecordFile("INVOL", 512);
        RecordBuilder& names = set.File0().Block(450);
        names.Raw(432, "WAITING PARTS  ").Raw(462, "IN PROGRESS    ");
    }

    // Adds a job's head page and puts it into the table; returns its record.
    int32_t AddJob(const Job& j) {
        RecordBuilder p = Page(80, 1, 0, {Slot("120", "FLTR", "FILTER", 10, 500, 300)}, j.segment);
        p.Bin(3, 'L', j.account)
            .Bin(75, 'L', j.number + 5000)
            .Bin(93, 'C', j.day_done)
            .Bin(95, 'C', j.day_in)
            .Raw(99, j.status)
            .Bin(101, 'C', j.number)
            .Bin(113, 'B', 7)
            .Raw(119, j.warranty)
            .Bin(125, 'L', j.sub_total)
            .Text(27, "VESKAR", 10);
        const int32_t n = invol_->Add(p);
        PutSlot(j.number, n);
        return n;
    }
    void PutSlot(int32_t job, int32_t record) {
        int32_t block = 0, position = 0;
        JobSlotOf(job, block, position);
        set.File0().Block(block).Bin(position, 'L', record);
    }

    sample::RecordFileWriter* invol_;
};

TEST(ShopStatus, TextTable) {
    std::string block(512, '\0');
    block.replace(431, 15, "WAITING PARTS  ");
    block.replace(461, 15, std::string("IN PROG") + std::string(8, '\0'));
    const struct {
        std::string status;
        std::string text;
    } cases[] = {
        {"1", "Open-WAITING PARTS  "},
        {"3", "Open-IN PROG" + std::string(8, '\0')},  // all 15 characters, NULs included
        {"O", "Open"},
        {"S", "Scratch"},
        {"C", "Complete"},
        {"B", "No status"},
        {"7", "No status"},
        {"X", "No status"},
        {"", "No status"},
        {std::string(1, '\0'), "No status"},
        {"0", "No status"},
        {"6", "No status"},
    };
    for (const auto& c : cases) EXPECT_EQ(ShopStatusText(c.status, block), c.text) << c.status;
    EXPECT_EQ(ShopStatusText("5", std::string(100, ' ')), "Open");  // a short block
}

TEST(ShopJobTable, SlotBoundaries) {
    const struct {
        int32_t job, block, slot;
    } cases[] = {{0, 451, 0},      {127, 451, 127},  {128, 452, 0},    {999, 458, 103},
                 {1000, 501, 104}, {1126, 501, 102}, {1127, 502, 103}, {kLastJobNumber, 571, 102}};
    for (const auto& c : cases) {
        int32_t block = 0, position = 0;
        JobSlotOf(c.job, block, position);
        EXPECT_EQ(block, c.block) << c.job;
        EXPECT_EQ(position, c.slot * 4 + 1) << c.job;
    }
    for (int32_t job : {kLastJobNumber + 1, -1, 65535}) {
        int32_t block = 0, position = 0;
        testing::ExpectError([&] { JobSlotOf(job, block, position); }, err::kJobNumber,
                             "Job number outside the open shop-job table: " + std::to_string(job));
    }
}

TEST_F(ShopViewTest, ListsOpenJobsAndTotalsThemOnRecapLabel3) {
    AddJob({1000, "C", 1001, 12345, 0, 20000, 20003, "Y"});
    AddJob({5, "1", 1002, 500, 2});
    AddJob({6, "B", 1001, 99999});                   // billed: not listed, not counted
    AddJob({7, "O", 4242, 100});                     // a customer CUSTI lacks
    set.File0().Block(451).Bin(8 * 4 + 1, 'L', -3);  // negative and empty slots are skipped
    Start();
    EXPECT_EQ(GetJob(1000), 1);
    EXPECT_EQ(GetJob(6), 3);
    EXPECT_EQ(GetJob(9), 0);

    context.options[file0::kOptionShopSegments] = true;
    auto view = Load<ShopView>();
    EXPECT_EQ(view->warranty_segments(), std::optional<bool>(true));
    EXPECT_EQ(context.splash.progress(), "Loading Open Shop Jobs...");
    const GridModel& g = view->grid();
    EXPECT_EQ(Column(g, "Job #"), (std::vector<std::string>{"5", "7", "1000"}));
    EXPECT_EQ(Column(g, "Status"),
              (std::vector<std::string>{"Open-WAITING PARTS  ", "Open", "Complete"}));
    EXPECT_EQ(Column(g, "Request"), (std::vector<std::string>{"3", "", ""}));
    EXPECT_EQ(Column(g, "Name")[0], "BECKER LAWN CARE              ");
    EXPECT_EQ(Column(g, "Name")[1], "");  // the row is still listed and counted
    EXPECT_EQ(Column(g, "Date Comp")[2], "10/6/2022");
    EXPECT_EQ(Column(g, "ndateComp"), (std::vector<std::string>{"0", "0", "20003"}));
    EXPECT_EQ(Column(g, "ndateIn")[2], "20000");
    EXPECT_EQ(Column(g, "Sub-Total"), (std::vector<std::string>{"$5.00", "$1.00", "$123.45"}));
    EXPECT_EQ(Column(g, "Warranty"), (std::vector<std::string>{"", "", "Y"}));
    EXPECT_EQ(Column(g, "Brand")[0], "VESKAR         ");
    EXPECT_EQ(Column(g, "Shop Ref #")[2], "6000");
    EXPECT_EQ(context.recap.Figure(recap::kShop).caption, "$129.45");
    EXPECT_FALSE(context.recap.Figure(recap::kShop).red);
    EXPECT_TRUE(log.lines().empty());
}

TEST_F(ShopViewTest, NoJobsGiveTheZeroTotal) {
    Start();
    auto view = Load<ShopView>();
    EXPECT_EQ(view->grid().RowCount(), 0);
    EXPECT_EQ(context.recap.Figure(recap::kShop).caption, "$.00");
    EXPECT_EQ(view->warranty_segments(), std::optional<bool>(false));
}

TEST_F(ShopViewTest, SlotPastLastRecordEndsTheLoadKeepingEarlierRows) {
    AddJob({5, "O", 1001, 100});
    AddJob({6, "O", 1001, 200});
    AddJob({1000, "O", 1001, 300});
    PutSlot(9, 4);  // INVOL has three records
    Start();
    auto view = Load<ShopView>();
    EXPECT_EQ(Column(view->grid(), "Job #"), (std::vector<std::string>{"5", "6"}));
    EXPECT_TRUE(context.recap.Figure(recap::kShop).red);
    EXPECT_EQ(context.recap.Figure(recap::kShop).caption, "Data Error !");
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_EQ(log.lines()[0].rfind("*Error in frmShop GetShopData routine error # :  81  ", 0), 0u)
        << log.lines()[0];
}

TEST_F(ShopViewTest, TwoClicksOnAHeaderSortBothWays) {
    AddJob({5, "O", 1001, 700, 0, 20010});
    AddJob({6, "C", 1002, 50, 0, 20005, 20020});
    AddJob({7, "O", 1001, 12000, 0, 20001});
    Start();
    auto view = Load<ShopView>();
    view->HeaderClick(kShopGrid, 9);  // Sub-Total, by its value: descending first
    EXPECT_EQ(Column(view->grid(), "Job #"), (std::vector<std::string>{"7", "5", "6"}));
    view->HeaderClick(kShopGrid, 9);
    EXPECT_EQ(Column(view->grid(), "Job #"), (std::vector<std::string>{"6", "5", "7"}));
    view->HeaderClick(kShopGrid, 7);  // Date In through ndateIn
    EXPECT_EQ(Column(view->grid(), "Job #"), (std::vector<std::string>{"5", "6", "7"}));
    view->HeaderClick(kShopGrid, 8);  // Date Comp: the open jobs' 0 sort below
    EXPECT_EQ(Column(view->grid(), "Job #"), (std::vector<std::string>{"5", "7", "6"}));
    view->HeaderClick(kShopGrid, 3);  // Request: the toggle flips, nothing moves
    EXPECT_EQ(Column(view->grid(), "Job #"), (std::vector<std::string>{"5", "7", "6"}));
    EXPECT_EQ(mSortOrder, 1);
}

}  // namespace
}  // namespace dv
