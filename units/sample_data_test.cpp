// The demo data set's units and floor plan, read back through the engine with the record
// classes and bounded chain walks.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "engine/codec.h"
#include "engine/error.h"
#include "platform/file_calls.h"
#include "sampledata/damage.h"
#include "sampledata/demo_set.h"
#include "sampledata/parts_data.h"
#include "sampledata/units_data.h"
#include "test_support/engine_test.h"
#include "test_support/sample_share.h"
#include "units/floor_plan_record.h"
#include "units/record_chain.h"
#include "units/unit_records.h"

namespace dv {
namespace {

class DemoUnitsData : public testing::EngineTest,
                      public ::testing::WithParamInterface<sample::Scale> {
  protected:
    void SetUp() override {
        sample::DemoPlan plan = sample::PlanFor(GetParam());
        sample::AddPartsFiles(set, plan);
        summary_ = sample::AddUnitsFiles(set, plan);
        Start();
    }
    sample::UnitsFilesSummary summary_;
};

TEST_P(DemoUnitsData, UnitsLedgersAndCaptions) {
    ASSERT_GT(summary_.unit_lines, 0);
    EXPECT_GT(summary_.units_in_stock, 0);
    EXPECT_LT(summary_.units_in_stock, summary_.units);
    int32_t entries = 0, day_one = 0;
    std::string cursor(kCursorSize, '\0');
    std::string key(8, '\0');
    int32_t record = 0;
    bb().KFind("UNITI", cursor, key, record, flag);
    record = std::abs(record);
    int32_t units = 0;
    while (record > 0) {
        const std::string data = bb().LreadFile("UNITL", record, flag);
        clsUnits u;
        u.Unpack(data);
        EXPECT_EQ(u.Unit_Number, key.substr(0, 8));
        if (Unpack("J", data, 149) == 1) ++day_one;
        RecordChain chain(bb(), "LUNITL", u.SubLedgerChain);
        std::string entry;
        int32_t n = 0;
        while (chain.Next(entry, n)) {
            clsUnitsLedger g;
            g.Unpack(entry);
            EXPECT_EQ(g.Unit_Number, u.Unit_Number);
            chain.SetNext(g.Chain);
            ++entries;
        }
        ++units;
        bb().KNext("UNITI", cursor, key, record, flag);
    }
    EXPECT_EQ(units, summary_.units);
    EXPECT_EQ(entries, summary_.ledger_entries);
    EXPECT_EQ(day_one, 1);
    const std::string block = bb().BlockReadFile("FILE0", 4, flag);
    EXPECT_EQ(block.substr(432, 20), "HOURS   ############");
}

TEST_P(DemoUnitsData, FloorPlanHoldsEveryStateAndEveryExtentKind) {
    std::set<int> states;
    std::set<std::string> codes;
    int32_t floored = 0, extents = 0;
    std::string cursor(kCursorSize, '\0');
    std::string key(26, '\0');
    int32_t record = 0;
    bb().KFind("FPLNI", cursor, key, record, flag);
    record = std::abs(record);
    while (record > 0) {
        const std::string data = bb().LreadFile("FPLNL", record, flag);
        clsFloorPlan f;
        f.Unpack(data);
        EXPECT_EQ(data.substr(2, 26), key.substr(0, 26));
        states.insert((Unpack("C", data, kFloorPlanSoldAt) != 0 ? 1 : 0) +
                      (Unpack("L", data, kFloorPlanInvoiceAt) != 0 ? 2 : 0));
        RecordChain chain(bb(), "FPEXL", f.ExtentChain);
        std::string ext;
        int32_t n = 0;
        clsFloorPlanExtent x;
        while (chain.Next(ext, n)) {
            x.Unpack(ext);
            codes.insert(std::holds_alternative<int32_t>(x.Line) ? "part" : x.LineText());
            chain.SetNext(x.ExtentChain);
            ++extents;
        }
        ++floored;
        bb().KNext("FPLNI", cursor, key, record, flag);
    }
    EXPECT_EQ(floored, summary_.floored);
    EXPECT_EQ(extents, summary_.extents);
    EXPECT_EQ(states, (std::set<int>{0, 1, 2, 3}));
    EXPECT_EQ(codes, (std::set<std::string>{"part", "REM", "MSC"}));
    EXPECT_GT(summary_.floor_plan_cents, 0);
}

// What one line's cost gave: the sum, or the error raised, and the calls made on the files.
struct LineCost {
    int64_t cents = 0;
    int32_t error = 0;
    std::string text;
    uint64_t calls = 0, bytes = 0;
    bool operator==(const LineCost&) const = default;
};

void PrintTo(const LineCost& c, std::ostream* os) {
    *os << c.cents << " cents, error " << c.error << " " << c.text << ", " << c.calls
        << " calls of " << c.bytes << " bytes";
}

template <typename Fn>
LineCost CostOf(Fn fn) {
    LineCost c;
    const platform::FileCalls before = platform::FileCallCounts();
    try {
        c.cents = fn();
    } catch (const BasicError& e) {
        c.error = e.number();
        c.text = e.source() + ": " + e.description();
    } catch (const std::exception& e) {
        c.error = -1;
        c.text = e.what();
    }
    const platform::FileCalls made = platform::FileCallCounts() - before;
    c.calls = made.Calls();
    c.bytes = made.bytes;
    return c;
}

// The Units view's sum of a line, which decodes only the fields it needs, is the sum of the
// whole walk's ledger sums, with the same error and the same calls, on the demo set and on
// every named damage of the sample writer.
TEST(LineStockCost, IsTheSumOfTheUnitWalkOnTheDemoSetAndEveryDamage) {
    const sample::DataSetImage clean = sample::BuildDemoSet(sample::Scale::kDemo);
    std::vector<std::string> kinds = {""};
    for (const sample::damage::NamedDamage& d : sample::damage::NamedDamages())
        kinds.emplace_back(d.name);
    std::set<int32_t> lines = {0, 1, 999};  // and lines without units
    {
        const sample::SampleShare share;
        ASSERT_TRUE(share.Start(clean));
        std::string cursor(kCursorSize, '\0');
        std::string key(10, '\0');
        int32_t record = 0;
        int16_t flag = 1;
        mBusinessBasic->KFind("LUNITI", cursor, key, record, flag);
        record = std::abs(record);
        for (int n = 0; record > 0 && n < 100000; ++n) {
            lines.insert(Unpack("C", key, 1));
            mBusinessBasic->KNext("LUNITI", cursor, key, record, flag);
        }
    }
    ASSERT_GT(lines.size(), 4u);
    int errors = 0;
    size_t started = 0;
    for (const std::string& kind : kinds) {
        SCOPED_TRACE(kind.empty() ? "undamaged" : kind);
        sample::DataSetImage image = clean;
        if (!kind.empty()) sample::damage::FindNamedDamage(kind)->apply(image);
        const sample::SampleShare share;
        if (!share.Start(image)) continue;  // no engine: nothing to sum
        ++started;
        int64_t total = 0;
        for (const int32_t line : lines) {
            SCOPED_TRACE(line);
            const auto walk = [&] {
                int64_t sum = 0;
                ForEachUnitInStock(line, [&](const clsUnits&, int64_t cost) { sum += cost; });
                return sum;
            };
            // The first walk opens the files; the calls are compared once they are open.
            const LineCost first = CostOf(walk);
            const LineCost summed = CostOf([&] { return LineStockCost(line); });
            const LineCost walked = CostOf(walk);
            EXPECT_EQ(summed, walked);
            EXPECT_EQ(first.cents, walked.cents);
            EXPECT_EQ(first.text, walked.text);
            total += walked.cents;
            errors += walked.error != 0 ? 1 : 0;
        }
        if (kind.empty()) {
            EXPECT_NE(total, 0);
        }
    }
    EXPECT_GT(started, kinds.size() / 2);
    EXPECT_GT(errors, 0);  // some damage reaches the walk
}

INSTANTIATE_TEST_SUITE_P(Scales, DemoUnitsData,
                         ::testing::Values(sample::Scale::kTiny, sample::Scale::kDemo));

}  // namespace
}  // namespace dv
