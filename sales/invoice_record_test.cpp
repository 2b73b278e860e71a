#include "sales/invoice_record.h"

#include <gtest/gtest.h>

#include "sampledata/record_builder.h"
#include "test_support/record_layout_test.h"

namespace dv {
namespace {

using sample::RecordBuilder;

constexpr size_t kPage = 512;

RecordBuilder InvoicePage(int32_t status = 1) {
    RecordBuilder b(kPage);
    b.Bin(1, 'J', status);
    return b;
}

using InvoiceCase = testing::BinaryCase<clsInvoiceHistory>;

// The fields of one variant of page: its own table, then the common one.
std::vector<fields::Field<clsInvoiceHistory>> PageFields(
    std::span<const fields::Field<clsInvoiceHistory>> variant) {
    std::vector<fields::Field<clsInvoiceHistory>> out(variant.begin(), variant.end());
    const auto common = clsInvoiceHistory::CommonLayout();
    out.insert(out.end(), common.begin(), common.end());
    return out;
}

// The binary fields of an invoice page and of a shop-job page that their tables and the common
// one name, written by hand.
const InvoiceCase kInvoiceBinaries[] = {
    {1, 'J', 1, &clsInvoiceHistory::Record_Status, 1},
    {3, 'D', 40217, &clsInvoiceHistory::Account, 40217},
    {12, 'C', 7, &clsInvoiceHistory::AlternateTaxCode, 7},
    {50, 'C', 1432, &clsInvoiceHistory::Invoice_Time, 1432},
    {57, 'B', 2, &clsInvoiceHistory::UPSBoxes, 2},
    {58, 'K', -2500, &clsInvoiceHistory::Deposit, -2500},
    {65, 'B', 4, &clsInvoiceHistory::Pay_type_1, 4},
    {66, 'K', 12345, &clsInvoiceHistory::Pay_Amount_1, 12345},
    {69, 'B', 1, &clsInvoiceHistory::Pay_type_2, 1},
    {70, 'K', 200, &clsInvoiceHistory::Pay_Amount_2, 200},
    {73, 'B', 2, &clsInvoiceHistory::Pay_type_3, 2},
    {74, 'K', 300, &clsInvoiceHistory::Pay_Amount_3, 300},
    {106, 'L', 881234, &clsInvoiceHistory::Invoice_Number, 881234},
    {113, 'B', 12, &clsInvoiceHistory::COUNTERMAN_Number, 12},
    {114, 'B', 5, &clsInvoiceHistory::Salesman_Number, 5},
    {115, 'B', 3, &clsInvoiceHistory::Number_of_Pages, 3},
    {123, 'B', 3, &clsInvoiceHistory::Transaction_Type, 3},
    {124, 'B', 2, &clsInvoiceHistory::Delivery_Code, 2},
    {125, 'L', 4599, &clsInvoiceHistory::Sub_Total, 4599},
    {129, 'J', 150, &clsInvoiceHistory::Disc_Percentage, 150},
    {131, 'L', 100, &clsInvoiceHistory::Discount_Amount, 100},
    {135, 'C', 600, &clsInvoiceHistory::Tax_Rate, 600},
    {137, 'L', 276, &clsInvoiceHistory::Tax_Amount, 276},
    {145, 'B', 8, &clsInvoiceHistory::Department, 8},
    {149, 'B', 2, &clsInvoiceHistory::Tax_Rate_Code, 2},
    {156, 'B', 4, &clsInvoiceHistory::Category, 4},
    {157, 'B', 30, &clsInvoiceHistory::Terms_Code, 30},
    {158, 'K', 1000, &clsInvoiceHistory::Down_Payment, 1000},
};

// An invoice page as the dealer system writes it: every field of the tables, and the bytes Pack
// writes twice (the page-1 date beside the chain at 110, Pay_type_1 again at 155) agreeing.
RecordBuilder FullInvoicePage() {
    RecordBuilder b(kPage);
    for (const InvoiceCase& c : kInvoiceBinaries) b.Bin(c.position, c.code, c.stored);
    b.DayNumber(48, 2024, 11, 14)
        .Bin(54, 'B', 3)
        .DayNumber(55, 2024, 12, 14)
        .Text(86, "SHOP FOREMAN", 20)
        .Bin(110, 'D', 111424)
        .Text(117, "PO4471", 6)
        .Bin(141, 'K', 55123)
        .Raw(147, "CT")
        .Bin(151, 'C', 9)
        .Bin(155, 'B', 4);
    return b;
}

struct InvoicePageLayout {
    using Record = clsInvoiceHistory;
    static constexpr size_t kLength = kPage;
    static std::string Full() { return FullInvoicePage().str(); }
    static std::span<const InvoiceCase> Binaries() { return kInvoiceBinaries; }
    static std::vector<fields::Field<Record>> Fields() {
        return PageFields(Record::InvoiceLayout());
    }
};

const InvoiceCase kShopBinaries[] = {
    {1, 'J', 81, &clsInvoiceHistory::Record_Status, 81},
    {3, 'L', 31337, &clsInvoiceHistory::Account, 31337},
    {7, 'D', 31338, &clsInvoiceHistory::ShipTo, 31338},
    {12, 'C', 7, &clsInvoiceHistory::AlternateTaxCode, 7},
    {75, 'L', 7001, &clsInvoiceHistory::ShopReference, 7001},
    {79, 'B', 9, &clsInvoiceHistory::Mechanic, 9},
    {80, 'B', 2, &clsInvoiceHistory::PostCardCount, 2},
    {101, 'C', 77, &clsInvoiceHistory::JobNumber, 77},
    {103, 'C', 915, &clsInvoiceHistory::TimeIn, 915},
    {113, 'B', 12, &clsInvoiceHistory::COUNTERMAN_Number, 12},
    {114, 'B', 5, &clsInvoiceHistory::Salesman_Number, 5},
    {115, 'B', 2, &clsInvoiceHistory::Page, 2},
    {123, 'B', 3, &clsInvoiceHistory::Transaction_Type, 3},
    {124, 'B', 2, &clsInvoiceHistory::Delivery_Code, 2},
    {125, 'L', 4599, &clsInvoiceHistory::Sub_Total, 4599},
    {129, 'J', 150, &clsInvoiceHistory::Disc_Percentage, 150},
    {131, 'L', 100, &clsInvoiceHistory::Discount_Amount, 100},
    {135, 'C', 600, &clsInvoiceHistory::Tax_Rate, 600},
    {137, 'L', 276, &clsInvoiceHistory::Tax_Amount, 276},
    {145, 'B', 8, &clsInvoiceHistory::Department, 8},
    {149, 'B', 2, &clsInvoiceHistory::Tax_Rate_Code, 2},
    {151, 'C', 9, &clsInvoiceHistory::Price_Code, 9},
    {156, 'B', 4, &clsInvoiceHistory::Priority, 4},
    {157, 'B', 14, &clsInvoiceHistory::Terms_Code, 14},
};

// A shop-job page: the shop and common tables' fields, and the bytes Pack writes twice (the
// delivery code again at 100, ShipTo again at 141) or of its own (the shop bit of 116) agreeing.
RecordBuilder FullShopPage() {
    RecordBuilder b(kPage);
    for (const InvoiceCase& c : kShopBinaries) b.Bin(c.position, c.code, c.stored);
    b.DayNumber(17, 2024, 11, 1)
        .DayNumber(19, 2024, 11, 2)
        .Text(27, "KESTREL", 10)
        .Text(37, "COMPACT TRACTOR", 14)
        .Text(51, "SN12345", 12)
        .Text(63, "SN67890", 12)
        .DayNumber(83, 2024, 11, 20)
        .DayNumber(85, 2024, 11, 21)
        .Text(87, "PO4471", 6)
        .DayNumber(93, 2024, 11, 9)
        .DayNumber(95, 2024, 11, 8)
        .Raw(99, "O")
        .Bin(100, 'B', 2)
        .Text(105, "5550123", 8)
        .Bin(116, 'B', 0x80)
        .Raw(119, "W")
        .Bin(141, 'D', 31338)
        .Raw(147, "CT");
    return b;
}

struct ShopPageLayout {
    using Record = clsInvoiceHistory;
    static constexpr size_t kLength = kPage;
    static std::string Full() { return FullShopPage().str(); }
    static std::span<const InvoiceCase> Binaries() { return kShopBinaries; }
    static std::vector<fields::Field<Record>> Fields() { return PageFields(Record::ShopLayout()); }
};

TEST(InvoiceRecord, InvoiceHeaderAtItsPlaces) {
    const std::string rec = InvoicePage(1)
                                .Bin(3, 'D', 40217)
                                .Bin(12, 'C', 7)
                                .DayNumber(48, 2024, 11, 14)
                                .Bin(50, 'C', 1432)
                                .Bin(54, 'B', 3)
                                .DayNumber(55, 2024, 12, 14)
                                .Bin(57, 'B', 2)
                                .Bin(58, 'K', -2500)
                                .Bin(63, 'C', 0x0205)
                                .Bin(65, 'B', 4)
                                .Bin(66, 'K', 12345)
                                .Text(86, "SHOP FOREMAN", 20)
                                .Bin(106, 'L', 881234)
                                .Bin(113, 'B', 12)
                                .Bin(114, 'B', 5)
                                .Bin(115, 'B', 3)
                                .Bin(116, 'B', 0x36)
                                .Text(117, "PO4471", 6)
                                .Bin(123, 'B', 3)
                                .Bin(124, 'B', 2)
                                .Bin(125, 'L', 4599)
                                .Bin(131, 'L', 100)
                                .Bin(137, 'L', 276)
                                .Bin(141, 'K', 55123)
                                .Raw(147, "CT")
                                .Bin(151, 'C', 9)
                                .Bin(156, 'B', 4)
                                .Bin(157, 'B', 30)
                                .Bin(158, 'K', 1000)
                                .str();
    clsInvoiceHistory h;
    h.Unpack(rec);
    EXPECT_FALSE(h.Shop);
    EXPECT_EQ(h.Record_Status, 1);
    EXPECT_EQ(h.Account, 40217);
    EXPECT_EQ(h.AlternateTaxCode, 7);
    EXPECT_EQ(h.Invoice_Date, MakeDate(2024, 11, 14));
    EXPECT_EQ(h.Invoice_Time, 1432);
    EXPECT_EQ(h.Terminal, 3);
    EXPECT_EQ(h.DateDue, MakeDate(2024, 12, 14));
    EXPECT_EQ(h.UPSBoxes, 2);
    EXPECT_EQ(h.Deposit, -2500);
    EXPECT_EQ((std::array{h.Voided, h.CreatedByEDI, h.Printed, h.Pay_As_Sold, h.Settled,
                          h.NonDemandSale, h.EmergencyOrder, h.FarmPlanInvoice,
                          h.PickTicketLabelPrinted, h.WarrantyUpdated}),
              (std::array<int16_t, 10>{1, 0, 1, 0, 0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(h.Pay_type_1, 4);
    EXPECT_EQ(h.Pay_Amount_1, 12345);
    EXPECT_EQ(h.Attention_of, "SHOP FOREMAN                  ");
    EXPECT_EQ(h.Invoice_Number, 881234);
    EXPECT_EQ(h.COUNTERMAN_Number, 12);
    EXPECT_EQ(h.Salesman_Number, 5);
    EXPECT_EQ(h.Number_of_Pages, 3);
    EXPECT_EQ((std::array{h.Partial_Ship, h.Back_Orders, h.Drop_Ship, h.Dated}),
              (std::array<int16_t, 4>{1, 1, 1, 1}));
    EXPECT_EQ(h.Purchase_Order_No, "PO4471   ");
    EXPECT_EQ(h.Transaction_Type, 3);
    EXPECT_EQ(h.Delivery_Code, 2);
    EXPECT_EQ(h.Sub_Total, 4599);
    EXPECT_EQ(h.Discount_Amount, 100);
    EXPECT_EQ(h.Tax_Amount, 276);
    EXPECT_EQ(h.ShipTo, 55123);
    EXPECT_EQ(h.Sales_Code, "C");
    EXPECT_EQ(h.Tax_Code, "T");
    EXPECT_EQ(h.Price_Code, 9);
    EXPECT_EQ(h.Category, 4);
    EXPECT_EQ(h.Terms_Code, 30);
    EXPECT_EQ(h.Down_Payment, 1000);
}

TEST(InvoiceRecord, ShipToBytes) {
    const struct {
        const char* bytes;
        int32_t expected;
    } cases[] = {{"\xFF\xFF\xFF", 40217}, {"\x00\x00\x00", 0}, {"\x80\x00\x00", 8388608}};
    for (const auto& c : cases) {
        clsInvoiceHistory h;
        h.Unpack(InvoicePage().Bin(3, 'D', 40217).Raw(141, std::string(c.bytes, 3)).str());
        EXPECT_EQ(h.ShipTo, c.expected);
    }
}

TEST(InvoiceRecord, TransactionTypeManualInvoiceAndCredits) {
    const struct {
        int32_t status;
        int32_t byte;
        int64_t sub_total;
        bool manual;
        int32_t type;
    } cases[] = {
        {1, 23, -1250, true, 1}, {1, 23, 1250, true, 3},     {1, 20, 0, false, 0},
        {1, 24, -1, true, 2},    {80, 23, -1250, false, 23},  // a shop page keeps its byte
    };
    for (const auto& c : cases) {
        clsInvoiceHistory h;
        h.ManualInvoice = true;
        h.Unpack(InvoicePage(c.status).Bin(123, 'B', c.byte).Bin(125, 'L', c.sub_total).str());
        EXPECT_EQ(h.ManualInvoice, c.manual) << c.byte << " " << c.sub_total;
        EXPECT_EQ(h.Transaction_Type, c.type) << c.byte << " " << c.sub_total;
    }
}

TEST(InvoiceRecord, StatusChoosesTheFieldAt151AndTheVariant) {
    clsInvoiceHistory h;
    h.Unpack(InvoicePage(2).Bin(151, 'L', 0x00AB0001).str());
    EXPECT_EQ(h.Packing_Slip_No, 0x00AB0001);
    EXPECT_EQ(h.Price_Code, 0);
    h.Unpack(InvoicePage(1).Bin(151, 'L', 0x00070001).str());
    EXPECT_EQ(h.Price_Code, 7);
    EXPECT_EQ(h.Packing_Slip_No, 0x00AB0001);  // kept

    // Status 5: the common fields only; Shop keeps its value and decides the Mod 10.
    h.Unpack(InvoicePage(80).str());
    ASSERT_TRUE(h.Shop);
    h.Unpack(InvoicePage(5).Bin(3, 'L', 999).Bin(123, 'B', 23).str());
    EXPECT_TRUE(h.Shop);
    EXPECT_EQ(h.Record_Status, 5);
    EXPECT_EQ(h.Account, 0);  // the shop page's account, not this page's
    EXPECT_EQ(h.Transaction_Type, 23);
}

TEST(InvoiceRecord, ShopPageAtItsPlaces) {
    const std::string rec = InvoicePage(81)
                                .Bin(3, 'L', 31337)
                                .Bin(7, 'D', 31338)
                                .Bin(10, 'C', 450)
                                .Bin(14, 'D', 12345)
                                .DayNumber(17, 2024, 11, 1)
                                .DayNumber(23, 2024, 11, 3)
                                .Text(27, "KESTREL", 10)
                                .Text(51, "SN12345", 12)
                                .Bin(75, 'L', 7001)
                                .Bin(79, 'B', 9)
                                .Bin(81, 'C', 600)
                                .DayNumber(93, 2024, 11, 9)
                                .Bin(97, 'C', 11)
                                .Raw(99, "O")
                                .Bin(101, 'C', 77)
                                .Bin(115, 'B', 2)
                                .Bin(116, 'B', 0xC0)
                                .Bin(117, 'C', 22)
                                .Raw(119, "W")
                                .Bin(120, 'B', 1)
                                .Bin(122, 'B', 3)
                                .Bin(156, 'B', 2)
                                .Bin(157, 'B', 14)
                                .str();
    clsInvoiceHistory h;
    h.Unpack(rec);
    EXPECT_TRUE(h.Shop);
    EXPECT_EQ(h.Account, 31337);
    EXPECT_EQ(h.ShipTo, 31338);
    EXPECT_EQ(h.ReplacementEstimate, 450);
    EXPECT_EQ(h.Meter, 12345);  // tenths
    EXPECT_EQ(h.ScheduleDate, MakeDate(2024, 11, 1));
    EXPECT_TRUE(IsEmptyDate(h.CallDates[0]));
    EXPECT_EQ(h.CallDates[1], MakeDate(2024, 11, 3));
    EXPECT_EQ(h.RepairBrand, "KESTREL        ");
    EXPECT_EQ(h.ShopReference, 7001);
    EXPECT_EQ(h.Mechanic, 9);
    EXPECT_EQ(h.EstimateAmount, 600);
    EXPECT_EQ(h.DateCompleted, MakeDate(2024, 11, 9));
    EXPECT_EQ(h.WarrVend, (std::array<int32_t, 2>{22, 11}));
    EXPECT_EQ(h.Status, "O");
    EXPECT_EQ(h.JobNumber, 77);
    EXPECT_EQ(h.Page, 2);
    EXPECT_TRUE(h.Rental);
    EXPECT_EQ(h.Warranty, "W");
    EXPECT_EQ(h.CallStatus, (std::array<int32_t, 3>{1, 0, 3}));
    EXPECT_EQ(h.Priority, 2);
    EXPECT_EQ(h.Terminal, 14);
    EXPECT_FALSE(h.ManualInvoice);
}

TEST(InvoiceRecord, ShortPageKeepsTheFieldsPastItsEnd) {
    clsInvoiceHistory h;
    h.Sub_Total = 42;
    h.COUNTERMAN_Number = 9;
    h.Unpack(InvoicePage(1).Bin(106, 'L', 5150).Bin(113, 'B', 3).bytes().substr(0, 120));
    EXPECT_EQ(h.Invoice_Number, 5150);
    EXPECT_EQ(h.COUNTERMAN_Number, 3);
    EXPECT_EQ(h.Sub_Total, 42);
    EXPECT_TRUE(IsEmptyDate(clsInvoiceHistory().CallDates[2]));
}

// A list's decoding gives the listed members as the whole decoding does, on every variant.
TEST(InvoiceRecord, UnpackListedGivesWhatUnpackGives) {
    const std::string invoice = FullInvoicePage().str();
    const std::string shop = FullShopPage().str();
    std::string other = invoice;
    other.replace(0, 2, std::string("\0\x07", 2));  // a status of neither kind
    for (const std::string& rec : {invoice, shop, other, invoice.substr(0, 120),
                                   shop.substr(0, 100), invoice.substr(0, 1), std::string()}) {
        SCOPED_TRACE(rec.size());
        clsInvoiceHistory whole;
        clsInvoiceHistory listed;
        whole.Unpack(rec);
        listed.UnpackListed(rec);
        EXPECT_EQ(listed.Record_Status, whole.Record_Status);
        EXPECT_EQ(listed.Account, whole.Account);
        EXPECT_EQ(listed.Invoice_Number, whole.Invoice_Number);
        EXPECT_EQ(listed.COUNTERMAN_Number, whole.COUNTERMAN_Number);
        EXPECT_EQ(listed.Purchase_Order_No, whole.Purchase_Order_No);
        EXPECT_EQ(listed.Sub_Total, whole.Sub_Total);
    }
}

TEST(InvoiceRecord, PackRoundTripAndWriterDifferences) {
    clsInvoiceHistory a;
    a.Record_Status = 1;
    a.Account = 40217;
    a.Invoice_Date = MakeDate(1999, 12, 31);
    a.Invoice_Number = 900001;
    a.Purchase_Order_No = "PO12";
    a.Transaction_Type = 1;
    a.Sub_Total = -1250;
    a.ManualInvoice = true;
    a.Printed = 1;
    a.ShipTo = 0;
    a.Pay_type_1 = 6;
    std::string rec(kPage, '\0');
    a.Pack(rec);
    EXPECT_EQ(a.Transaction_Type, 23);  // a credit's 1 becomes 3, a manual invoice adds 20
    EXPECT_EQ(static_cast<uint8_t>(rec[122]), 23);
    EXPECT_EQ(static_cast<uint8_t>(rec[154]), 6);  // Pay_type_1 again at 155
    // The page-1 date of the chain field: 12/31/99 as 123199.
    EXPECT_EQ(rec.substr(109, 3), std::string("\x01\xE1\x3F", 3));
    clsInvoiceHistory b;
    b.Unpack(rec);
    EXPECT_EQ(b.Account, 40217);
    EXPECT_EQ(b.Invoice_Date, a.Invoice_Date);
    EXPECT_EQ(b.Invoice_Number, 900001);
    EXPECT_EQ(b.Purchase_Order_No, "PO12     ");
    EXPECT_TRUE(b.ManualInvoice);
    EXPECT_EQ(b.Transaction_Type, 1);
    EXPECT_EQ(b.Sub_Total, -1250);
    EXPECT_EQ(b.Printed, 1);
}

}  // namespace

namespace testing {
INSTANTIATE_TYPED_TEST_SUITE_P(InvoicePage, RecordLayoutTest, InvoicePageLayout);
INSTANTIATE_TYPED_TEST_SUITE_P(ShopPage, RecordLayoutTest, ShopPageLayout);
}  // namespace testing
}  // namespace dv
