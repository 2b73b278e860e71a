// The product lines of the demo set at every scale against the parts drawn for them: each
// line's stored month and year figures are the sums of its parts' own, and none is capped.
#include "sampledata/parts_data.h"

#include <gtest/gtest.h>

#include <map>

#include "engine/codec.h"
#include "sampledata/data_set.h"
#include "sampledata/demo_set.h"

namespace dv::sample {
namespace {

struct Sums {
    int64_t goods = 0, mtd_sales = 0, mtd_cogs = 0, ytd_sales = 0, ytd_cogs = 0;
    int64_t mtd_count = 0, ytd_count = 0;
};

}  // namespace
void PrintTo(Scale scale, std::ostream* os) {
    *os << ScaleName(scale);
}
namespace {

class LinesAgainstParts : public ::testing::TestWithParam<Scale> {};

TEST_P(LinesAgainstParts, EveryLinesFiguresAreItsPartsSums) {
    DataSetWriter set;
    AddPartsFiles(set, PlanFor(GetParam()));
    std::map<int32_t, Sums> parts;
    const RecordFileWriter& partl = set.Records("PARTL");
    for (int32_t n = 1; n <= partl.Count(); ++n) {
        const std::string& p = partl.Get(n);
        Sums& s = parts[Unpack("C", p, 3)];
        s.goods += int64_t{Unpack("K", p, 61)} * Unpack("K", p, 36) / 10;  // cost x on hand
        s.mtd_count += Unpack("J", p, 76);
        s.ytd_count += Unpack("J", p, 82);
        s.mtd_sales += Unpack("L", p, 163);
        s.mtd_cogs += Unpack("L", p, 167);
        s.ytd_sales += Unpack("L", p, 171);
        s.ytd_cogs += Unpack("L", p, 175);
    }
    const RecordFileWriter& linel = set.Records("LINEL");
    int32_t with_parts = 0;
    for (int32_t n = 1; n <= linel.Count(); ++n) {
        const std::string& l = linel.Get(n);
        const int32_t line = Unpack("C", l, 3);
        const auto found = parts.find(line);
        if (found == parts.end()) continue;  // units, rentals and the internal line
        ++with_parts;
        const Sums& s = found->second;
        SCOPED_TRACE("line " + std::to_string(line));
        EXPECT_EQ(Unpack("L", l, 75), s.goods);
        EXPECT_EQ(Unpack("L", l, 83), s.mtd_count);
        EXPECT_EQ(Unpack("L", l, 87), s.mtd_sales);
        EXPECT_EQ(Unpack("L", l, 91), s.mtd_cogs);
        // The year to date is stored without the month.
        EXPECT_EQ(int64_t{Unpack("L", l, 95)} + Unpack("L", l, 83), s.ytd_count);
        EXPECT_EQ(int64_t{Unpack("L", l, 99)} + Unpack("L", l, 87), s.ytd_sales);
        EXPECT_EQ(int64_t{Unpack("L", l, 103)} + Unpack("L", l, 91), s.ytd_cogs);
        EXPECT_GT(s.ytd_sales, 0);
    }
    EXPECT_EQ(with_parts, static_cast<int32_t>(parts.size()));
}

INSTANTIATE_TEST_SUITE_P(Scales, LinesAgainstParts,
                         ::testing::Values(Scale::kTiny, Scale::kDemo, Scale::kLarge),
                         [](const auto& param_info) {
                             return std::string(ScaleName(param_info.param));
                         });

}  // namespace
}  // namespace dv::sample
