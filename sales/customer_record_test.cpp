#include "sales/customer_record.h"

#include <gtest/gtest.h>

#include "engine/packed_text.h"
#include "sampledata/record_builder.h"
#include "test_support/record_layout_test.h"

namespace dv {
namespace {

using sample::RecordBuilder;
using sample::TextSet;

constexpr size_t kJoined = 320;  // CUSTL and ECUSTL joined; the class covers 3-300

class CustomerRecord : public ::testing::Test {
  protected:
    void SetUp() override { ResetAlphabet(); }
    void TearDown() override { ResetAlphabet(); }
};

using Case = testing::BinaryCase<clsCustomers>;

// Every binary field written by hand from the layout, with the clamps.
const Case kBinaries[] = {
    {3, 'D', 0xFFFFFE, &clsCustomers::Account, 0xFFFFFE},  // unsigned
    {86, 'C', 1000, &clsCustomers::Area_Code, 1000},       // not clamped
    {88, 'L', 12345678, &clsCustomers::Phone_Number, 12345678},
    {93, 'B', 93, &clsCustomers::Default_Ship_Type, 93},
    {94, 'B', 94, &clsCustomers::Category, 94},
    {95, 'B', 95, &clsCustomers::SalesMan, 95},
    {98, 'B', 98, &clsCustomers::Tax_Table, 98},
    {99, 'B', 99, &clsCustomers::Branch_Code, 99},
    {101, 'B', 101, &clsCustomers::Discount_Code, 101},
    {102, 'B', 102, &clsCustomers::Serv_Charge_Code, 102},
    {103, 'L', 5000, &clsCustomers::Credit_Limit, 5000},  // whole units
    {107, 'C', 107, &clsCustomers::Price_Matrix, 107},
    {109, 'B', 109, &clsCustomers::Default_Level, 109},
    {110, 'J', -110, &clsCustomers::Percentage_Bump, -110},
    {181, 'C', 181, &clsCustomers::Alternate_Tax_Code, 181},
    {184, 'B', 184, &clsCustomers::Responsibility_Cd, 184},
    {197, 'L', -197, &clsCustomers::DetailChain, -197},
    {201, 'L', 9999999, &clsCustomers::Phone_Number_2, 9999999},
    {242, 'K', -242, &clsCustomers::Orders_MTD, -242},
    {245, 'K', 245, &clsCustomers::Orders_Filled_MTD, 245},
    {248, 'K', -248, &clsCustomers::Orders_YTD, -248},
    {251, 'K', 251, &clsCustomers::Orders_Filled_YTD, 251},
    {254, 'K', -254, &clsCustomers::Orders_PYTD, -254},
    {257, 'K', 257, &clsCustomers::Orders_Filled_PYTD, 257},
    {270, 'B', 30, &clsCustomers::Times_Past_Due_30, 30},
    {271, 'B', 60, &clsCustomers::Times_Past_Due_60, 60},
    {272, 'B', 90, &clsCustomers::Times_Past_Due_90, 90},
    {273, 'L', 273, &clsCustomers::High_Credit, 273},
    {277, 'L', -277, &clsCustomers::Min_Autofill_Amt, -277},
    {281, 'L', 28100, &clsCustomers::MTD_Deposits, 28100},  // not scaled
    {285, 'C', 999, &clsCustomers::Area_Code_2, 999},
    {287, 'C', 1000, &clsCustomers::Area_Code_3, 0},  // clamped
    {289, 'L', 10000000, &clsCustomers::Phone_Number_3, 0},
    {297, 'L', 297, &clsCustomers::Note_Chain, 297},
};

// Every binary field at once, the dates, a name and a contact.
struct CustomerLayout {
    using Record = clsCustomers;
    static constexpr size_t kLength = kJoined;
    static RecordBuilder Builder() {
        RecordBuilder b(kJoined);
        for (const Case& c : kBinaries) b.Bin(c.position, c.code, c.stored);
        b.Text(6, "ACME-WEST FARM, INC.", 20, TextSet::kNames)
            .Mmddyy(112, 2001, 6, 30)
            .Mmddyy(115, 2024, 11, 2)
            .Mmddyy(118, 2024, 10, 15)
            .Yymmdd(194, 2024, 10, 31)
            .Text(205, "J/SMITH", 12);
        return b;
    }
    static std::string Full() { return Builder().str(); }
    // The two clamped phone fields are written back as the 0 they read as.
    static std::string Repacked() { return Builder().Bin(287, 'C', 0).Bin(289, 'L', 0).str(); }
    static std::span<const Case> Binaries() { return kBinaries; }
};
// Each binary field alone in a record of zeros.
TEST_F(CustomerRecord, BinaryFieldsAtTheirPlaces) {
    for (const Case& c : kBinaries) {
        clsCustomers customer;
        customer.Unpack(RecordBuilder(kJoined).Bin(c.position, c.code, c.stored).str());
        EXPECT_EQ(testing::MemberValue(customer, c.member), c.expected) << "at " << c.position;
    }
}

TEST_F(CustomerRecord, MoneyIsCentsAndPhoneClampsHoldAtBothEnds) {
    RecordBuilder b(kJoined);
    int64_t cents = 100;
    for (int32_t pos = 121; pos <= 177; pos += 4) b.Bin(pos, 'L', cents++);
    b.Bin(149, 'L', 123456).Bin(186, 'L', -186).Bin(190, 'L', 190).Bin(201, 'L', -1);
    clsCustomers c;
    c.Unpack(b.str());
    EXPECT_EQ(c.MTD_Sales, 100);
    EXPECT_EQ(c.MTD_Discounts, 106);
    EXPECT_EQ(c.MTD_Tot_Bal, 123456);  // 1234.56
    EXPECT_EQ(c.Statement_Tot_Due, 112);
    EXPECT_EQ(c.YTD_COGS, 114);
    EXPECT_EQ(c.PYTD_Sales, -186);
    EXPECT_EQ(c.PYTD_COGS, 190);
    EXPECT_EQ(c.Phone_Number_2, 0);  // -1 is outside 0 to 9,999,999
}

TEST_F(CustomerRecord, FlagBytesReadAndWriteBitByBit) {
    clsCustomers c;
    c.Unpack(RecordBuilder(kJoined).Raw(92, "\xA5").Raw(185, "\xFF").str());
    EXPECT_EQ(c.Part_Sales_Trackng, 1);
    EXPECT_EQ(c.Partial_Ship, 0);
    EXPECT_EQ(c.Back_Order_Cust, 1);
    EXPECT_EQ(c.Line_Sales_Trackng, 0);
    for (int16_t flag : {c.PO_Required, c.Approval_Required, c.Print_Balance, c.Print_Duplicate,
                         c.Prompt_Delivery, c.Dead_Account, c.Write_Off, c.Prompt_Ship_To})
        EXPECT_EQ(flag, 1);

    std::string zero(kJoined, '\0');
    c.Dead_Account = 0;
    c.Pack(zero);
    EXPECT_EQ(static_cast<uint8_t>(zero[91]), 0x05);  // bits 4-7 of byte 92 stay as stored
    EXPECT_EQ(static_cast<uint8_t>(zero[184]), 0xDF);
    std::string set = RecordBuilder(kJoined).Raw(92, "\xA5").str();
    c.Pack(set);
    EXPECT_EQ(static_cast<uint8_t>(set[91]), 0xA5);
}

TEST_F(CustomerRecord, NamesDecodeWithDashesContactsWithSlashesAndTheDefaultStays) {
    SwitchAlphabet(0, kNameSet);  // whatever was in force before
    const std::string rec = RecordBuilder(kJoined)
                                .Text(6, "ACME-WEST FARM, INC.", 20, TextSet::kNames)
                                .Text(26, "1200 RIVER RD", 20, TextSet::kNames)
                                .Text(66, "SPRINGFIELD, OH 45501", 20, TextSet::kNames)
                                .Text(205, "J/SMITH", 12, TextSet::kParts)
                                .Text(260, "15/048/3377", 10)
                                .Raw(96, "G")
                                .Raw(237, "ZONE7")
                                .Mmddyy(112, 2019, 3, 5)
                                .Yymmdd(194, 2024, 10, 31)
                                .str();
    clsCustomers c;
    c.Unpack(rec);
    EXPECT_EQ(c.Name, "ACME-WEST FARM, INC.          ");
    EXPECT_EQ(c.Address_Line_1.size(), 30u);
    EXPECT_EQ(c.Contact_1, "J/SMITH           ");
    EXPECT_EQ(c.Duns_Number, "15/048/3377    ");
    EXPECT_EQ(c.State, "OH");
    EXPECT_EQ(c.Zip_Code, "45501");
    EXPECT_EQ(c.Credit_Code, "G");
    EXPECT_EQ(c.Delivery_Zone, "ZONE7");
    EXPECT_EQ(c.Date_SetUp, MakeDate(2019, 3, 5));
    EXPECT_EQ(c.Date_of_Last_Close, MakeDate(2024, 10, 31));
    EXPECT_EQ(Alphabet().substr(0, 4), kPartSet);
}

TEST_F(CustomerRecord, CustlAloneDecodesWhatLiesInsideIt) {
    RecordBuilder full(kJoined);
    full.Bin(3, 'D', 4711).Text(6, "SHORT RECORD", 20, TextSet::kNames).Bin(145, 'L', 14500);
    full.Bin(149, 'L', 777).Yymmdd(194, 2020, 1, 2).Raw(183, "X");
    clsCustomers c;
    c.MTD_Tot_Bal = 55;
    c.Statement_Tot_Due = 66;
    c.Group_Code = "Q";
    c.Unpack(full.bytes().substr(0, 150));
    EXPECT_EQ(c.Account, 4711);
    EXPECT_EQ(c.MTD_Discounts, 14500);  // ends at 148
    EXPECT_EQ(c.MTD_Tot_Bal, 55);       // 149-152 runs past the end: kept
    EXPECT_EQ(c.Statement_Tot_Due, 66);
    EXPECT_EQ(c.Group_Code, "");                     // text past the end: empty
    EXPECT_TRUE(IsEmptyDate(c.Date_of_Last_Close));  // a date past the end: 1/1/68
}

TEST_F(CustomerRecord, PackUnpackRoundTrip) {
    clsCustomers a;
    a.Account = 40217;
    a.Name = "NORTHFIELD-SOUTH CO-OP";
    a.Address_Line_3 = "DAYTON, OH 45402";
    a.Area_Code = 937;
    a.Phone_Number = 5551212;
    a.Partial_Ship = -1;  // any non-zero value sets the bit
    a.Credit_Code = "G";
    a.Credit_Limit = 15000;
    a.MTD_Tot_Bal = -123456;
    a.Statement_Tot_Due = 98765;
    a.Date_of_Last_Sale = MakeDate(2024, 11, 2);
    a.Date_of_Last_Close = MakeDate(2024, 10, 31);
    a.Contact_1 = "PAT/ORDERS";
    a.Phone_Number_2 = 10000000;  // written as is; reads back clamped
    a.Orders_PYTD = -5;
    a.Write_Off = 1;
    std::string rec(kJoined, '\0');
    a.Pack(rec);
    clsCustomers b;
    b.Unpack(rec);
    EXPECT_EQ(b.Account, 40217);
    EXPECT_EQ(b.Name, "NORTHFIELD-SOUTH CO-OP        ");
    EXPECT_EQ(b.State, "OH");
    EXPECT_EQ(b.Partial_Ship, 1);
    EXPECT_EQ(b.Credit_Limit, 15000);
    EXPECT_EQ(b.MTD_Tot_Bal, -123456);
    EXPECT_EQ(b.Statement_Tot_Due, 98765);
    EXPECT_EQ(b.Date_of_Last_Sale, a.Date_of_Last_Sale);
    EXPECT_EQ(b.Date_of_Last_Close, a.Date_of_Last_Close);
    EXPECT_EQ(b.Contact_1, "PAT/ORDERS        ");
    EXPECT_EQ(b.Phone_Number_2, 0);
    EXPECT_EQ(b.Orders_PYTD, -5);
    EXPECT_EQ(b.Write_Off, 1);
    std::string again(kJoined, '\0');
    b.Phone_Number_2 = a.Phone_Number_2;
    b.Pack(again);
    EXPECT_EQ(again, rec);
}

}  // namespace

namespace testing {
INSTANTIATE_TYPED_TEST_SUITE_P(Customer, RecordLayoutTest, CustomerLayout);
}  // namespace testing
}  // namespace dv
