#include "service/warranty_record.h"

#include <gtest/gtest.h>

#include "engine/packed_text.h"
#include "sampledata/record_builder.h"
#include "test_support/record_layout_test.h"

namespace dv {
namespace {

using sample::RecordBuilder;

constexpr size_t kHeader = 512;

using Case = testing::BinaryCase<clsWarranty>;

const Case kBinaries[] = {
    {1, 'C', 1, &clsWarranty::Status, 1},
    {3, 'C', 40001, &clsWarranty::Distributor, 40001},
    {5, 'L', -5005, &clsWarranty::Shop_Ref, -5005},
    {249, 'B', 249, &clsWarranty::Engine_received, 249},
    {250, 'B', 2, &clsWarranty::Parts_Have_Been, 2},
    {269, 'D', 1234567, &clsWarranty::Hours_Used, 1234567},
    {276, 'C', 612, &clsWarranty::Cust_AC, 612},
    {278, 'L', 5551234, &clsWarranty::Cust_Phone, 5551234},
    {282, 'C', 282, &clsWarranty::Total_Lab_Hrs, 282},
    {287, 'B', 0xA5, &clsWarranty::Bitswitch_1, 0xA5},
    {350, 'L', 350350, &clsWarranty::Reconciled_Inv_No, 350350},
    {378, 'C', 218, &clsWarranty::Soldby_AC, 218},
    {380, 'L', 3803800, &clsWarranty::Soldby_Phone, 3803800},
    {409, 'L', 40217, &clsWarranty::Cust_No, 40217},
    {481, 'L', 481481, &clsWarranty::Billed_Inv_No, 481481},
    {505, 'B', 5, &clsWarranty::Shop_Job_Type, 5},
    {507, 'C', 1127, &clsWarranty::Job_No, 1127},
    {509, 'L', 4242, &clsWarranty::Inv_Ptr, 4242},
    // The money fields hold the stored number unchanged.
    {288, 'L', 250, &clsWarranty::Part_Amount, 250},
    {292, 'L', -292, &clsWarranty::Labor_Amount, -292},
    {296, 'L', 29600, &clsWarranty::Part_Paid_Amount, 29600},
    {300, 'L', 30000, &clsWarranty::Labor_Paid_Amount, 30000},
    {344, 'D', 16777215, &clsWarranty::PD_Charge, 16777215},
    {347, 'D', 347, &clsWarranty::PD_Paid, 347},
    {384, 'L', 384, &clsWarranty::Tax_Totals, 384},
    {388, 'L', -388, &clsWarranty::B_Tax_Totals, -388},
};

RecordBuilder FullHeader() {
    RecordBuilder b(kHeader);
    for (const Case& c : kBinaries) b.Bin(c.position, c.code, c.stored);
    b.Text(9, "STARTER FAILED", 40)
        .Text(49, "NO CRANK", 40)
        .Text(89, "SOLENOID", 40)
        .Text(129, "REPLACED STARTER", 40)
        .Text(169, "TESTED", 40)
        .Text(209, "OK", 40)
        .Text(251, "L3901", 8)
        .Text(259, "D1105", 10)
        .Mmddyy(272, 2024, 4, 30)
        .Mmddyy(284, 2022, 3, 15)
        .Text(304, "NORTHFIELD EQUIPMENT", 20)
        .Text(324, "12 MILL ROAD", 20)
        .Text(354, "SPRINGVALE", 16)
        .Text(370, "MN", 2)
        .Text(372, "55001", 6)
        .DayNumber(401, 2024, 6, 1)
        .Mmddyy(403, 2024, 5, 20)
        .Mmddyy(406, 2024, 5, 21)
        .Text(413, "HARLAN FARMS", 20)
        .Text(433, "VESKAR", 10)
        .Text(443, "TRACTOR", 14)
        .Text(457, "SN111", 12)
        .Text(469, "SN222", 12)
        .Text(485, "MISC INFO", 20);
    return b;
}

struct WarrantyLayout {
    using Record = clsWarranty;
    static constexpr size_t kLength = kHeader;
    static std::string Full() { return FullHeader().str(); }
    static std::span<const Case> Binaries() { return kBinaries; }
};
class WarrantyRecordTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetAlphabet(); }
    void TearDown() override { ResetAlphabet(); }
};

TEST_F(WarrantyRecordTest, EveryFieldDecodesFromItsPlace) {
    clsWarranty w;
    w.Unpack(FullHeader().str());
    EXPECT_EQ(w.Cause_Fail[0].substr(0, 15), "STARTER FAILED ");
    EXPECT_EQ(w.Cause_Fail[0].size(), 60u);
    EXPECT_EQ(w.Cause_Fail[1].substr(0, 8), "NO CRANK");
    EXPECT_EQ(w.Cause_Fail[2].substr(0, 8), "SOLENOID");
    EXPECT_EQ(w.Work_Perform[0].substr(0, 16), "REPLACED STARTER");
    EXPECT_EQ(w.Work_Perform[1].substr(0, 6), "TESTED");
    EXPECT_EQ(w.Work_Perform[2].substr(0, 3), "OK ");
    EXPECT_EQ(w.Product_Model, "L3901       ");
    EXPECT_EQ(w.Engine_Model, "D1105          ");
    EXPECT_EQ(w.Date_Fail, MakeDate(2024, 4, 30));
    EXPECT_EQ(w.Date_Purch, MakeDate(2022, 3, 15));
    EXPECT_EQ(w.Soldby_Name.substr(0, 21), "NORTHFIELD EQUIPMENT ");
    EXPECT_EQ(w.Soldby_Address.substr(0, 12), "12 MILL ROAD");
    EXPECT_EQ(w.Soldby_City, "SPRINGVALE              ");
    EXPECT_EQ(w.Soldby_State, "MN ");
    EXPECT_EQ(w.Soldby_Zip, "55001    ");
    EXPECT_EQ(w.Date_Reconciled, MakeDate(2024, 6, 1));
    EXPECT_EQ(w.Date_Billed, MakeDate(2024, 5, 20));
    EXPECT_EQ(w.Date_Printed, MakeDate(2024, 5, 21));
    EXPECT_EQ(w.Cust_Name.substr(0, 13), "HARLAN FARMS ");
    EXPECT_EQ(w.Repair_Brand, "VESKAR         ");
    EXPECT_EQ(w.Repair_Equip_Desc, "TRACTOR              ");
    EXPECT_EQ(w.Serial_1.substr(0, 6), "SN111 ");
    EXPECT_EQ(w.Serial_2.substr(0, 6), "SN222 ");
    EXPECT_EQ(w.Misc_Shop_Job_Info.substr(0, 10), "MISC INFO ");
}

TEST_F(WarrantyRecordTest, RecordOfZeros) {
    clsWarranty w;
    w.Unpack(std::string(kHeader, '\0'));
    EXPECT_EQ(w.Status, 0);
    EXPECT_EQ(w.Inv_Ptr, 0);
    EXPECT_EQ(w.Cause_Fail[2], UcmView(std::string(40, '\0')));
    EXPECT_EQ(w.Date_Billed, EmptyDate());
    EXPECT_EQ(w.Date_Reconciled, EmptyDate());
}

TEST_F(WarrantyRecordTest, ShortHeaderKeepsTheFieldsPastItsEnd) {
    clsWarranty w;
    w.Unpack(FullHeader().str());
    RecordBuilder b(300);
    b.Bin(1, 'C', 2).Bin(296, 'L', 7);
    w.Unpack(b.str());
    EXPECT_EQ(w.Status, 2);
    EXPECT_EQ(w.Part_Paid_Amount, 7);       // 296-299: the last binary field inside
    EXPECT_EQ(w.Labor_Paid_Amount, 30000);  // 300-303 is cut: kept
    EXPECT_EQ(w.Cust_No, 40217);
    EXPECT_EQ(w.Inv_Ptr, 4242);
    EXPECT_EQ(w.Date_Billed, EmptyDate());  // dates past the end read 1/1/68
}

TEST_F(WarrantyRecordTest, PackKeepsAmountsUnscaledAndLeavesTheReadOnlyBytes) {
    const std::string header = FullHeader().str();
    clsWarranty w;
    w.Unpack(header);
    std::string rec(kHeader, '\x77');
    w.Pack(rec);
    const auto untouched = [](int pos) {
        return (pos >= 401 && pos <= 408) || (pos >= 481 && pos <= 484) || pos >= 509 ||
               pos == 275 || (pos >= 392 && pos <= 400) || pos == 506;
    };
    for (size_t i = 0; i < kHeader; ++i) {
        const int pos = static_cast<int>(i) + 1;
        EXPECT_EQ(rec[i], untouched(pos) ? '\x77' : header[i]) << "byte " << pos;
    }
}

TEST(WarrantyKey, SegmentKeyIsShopReferenceTimesHundredPlusRequest) {
    EXPECT_EQ(SegmentClaimKey(7, 2), 702);
    EXPECT_EQ(SegmentClaimKey(9, 10), 910);
    EXPECT_EQ(SegmentClaimKey(0, 15), 15);
}

}  // namespace

namespace testing {
INSTANTIATE_TYPED_TEST_SUITE_P(Warranty, RecordLayoutTest, WarrantyLayout);
}  // namespace testing
}  // namespace dv
