// The demo data set's units and floor plan, read back through the engine with the record
// classes and bounded chain walks.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "engine/codec.h"
#include "sampledata/demo_set.h"
#include "sampledata/parts_data.h"
#include "sampledata/units_data.h"
#include "test_support/engine_test.h"
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

INSTANTIATE_TEST_SUITE_P(Scales, DemoUnitsData,
                         ::testing::Values(sample::Scale::kTiny, sample::Scale::kDemo));

}  // namespace
}  // namespace dv
