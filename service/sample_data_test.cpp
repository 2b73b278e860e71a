// The demo set's shop jobs and warranty claims, read back through the engine with the record
// classes: the open shop-job table of FILE0, the head pages in INVOL, the claims through WARRI.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "engine/codec.h"
#include "sampledata/demo_set.h"
#include "sampledata/service_data.h"
#include "service/shop_record.h"
#include "service/warranty_record.h"
#include "test_support/sample_share.h"

namespace dv {
namespace {

struct DemoServiceData : ::testing::TestWithParam<bool> {
    sample::SampleShare share;
    int16_t flag = 0;
};

TEST_P(DemoServiceData, JobTableAndClaimsDecode) {
    sample::DemoPlan plan = sample::PlanFor(sample::Scale::kTiny);
    plan.warranty_segments = GetParam();
    sample::DataSetWriter set;
    sample::AddDemoFiles(set, plan);
    // The summary of the same plan, from a second writer (the generator is deterministic).
    sample::DataSetWriter again;
    sample::DemoPlan plan2 = plan;
    const sample::ServiceSummary summary = sample::AddServiceFiles(again, plan2);
    ASSERT_TRUE(share.Start(set.Build()));
    cBusinessBasic& bb = *mBusinessBasic;

    // The job table, in table order.
    std::vector<int32_t> jobs;
    std::set<std::string> statuses;
    int64_t open_total = 0;
    clsShop shop;
    for (int32_t block = 451; block <= 571; ++block) {
        if (block == 459) block = 501;
        const std::string b = bb.BlockReadFile("FILE0", block, flag);
        for (int32_t slot = 0; slot < 128; ++slot) {
            const int32_t n = Unpack("L", b, slot * 4 + 1);
            if (n < 1) continue;
            shop.Unpack(bb.LreadFile("INVOL", n, flag));
            EXPECT_EQ(shop.Record_Status, kShopPageStatus);
            EXPECT_EQ(sample::JobTableSlot(shop.JobNumber).block, block);
            EXPECT_EQ(shop.JobNumber % 128, slot);
            EXPECT_EQ(shop.Page, shop.segment + 1);  // one request per page, head page highest
            EXPECT_EQ(shop.Shop, 1);
            EXPECT_EQ(shop.ShipTo, shop.Account);
            jobs.push_back(shop.JobNumber);
            statuses.insert(shop.Status);
            if (shop.Status != "B") open_total += shop.Sub_Total;
        }
    }
    EXPECT_EQ(jobs, summary.jobs);
    EXPECT_EQ(open_total, summary.open_total_cents);
    EXPECT_GT(open_total, 0);
    for (const char* s : {"O", "1", "C", "B"}) EXPECT_TRUE(statuses.count(s)) << s;
    EXPECT_TRUE(bb.BlockReadFile("FILE0", 450, flag).substr(431, 15) == "WAITING PARTS  ");
    EXPECT_TRUE(bb.BlockReadFile("FILE0", 446, flag).substr(0, 12) == "NO ANSWER   ");
    const std::string options = bb.BlockReadFile("FILE0", 401, flag);
    EXPECT_EQ(options[316], GetParam() ? 'Y' : 'N');
    EXPECT_EQ(options[319], GetParam() ? 'Y' : 'N');

    // The claims through WARRI from key 1.
    std::string cursor(kCursorSize, '\0');
    std::string key(4, '\0');
    Pack("L", key, 1, 1);
    int32_t record = 0;
    bb.KFind("WARRI", cursor, key, record, flag);
    record = std::abs(record);
    std::vector<int32_t> listed;
    int32_t claims = 0;
    clsWarranty w;
    while (record > 0) {
        const std::string rec = bb.LreadFile("WARRL", record, flag);
        w.Unpack(rec);
        const int32_t k = Unpack("L", key, 1);
        EXPECT_EQ(k, GetParam() ? w.Shop_Ref * 100 + 1 + (w.Shop_Ref - 7000) % 3 : w.Shop_Ref);
        EXPECT_GT(w.Inv_Ptr, summary.claims);
        const int32_t billed = Unpack("D", rec, 403);
        if (w.Status == 1 && Unpack("C", rec, 401) == 0 && billed != 0 && billed != 10168)
            listed.push_back(k);
        ++claims;
        bb.KNext("WARRI", cursor, key, record, flag);
    }
    EXPECT_EQ(claims, summary.claims);
    EXPECT_EQ(listed, summary.listed_keys);
    EXPECT_LT(listed.size(), static_cast<size_t>(claims));
    EXPECT_GT(summary.warranty_parts_cents, 0);
    EXPECT_GT(summary.warranty_labor_cents, 0);
}

INSTANTIATE_TEST_SUITE_P(PlainAndSegments, DemoServiceData, ::testing::Bool());

}  // namespace
}  // namespace dv
