#include "service/clock_record.h"

#include <gtest/gtest.h>

#include "engine/packed_text.h"
#include "sampledata/record_builder.h"
#include "test_support/record_layout_test.h"

namespace dv {
namespace {

using sample::RecordBuilder;

constexpr size_t kLength = 40;

using ClockCase = testing::BinaryCase<clsClock>;

// The binary fields of each record type, written by hand from the layout.
const ClockCase kClockEntryBinaries[] = {
    {3, 'C', 17, &clsClock::man, 17},
    {7, 'C', 815, &clsClock::enteredTime, 815},
    {11, 'C', 1730, &clsClock::actualTime, 1730},
    {14, 'B', 0x81, &clsClock::bitsw, 0x81},
    {26, 'L', -26, &clsClock::reference, -26},
    {30, 'C', 1001, &clsClock::job, 1001},
    {32, 'B', 2, &clsClock::segment, 2},
};
const ClockCase kPartEntryBinaries[] = {
    {3, 'C', 9, &clsClock::man, 9},
    {23, 'C', 3, &clsClock::qty, 3},
    {26, 'L', 426, &clsClock::reference, 426},
    {30, 'C', 64000, &clsClock::job, 64000},
    {32, 'B', 0, &clsClock::segment, 0},
};

RecordBuilder ClockEntry() {
    RecordBuilder b(kLength);
    b.Bin(1, 'J', kClockEntry);
    for (const ClockCase& c : kClockEntryBinaries) b.Bin(c.position, c.code, c.stored);
    b.DayNumber(5, 2024, 6, 3).DayNumber(9, 2024, 6, 2).Raw(13, "O");
    return b;
}

RecordBuilder PartEntry() {
    RecordBuilder b(kLength);
    b.Bin(1, 'J', kClockPartEntry);
    for (const ClockCase& c : kPartEntryBinaries) b.Bin(c.position, c.code, c.stored);
    b.DayNumber(5, 2024, 6, 4).Text(9, "120", 2).Text(11, "FLTR4455", 12);
    return b;
}

// The fields the layout stores for one record type.
std::vector<fields::Field<clsClock>> FieldsOfType(int32_t type) {
    std::vector<fields::Field<clsClock>> out;
    for (const clsClock::Entry& e : clsClock::Layout())
        if (e.types & (1 << (type - 1))) out.push_back(e.field);
    return out;
}

struct ClockEntryLayout {
    using Record = clsClock;
    static constexpr size_t kLength = dv::kLength;
    static std::string Full() { return ClockEntry().str(); }
    static std::span<const ClockCase> Binaries() { return kClockEntryBinaries; }
    static std::vector<fields::Field<clsClock>> Fields() { return FieldsOfType(kClockEntry); }
};

struct PartEntryLayout {
    using Record = clsClock;
    static constexpr size_t kLength = dv::kLength;
    static std::string Full() { return PartEntry().str(); }
    static std::span<const ClockCase> Binaries() { return kPartEntryBinaries; }
    static std::vector<fields::Field<clsClock>> Fields() { return FieldsOfType(kClockPartEntry); }
};

class ClockRecordTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetAlphabet(); }
    void TearDown() override { ResetAlphabet(); }
};

// Each record type reads its own fields and leaves the other type's fields as they were.
TEST_F(ClockRecordTest, TypeTableDecidesWhichFieldsAreRead) {
    clsClock c;
    c.Line = "keep";
    c.part = "keep";
    c.qty = -1;
    c.Unpack(ClockEntry().str());
    EXPECT_EQ(c.recordStatus, 1);
    EXPECT_EQ(c.man, 17);
    EXPECT_EQ(c.enteredDate, MakeDate(2024, 6, 3));
    EXPECT_EQ(c.enteredTime, 815);
    EXPECT_EQ(c.actualDate, MakeDate(2024, 6, 2));
    EXPECT_EQ(c.actualTime, 1730);
    EXPECT_EQ(c.InOut, "O");
    EXPECT_EQ(c.bitsw, 0x81);
    EXPECT_EQ(c.reference, -26);
    EXPECT_EQ(c.job, 1001);
    EXPECT_EQ(c.segment, 2);
    EXPECT_EQ(c.Line, "keep");
    EXPECT_EQ(c.part, "keep");
    EXPECT_EQ(c.qty, -1);

    c.Unpack(PartEntry().str());
    EXPECT_EQ(c.recordStatus, 2);
    EXPECT_EQ(c.man, 9);
    EXPECT_EQ(c.enteredDate, MakeDate(2024, 6, 4));
    EXPECT_EQ(c.Line, "120");
    EXPECT_EQ(c.part, "FLTR4455          ");
    EXPECT_EQ(c.qty, 3);
    EXPECT_EQ(c.reference, 426);
    EXPECT_EQ(c.job, 64000);
    EXPECT_EQ(c.segment, 0);
    // Type 1's own fields keep the clock entry's values.
    EXPECT_EQ(c.enteredTime, 815);
    EXPECT_EQ(c.actualDate, MakeDate(2024, 6, 2));
    EXPECT_EQ(c.actualTime, 1730);
    EXPECT_EQ(c.InOut, "O");
    EXPECT_EQ(c.bitsw, 0x81);

    // Any other type sets only the status word.
    RecordBuilder other = PartEntry();
    other.Bin(1, 'J', 3).Bin(3, 'C', 99);
    c.Unpack(other.str());
    EXPECT_EQ(c.recordStatus, 3);
    EXPECT_EQ(c.man, 9);
    EXPECT_EQ(c.qty, 3);
}

TEST_F(ClockRecordTest, DayNumberZeroIsTheEmptyDate) {
    RecordBuilder b = ClockEntry();
    b.Bin(5, 'C', 0);
    clsClock c;
    c.Unpack(b.str());
    EXPECT_EQ(c.enteredDate, EmptyDate());
}

TEST_F(ClockRecordTest, PackWritesOnlyTheFieldsOfItsType) {
    for (const RecordBuilder& source : {ClockEntry(), PartEntry()}) {
        clsClock c;
        c.Unpack(source.str());
        std::string rec(kLength, '\x55');
        c.Pack(rec);
        const bool type1 = c.recordStatus == 1;
        for (size_t i = 0; i < kLength; ++i) {
            const int pos = static_cast<int>(i) + 1;
            const bool untouched = type1 ? (pos >= 15 && pos <= 25) || pos > 32
                                         : pos == 7 || pos == 8 || pos == 25 || pos > 32;
            EXPECT_EQ(rec[i], untouched ? '\x55' : source.bytes()[i])
                << "type " << c.recordStatus << " byte " << pos;
        }
    }
    clsClock none;
    none.recordStatus = 3;
    std::string rec(kLength, '\x55');
    none.Pack(rec);
    EXPECT_EQ(rec, std::string(kLength, '\x55'));
}

}  // namespace

namespace testing {
INSTANTIATE_TYPED_TEST_SUITE_P(ClockEntry, RecordLayoutTest, ClockEntryLayout);
INSTANTIATE_TYPED_TEST_SUITE_P(ClockPartEntry, RecordLayoutTest, PartEntryLayout);
}  // namespace testing
}  // namespace dv
