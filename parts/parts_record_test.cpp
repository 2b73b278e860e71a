#include "parts/parts_record.h"

#include <gtest/gtest.h>

#include "engine/packed_text.h"
#include "sampledata/record_builder.h"
#include "test_support/record_layout_test.h"

namespace dv {
namespace {

using sample::RecordBuilder;

constexpr size_t kLength = 300;  // the class covers 3-288

using Case = testing::BinaryCase<clsParts>;

// Every binary field, written by hand from the layout; signed codes carry negative values.
const Case kBinaries[] = {
    {3, 'C', 40001, &clsParts::Line, 40001},
    {25, 'J', -25, &clsParts::Package_Quantity, -25},
    {27, 'C', 27, &clsParts::Matched_Set_Qty, 27},
    {29, 'C', 65535, &clsParts::Manual_Minimum, 65535},
    {33, 'C', 33, &clsParts::Maximum_Stock_Lvl, 33},
    {39, 'C', 39, &clsParts::Quantity_On_Order, 39},
    {41, 'C', 41, &clsParts::Qty_Back_Ordered, 41},
    {76, 'J', -76, &clsParts::MTD_Number_Sold, -76},
    {78, 'C', 78, &clsParts::MTD_Lost_Sales, 78},
    {80, 'J', -80, &clsParts::YTD_Number_Picks, -80},
    {82, 'J', 82, &clsParts::YTD_Number_Sold, 82},
    {84, 'C', 84, &clsParts::YTD_Picks_Lost, 84},
    {86, 'C', 86, &clsParts::YTD_Lost_Sales, 86},
    {90, 'C', 90, &clsParts::Weight, 90},
    {92, 'B', 92, &clsParts::Days_On_Order, 92},
    {93, 'B', 255, &clsParts::Days_Back_Ordered, 255},
    {94, 'B', 94, &clsParts::Location, 94},
    {101, 'J', -101, &clsParts::YTD_Demand_2_back, -101},
    {103, 'J', 103, &clsParts::YTD_Demand_1_back, 103},
    {105, 'J', -1012, &clsParts::MTD_Demand_12_back, -1012},
    {107, 'J', -1011, &clsParts::MTD_Demand_11_back, -1011},
    {109, 'J', -1010, &clsParts::MTD_Demand_10_back, -1010},
    {111, 'J', -1009, &clsParts::MTD_Demand_9_back, -1009},
    {113, 'J', -1008, &clsParts::MTD_Demand_8_back, -1008},
    {115, 'J', -1007, &clsParts::MTD_Demand_7_back, -1007},
    {117, 'J', -1006, &clsParts::MTD_Demand_6_back, -1006},
    {119, 'J', -1005, &clsParts::MTD_Demand_5_back, -1005},
    {121, 'J', -1004, &clsParts::MTD_Demand_4_back, -1004},
    {123, 'J', -1003, &clsParts::MTD_Demand_3_back, -1003},
    {125, 'J', -1002, &clsParts::MTD_Demand_2_back, -1002},
    {127, 'J', -1001, &clsParts::MTD_Demand_1_back, -1001},
    {195, 'J', 2036, &clsParts::MTD_Demand_36_back, 2036},
    {197, 'J', 2035, &clsParts::MTD_Demand_35_back, 2035},
    {199, 'J', 2034, &clsParts::MTD_Demand_34_back, 2034},
    {201, 'J', 2033, &clsParts::MTD_Demand_33_back, 2033},
    {203, 'J', 2032, &clsParts::MTD_Demand_32_back, 2032},
    {205, 'J', 2031, &clsParts::MTD_Demand_31_back, 2031},
    {207, 'J', 2030, &clsParts::MTD_Demand_30_back, 2030},
    {209, 'J', 2029, &clsParts::MTD_Demand_29_back, 2029},
    {211, 'J', 2028, &clsParts::MTD_Demand_28_back, 2028},
    {213, 'J', 2027, &clsParts::MTD_Demand_27_back, 2027},
    {215, 'J', 2026, &clsParts::MTD_Demand_26_back, 2026},
    {217, 'J', 2025, &clsParts::MTD_Demand_25_back, 2025},
    {219, 'J', 2024, &clsParts::MTD_Demand_24_back, 2024},
    {221, 'J', 2023, &clsParts::MTD_Demand_23_back, 2023},
    {223, 'J', 2022, &clsParts::MTD_Demand_22_back, 2022},
    {225, 'J', 2021, &clsParts::MTD_Demand_21_back, 2021},
    {227, 'J', 2020, &clsParts::MTD_Demand_20_back, 2020},
    {229, 'J', 2019, &clsParts::MTD_Demand_19_back, 2019},
    {231, 'J', 2018, &clsParts::MTD_Demand_18_back, 2018},
    {233, 'J', 2017, &clsParts::MTD_Demand_17_back, 2017},
    {235, 'J', 2016, &clsParts::MTD_Demand_16_back, 2016},
    {237, 'J', 2015, &clsParts::MTD_Demand_15_back, 2015},
    {239, 'J', 2014, &clsParts::MTD_Demand_14_back, 2014},
    {241, 'J', 2013, &clsParts::MTD_Demand_13_back, 2013},
    {243, 'J', -3012, &clsParts::Alt_Demand_12_back, -3012},
    {245, 'J', -3011, &clsParts::Alt_Demand_11_back, -3011},
    {247, 'J', -3010, &clsParts::Alt_Demand_10_back, -3010},
    {249, 'J', -3009, &clsParts::Alt_Demand_9_back, -3009},
    {251, 'J', -3008, &clsParts::Alt_Demand_8_back, -3008},
    {253, 'J', -3007, &clsParts::Alt_Demand_7_back, -3007},
    {255, 'J', -3006, &clsParts::Alt_Demand_6_back, -3006},
    {257, 'J', -3005, &clsParts::Alt_Demand_5_back, -3005},
    {259, 'J', -3004, &clsParts::Alt_Demand_4_back, -3004},
    {261, 'J', -3003, &clsParts::Alt_Demand_3_back, -3003},
    {263, 'J', -3002, &clsParts::Alt_Demand_2_back, -3002},
    {265, 'J', -3001, &clsParts::Alt_Demand_1_back, -3001},
    {151, 'K', -151, &clsParts::Year_End_Quantity, -151},  // whole units, no scaling
    {161, 'C', 161, &clsParts::LayAway, 161},
    {193, 'J', -193, &clsParts::YTD_Demand_3_back, -193},
    {267, 'C', 267, &clsParts::Usage_Rate, 267},
    {269, 'C', 269, &clsParts::Order_Point, 269},
    {271, 'C', 271, &clsParts::Line_Point, 271},
    {276, 'B', 176, &clsParts::YTD_Stockout_Times, 176},
    {279, 'C', 279, &clsParts::Econ_Order_Qty, 279},
    {282, 'B', 182, &clsParts::MTD_Stockout_Days, 182},
    {283, 'C', 283, &clsParts::Last_Qty_Received, 283},
    {286, 'D', 16777215, &clsParts::Spring_Order_Qty, 16777215},  // unsigned
    // cents, or tenths for the two quantities
    {36, 'K', 123, &clsParts::Quantity_On_Hand, 123},  // 12.3 units
    {43, 'K', 4300, &clsParts::List_Price, 4300},
    {46, 'K', 4600, &clsParts::Level_1_Price, 4600},
    {49, 'K', 4900, &clsParts::Level_2_Price, 4900},
    {52, 'K', 5200, &clsParts::Level_3_Price, 5200},
    {55, 'K', 5500, &clsParts::Level_4_Price, 5500},
    {58, 'K', -5800, &clsParts::Level_5_Price, -5800},
    {61, 'K', 2599, &clsParts::Cost, 2599},
    {64, 'K', 64, &clsParts::F_Freight_Resale, 64},
    {67, 'K', -67, &clsParts::F_Freight_Cost, -67},
    {148, 'D', 148, &clsParts::Quantity_Alloc, 148},  // 14.8 units
    {154, 'K', 15400, &clsParts::Year_End_Cost, 15400},
    {158, 'K', 15800, &clsParts::Average_Cost, 15800},
    {163, 'L', 163000, &clsParts::MTD_Sales, 163000},
    {167, 'L', -167000, &clsParts::MTD_Cost, -167000},
    {171, 'L', 171000, &clsParts::YTD_Sales, 171000},
    {175, 'L', 175000, &clsParts::YTD_Cost, 175000},
};

RecordBuilder FullRecord() {
    RecordBuilder b(kLength);
    b.Bin(1, 'J', 1);
    for (const Case& c : kBinaries) b.Bin(c.position, c.code, c.stored);
    b.PartNumber(5, "AB-123-X")
        .Text(19, "PKG", 2)
        .Text(21, "CEAFDO", 4)
        .Raw(35, "L")
        .Yymmdd(70, 2023, 11, 30)
        .Yymmdd(73, 1999, 12, 31)
        .Bits(88, 0xEC, true)
        .Bits(89, 0x0A, true)
        .Raw(95, "XYZ")
        .Yymmdd(98, 2001, 2, 3)
        .Text(129, "SUB1234", 10)
        .Text(139, "2", 2)  // one dash code: position 2 of the second number
        .Raw(141, "BIN-07")
        .Text(179, "GASKET, HEAD/COVER", 14)
        .Bits(273, 0x06, true)
        .DayNumber(274, 2024, 1, 31)
        .DayNumber(277, 2024, 2, 29)
        .Raw(281, "W")
        .Raw(285, "Z");
    return b;
}

struct PartsLayout {
    using Record = clsParts;
    static constexpr size_t kLength = ::dv::kLength;
    static std::string Full() { return FullRecord().str(); }
    static std::span<const Case> Binaries() { return kBinaries; }
};
class PartsRecordTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetAlphabet(); }
    void TearDown() override { ResetAlphabet(); }
};

TEST_F(PartsRecordTest, EveryFieldDecodesFromItsPlace) {
    clsParts p;
    p.Unpack(FullRecord().str());
    EXPECT_EQ(p.Part_Number, "AB123X            ");
    EXPECT_EQ(p.Part_w_Dash, "AB-123-X            ");
    EXPECT_EQ(p.Package_Code, "PKG");
    EXPECT_EQ(p.Comodity, "C");
    EXPECT_EQ(p.Unit_of_Measure, "E");
    EXPECT_EQ(p.Return_Flag, "A");
    EXPECT_EQ(p.Mfg_Popularity, "F");
    EXPECT_EQ(p.Dlr_Popularity, "D");
    EXPECT_EQ(p.Order_Code, "O");
    EXPECT_EQ(p.Price_Code, "L");
    EXPECT_EQ(p.Date_Last_Change, MakeDate(2023, 11, 30));
    EXPECT_EQ(p.Date_Last_Demand, MakeDate(1999, 12, 31));
    EXPECT_EQ(p.Last_Tran_Codes, "XYZ");
    EXPECT_EQ(p.Date_Stocked, MakeDate(2001, 2, 3));
    EXPECT_EQ(p.Sub_Part_Number, "SUB1234        ");
    EXPECT_EQ(p.Sub_Part_w_Dash, "S-UB1234        ");
    EXPECT_EQ(p.Bin, "BIN-07");
    EXPECT_EQ(p.Description, "GASKET, HEAD/COVER   ");
    EXPECT_EQ(p.Date_Last_Stockout, MakeDate(2024, 1, 31));
    EXPECT_EQ(p.Date_Last_Recvd, MakeDate(2024, 2, 29));
    EXPECT_EQ(p.Order_Type_Switch, "W");
    EXPECT_EQ(p.Zone, "Z");
    EXPECT_EQ(
        p.Price_Lock_Factors + p.Order_In_Sets + p.Monthly_Max + p.Price_Lock_All + p.Seasonal, 5);
    EXPECT_EQ(p.Label, 1);
    EXPECT_EQ(p.Meter, 1);
    EXPECT_EQ(p.Serial_Numbers, 0);
    EXPECT_EQ(p.Lock_Line_Point, 1);
    EXPECT_EQ(p.Stockout_Updated, 1);
    EXPECT_EQ(p.Record_Number, 0);
}

TEST_F(PartsRecordTest, FlagBitsOfByte88) {
    const struct {
        uint8_t byte;
        int16_t lock_factors, in_sets, monthly_max, lock_all, seasonal;
    } cases[] = {
        {0x24, 1, 0, 1, 0, 0},
        {0xEC, 1, 1, 1, 1, 1},
        {0x13, 0, 0, 0, 0, 0},  // bits 0, 1 and 4 belong to no field
        {0x80, 0, 0, 0, 0, 1},
    };
    for (const auto& c : cases) {
        RecordBuilder b(kLength);
        b.Bits(88, c.byte, true);
        clsParts p;
        p.Unpack(b.str());
        EXPECT_EQ(p.Price_Lock_Factors, c.lock_factors) << int{c.byte};
        EXPECT_EQ(p.Order_In_Sets, c.in_sets) << int{c.byte};
        EXPECT_EQ(p.Monthly_Max, c.monthly_max) << int{c.byte};
        EXPECT_EQ(p.Price_Lock_All, c.lock_all) << int{c.byte};
        EXPECT_EQ(p.Seasonal, c.seasonal) << int{c.byte};
    }
}

TEST_F(PartsRecordTest, FlagBitsOfByte89) {
    const struct {
        uint8_t byte;
        int16_t label, meter, serial;
    } cases[] = {
        {0x10, 0, 0, 1}, {0x20, 0, 0, 2}, {0x30, 0, 0, 2}, {0x0A, 1, 1, 0}, {0xC5, 0, 0, 0},
    };
    for (const auto& c : cases) {
        RecordBuilder b(kLength);
        b.Bits(89, c.byte, true);
        clsParts p;
        p.Unpack(b.str());
        EXPECT_EQ(p.Label, c.label) << int{c.byte};
        EXPECT_EQ(p.Meter, c.meter) << int{c.byte};
        EXPECT_EQ(p.Serial_Numbers, c.serial) << int{c.byte};
    }
}

TEST_F(PartsRecordTest, PackOfSerialNumbersSetsBitsFourAndFive) {
    const struct {
        uint8_t before;
        int16_t serial;
        uint8_t after;
    } cases[] = {
        {0x00, 1, 0x10}, {0x00, 2, 0x30}, {0x30, 0, 0x00}, {0x00, -1, 0x10}, {0x20, 1, 0x10},
    };
    for (const auto& c : cases) {
        RecordBuilder b(kLength);
        b.Bits(89, c.before, true);
        clsParts p;
        p.Unpack(b.str());
        p.Serial_Numbers = c.serial;
        std::string rec = b.str();
        p.Pack(rec);
        EXPECT_EQ(static_cast<uint8_t>(rec[88]), c.after) << c.serial;
    }
}

TEST_F(PartsRecordTest, PackOfFlagsKeepsTheBitsOfNoField) {
    RecordBuilder b(kLength);
    b.Bits(88, 0x13, true).Bits(89, 0xC5, true).Bits(273, 0xF9, true);
    clsParts p;
    p.Unpack(b.str());
    p.Seasonal = 7;  // any value other than 0 sets the bit
    p.Label = 1;
    p.Stockout_Updated = 1;
    std::string rec = b.str();
    p.Pack(rec);
    EXPECT_EQ(static_cast<uint8_t>(rec[87]), 0x93);
    EXPECT_EQ(static_cast<uint8_t>(rec[88]), 0xC7);
    EXPECT_EQ(static_cast<uint8_t>(rec[272]), 0xFD);
}

TEST_F(PartsRecordTest, SignedTenthsAndCents) {
    RecordBuilder b(kLength);
    b.Raw(36, std::string("\xFF\xFF\xF6", 3))
        .Raw(148, std::string("\xFF\xFF\xFF", 3))
        .Raw(61, std::string("\xFF\xFF\x9C", 3));
    clsParts p;
    p.Unpack(b.str());
    EXPECT_EQ(p.Quantity_On_Hand, -10);             // -1.0 units
    EXPECT_EQ(p.Quantity_Alloc, 16777215);          // 1,677,721.5 units: unsigned
    EXPECT_EQ(p.Cost, -100);                        // -1.00
    EXPECT_EQ(Unpack("D", b.str(), 61), 16777116);  // what the straight readers see
}

TEST_F(PartsRecordTest, PartNumberPacksWithoutDashesAndItsCodes) {
    clsParts p;
    p.Part_w_Dash = "AB-123-X            ";
    std::string rec(kLength, '\0');
    p.Pack(rec);
    RecordBuilder expected(kLength);
    expected.Text(5, "AB123X", 12).Text(17, "37", 2);
    EXPECT_EQ(rec.substr(4, 14), expected.str().substr(4, 14));
    EXPECT_EQ(rec.substr(4, 12), sample::PackText("AB123X") + std::string(8, '\0'));
}

TEST_F(PartsRecordTest, MoreThanThreeDashesKeepTheFirstThreeCodes) {
    clsParts p;
    p.Part_w_Dash = "A-B-C-D-E";
    std::string rec(kLength, '\0');
    p.Pack(rec);
    clsParts back;
    back.Unpack(rec);
    EXPECT_EQ(back.Part_Number, "ABCDE             ");
    EXPECT_EQ(back.Part_w_Dash, "A-B-C-DE             ");
}

TEST_F(PartsRecordTest, BinReadsZeroBytesAsBlanks) {
    RecordBuilder b(kLength);
    b.Raw(141, std::string("A1\0\0\0\0", 6));
    clsParts p;
    p.Unpack(b.str());
    EXPECT_EQ(p.Bin, "A1    ");
}

TEST_F(PartsRecordTest, PartsRecordAloneOf192Bytes) {
    clsParts p;
    p.Unpack(FullRecord().str());
    RecordBuilder other(kLength);
    other.Bin(3, 'C', 12).PartNumber(5, "ZZ9").Text(179, "OIL FILTER", 14).Bin(193, 'J', 5);
    p.Unpack(other.str().substr(0, 192));
    EXPECT_EQ(p.Line, 12);
    EXPECT_EQ(p.Part_w_Dash, "ZZ9               ");  // no codes: no dashes
    EXPECT_EQ(p.Description, "OIL FILTER           ");
    EXPECT_EQ(p.YTD_Demand_3_back, -193);  // binary fields from 193 on keep their values
    EXPECT_EQ(p.Spring_Order_Qty, 16777215);
    EXPECT_EQ(p.Lock_Line_Point, 1);
    EXPECT_EQ(p.Order_Type_Switch, "");  // text beyond the end is empty
    EXPECT_EQ(p.Zone, "");
    EXPECT_EQ(p.Date_Last_Stockout, EmptyDate());  // dates beyond the end are empty
    EXPECT_EQ(p.Date_Last_Recvd, EmptyDate());
}

// The part numbers and flags, which the table leaves to the class's own steps, and the bytes
// Pack leaves alone.
TEST_F(PartsRecordTest, UnpackPackUnpackKeepsThePartNumbersAndTheBytesOfNoField) {
    clsParts first;
    first.Unpack(FullRecord().str());
    std::string blank(kLength, '\0');
    first.Pack(blank);
    clsParts second;
    second.Unpack(blank);
    EXPECT_EQ(second.Part_w_Dash, first.Part_w_Dash);
    EXPECT_EQ(second.Part_Number, first.Part_Number);
    EXPECT_EQ(second.Sub_Part_Number, first.Sub_Part_Number);
    EXPECT_EQ(second.Description, first.Description);
    EXPECT_EQ(second.Package_Code, first.Package_Code);
    EXPECT_EQ(second.Bin, first.Bin);
    EXPECT_EQ(second.Date_Last_Change, first.Date_Last_Change);
    EXPECT_EQ(second.Date_Stocked, first.Date_Stocked);
    EXPECT_EQ(second.Date_Last_Recvd, first.Date_Last_Recvd);
    EXPECT_EQ(second.Seasonal, first.Seasonal);
    EXPECT_EQ(second.Label, first.Label);
    EXPECT_EQ(second.Stockout_Updated, first.Stockout_Updated);
    EXPECT_EQ(second.Zone, first.Zone);
    // Pack leaves bytes 21-24 (the six one-character fields) and the second number's codes.
    EXPECT_EQ(blank.substr(20, 4), std::string(4, '\0'));
    EXPECT_EQ(blank.substr(138, 2), std::string(2, '\0'));
    for (int32_t pos : {1, 2, 31, 32, 147, 157, 289, 300})
        EXPECT_EQ(blank[static_cast<size_t>(pos - 1)], '\0') << "byte " << pos;
}

TEST_F(PartsRecordTest, ReadWithoutPartsFileRaisesANumberedError) {
    clsParts p;
    int16_t flag = 0;
    try {
        p.Read(1, flag);
        FAIL() << "no error raised";
    } catch (const BasicError& e) {
        EXPECT_EQ(e.number(), err::kFile);
        EXPECT_EQ(e.description(), "File not Found: \"PARTL\"");
    }
}

}  // namespace

namespace testing {
INSTANTIATE_TYPED_TEST_SUITE_P(Parts, RecordLayoutTest, PartsLayout);
}  // namespace testing
}  // namespace dv
