#include "parts/lines_record.h"

#include <gtest/gtest.h>

#include "engine/packed_text.h"
#include "sampledata/record_builder.h"
#include "test_support/record_layout_test.h"

namespace dv {
namespace {

using sample::RecordBuilder;

constexpr size_t kLength = 230;  // the class covers 3-222; 223-230 stand for ELINEL's bytes

using Case = testing::BinaryCase<clsLines>;

// Every binary field of the record, written by hand from the layout. Signed codes carry
// negative values, unsigned codes values with the top bit set.
const Case kBinaries[] = {
    {3, 'C', 412, &clsLines::Line, 412},
    {29, 'B', 200, &clsLines::Distributor_Number, 200},
    {33, 'C', 65535, &clsLines::Stock_Depth, 65535},
    {35, 'C', 35, &clsLines::Re_Order_Percent, 35},
    {37, 'C', 37, &clsLines::Low_GP_Waring_Perc, 37},
    {51, 'B', 1, &clsLines::Price_Def_1_Level, 1},
    {52, 'B', 52, &clsLines::Price_Def_1_Use, 52},
    {53, 'J', -53, &clsLines::Price_Def_1_Perc, -53},
    {55, 'B', 2, &clsLines::Price_Def_2_Level, 2},
    {56, 'B', 56, &clsLines::Price_Def_2_Use, 56},
    {57, 'J', -57, &clsLines::Price_Def_2_Perc, -57},
    {59, 'B', 3, &clsLines::Price_Def_3_Level, 3},
    {60, 'B', 60, &clsLines::Price_Def_3_Use, 60},
    {61, 'J', 32767, &clsLines::Price_Def_3_Perc, 32767},
    {63, 'B', 4, &clsLines::Price_Def_4_Level, 4},
    {64, 'B', 64, &clsLines::Price_Def_4_Use, 64},
    {65, 'J', -32768, &clsLines::Price_Def_4_Perc, -32768},
    {67, 'B', 5, &clsLines::Price_Def_5_Level, 5},
    {68, 'B', 68, &clsLines::Price_Def_5_Use, 68},
    {69, 'J', -69, &clsLines::Price_Def_5_Perc, -69},
    {71, 'B', 6, &clsLines::Price_Def_6_Level, 6},
    {72, 'B', 255, &clsLines::Price_Def_6_Use, 255},
    {73, 'J', 73, &clsLines::Price_Def_6_Perc, 73},
    {83, 'L', 250, &clsLines::MTD_No_Sales, 250},
    {95, 'L', 1000, &clsLines::YTD_No_Sales, 1250},  // stored without the month
    {107, 'L', 4107, &clsLines::PYTD_No_Sales, 4107},
    {119, 'C', 119, &clsLines::Default_Cost_GP, 119},
    {122, 'C', 122, &clsLines::Default_Frt_Markup, 122},
    {125, 'C', 125, &clsLines::High_Stock_Amount, 125},
    {129, 'B', 12, &clsLines::Warranty, 12},
    {130, 'B', 130, &clsLines::SerPol_No_Months_1, 130},
    {131, 'C', 131, &clsLines::SerPol_List_Perc_1, 131},
    {133, 'B', 133, &clsLines::SerPol_No_Months_2, 133},
    {134, 'C', 134, &clsLines::SerPol_List_Perc_2, 134},
    {136, 'B', 136, &clsLines::SerPol_No_Months_3, 136},
    {137, 'C', 137, &clsLines::SerPol_List_Perc_3, 137},
    {139, 'B', 139, &clsLines::SerPol_No_Months_4, 139},
    {140, 'C', 140, &clsLines::SerPol_List_Perc_4, 140},
    {143, 'L', -143, &clsLines::Unit_Counter, -143},
    {147, 'B', 9, &clsLines::A_P_Company, 9},
    {148, 'L', 148148, &clsLines::A_P_Vendor, 148148},
    {152, 'J', -152, &clsLines::MTD_Items_Ordered, -152},
    {154, 'J', 154, &clsLines::MTD_Items_Filled, 154},
    {156, 'K', -156156, &clsLines::MTD_Pieces_Ordered, -156156},
    {159, 'K', 159159, &clsLines::MTD_Pieces_Filled, 159159},
    {162, 'L', -162162, &clsLines::MTD_Dollars_Ord, -162162},
    {166, 'L', 166166, &clsLines::MTD_Dollars_Filled, 166166},
    {170, 'K', 8388607, &clsLines::YTD_Items_Ordered, 8388607},
    {173, 'K', -8388608, &clsLines::YTD_Items_Filled, -8388608},
    {176, 'L', 176176, &clsLines::YTD_Pieces_Ordered, 176176},
    {180, 'L', 180180, &clsLines::YTD_Pieces_Filled, 180180},
    {184, 'L', 184184, &clsLines::YTD_Dollars_Ord, 184184},
    {188, 'L', 188188, &clsLines::YTD_Dollars_Filled, 188188},
    {193, 'L', 193, &clsLines::Primary_Vendor, 193},
    {198, 'B', 198, &clsLines::Seas_percentage, 198},
    {207, 'L', -207, &clsLines::EOM_Mdse_Cost, -207},
    {211, 'L', 211211, &clsLines::EOM_Freight_Cost, 211211},
    {215, 'L', 215215, &clsLines::EOY_Mdse_Cost, 215215},
    {219, 'L', 2147483647, &clsLines::EOY_Freight_Cost, 2147483647},
    // money, in cents
    {75, 'L', 1234567, &clsLines::Cost_of_Mdse, 1234567},
    {79, 'L', -7900, &clsLines::Cost_of_Freight, -7900},
    {87, 'L', 50000, &clsLines::MTD_Sales, 50000},
    {91, 'L', 30000, &clsLines::MTD_COGS, 30000},
    {99, 'L', 450000, &clsLines::YTD_Sales, 500000},  // stored without the month
    {103, 'L', 270000, &clsLines::YTD_COGS, 300000},
    {111, 'L', -111, &clsLines::PYTD_Sales, -111},
    {115, 'L', 115115, &clsLines::PYTD_COGS, 115115},
};

RecordBuilder FullRecord() {
    RecordBuilder b(kLength);
    b.Bin(1, 'J', 1);  // status word, not part of the class
    for (const Case& c : kBinaries) b.Bin(c.position, c.code, c.stored);
    b.Text(5, "HON", 2)
        .Text(7, "VESKA MOTOR PARTS/ACCESSORIES", 20)
        .Raw(27, "A")
        .Raw(28, "B")
        .Raw(39, "ANAN01")
        .Raw(45, "PRIO02")
        .Raw(121, "T")
        .Raw(124, "Y")
        .Text(127, "DB1", 2)
        .Raw(142, "U")
        .Raw(197, "S")
        .Raw(203, "QR")  // the first two of the five characters at 203; 205-207 belong to others
        .DayNumber(205, 2024, 3, 15)
        .Raw(223, "EXTENSN");
    return b;
}

struct LinesLayout {
    using Record = clsLines;
    static constexpr size_t kLength = ::dv::kLength;
    static std::string Full() { return FullRecord().str(); }
    static std::span<const Case> Binaries() { return kBinaries; }
};
class LinesRecordTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetAlphabet(); }
    void TearDown() override { ResetAlphabet(); }
};

TEST_F(LinesRecordTest, EveryFieldDecodesFromItsPlace) {
    const std::string rec = FullRecord().str();
    clsLines l;
    l.Unpack(rec);
    EXPECT_EQ(l.Alpha_Line, "HON");
    EXPECT_EQ(l.Line_Name, "VESKA MOTOR PARTS/ACCESSORIES ");  // 30 characters, blank kept
    EXPECT_EQ(l.Auto_Order, "A");
    EXPECT_EQ(l.Comodity, "B");
    EXPECT_EQ(l.Sequencing_ANAN, "ANAN01");
    EXPECT_EQ(l.Sequencing_Prior, "PRIO02");
    EXPECT_EQ(l.Taxable, "T");
    EXPECT_EQ(l.ReCalculateMax, 1);
    EXPECT_EQ(l.DataBase_Name, "DB1");
    EXPECT_EQ(l.Line_Type, "U");
    EXPECT_EQ(l.Order_Type_Switch, "S");
    EXPECT_EQ(l.Seas_ReOrder_Codes, rec.substr(202, 5));
    EXPECT_EQ(l.Seas_Date_Last_Gen, MakeDate(2024, 3, 15));
    // Without an engine object there is no COMODI to search: the list is the own code.
    EXPECT_EQ(l.Comodities, std::vector<std::string>{"B"});
    EXPECT_TRUE(l.AlternateAlpha.empty());
    EXPECT_EQ(l.RecNo, 0);
}

TEST_F(LinesRecordTest, YearToDateOfZeroEqualsTheMonth) {
    RecordBuilder b(kLength);
    b.Bin(83, 'L', 7).Bin(87, 'L', 900).Bin(91, 'L', 600);
    clsLines l;
    l.Unpack(b.str());
    EXPECT_EQ(l.YTD_No_Sales, 7);
    EXPECT_EQ(l.YTD_Sales, 900);
    EXPECT_EQ(l.YTD_COGS, 600);
}

TEST_F(LinesRecordTest, YearToDateCountThatOverflowsKeepsItsValue) {
    RecordBuilder b(kLength);
    b.Bin(83, 'L', 1).Bin(95, 'L', 2147483647);
    clsLines l;
    l.YTD_No_Sales = 42;
    l.Unpack(b.str());
    EXPECT_EQ(l.YTD_No_Sales, 42);
}

TEST_F(LinesRecordTest, LineTypeKeepsUAndROnly) {
    const struct {
        const char* stored;
        const char* expected;
    } cases[] = {{"U", "U"}, {"R", "R"}, {"u", "P"}, {" ", "P"}, {"X", "P"}, {"P", "P"}};
    for (const auto& c : cases) {
        RecordBuilder b(kLength);
        b.Raw(142, c.stored);
        clsLines l;
        l.Unpack(b.str());
        EXPECT_EQ(l.Line_Type, c.expected) << "byte 142 " << c.stored;
    }
}

TEST_F(LinesRecordTest, RecalculateMaxIsOneForCapitalYOnly) {
    const struct {
        const char* stored;
        int16_t expected;
    } cases[] = {{"Y", 1}, {"y", 0}, {"N", 0}, {" ", 0}};
    for (const auto& c : cases) {
        RecordBuilder b(kLength);
        b.Raw(124, c.stored);
        clsLines l;
        l.Unpack(b.str());
        EXPECT_EQ(l.ReCalculateMax, c.expected) << "byte 124 " << c.stored;
    }
}

TEST_F(LinesRecordTest, ShortRecordKeepsBinaryFieldsEmptiesDatesAndCutsText) {
    clsLines l;
    l.Unpack(FullRecord().str());
    RecordBuilder second(kLength);
    second.Bin(3, 'C', 7).Text(7, "SECOND LINE", 20).Bin(143, 'L', 99).Raw(197, "Z");
    // Cut inside Unit_Counter (143-146): it and everything after it lie outside.
    l.Unpack(second.str().substr(0, 145));
    EXPECT_EQ(l.Line, 7);
    EXPECT_EQ(l.Line_Name, "SECOND LINE                   ");
    EXPECT_EQ(l.Unit_Counter, -143);  // beyond the end: the old value
    EXPECT_EQ(l.YTD_Dollars_Filled, 188188);
    EXPECT_EQ(l.EOY_Freight_Cost, 2147483647);
    EXPECT_EQ(l.Order_Type_Switch, "");  // text beyond the end is empty
    EXPECT_EQ(l.Seas_ReOrder_Codes, "");
    EXPECT_EQ(l.Seas_Date_Last_Gen, EmptyDate());  // a date beyond the end is empty
}

TEST_F(LinesRecordTest, PackedTextCutByTheEndDecodesWhatIsThere) {
    const std::string rec = FullRecord().str();
    clsLines l;
    l.Unpack(rec.substr(0, 10));  // Line_Name starts at 7: four of its twenty bytes remain
    EXPECT_EQ(l.Line_Name, "VESKA ");
    EXPECT_EQ(l.Auto_Order, "");
    EXPECT_EQ(l.Comodities, std::vector<std::string>{""});
}

// The flag the class derives and the bytes Pack leaves alone.
TEST_F(LinesRecordTest, UnpackPackUnpackKeepsTheDerivedFlagAndTheBytesOfNoField) {
    clsLines first;
    first.Unpack(FullRecord().str());
    std::string blank(kLength, '\0');
    first.Pack(blank);
    clsLines second;
    second.Unpack(blank);
    EXPECT_EQ(second.Line_Name, first.Line_Name);
    EXPECT_EQ(second.Alpha_Line, first.Alpha_Line);
    EXPECT_EQ(second.DataBase_Name, first.DataBase_Name);
    EXPECT_EQ(second.ReCalculateMax, first.ReCalculateMax);
    EXPECT_EQ(second.Line_Type, first.Line_Type);
    EXPECT_EQ(second.Seas_Date_Last_Gen, first.Seas_Date_Last_Gen);
    // Bytes no field owns stay as the target held them.
    for (int32_t pos : {1, 2, 30, 31, 32, 192, 199, 200, 201, 202, 223, 230})
        EXPECT_EQ(blank[static_cast<size_t>(pos - 1)], '\0') << "byte " << pos;
}

TEST_F(LinesRecordTest, PackWritesTheStoredForms) {
    clsLines l;
    l.MTD_No_Sales = 5;
    l.YTD_No_Sales = 12;
    l.MTD_Sales = 1000;
    l.YTD_Sales = 3500;
    l.ReCalculateMax = -1;
    l.Line_Type = "Q";
    l.Auto_Order = "";
    l.Sequencing_ANAN = "ABCDEFGH";
    std::string rec(kLength, 'x');
    l.Pack(rec);
    EXPECT_EQ(Unpack("L", rec, 95), 7);
    EXPECT_EQ(Unpack("L", rec, 99), 2500);
    EXPECT_EQ(rec.substr(123, 1), "Y");
    EXPECT_EQ(rec.substr(141, 1), "Q");  // written as it stands
    EXPECT_EQ(rec.substr(26, 1), " ");   // text padded with blanks
    EXPECT_EQ(rec.substr(38, 6), "ABCDEF");
    EXPECT_EQ(rec.substr(4, 2), std::string(2, '\0'));  // empty packed text: zero bytes
    EXPECT_EQ(rec.size(), kLength);
}

TEST_F(LinesRecordTest, PackIntoAShortRecordWritesWhatFits) {
    clsLines l;
    l.Unpack(FullRecord().str());
    std::string rec(140, '\0');
    l.Pack(rec);
    EXPECT_EQ(rec.size(), 140u);
    EXPECT_EQ(Unpack("C", rec, 3), 412);
    EXPECT_EQ(rec[138], static_cast<char>(139));  // SerPol_No_Months_4 at 139 fits
    // SerPol_List_Perc_4 (140-141) does not fit and is skipped, leaving byte 140 alone.
    EXPECT_EQ(rec[139], '\0');
}

TEST_F(LinesRecordTest, MoneyTooLargeForTheFieldIsNotWritten) {
    clsLines l;
    l.Cost_of_Mdse = int64_t{1} << 33;
    std::string rec(kLength, '\0');
    Pack("L", rec, 77, 75);
    l.Pack(rec);
    EXPECT_EQ(Unpack("L", rec, 75), 77);
}

TEST_F(LinesRecordTest, ReadWithoutLinesFileRaisesANumberedError) {
    clsLines l;  // no engine object: LINEL is not open
    int16_t flag = 0;
    try {
        l.Read(1, flag);
        FAIL() << "no error raised";
    } catch (const BasicError& e) {
        EXPECT_EQ(e.number(), err::kFile);
        EXPECT_EQ(e.description(), "File not Found: \"LINEL\"");
    }
}

}  // namespace

namespace testing {
INSTANTIATE_TYPED_TEST_SUITE_P(Lines, RecordLayoutTest, LinesLayout);
}  // namespace testing
}  // namespace dv
