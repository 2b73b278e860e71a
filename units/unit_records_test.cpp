#include "units/unit_records.h"

#include <gtest/gtest.h>

#include "engine/packed_text.h"
#include "sampledata/record_builder.h"
#include "test_support/record_layout_test.h"

namespace dv {
namespace {

using sample::RecordBuilder;

class UnitRecordsTest : public ::testing::Test {
  protected:
    UnitRecordsTest() { ResetAlphabet(); }
    ~UnitRecordsTest() override { ResetAlphabet(); }
};

using UnitCase = testing::BinaryCase<clsUnits>;

// Every binary field of a UNITL record, written by hand from the layout.
const UnitCase kUnitBinaries[] = {
    {3, 'C', 7, &clsUnits::Line, 7},
    {74, 'C', 2023, &clsUnits::Model_Year, 2023},
    {101, 'D', 12345, &clsUnits::Meter_Reading, 12345},
    {112, 'L', -12, &clsUnits::User_Defined_Numeric_1, -12},
    {116, 'L', 300, &clsUnits::User_Defined_Numeric_2, 300},
    {144, 'D', 40217, &clsUnits::Sold_To_Customer_Number, 40217},
    {151, 'L', 880123, &clsUnits::Sold_Invoice_Number, 880123},
    {155, 'L', 2850000, &clsUnits::Dealers_List_Price, 2850000},
    {159, 'L', 3199900, &clsUnits::Suggested_LIst_Price, 3199900},
    {163, 'L', -1234, &clsUnits::Amount_Sold_For, -1234},
    {173, 'L', 49900, &clsUnits::Extended_Warranty_Cost, 49900},
    {184, 'L', 1200, &clsUnits::GL_Inventory_Account_No, 1200},
    {188, 'L', 5200, &clsUnits::GL_Cost_Goods_Account_No, 5200},
    {192, 'L', 5250, &clsUnits::GL_Over_Allow_Account_No, 5250},
    {196, 'C', 3, &clsUnits::Flooring_Line, 3},
    {206, 'L', 4410, &clsUnits::Accounts_Payable_Vendor_No, 4410},
    {210, 'B', 200, &clsUnits::Selling_Salesman_Number, 200},
    {501, 'L', 5, &clsUnits::NoteChain, 5},
    {505, 'L', 17, &clsUnits::SubLedgerChain, 17},
    {509, 'L', -1, &clsUnits::HistoryChain, -1},
};

// A UNITL record written by hand from the layout.
RecordBuilder UnitBytes() {
    RecordBuilder r(512);
    r.Bin(1, 'J', 1);
    for (const UnitCase& c : kUnitBinaries) r.Bin(c.position, c.code, c.stored);
    r.PartNumber(5, "TX-2540-A")
        .Raw(20, "U1042   ")
        .Text(28, "COMPACT TRACTOR 4WD", 14)
        .Raw(42, "KESTREL        ")
        .Text(57, "KT2540A0011223", 12)
        .Raw(69, "KES01")
        .Raw(76, "S100")
        .Raw(80, "D3")
        .Raw(82, "ENG-55012   ")
        .Raw(94, "4W")
        .Raw(96, "GREEN")
        .Raw(104, "A")
        .Raw(105, "T")
        .Raw(106, "LOT 3 ")
        .Raw(120, "CAB HEAT    ")
        .Raw(132, std::string("KEY 44\0\0\0\0\0\0", 12))
        .DayNumber(147, 2024, 2, 29)
        .Bin(149, 'J', 0)
        .DayNumber(167, 2026, 2, 1)
        .DayNumber(169, 2028, 2, 1)
        .Raw(171, "X2")
        .Text(177, "FL12345", 7)
        .Raw(198, "U0999   ")
        .Raw(211, "FI-000123")
        .Raw(220, "FP-000456")
        .DayNumber(229, 2024, 12, 1)
        .Bin(231, 'J', 0);
    return r;
}

struct UnitLayout {
    using Record = clsUnits;
    static constexpr size_t kLength = 512;
    static std::string Full() { return UnitBytes().str(); }
    static std::span<const UnitCase> Binaries() { return kUnitBinaries; }
};

// The texts and dates; the binary fields are the typed layout test's.
TEST_F(UnitRecordsTest, DecodesTheTextsAndDatesFromHandWrittenBytes) {
    clsUnits u;
    u.Unpack(UnitBytes().bytes());
    EXPECT_EQ(u.Model_Number, "TX2540A           ");
    // The whole model area: the number and its dash codes, as packed text.
    EXPECT_EQ(u.Model_Number_W_Dash.substr(0, 18), u.Model_Number);
    EXPECT_EQ(u.Model_Number_W_Dash.size(), 21u);
    EXPECT_EQ(u.Unit_Number, "U1042   ");
    EXPECT_EQ(u.Model_Description, "COMPACT TRACTOR 4WD  ");
    EXPECT_EQ(u.Make_or_Manufacturer, "KESTREL        ");
    EXPECT_EQ(u.Unit_Serial_Number, "KT2540A0011223    ");
    EXPECT_EQ(u.Manufacturers_Identificati, "KES01");
    EXPECT_EQ(u.Model_Series_Number, "S100");
    EXPECT_EQ(u.Engine_Type, "D3");
    EXPECT_EQ(u.Engine_ID_Number, "ENG-55012   ");
    EXPECT_EQ(u.Drive_type_2wd_4wd, "4W");
    EXPECT_EQ(u.Unit_Color, "GREEN");
    EXPECT_EQ(u.Unit_Status_A_R_S_U, "A");
    EXPECT_EQ(u.User_Defined_Unit_Type, "T");
    EXPECT_EQ(u.Location_of_Unit, "LOT 3 ");
    EXPECT_EQ(u.User_Defined_Alpha_1, "CAB HEAT    ");
    EXPECT_EQ(u.User_Defined_Alpha_2, std::string("KEY 44\0\0\0\0\0\0", 12));  // NULs kept
    EXPECT_EQ(u.Date_Received_In, MakeDate(2024, 2, 29));
    EXPECT_TRUE(IsEmptyDate(u.Date_Sold));
    EXPECT_EQ(u.Factory_Warranty_Expiratio, MakeDate(2026, 2, 1));
    EXPECT_EQ(u.Extended_Warranty_Expirati, MakeDate(2028, 2, 1));
    EXPECT_EQ(u.User_Defined_Warranty_Code, "X2");
    EXPECT_EQ(u.Flooring_Number, "FL12345     ");  // 7 bytes: 3 words and a half
    EXPECT_EQ(u.Unit_Number_Traded_Against, "U0999   ");
    EXPECT_EQ(u.FlooringInvoice, "FI-000123");
    EXPECT_EQ(u.FlooringPayment, "FP-000456");
    EXPECT_EQ(u.FlooringDateDue, MakeDate(2024, 12, 1));
    EXPECT_TRUE(IsEmptyDate(u.FlooringDatePaid));
}

// Bytes 1-2 and 233-500 are no field's: Pack leaves what the string held.
TEST_F(UnitRecordsTest, PackLeavesTheBytesNoFieldCovers) {
    clsUnits u;
    u.Unpack(UnitBytes().str());
    std::string packed(512, '\x5A');
    u.Pack(packed);
    EXPECT_EQ(packed.substr(0, 2), std::string(2, '\x5A'));
    EXPECT_EQ(packed.substr(232, 268), std::string(268, '\x5A'));
}

TEST_F(UnitRecordsTest, AShortUnitRecordKeepsNumbersEmptiesTextsAndReadsDatesAsEmpty) {
    clsUnits u;
    u.Unpack(UnitBytes().bytes());
    u.Unpack(UnitBytes().str().substr(0, 100));
    EXPECT_EQ(u.Unit_Number, "U1042   ");
    EXPECT_EQ(u.Unit_Color, "GREEN");
    EXPECT_EQ(u.Meter_Reading, 12345);  // 101-103: past the end, kept
    EXPECT_EQ(u.Sold_Invoice_Number, 880123);
    EXPECT_EQ(u.SubLedgerChain, 17);
    EXPECT_EQ(u.Location_of_Unit, "");  // text past the end becomes empty
    EXPECT_EQ(u.FlooringInvoice, "");
    // A date past the end reads as 1/1/68, so such a unit counts as in stock.
    u.Date_Sold = MakeDate(2024, 1, 2);
    u.Unpack(UnitBytes().str().substr(0, 100));
    EXPECT_TRUE(IsEmptyDate(u.Date_Sold));
    EXPECT_TRUE(IsEmptyDate(u.Date_Received_In));
}

TEST_F(UnitRecordsTest, LedgerEntryLayoutAndRoundTrip) {
    const std::string bytes = RecordBuilder(64)
                                  .Bin(1, 'J', 1)
                                  .Bin(3, 'C', 12)
                                  .Raw(5, "U1042   ")
                                  .DayNumber(13, 2024, 6, 30)
                                  .Raw(15, "PJ")
                                  .Bin(17, 'C', 4411)
                                  .Raw(19, "FREIGHT IN                    ")
                                  .Bin(49, 'L', 1210)
                                  .Bin(57, 'L', -1234)
                                  .Bin(61, 'L', 0)
                                  .str();
    clsUnitsLedger g;
    g.Unpack(bytes);
    EXPECT_EQ(g.Line, 12);
    EXPECT_EQ(g.Unit_Number, "U1042   ");
    EXPECT_EQ(g.Transaction_Date, MakeDate(2024, 6, 30));
    EXPECT_EQ(g.Journal_Type, "PJ");
    EXPECT_EQ(g.Journal_Number, 4411);
    EXPECT_EQ(g.Transaction_Description, "FREIGHT IN                    ");
    EXPECT_EQ(g.Account, 1210);
    EXPECT_EQ(g.Amount, -1234);  // -12.34
    EXPECT_EQ(g.Chain, 0);
    std::string packed(64, '\0');
    g.Pack(packed);
    EXPECT_EQ(packed.substr(2), bytes.substr(2));
}

TEST_F(UnitRecordsTest, NoteTypeChoosesWhatBytes23And24Hold) {
    struct Case {
        int32_t type;
        bool date;
        bool quantity;
    };
    const Case cases[] = {{1, true, false}, {3, false, true}, {0, false, false}, {5, false, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        const std::string bytes = RecordBuilder(84)
                                      .Bin(1, 'C', c.type)
                                      .Raw(3, "  U7    ")
                                      .Raw(11, "SVC         ")
                                      .Bin(23, 'J', 20000)
                                      .Raw(25, "OIL CHANGE DUE" + std::string(22, ' '))
                                      .Bin(61, 'L', 1999)
                                      .Bin(65, 'L', -2999)
                                      .Bin(69, 'L', 4321)
                                      .Bin(81, 'L', 9)
                                      .str();
        clsUnitnotes n;
        n.Quantity = -1;
        n.NoteDate = MakeDate(2000, 1, 1);
        n.Unpack(bytes);
        EXPECT_EQ(n.NoteType, c.type);
        EXPECT_EQ(n.UnitNumber, "U7");  // trimmed at both ends
        EXPECT_EQ(n.Code, "SVC");
        EXPECT_EQ(n.Description, "OIL CHANGE DUE");
        EXPECT_EQ(n.Cost, 1999);
        EXPECT_EQ(n.List, -2999);
        EXPECT_EQ(n.ShopReference, 4321);
        EXPECT_EQ(n.Chain, 9);
        EXPECT_EQ(n.NoteDate, c.date ? MakeDate(2022, 10, 3) : MakeDate(2000, 1, 1));
        EXPECT_EQ(n.Quantity, c.quantity ? 20000 : -1);

        std::string packed(84, '\x5A');
        n.Pack(packed);
        EXPECT_EQ(packed.substr(2, 8), "U7      ");  // left-justified, blank padded
        EXPECT_EQ(packed.substr(22, 2), c.date || c.quantity ? bytes.substr(22, 2) : "\x5A\x5A");
    }
}

TEST_F(UnitRecordsTest, HistoryWorkLinesReplaceOnlyTheirOwnCharacters) {
    std::string bytes = RecordBuilder(256, '.')
                            .Bin(3, 'C', 7)
                            .Raw(5, "U1042   ")
                            .DayNumber(13, 2024, 5, 5)
                            .Bin(15, 'L', 77001)
                            .Raw(167, "W")
                            .Bin(163, 'L', 40217)
                            .Bin(168, 'L', 9001)
                            .Bin(172, 'L', 45050)
                            .Bin(253, 'L', 3)
                            .str();
    clsUnitsHistory h;
    h.Unpack(bytes);
    EXPECT_EQ(h.Line, 7);
    EXPECT_EQ(h.UnitNumber, "U1042   ");
    EXPECT_EQ(h.DateServiced, MakeDate(2024, 5, 5));
    EXPECT_EQ(h.InvoiceNumber, 77001);
    for (const std::string& w : h.WorkPerformed) EXPECT_EQ(w, std::string(48, '.'));
    EXPECT_EQ(h.Account, 40217);
    EXPECT_EQ(h.WarrantySwitch, "W");
    EXPECT_EQ(h.ShopRef, 9001);
    EXPECT_EQ(h.Amount, 45050);
    EXPECT_EQ(h.Chain, 3);

    h.WorkPerformed[0] = "REPLACED 1";  // 10 characters: bytes 19-28 only
    h.WorkPerformed[1] = std::string(60, 'X');
    h.WarrantySwitch.clear();  // an empty switch leaves byte 167
    std::string packed = bytes;
    packed[166] = 'Q';
    h.Pack(packed);
    EXPECT_EQ(packed.substr(18, 10), "REPLACED 1");
    EXPECT_EQ(packed.substr(28, 38), std::string(38, '.'));
    EXPECT_EQ(packed.substr(66, 48), std::string(48, 'X'));  // cut at the width
    EXPECT_EQ(packed.substr(114, 48), std::string(48, '.'));
    EXPECT_EQ(packed[166], 'Q');
}

}  // namespace

namespace testing {
INSTANTIATE_TYPED_TEST_SUITE_P(Unit, RecordLayoutTest, UnitLayout);
}  // namespace testing
}  // namespace dv
