#include "units/floor_plan_record.h"

#include <gtest/gtest.h>

#include "engine/packed_text.h"
#include "sampledata/record_builder.h"
#include "test_support/record_layout_test.h"

namespace dv {
namespace {

using sample::RecordBuilder;
using sample::TextSet;

constexpr size_t kFplnl = 96;
constexpr size_t kFpexl = 32;

class FloorPlanRecordTest : public ::testing::Test {
  protected:
    FloorPlanRecordTest() { ResetAlphabet(); }
    ~FloorPlanRecordTest() override { ResetAlphabet(); }
};

using FloorPlanCase = testing::BinaryCase<clsFloorPlan>;

// Every binary field of an FPLNL record, written by hand from the layout.
const FloorPlanCase kFloorPlanBinaries[] = {
    {3, 'C', 412, &clsFloorPlan::Line, 412},
    {51, 'K', -100, &clsFloorPlan::Cost, -100},
    {54, 'K', 1234567, &clsFloorPlan::Sold_For_Price, 1234567},
    {57, 'D', 16000000, &clsFloorPlan::Account, 16000000},
    {60, 'L', -5, &clsFloorPlan::Customer_Invoice, -5},
    {76, 'C', 65535, &clsFloorPlan::pas_Serv_Chg_Perc, 65535},
    {78, 'K', -250, &clsFloorPlan::pas_Amount_Paid, -250},
    {94, 'D', 7, &clsFloorPlan::ExtentChain, 7},
};

// Every field of an FPLNL record, written by hand from the layout.
RecordBuilder FloorPlanBytes() {
    RecordBuilder r(kFplnl, '\x5A');  // bytes no field covers keep a mark
    r.Bin(1, 'J', 1);
    for (const FloorPlanCase& c : kFloorPlanBinaries) r.Bin(c.position, c.code, c.stored);
    r.Text(5, "MX/2500", 12, TextSet::kParts)
        .Text(17, "SN-88-1234", 12, TextSet::kNames)
        .Text(29, "REF-1", 6, TextSet::kNames)
        .Text(35, "R-2", 4, TextSet::kNames)
        .DayNumber(39, 2024, 3, 1)
        .Bin(41, 'J', 0)
        .DayNumber(43, 2024, 9, 1)
        .Bin(45, 'J', 0)
        .Text(47, "P-7", 4, TextSet::kNames)
        .Raw(51, std::string("\xFF\xFF\x9C", 3))  // -1.00, the cost's bytes as stored
        .DayNumber(64, 2024, 10, 15)
        .DayNumber(66, 2024, 10, 20)
        .Text(68, "PAY-2", 4, TextSet::kNames)
        .Text(72, "OPEN", 4, TextSet::kNames);
    return r;
}

struct FloorPlanLayout {
    using Record = clsFloorPlan;
    static constexpr size_t kLength = kFplnl;
    static std::string Full() { return FloorPlanBytes().str(); }
    static std::span<const FloorPlanCase> Binaries() { return kFloorPlanBinaries; }
};

// The texts and dates; the binary fields are the typed layout test's.
TEST_F(FloorPlanRecordTest, DecodesTheTextsAndDatesFromHandWrittenBytes) {
    clsFloorPlan f;
    f.Unpack(FloorPlanBytes().bytes());
    EXPECT_EQ(f.Part_Number, "MX/2500           ");  // under the part-number alphabet
    EXPECT_EQ(f.Serial_Number, "SN-88-1234        ");
    EXPECT_EQ(f.Reference_1, "REF-1    ");
    EXPECT_EQ(f.Reference_2, "R-2   ");
    EXPECT_EQ(f.Date_Received, MakeDate(2024, 3, 1));
    EXPECT_TRUE(IsEmptyDate(f.Date_Sold));
    EXPECT_EQ(f.Date_Due, MakeDate(2024, 9, 1));
    EXPECT_TRUE(IsEmptyDate(f.Date_Paid));
    EXPECT_EQ(f.Payment_Reference, "P-7   ");
    EXPECT_EQ(f.pas_Date_Due, MakeDate(2024, 10, 15));
    EXPECT_EQ(f.pas_Date_Paid, MakeDate(2024, 10, 20));
    EXPECT_EQ(f.pas_Payment_Ref, "PAY-2 ");
    EXPECT_EQ(f.pas_Status, "OPEN  ");
    // The names alphabet stays in force: a "/" packed now comes back as "-".
    EXPECT_EQ(Alphabet().substr(0, 4), kNameSet);
}

TEST_F(FloorPlanRecordTest, PackLeavesTheBytesNoFieldCovers) {
    const std::string original = FloorPlanBytes().str();
    clsFloorPlan f;
    f.Unpack(original);
    std::string packed(kFplnl, '\0');
    f.Pack(packed);
    // Bytes 1-2 and 81-93 are no field's: they keep what the string held.
    EXPECT_EQ(packed.substr(2, 78), original.substr(2, 78));
    EXPECT_EQ(packed.substr(93), original.substr(93));
    EXPECT_EQ(packed.substr(0, 2), std::string(2, '\0'));
    EXPECT_EQ(packed.substr(80, 13), std::string(13, '\0'));
    EXPECT_EQ(Alphabet().substr(0, 4), kNameSet);
}

TEST_F(FloorPlanRecordTest, AShortRecordKeepsTheFieldsPastItsEnd) {
    clsFloorPlan f;
    f.ExtentChain = 99;
    f.pas_Amount_Paid = 5;
    f.Unpack(FloorPlanBytes().str().substr(0, 79));
    EXPECT_EQ(f.Line, 412);
    EXPECT_EQ(f.pas_Serv_Chg_Perc, 65535);
    EXPECT_EQ(f.pas_Amount_Paid, 5);  // 78-80 reaches past byte 79
    EXPECT_EQ(f.ExtentChain, 99);
}

// The form an extent takes by its line word at 3.
TEST_F(FloorPlanRecordTest, TheExtentFormTable) {
    struct Case {
        std::string word;  // the two bytes at 3-4
        bool part_line;
        std::string line;  // LineText()
    };
    const Case cases[] = {
        {std::string("\0\0", 2), false, "   "},
        {std::string("\0\1", 2), true, "1"},
        {std::string("\x03\xE6", 2), true, "998"},
        {std::string("\x03\xE7", 2), false, " KZ"},  // 999 = 24 x 40 + 39, read as text
        {sample::PackText("REM"), false, "REM"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        RecordBuilder r(kFpexl);
        r.Bin(1, 'C', 3).Raw(3, c.word).Bin(29, 'D', 12);
        if (c.part_line) {
            r.Text(5, "AB/12", 12).Bin(17, 'J', -2).Bin(19, 'D', 1500).Bin(22, 'D', 3000);
        } else {
            r.Text(5, "CALL BEFORE DELIVERY", 24);
        }
        clsFloorPlanExtent x;
        x.Unpack(r.bytes());
        EXPECT_EQ(x.Status, 3);
        EXPECT_EQ(x.ExtentChain, 12);
        EXPECT_EQ(std::holds_alternative<int32_t>(x.Line), c.part_line);
        if (c.part_line) {
            EXPECT_EQ(x.PartNumber, "AB/12             ");
            EXPECT_EQ(x.Quantity, -2);
            EXPECT_EQ(x.Cost, 1500);
            EXPECT_EQ(x.Net, 3000);
            EXPECT_EQ(x.Comment, "");
        } else {
            EXPECT_EQ(x.Comment, "CALL BEFORE DELIVERY                ");
            EXPECT_EQ(x.PartNumber, "");
            EXPECT_EQ(x.Quantity, 0);
        }
    }
}

TEST_F(FloorPlanRecordTest, TheUnchosenFormKeepsThePreviousRecordsFields) {
    clsFloorPlanExtent x;
    x.Unpack(RecordBuilder(kFpexl)
                 .Bin(3, 'C', 7)
                 .Text(5, "FILTER9", 12)
                 .Bin(17, 'J', 4)
                 .Bin(19, 'D', 250)
                 .Bin(22, 'D', 1000)
                 .Bin(29, 'D', 2)
                 .bytes());
    x.Unpack(RecordBuilder(kFpexl).Text(3, "REM", 2).Text(5, "SEE DEALER", 24).bytes());
    EXPECT_TRUE(x.IsRemark());
    EXPECT_EQ(x.Comment.substr(0, 10), "SEE DEALER");
    EXPECT_EQ(x.PartNumber.substr(0, 7), "FILTER9");
    EXPECT_EQ(x.Quantity, 4);
    EXPECT_EQ(x.Cost, 250);
    EXPECT_EQ(x.Net, 1000);
    EXPECT_EQ(x.ExtentChain, 0);

    x.Unpack(RecordBuilder(kFpexl).Bin(3, 'C', 8).Text(5, "BELT", 12).bytes());
    EXPECT_EQ(x.LineText(), "8");
    EXPECT_EQ(x.Comment.substr(0, 10), "SEE DEALER");  // kept from the remark
}

TEST_F(FloorPlanRecordTest, ExtentPackChoosesTheFormByWhatLineHolds) {
    clsFloorPlanExtent x;
    x.Status = 1;
    x.Line = std::string("123");  // digits only: written as the number 123
    x.PartNumber = "AB12";
    x.Quantity = -3;
    x.Cost = 199;
    x.Net = 597;
    x.Comment = "NOT WRITTEN";
    x.ExtentChain = 40;
    std::string rec(kFpexl, '\0');
    x.Pack(rec);
    const std::string expected = RecordBuilder(kFpexl)
                                     .Bin(1, 'C', 1)
                                     .Bin(3, 'C', 123)
                                     .Text(5, "AB12", 12)
                                     .Bin(17, 'J', -3)
                                     .Bin(19, 'D', 199)
                                     .Bin(22, 'D', 597)
                                     .Bin(29, 'D', 40)
                                     .str();
    EXPECT_EQ(rec, expected);

    x.Line = std::string("REMARK");  // only three characters fit
    x.Comment = "HELLO";
    std::string remark(kFpexl, '\0');
    x.Pack(remark);
    EXPECT_EQ(remark.substr(2, 2), sample::PackText("REM"));
    EXPECT_EQ(remark.substr(4, 24), sample::PackText("HELLO").append(24 - 4, '\0'));

    // A numeric line of 0 is written as a number and comes back in the text form.
    x.Line = 0;
    std::string zero(kFpexl, '\0');
    x.Pack(zero);
    clsFloorPlanExtent back;
    back.Unpack(zero);
    EXPECT_EQ(back.LineText(), "   ");
}

}  // namespace

namespace testing {
INSTANTIATE_TYPED_TEST_SUITE_P(FloorPlan, RecordLayoutTest, FloorPlanLayout);
}  // namespace testing
}  // namespace dv
