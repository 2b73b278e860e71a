#include "sales/invoice_line_record.h"

#include <gtest/gtest.h>

#include "engine/packed_text.h"
#include "sampledata/record_builder.h"
#include "test_support/record_layout_test.h"

namespace dv {
namespace {

using sample::RecordBuilder;
using sample::TextSet;

class InvoiceLine : public ::testing::Test {
  protected:
    void SetUp() override { ResetAlphabet(); }
    void TearDown() override { ResetAlphabet(); }
};

// An item line written by hand: record position = slot position + 8.
RecordBuilder ItemLine(std::string_view part, std::string_view dash_codes) {
    RecordBuilder b(52);
    b.Bin(3, 'L', 881234)
        .Bin(7, 'C', 3)
        .Text(9, "120", 2, TextSet::kNames)
        .Text(11, part, 12, TextSet::kParts)
        .Text(23, dash_codes, 2, TextSet::kNames)
        .Text(25, "BEARING, FRONT", 14, TextSet::kNames)
        .Bin(39, 'J', 25)
        .Bin(41, 'D', 0xFFFFFF)
        .Bin(44, 'D', 1895)
        .Bin(47, 'J', -10)
        .Raw(49, "K")
        .Bin(50, 'B', 7)
        .Bin(51, 'C', 0x8041);
    return b;
}

RecordBuilder Remark(std::string_view comment) {
    RecordBuilder b(52);
    b.Text(9, "REM", 2, TextSet::kNames).Text(11, comment, 24, TextSet::kNames);
    return b;
}

TEST_F(InvoiceLine, ItemLineAtItsPlaces) {
    clsInvoiceHistoryDetail d;
    d.Unpack(ItemLine("AB12/X", "4").str());
    EXPECT_EQ(d.Invoice_Number, 881234);
    EXPECT_EQ(d.Item_Number, 3);
    EXPECT_EQ(d.Line, "120");
    EXPECT_EQ(d.Part_Number, "AB12/X            ");
    EXPECT_EQ(d.Part_w_Dash, "AB1-2-X            ");  // the "/" reads "-" under the name set
    EXPECT_EQ(d.Description, "BEARING, FRONT       ");
    EXPECT_EQ(d.Quantity, 25);        // 2.5
    EXPECT_EQ(d.Net_Each, 0xFFFFFF);  // unsigned here
    EXPECT_EQ(d.Cost_Each, 1895);
    EXPECT_EQ(d.Back_Ordered_Qty, -10);
    EXPECT_EQ(d.Commodity, "K");
    EXPECT_EQ(d.Mechanic_No, 7);
    EXPECT_EQ(d.Taxable, 1);
    EXPECT_EQ(d.Warranty, 0);
    EXPECT_EQ(d.Price_Changed, 1);
    EXPECT_EQ(d.Special_Order, 1);
    EXPECT_EQ(d.Trade_In, 0);
    EXPECT_EQ(d.boDate, MakeDate(1967, 12, 31));
    EXPECT_EQ(Alphabet().substr(0, 4), kNameSet);
}

TEST_F(InvoiceLine, BlankDashCodesLeaveThePartNumber) {
    clsInvoiceHistoryDetail d;
    d.Unpack(ItemLine("ABCDEF", "").str());
    EXPECT_EQ(d.Part_w_Dash, "ABCDEF            ");
}

TEST_F(InvoiceLine, RemarkKinds) {
    clsInvoiceHistoryDetail d;
    d.Unpack(Remark("SN-SERIAL NUMBERS")
                 .Text(35, "012", 2, TextSet::kNames)
                 .Text(37, "SER99", 12, TextSet::kNames)
                 .Bin(49, 'J', -2)
                 .Bin(51, 'B', 1)
                 .str());
    EXPECT_EQ(d.Line, "REM");
    EXPECT_EQ(d.Part_Number, "");
    EXPECT_EQ(d.Description, d.Comment);
    EXPECT_EQ(d.Comment.size(), 36u);
    EXPECT_EQ(d.snLine, 12);
    EXPECT_EQ(d.snPartNumber, "SER99             ");
    EXPECT_EQ(d.snQtyOrdered, -2);
    EXPECT_EQ(d.snFactory_Warranty, 1);

    d.Unpack(Remark("SN-").str());  // three blanks: no number
    EXPECT_EQ(d.snLine, 0);

    d.Unpack(Remark("B.O. INV 4411").Bin(35, 'C', 812).DayNumber(37, 2024, 10, 1).str());
    EXPECT_EQ(d.boRecNumber, 812);
    EXPECT_EQ(d.boDate, MakeDate(2024, 10, 1));
    EXPECT_EQ(d.snPartNumber, "");  // reset for every record

    d.Unpack(Remark("...UNIT NUMBER... 55").Bin(48, 'L', -1234567).str());
    EXPECT_EQ(d.UnitNet, -1234567);
    EXPECT_EQ(d.boDate, MakeDate(1967, 12, 31));
}

TEST_F(InvoiceLine, ShortRecordDecodesWhatItHolds) {
    clsInvoiceHistoryDetail d;
    d.Cost_Each = 5;
    d.Mechanic_No = 4;
    d.Unpack(ItemLine("XY1", "").bytes().substr(0, 45));
    EXPECT_EQ(d.Quantity, 25);
    EXPECT_EQ(d.Net_Each, 0xFFFFFF);
    EXPECT_EQ(d.Cost_Each, 5);  // 44-46 runs past the end
    EXPECT_EQ(d.Mechanic_No, 4);
    EXPECT_EQ(d.Commodity, "");
}

TEST_F(InvoiceLine, PackWritesTheLayout) {
    clsInvoiceHistoryDetail d;
    d.Invoice_Number = 881234;
    d.Item_Number = 3;
    d.Line = "120";
    d.Part_w_Dash = "A-B-C-D-E";  // four dashes: the first three codes are kept
    d.Description = "BEARING";
    d.Quantity = 25;
    d.Net_Each = 1000;
    d.Taxable = -1;
    std::string rec(52, '\x7F');
    SwitchAlphabet(0, kNameSet);
    d.Pack(rec);
    const std::string expected = RecordBuilder(52, '\x7F')
                                     .Bin(3, 'L', 881234)
                                     .Bin(7, 'C', 3)
                                     .Text(9, "120", 2)
                                     .Text(11, "ABCDE", 12)
                                     .Text(23, "246", 2)
                                     .Text(25, "BEARING", 14, TextSet::kNames)
                                     .Bin(39, 'J', 25)
                                     .Bin(41, 'D', 1000)
                                     .Bin(44, 'D', 0)
                                     .Bin(47, 'J', 0)
                                     .Raw(49, " ")
                                     .Bin(50, 'B', 0)
                                     .Bin(51, 'C', 0x8000)
                                     .str();
    EXPECT_EQ(rec, expected);

    clsInvoiceHistoryDetail unit;
    unit.Line = "REM";
    unit.Comment = "...UNIT NUMBER...";
    unit.UnitNet = 150000;
    std::string remark(52, '\x7F');
    unit.Pack(remark);
    EXPECT_EQ(remark.substr(34, 13), std::string(13, '\x7F'));  // 35-47 as they were
    EXPECT_EQ(remark.substr(47, 4), std::string("\x00\x02\x49\xF0", 4));
    EXPECT_EQ(remark[51], '\x7F');
}

using LineCase = testing::BinaryCase<clsInvoiceHistoryDetail>;

// The two binary fields of the table; an item line's others are its custom field's, checked
// above and after the round trip.
const LineCase kLineBinaries[] = {
    {3, 'L', 881234, &clsInvoiceHistoryDetail::Invoice_Number, 881234},
    {7, 'C', 3, &clsInvoiceHistoryDetail::Item_Number, 3},
};

struct InvoiceLineLayout {
    using Record = clsInvoiceHistoryDetail;
    static constexpr size_t kLength = clsInvoiceHistoryDetail::kRecordLength;
    static std::string Full() { return ItemLine("AB12X", "3").str(); }
    static std::span<const LineCase> Binaries() { return kLineBinaries; }
    static void ExpectSameCustom(const Record& a, const Record& b) {
        EXPECT_EQ(b.Line, a.Line);
        EXPECT_EQ(b.Part_w_Dash, a.Part_w_Dash);
        EXPECT_EQ(b.Description, a.Description);
        EXPECT_EQ(b.Quantity, a.Quantity);
        EXPECT_EQ(b.Net_Each, a.Net_Each);
        EXPECT_EQ(b.Cost_Each, a.Cost_Each);
        EXPECT_EQ(b.Back_Ordered_Qty, a.Back_Ordered_Qty);
        EXPECT_EQ(b.Commodity, a.Commodity);
        EXPECT_EQ(b.Mechanic_No, a.Mechanic_No);
        EXPECT_EQ(b.Taxable, a.Taxable);
        EXPECT_EQ(b.Special_Order, a.Special_Order);
    }
};

}  // namespace

namespace testing {
INSTANTIATE_TYPED_TEST_SUITE_P(InvoiceLine, RecordLayoutTest, InvoiceLineLayout);
}  // namespace testing
}  // namespace dv
