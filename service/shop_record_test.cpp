#include "service/shop_record.h"

#include <gtest/gtest.h>

#include "engine/packed_text.h"
#include "sampledata/record_builder.h"
#include "test_support/record_layout_test.h"

namespace dv {
namespace {

using sample::RecordBuilder;

constexpr size_t kPage = 512;

using Case = testing::BinaryCase<clsShop>;

// The plain binary fields, written by hand from the page layout. Signed codes carry negative
// values, unsigned codes values with the top bit set.
const Case kBinaries[] = {
    {1, 'J', 80, &clsShop::Record_Status, 80},
    {3, 'L', -40217, &clsShop::Account, -40217},
    {12, 'C', 65535, &clsShop::AlternateTaxCode, 65535},
    {75, 'L', 123456, &clsShop::ShopReference, 123456},
    {79, 'B', 200, &clsShop::Mechanic, 200},
    {80, 'B', 3, &clsShop::PostCardCount, 3},
    {100, 'B', 7, &clsShop::DeliveryCode, 7},
    {101, 'C', 1127, &clsShop::JobNumber, 1127},
    {103, 'C', 930, &clsShop::TimeIn, 930},
    {113, 'B', 12, &clsShop::Counterman, 12},
    {114, 'B', 255, &clsShop::SalesMan, 255},
    {115, 'B', 3, &clsShop::Page, 3},
    {124, 'B', 9, &clsShop::Delivery_Code, 9},
    {129, 'J', -15, &clsShop::Disc_Percentage, -15},
    {135, 'C', 825, &clsShop::Tax_Rate, 825},
    {145, 'B', 4, &clsShop::Department, 4},
    {149, 'B', 2, &clsShop::Tax_Rate_Code, 2},
    {151, 'L', 700151, &clsShop::Packing_Slip_No, 700151},
    {156, 'B', 156, &clsShop::Category, 156},
    {157, 'B', 30, &clsShop::Terms_Code, 30},
};

RecordBuilder FullPage() {
    RecordBuilder b(kPage);
    for (const Case& c : kBinaries) b.Bin(c.position, c.code, c.stored);
    b.Bin(7, 'D', 40300)            // ship-to as entered
        .Bin(10, 'C', 1500)         // replacement estimate, whole units
        .Bin(14, 'D', 12345)        // meter, tenths
        .DayNumber(17, 2024, 5, 2)  // schedule
        .DayNumber(19, 2024, 5, 3)  // post card
        .DayNumber(21, 2024, 5, 6)
        .DayNumber(23, 2024, 5, 7)
        .DayNumber(25, 2024, 5, 8)
        .Text(27, "VESKAR", 10)
        .Text(37, "TRACTOR L3901", 14)
        .Text(51, "SN1234567", 12)
        .Text(63, "ENG998877", 12)
        .Bin(81, 'C', 2750)  // estimate, whole units
        .DayNumber(83, 2024, 5, 10)
        .DayNumber(85, 2024, 5, 11)
        .Text(87, "PO4411", 6)
        .DayNumber(93, 2024, 5, 9)
        .DayNumber(95, 2024, 5, 1)
        .Bin(97, 'B', 1)
        .Bin(98, 'B', 5)  // 97-98 as C: 261
        .Raw(99, "C")
        .Text(105, "5551234", 8)
        .Bin(116, 'B', 128)
        .Bin(117, 'C', 4321)
        .Raw(119, "Y")
        .Bin(120, 'B', 1)
        .Bin(121, 'B', 2)
        .Bin(122, 'B', 12)
        .Bin(123, 'B', 12)  // type 12: its last digit 2
        .Bin(125, 'L', 98765)
        .Bin(131, 'L', -500)
        .Bin(137, 'L', 6789)
        .Bin(141, 'D', 40217)
        .Raw(147, "S")
        .Raw(148, "T");
    return b;
}

struct ShopLayout {
    using Record = clsShop;
    static constexpr size_t kLength = kPage;
    static std::string Full() { return FullPage().str(); }
    // Ship-to goes to 7 as well as 141; of the type only its last digit is written.
    static std::string Repacked() { return FullPage().Bin(7, 'D', 40217).Bin(123, 'B', 2).str(); }
    static std::span<const Case> Binaries() { return kBinaries; }
};
class ShopRecordTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetAlphabet(); }
    void TearDown() override { ResetAlphabet(); }
};

TEST_F(ShopRecordTest, EveryFieldDecodesFromItsPlace) {
    clsShop s;
    s.Unpack(FullPage().str());
    EXPECT_EQ(s.ShipTo, 40217);  // the rule at 141 replaces the 40300 read at 7
    EXPECT_EQ(s.ReplacementEstimate, 1500);
    EXPECT_EQ(s.Meter, 12345);
    EXPECT_EQ(s.ScheduleDate, MakeDate(2024, 5, 2));
    EXPECT_EQ(s.PostCardDate, MakeDate(2024, 5, 3));
    EXPECT_EQ(s.CallDates[0], MakeDate(2024, 5, 6));
    EXPECT_EQ(s.CallDates[1], MakeDate(2024, 5, 7));
    EXPECT_EQ(s.CallDates[2], MakeDate(2024, 5, 8));
    EXPECT_EQ(s.RepairBrand, "VESKAR         ");  // 15 characters, not trimmed
    EXPECT_EQ(s.RepairBrandDescription, "TRACTOR L3901        ");
    EXPECT_EQ(s.SerialNumber1, "SN1234567         ");
    EXPECT_EQ(s.SerialNumber2, "ENG998877         ");
    EXPECT_EQ(s.EstimateAmount, 2750);
    EXPECT_EQ(s.PromiseDate, MakeDate(2024, 5, 10));
    EXPECT_EQ(s.DeliveryDate, MakeDate(2024, 5, 11));
    EXPECT_EQ(s.POReference, "PO4411   ");
    EXPECT_EQ(s.DateCompleted, MakeDate(2024, 5, 9));
    EXPECT_EQ(s.DateCheckedIn, MakeDate(2024, 5, 1));
    EXPECT_EQ(s.segment, 1);
    EXPECT_EQ(s.Status, "C");
    EXPECT_EQ(s.PhoneNumber2, "5551234     ");
    EXPECT_EQ(s.Rental, 0);
    EXPECT_EQ(s.Shop, 1);
    EXPECT_EQ(s.WarrVend[0], 4321);
    EXPECT_EQ(s.WarrVend[1], 261);
    EXPECT_EQ(s.Warranty, "Y");
    EXPECT_EQ(s.CallStatus[0], 1);
    EXPECT_EQ(s.CallStatus[1], 2);
    EXPECT_EQ(s.CallStatus[2], 12);
    EXPECT_EQ(s.Transaction_Type, 2);
    EXPECT_EQ(s.Sub_Total, 98765);
    EXPECT_EQ(s.Discount_Amount, -500);
    EXPECT_EQ(s.Tax_Amount, 6789);
    EXPECT_EQ(s.Sales_Code, "S");
    EXPECT_EQ(s.Tax_Code, "T");
}

TEST_F(ShopRecordTest, ShipToRuleAt141) {
    const struct {
        int64_t at7;
        int64_t at141;  // 3 bytes
        int32_t expected;
    } cases[] = {
        {40300, 0xFFFFFF, 555},       // all 255: the customer's own account
        {40300, 0xFFFFFE, 16777214},  // any other value, unsigned
        {40300, 0x800000, 8388608},  {40300, 0, 0}, {40300, 77, 77},
    };
    for (const auto& c : cases) {
        RecordBuilder b(kPage);
        b.Bin(3, 'L', 555).Bin(7, 'D', c.at7).Bin(141, 'D', c.at141);
        clsShop s;
        s.Unpack(b.str());
        EXPECT_EQ(s.ShipTo, c.expected) << "bytes 141-143 " << c.at141;
    }
}

TEST_F(ShopRecordTest, RentalAndShopBitsOfByte116) {
    const struct {
        int byte;
        int16_t rental, shop;
    } cases[] = {{192, 1, 1}, {64, 1, 0}, {128, 0, 1}, {0, 0, 0}, {63, 0, 0}};
    for (const auto& c : cases) {
        RecordBuilder b(kPage);
        b.Bin(116, 'B', c.byte);
        clsShop s;
        s.Unpack(b.str());
        EXPECT_EQ(s.Rental, c.rental) << c.byte;
        EXPECT_EQ(s.Shop, c.shop) << c.byte;
    }
}

TEST_F(ShopRecordTest, TransactionTypeIsTheLastDigitAndCreditsFoldThreeAndFour) {
    const struct {
        int stored;
        int64_t sub_total;
        int32_t expected;
    } cases[] = {{14, -1, 2},  {14, 0, 4},   {14, 500, 4}, {3, -100, 1}, {13, 100, 3},
                 {2, -100, 2}, {5, -100, 5}, {250, 0, 0},  {99, -1, 9}};
    for (const auto& c : cases) {
        RecordBuilder b(kPage);
        b.Bin(123, 'B', c.stored).Bin(125, 'L', c.sub_total);
        clsShop s;
        s.Unpack(b.str());
        EXPECT_EQ(s.Transaction_Type, c.expected) << c.stored << " with " << c.sub_total;
    }
}

TEST_F(ShopRecordTest, Byte97IsTheSegmentAndTheHighByteOfTheSecondVendor) {
    RecordBuilder b(kPage);
    b.Bin(97, 'B', 2).Bin(98, 'B', 0);
    clsShop s;
    s.Unpack(b.str());
    EXPECT_EQ(s.segment, 2);
    EXPECT_EQ(s.WarrVend[1], 512);

    // Pack writes the second vendor after the segment: byte 97 ends as its high byte.
    std::string rec(kPage, '\0');
    s.segment = 3;
    s.WarrVend[1] = 0x0102;
    s.Pack(rec);
    EXPECT_EQ(static_cast<unsigned char>(rec[96]), 1);
    EXPECT_EQ(static_cast<unsigned char>(rec[97]), 2);
}

TEST_F(ShopRecordTest, ShortPageKeepsLaterFieldsAndZeroesLaterArrayElements) {
    clsShop s;
    s.Unpack(FullPage().str());  // every field set from a full page first
    RecordBuilder b(100);
    b.Bin(3, 'L', 77).Bin(7, 'D', 88).Bin(97, 'B', 1).Raw(99, "O").Bin(100, 'B', 4);
    s.Unpack(b.str());
    EXPECT_EQ(s.Account, 77);
    EXPECT_EQ(s.ShipTo, 88);  // the value at 7: 141 lies outside
    EXPECT_EQ(s.segment, 1);
    EXPECT_EQ(s.Status, "O");
    EXPECT_EQ(s.DeliveryCode, 4);
    EXPECT_EQ(s.WarrVend[1], 256);  // 97-98 lie inside
    EXPECT_EQ(s.WarrVend[0], 0);    // 117-118 do not: the fresh array's 0
    EXPECT_EQ(s.CallStatus[0], 0);
    EXPECT_EQ(s.JobNumber, 1127);  // plain fields past the end keep their values
    EXPECT_EQ(s.Sub_Total, 98765);
    EXPECT_EQ(s.Transaction_Type, 2);
    EXPECT_EQ(s.Shop, 1);
    EXPECT_EQ(s.Warranty, "");  // a character past the end reads as no character
    // A date field past the end reads as the empty date.
    RecordBuilder tiny(20);
    s.Unpack(tiny.str());
    EXPECT_EQ(s.CallDates[0], EmptyDate());
    EXPECT_EQ(s.DateCompleted, EmptyDate());
}

TEST_F(ShopRecordTest, DayNumberZeroIsTheEmptyDate) {
    clsShop s;
    s.Unpack(RecordBuilder(kPage).str());
    EXPECT_EQ(s.DateCheckedIn, EmptyDate());
    EXPECT_EQ(s.CallDates[1], EmptyDate());
}

TEST_F(ShopRecordTest, PackWritesTheLayoutBack) {
    const std::string page = FullPage().str();
    clsShop s;
    s.Unpack(page);
    std::string rec(kPage, '\0');
    s.Pack(rec);
    // Byte 97 holds the second vendor's high byte (1 here, as stored); ship-to goes to 7 and 141.
    RecordBuilder expected = FullPage();
    expected.Bin(7, 'D', 40217);
    expected.Bin(123, 'B', 2);  // the tens digit is not restored
    for (size_t i = 0; i < 160; ++i) {
        if (i + 1 == 98 || i + 1 == 1) continue;  // written by hand above
        EXPECT_EQ(rec[i], expected.bytes()[i]) << "byte " << i + 1;
    }
    EXPECT_EQ(rec.substr(0, 2), page.substr(0, 2));

    // A type 1 or 2 on a credit page is written as 3 or 4.
    s.Sub_Total = -100;
    s.Transaction_Type = 1;
    s.Pack(rec);
    EXPECT_EQ(rec[122], 3);
}

}  // namespace

namespace testing {
INSTANTIATE_TYPED_TEST_SUITE_P(Shop, RecordLayoutTest, ShopLayout);
}  // namespace testing
}  // namespace dv
