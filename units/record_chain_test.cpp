#include "units/record_chain.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/codec.h"
#include "sampledata/damage.h"
#include "sampledata/record_builder.h"
#include "test_support/engine_test.h"
#include "test_support/expect_error.h"

namespace dv {
namespace {

using sample::RecordBuilder;
using testing::ExpectError;

class RecordChainTest : public testing::EngineTest {
  protected:
    // LUNITL records 1-5 with their links at 61: 1 -> 3 -> 5 -> 0, 2 -> 0, 4 -> 4.
    void Write(const std::vector<int32_t>& links) {
        auto& ledger = set.AddRecordFile("LUNITL", 64);
        for (int32_t link : links) ledger.Add(RecordBuilder(64).Bin(1, 'J', 1).Bin(61, 'L', link));
        Start();
    }
    std::vector<int32_t> Walk(int32_t first) {
        RecordChain chain(bb(), "LUNITL", first);
        std::vector<int32_t> seen;
        std::string record;
        int32_t n = 0;
        while (chain.Next(record, n)) {
            seen.push_back(n);
            chain.SetNext(Unpack("L", record, 61));
        }
        return seen;
    }
};

TEST_F(RecordChainTest, FollowsLinksToZero) {
    Write({3, 0, 5, 4, 0});
    EXPECT_EQ(Walk(1), (std::vector<int32_t>{1, 3, 5}));
    EXPECT_EQ(Walk(2), (std::vector<int32_t>{2}));
    EXPECT_TRUE(Walk(0).empty());
}

TEST_F(RecordChainTest, EveryBrokenChainEndsWithANumberedError) {
    Write({3, 0, 5, 4, 9});
    ExpectError([&] { Walk(4); }, err::kChainCycle,
                "Damaged chain in LUNITL: record 4 is met twice (after record 4)");
    ExpectError([&] { Walk(1); }, err::kChainPointer,
                "Damaged chain in LUNITL: record 5 points to record 9, outside 1 to 5");
    ExpectError([&] { Walk(-2); }, err::kChainPointer,
                "Damaged chain in LUNITL: its first record points to record -2, outside 1 to 5");
    ExpectError([&] { RecordChain(bb(), "NOSUCH", 1); }, err::kFile, "File not Found: \"NOSUCH\"");
}

TEST_F(RecordChainTest, TheDamageKindsOfTheSampleWriterBreakAChain) {
    auto& ledger = set.AddRecordFile("LUNITL", 64);
    for (int32_t link : {2, 3, 0}) ledger.Add(RecordBuilder(64).Bin(1, 'J', 1).Bin(61, 'L', link));
    sample::DataSetImage image = set.Build();
    EXPECT_EQ(sample::damage::LoopRecordChain(image, "LUNITL", 61, 4), 2);
    Start(image);
    ExpectError([&] { Walk(1); }, err::kChainCycle,
                "Damaged chain in LUNITL: record 1 is met twice (after record 2)");
}

}  // namespace
}  // namespace dv
