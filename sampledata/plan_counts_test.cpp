// The counts dashvane-sample takes beyond its scales: a set written with counts given holds
// them, read back through the engine, and a count outside what the set can hold is refused.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "engine/business_basic.h"
#include "engine/startup.h"
#include "sampledata/demo_set.h"
#include "sampledata/service_data.h"
#include "test_support/sample_share.h"

namespace dv::sample {
namespace {

// What the engine reads back of a set: the keys of a few indexes, and the used slots of the
// saved-invoice directory and of the open shop-job table in FILE0.
std::map<std::string, int32_t> ReadBack(const DemoPlan& plan) {
    const SampleShare share;
    EXPECT_TRUE(share.Start(BuildDemoSet(plan)));
    std::map<std::string, int32_t> counts;
    if (mBusinessBasic == nullptr) return counts;
    cBusinessBasic& bb = *mBusinessBasic;
    int16_t flag = 0;
    for (const char* index :
         {"LINEI", "PARTI", "VNDRI", "RTTBI", "PUTBI", "CUSTI", "TICKI", "UNITI", "WARRI"})
        counts[index] = bb.KCount(index, flag);
    auto used_slots = [&](int32_t first, int32_t last, int32_t from, int32_t to) {
        int32_t used = 0;
        for (int32_t b = first; b <= last; ++b) {
            const std::string block = bb.BlockReadFile("FILE0", b, flag);
            for (int32_t at = 0; at + 4 <= 512; at += 4)
                if ((at % 128) >= from && (at % 128) < to &&
                    block.compare(static_cast<size_t>(at), 4, std::string(4, '\0')) != 0)
                    ++used;
        }
        return used;
    };
    counts["saved"] = used_slots(301, 325, 4, 128);  // bytes 1-4 of each sub-block are not slots
    counts["jobs"] = used_slots(451, 458, 0, 128) + used_slots(501, 571, 0, 128);
    // The purchase orders' own files (vendor orders "V...", special orders "S...").
    for (const auto& entry : std::filesystem::directory_iterator(share.DataFolder())) {
        const char first = entry.path().filename().string()[0];
        if (first == 'V' || first == 'S') ++counts["order files"];
    }
    return counts;
}

DemoPlan WithCounts(const std::map<std::string, std::string>& given) {
    DemoPlan plan = PlanFor(Scale::kTiny);
    for (const auto& [option, value] : given) {
        const PlanCount* count = FindPlanCount(option);
        EXPECT_NE(count, nullptr) << option;
        if (count) {
            EXPECT_EQ(SetPlanCount(plan, *count, value), std::nullopt) << option;
        }
    }
    return plan;
}

TEST(PlanCounts, ASetWrittenWithCountsHoldsThem) {
    // Past 900 orders and 600 shop jobs the documents' and jobs' numbering changes scheme:
    // every one must still get a file and a table slot of its own.
    const std::map<std::string, std::string> given = {
        {"--product-lines", "6"}, {"--parts", "300"},        {"--vendors", "30"},
        {"--returns", "12"},      {"--orders", "950"},       {"--customers", "50"},
        {"--tickets", "9"},       {"--saved-invoices", "7"}, {"--units", "120"},
        {"--shop-jobs", "700"},   {"--claims", "40"}};
    const std::map<std::string, int32_t> counts = ReadBack(WithCounts(given));
    EXPECT_EQ(counts.at("LINEI"), 6 + 1);  // and the internal line
    EXPECT_EQ(counts.at("VNDRI"), 30);
    EXPECT_EQ(counts.at("RTTBI"), 12);
    EXPECT_EQ(counts.at("PUTBI"), 950 + 1);  // and the entry whose file is gone
    EXPECT_EQ(counts.at("order files"), 950);
    EXPECT_EQ(counts.at("CUSTI"), 50);
    EXPECT_EQ(counts.at("TICKI"), 9);
    EXPECT_EQ(counts.at("saved"), 7);
    // 120 is a multiple of every number of unit lines six product lines can have; one more
    // unit stands on the internal line.
    EXPECT_EQ(counts.at("UNITI"), 120 + 1);
    EXPECT_EQ(counts.at("jobs"), 700);
    EXPECT_EQ(counts.at("WARRI"), 40);

    // PARTI also holds the unit models: 200 more parts are 200 more keys.
    auto more = given;
    more["--parts"] = "500";
    EXPECT_EQ(ReadBack(WithCounts(more)).at("PARTI"), counts.at("PARTI") + 200);
}

TEST(PlanCounts, ACountOutsideWhatTheSetHoldsIsRefused) {
    const PlanCount* orders = FindPlanCount("--orders");
    ASSERT_NE(orders, nullptr);
    DemoPlan plan = PlanFor(Scale::kDemo);
    const DemoPlan before = plan;
    for (const char* bad : {"", "0", "5", "10001", "-7", "+7", "7x", "1e3", " 7", "99999999999"}) {
        EXPECT_EQ(SetPlanCount(plan, *orders, bad),
                  std::optional<std::string>("--orders takes a whole number from 6 to 10000"))
            << '"' << bad << '"';
    }
    EXPECT_EQ(plan.orders, before.orders);
    EXPECT_EQ(SetPlanCount(plan, *orders, "0010000"), std::nullopt);
    EXPECT_EQ(plan.orders, 10000);
    EXPECT_EQ(FindPlanCount("--scale"), nullptr);
    // Every count's least and most are themselves taken.
    for (const PlanCount& c : PlanCounts()) {
        EXPECT_LE(c.least, c.most) << c.option;
        EXPECT_EQ(SetPlanCount(plan, c, std::to_string(c.most)), std::nullopt) << c.option;
        EXPECT_NE(SetPlanCount(plan, c, std::to_string(c.least - 1)), std::nullopt) << c.option;
    }
}

}  // namespace
}  // namespace dv::sample
