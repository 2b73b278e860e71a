// The demo data set's product lines, parts, vendors and order documents, read back through the
// engine with the record classes and the order-file readers.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "engine/codec.h"
#include "parts/lines_record.h"
#include "parts/order_files.h"
#include "parts/part_description.h"
#include "parts/parts_record.h"
#include "sampledata/demo_set.h"
#include "sampledata/parts_data.h"
#include "test_support/engine_test.h"

namespace dv {
namespace {

class DemoPartsData : public testing::EngineTest {
  protected:
    void StartDemo(sample::Scale scale) {
        sample::DemoPlan plan = sample::PlanFor(scale);
        summary_ = sample::AddPartsFiles(set, plan);
        Start();
    }
    sample::PartsFilesSummary summary_;
};

TEST_F(DemoPartsData, LinesReadThroughTheIndexAddUpToTheInventory) {
    StartDemo(sample::Scale::kDemo);
    std::string cursor(kCursorSize, '\0');
    std::string key(2, '\0');
    Pack("C", key, 1, 1);
    int32_t record = 0;
    bb().KFind("LINEI", cursor, key, record, flag);
    record = std::abs(record);
    int64_t investment = 0;
    int32_t lines = 0, previous = 0;
    std::set<std::string> types;
    clsLines alone, joined;
    while (record > 0 && Unpack("C", key, 1) < 1000) {
        alone.Unpack(bb().LreadFile("LINEL", record, flag));
        joined.Read(record, flag);
        EXPECT_GT(alone.Line, previous);
        previous = alone.Line;
        // The views read LINEL alone; it holds every field they use.
        EXPECT_EQ(alone.Cost_of_Mdse, joined.Cost_of_Mdse);
        EXPECT_EQ(alone.YTD_Sales, joined.YTD_Sales);
        EXPECT_GE(joined.YTD_Sales, joined.MTD_Sales);
        EXPECT_LE(joined.YTD_Items_Filled, joined.YTD_Items_Ordered);
        EXPECT_GT(joined.Primary_Vendor, 0);  // from ELINEL
        EXPECT_NE(joined.Line_Name.find_first_not_of(' '), std::string::npos);
        EXPECT_GE(joined.Comodities.size(), 1u);
        EXPECT_EQ(joined.Comodities[0], joined.Comodity);
        types.insert(joined.Line_Type);
        investment += alone.Cost_of_Mdse;
        ++lines;
        bb().KNext("LINEI", cursor, key, record, flag);
    }
    EXPECT_EQ(lines, summary_.lines - 1);  // the internal line lies above 999
    EXPECT_EQ(investment, summary_.inventory_cents);
    EXPECT_GT(investment, 0);
    EXPECT_TRUE(types.count("P"));
    EXPECT_TRUE(types.count("U"));
}

TEST_F(DemoPartsData, EveryPartIsFoundByItsKeyAndDescribed) {
    StartDemo(sample::Scale::kTiny);
    const LogicalFileRef partl = bb().LogicalOpen("PARTL");
    ASSERT_NE(partl, nullptr);
    ASSERT_EQ(partl->LastRecord, summary_.parts);
    clsParts p;
    for (int32_t n = 1; n <= partl->LastRecord; ++n) {
        p.Read(n, flag);
        EXPECT_EQ(p.Record_Number, n);
        EXPECT_GT(p.Cost, 0);
        EXPECT_GE(p.List_Price, p.Cost);
        EXPECT_NE(p.Description.find_first_not_of(' '), std::string::npos);
        EXPECT_EQ(GetPartDescription(std::to_string(p.Line), p.Part_Number), p.Description) << n;
    }
}

TEST_F(DemoPartsData, OrderDocumentsReadBackWhole) {
    StartDemo(sample::Scale::kDemo);
    int32_t returns = 0, shown_returns = 0, orders = 0, shown_orders = 0, no_file = 0;
    int32_t unknown_vendor = 0, unknown_part = 0, negative = 0;
    auto check = [&](const OrderIndexEntry& e, int32_t& count, int32_t& shown, bool selected) {
        const std::unique_ptr<OrderDocument> doc = OrderDocument::Open(e.name);
        if (!doc) {
            ++no_file;
            return;
        }
        ++count;
        if (selected) ++shown;
        const OrderHeader h = doc->Header();
        EXPECT_EQ(h.number, e.name);  // the detail reopens the file by this number
        EXPECT_FALSE(IsEmptyDate(h.date));
        if (VendorName(h.vendor) == kVendorNotFound) ++unknown_vendor;
        int64_t sum = 0;
        for (int32_t n = kFirstOrderLine; n <= doc->LastRecord(); ++n) {
            const OrderLine l = doc->Line(n);
            if (l.kind != kPartLineKind) continue;
            const LinePart part = LookUpLinePart(l.part_key);
            if (!part.found) ++unknown_part;
            sum += int64_t{l.quantity} * (l.unit_cost != 0 ? l.unit_cost : part.cost);
        }
        EXPECT_EQ(doc->TotalCents(), sum) << e.name;
        if (sum < 0) ++negative;
        EXPECT_EQ(doc->Comments()[0].size(), 54u);
    };
    WalkOrderIndex("RTTBI", [&](const OrderIndexEntry& e) {
        check(e, returns, shown_returns, IsReturnEntry(e));
    });
    WalkOrderIndex("PUTBI", [&](const OrderIndexEntry& e) {
        check(e, orders, shown_orders, IsPurchaseOrderEntry(e));
    });
    EXPECT_EQ(returns, summary_.returns);
    EXPECT_EQ(orders, summary_.orders);
    EXPECT_GT(shown_returns, 3);
    EXPECT_LT(shown_returns, returns);  // some of another type
    EXPECT_GT(shown_orders, 10);
    EXPECT_LT(shown_orders, orders);
    EXPECT_EQ(no_file, 1);
    EXPECT_EQ(unknown_vendor, 1);
    EXPECT_EQ(unknown_part, 1);
    EXPECT_EQ(negative, 1);
}

}  // namespace
}  // namespace dv
