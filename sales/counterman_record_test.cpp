#include "sales/counterman_record.h"

#include <gtest/gtest.h>

#include "engine/packed_text.h"
#include "sampledata/record_builder.h"

namespace dv {
namespace {

using sample::RecordBuilder;

// The MANL part of the join ends at 200 here; EMANL's bytes follow from 201.
constexpr size_t kManl = 200, kJoined = 410;

struct LongCase {
    int32_t position;
    char code;
    int64_t stored;
    int32_t clsCounterman::*member;
    int32_t expected;
};

struct MoneyCase {
    int32_t position;
    int64_t stored;  // cents, the sign alternating between fields
    int64_t clsCounterman::*member;
};

const LongCase kLongs[] = {
    {3, 'C', 65535, &clsCounterman::COUNTERMAN_Number, 65535},
    {30, 'L', -30, &clsCounterman::Todays_Invoices, -30},
    {34, 'L', 2147483647, &clsCounterman::Todays_Line_Items, 2147483647},
    {190, 'C', 190, &clsCounterman::Todays_Lost_Sales, 190},
    {192, 'C', 40192, &clsCounterman::MTD_Lost_Sales, 40192},
    {194, 'C', 194, &clsCounterman::YTD_Lost_Sales, 194},
    {196, 'B', 255, &clsCounterman::DrawerOpen_Today, 255},
    {197, 'B', 7, &clsCounterman::DrawerOpen_Yesterday, 7},
};

// Every money field of the record, written by hand from the layout.
const MoneyCase kMoney[] = {
    {38, -38000, &clsCounterman::Todays_Cash_Recvd},
    {42, 42001, &clsCounterman::Todays_Charges},
    {46, 46002, &clsCounterman::Todays_Refunds},
    {50, -50003, &clsCounterman::Todays_Cr_Memos},
    {54, 54004, &clsCounterman::Todays_Mdse_Sales},
    {58, 58005, &clsCounterman::Todays_Mdse_Cost},
    {62, -62006, &clsCounterman::Todays_Labor_Sales},
    {66, 66007, &clsCounterman::Todays_Labor_Cost},
    {70, 70008, &clsCounterman::Todays_Discounts},
    {74, -74009, &clsCounterman::Todays_Payments},
    {78, 78010, &clsCounterman::Todays_Taxes},
    {82, 82011, &clsCounterman::Todays_Paymnt_Disc},
    {86, -86012, &clsCounterman::Todays_AR_Adjust},
    {90, 90013, &clsCounterman::SM_Todays_Net_Mdse_Sales},
    {94, 94014, &clsCounterman::SM_Todays_Net_Mdse_Cost},
    {98, -98015, &clsCounterman::SM_Todays_Labor_Sales},
    {102, 102016, &clsCounterman::SM_Todays_Labor_Cost},
    {106, 106017, &clsCounterman::SM_Todays_Discounts},
    {110, -110018, &clsCounterman::MTD_Mdse_Sales},
    {114, 114019, &clsCounterman::MTD_Mdse_Cost},
    {118, 118020, &clsCounterman::MTD_Labor_Sales},
    {122, -122021, &clsCounterman::MTD_Labor_Cost},
    {126, 126022, &clsCounterman::MTD_Discounts},
    {130, 130023, &clsCounterman::SM_MTD_Net_Mdse_Sales},
    {134, -134024, &clsCounterman::SM_MTD_Net_Mdse_Cost},
    {138, 138025, &clsCounterman::SM_MTD_Labor_Sales},
    {142, 142026, &clsCounterman::SM_MTD_Labor_Cost},
    {146, -146027, &clsCounterman::SM_MTD_Discounts},
    {150, 150028, &clsCounterman::YTD_Mdse_Sales},
    {154, 154029, &clsCounterman::YTD_Mdse_Cost},
    {158, -158030, &clsCounterman::YTD_Labor_Sales},
    {162, 162031, &clsCounterman::YTD_Labor_Cost},
    {166, 166032, &clsCounterman::YTD_Discounts},
    {170, -170033, &clsCounterman::SM_YTD_Net_Mdse_Sales},
    {174, 174034, &clsCounterman::SM_YTD_Net_Mdse_Cost},
    {178, 178035, &clsCounterman::SM_YTD_Labor_Sales},
    {182, -182036, &clsCounterman::SM_YTD_Labor_Cost},
    {186, 186037, &clsCounterman::SM_YTD_Discounts},
    {205, 205038, &clsCounterman::MTD_ME_Bld},
    {209, -209039, &clsCounterman::MTD_ME_Act},
    {213, 213040, &clsCounterman::MTD_ME_Bld_1_back},
    {217, 217041, &clsCounterman::MTD_ME_Act_1_back},
    {221, -221042, &clsCounterman::MTD_ME_Bld_2_back},
    {225, 225043, &clsCounterman::MTD_ME_Act_2_back},
    {229, 229044, &clsCounterman::MTD_ME_Bld_3_back},
    {233, -233045, &clsCounterman::MTD_ME_Act_3_back},
    {237, 237046, &clsCounterman::MTD_ME_Bld_4_back},
    {241, 241047, &clsCounterman::MTD_ME_Act_4_back},
    {245, -245048, &clsCounterman::MTD_ME_Bld_5_back},
    {249, 249049, &clsCounterman::MTD_ME_Act_5_back},
    {253, 253050, &clsCounterman::MTD_ME_Bld_6_back},
    {257, -257051, &clsCounterman::MTD_ME_Act_6_back},
    {261, 261052, &clsCounterman::MTD_ME_Bld_7_back},
    {265, 265053, &clsCounterman::MTD_ME_Act_7_back},
    {269, -269054, &clsCounterman::MTD_ME_Bld_8_back},
    {273, 273055, &clsCounterman::MTD_ME_Act_8_back},
    {277, 277056, &clsCounterman::MTD_ME_Bld_9_back},
    {281, -281057, &clsCounterman::MTD_ME_Act_9_back},
    {285, 285058, &clsCounterman::MTD_ME_Bld_10_back},
    {289, 289059, &clsCounterman::MTD_ME_Act_10_back},
    {293, -293060, &clsCounterman::MTD_ME_Bld_11_back},
    {297, 297061, &clsCounterman::MTD_ME_Act_11_back},
    {301, 301062, &clsCounterman::MTD_ME_Bld_12_back},
    {305, -305063, &clsCounterman::MTD_ME_Act_12_back},
    {309, 309064, &clsCounterman::YTD_ME_Billed},
    {313, 313065, &clsCounterman::YTD_ME_Actual},
    {317, -317066, &clsCounterman::LY_ME_Billed},
    {321, 321067, &clsCounterman::LY_ME_Actual},
    {325, 325068, &clsCounterman::PY_ME_Billed},
    {329, -329069, &clsCounterman::PY_ME_Actual},
    {333, 333070, &clsCounterman::Deposits_In_Today},
    {337, 337071, &clsCounterman::Deposits_Out_Today},
    {341, -341072, &clsCounterman::Deposits_In_MTD},
    {345, 345073, &clsCounterman::Deposits_Out_MTD},
    {349, 349074, &clsCounterman::Deposits_In_YTD},
    {353, -353075, &clsCounterman::Deposits_Out_YTD},
    {357, 357076, &clsCounterman::Rentals_Today},
    {361, 361077, &clsCounterman::Rental_Parts_Today},
    {365, -365078, &clsCounterman::Rental_Labor_Today},
    {369, 369079, &clsCounterman::Rentals_MTD},
    {373, 373080, &clsCounterman::Rental_Parts_MTD},
    {377, -377081, &clsCounterman::Rental_Labor_MTD},
    {381, 381082, &clsCounterman::Rentals_YTD},
    {385, 385083, &clsCounterman::Rental_Parts_YTD},
    {389, -389084, &clsCounterman::Rental_Labor_YTD},
};

RecordBuilder FullRecord() {
    RecordBuilder b(kJoined);
    b.Bin(1, 'J', 1);  // status word, not part of the class
    for (const LongCase& c : kLongs) b.Bin(c.position, c.code, c.stored);
    for (const MoneyCase& c : kMoney) b.Bin(c.position, 'L', c.stored);
    b.Text(5, "JRB", 2)
        .Text(7, "JOHN R. BAKER/COUNTER", 20)
        .Mmddyy(27, 2019, 4, 22)
        .Bin(198, 'C', 11234)
        .Raw(200, "\x55")  // 200-204 belong to no field
        .Raw(393, "PW.12345")
        .Raw(401, "AFTERWARDS");
    return b;
}

class CountermanRecordTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetAlphabet(); }
    void TearDown() override { ResetAlphabet(); }
};

TEST_F(CountermanRecordTest, EveryFieldDecodesFromItsPlace) {
    clsCounterman m;
    m.Unpack(FullRecord().str());
    for (const LongCase& c : kLongs)
        EXPECT_EQ(m.*c.member, c.expected) << "field at " << c.position;
    for (const MoneyCase& c : kMoney) EXPECT_EQ(m.*c.member, c.stored) << "field at " << c.position;
    EXPECT_EQ(m.COUNTERMAN_Alpha, "JRB");
    EXPECT_EQ(m.Name, "JOHN R. BAKER/COUNTER         ");  // 30 characters, blanks kept
    EXPECT_EQ(m.Date_Set_Up, MakeDate(2019, 4, 22));
    EXPECT_EQ(m.PinNumber, 1234);
    EXPECT_EQ(m.Mechanic, 1);
    EXPECT_EQ(m.E_Mail_Password, "PW.12345");
}

TEST_F(CountermanRecordTest, MoneyIsSignedCents) {
    RecordBuilder b(kJoined);
    b.Bin(38, 'L', -1500);
    clsCounterman m;
    m.Unpack(b.str());
    EXPECT_EQ(m.Todays_Cash_Recvd, -1500);  // -15.00
}

TEST_F(CountermanRecordTest, PinAndMechanicShareOneValue) {
    const struct {
        int64_t stored;
        int32_t pin;
        int16_t mechanic;
    } cases[] = {
        {1234, 1234, 0}, {11234, 1234, 1}, {10000, 0, 1}, {9999, 9999, 0}, {65535, 5535, 1}};
    clsCounterman m;  // reused: an earlier mechanic never carries over
    for (const auto& c : cases) {
        RecordBuilder b(kJoined);
        b.Bin(198, 'C', c.stored);
        m.Unpack(b.str());
        EXPECT_EQ(m.PinNumber, c.pin) << c.stored;
        EXPECT_EQ(m.Mechanic, c.mechanic) << c.stored;
    }
}

TEST_F(CountermanRecordTest, PinThatCannotBeReadCountsAsZero) {
    clsCounterman m;
    m.Unpack(FullRecord().str());
    m.Unpack(FullRecord().str().substr(0, 198));  // the C value at 198 needs 198-199
    EXPECT_EQ(m.PinNumber, 0);
    EXPECT_EQ(m.Mechanic, 0);
}

TEST_F(CountermanRecordTest, PackWritesThePinWithTheMechanicFlag) {
    const struct {
        int32_t pin;
        int16_t mechanic;
        int32_t stored;
    } cases[] = {{1234, 1, 11234}, {1234, 0, 1234}, {21234, 1, 11234}, {0, 1, 10000}};
    for (const auto& c : cases) {
        clsCounterman m;
        m.PinNumber = c.pin;
        m.Mechanic = c.mechanic;
        std::string rec(kJoined, '\0');
        m.Pack(rec);
        EXPECT_EQ(Unpack("C", rec, 198), c.stored) << c.pin << " " << c.mechanic;
    }
}

TEST_F(CountermanRecordTest, ManlAloneDecodesWhatItHoldsAndKeepsTheRest) {
    clsCounterman m;
    m.Unpack(FullRecord().str());
    RecordBuilder second(kJoined);
    second.Bin(3, 'C', 12).Text(7, "SECOND MAN", 20).Bin(54, 'L', 777).Bin(198, 'C', 42);
    m.Unpack(second.str().substr(0, kManl));
    EXPECT_EQ(m.COUNTERMAN_Number, 12);
    EXPECT_EQ(m.Name, "SECOND MAN                    ");
    EXPECT_EQ(m.Todays_Mdse_Sales, 777);
    EXPECT_EQ(m.PinNumber, 42);
    EXPECT_EQ(m.Mechanic, 0);
    EXPECT_EQ(m.Deposits_In_Today, 333070);  // EMANL was not passed: the old value
    EXPECT_EQ(m.E_Mail_Password, "");        // text past the end is empty
}

TEST_F(CountermanRecordTest, NumberAndNameNeedTwentySixBytes) {
    const std::string rec = FullRecord().str();
    clsCounterman m;
    m.Unpack(rec.substr(0, 26));
    EXPECT_EQ(m.COUNTERMAN_Number, 65535);
    EXPECT_EQ(m.Name, "JOHN R. BAKER/COUNTER         ");
    EXPECT_EQ(m.Date_Set_Up, EmptyDate());  // a date past the end reads as the empty date
    EXPECT_EQ(m.Todays_Invoices, 0);
}

TEST_F(CountermanRecordTest, NamesDecodeUnderTheAlphabetInForce) {
    RecordBuilder b(kJoined);
    b.Text(7, "A/B", 20);
    clsCounterman m;
    SwitchAlphabet(0, kNameSet);
    m.Unpack(b.str());
    EXPECT_EQ(m.Name.substr(0, 3), "A-B");
}

TEST_F(CountermanRecordTest, PackRewritesTheSameBytes) {
    const std::string rec = FullRecord().str();
    clsCounterman m;
    m.Unpack(rec);
    std::string again = rec;
    m.Pack(again);
    EXPECT_EQ(again, rec);
}

TEST_F(CountermanRecordTest, UnpackPackUnpackKeepsEveryField) {
    clsCounterman first;
    first.Unpack(FullRecord().str());
    std::string blank(kJoined, '\0');
    first.Pack(blank);
    clsCounterman second;
    second.Unpack(blank);
    for (const LongCase& c : kLongs) EXPECT_EQ(second.*c.member, first.*c.member) << c.position;
    for (const MoneyCase& c : kMoney) EXPECT_EQ(second.*c.member, first.*c.member) << c.position;
    EXPECT_EQ(second.Name, first.Name);
    EXPECT_EQ(second.COUNTERMAN_Alpha, first.COUNTERMAN_Alpha);
    EXPECT_EQ(second.Date_Set_Up, first.Date_Set_Up);
    EXPECT_EQ(second.PinNumber, first.PinNumber);
    EXPECT_EQ(second.Mechanic, first.Mechanic);
    EXPECT_EQ(second.E_Mail_Password, first.E_Mail_Password);
    // Bytes no field owns stay as the target held them.
    for (int32_t pos : {1, 2, 200, 201, 204, 401, 410})
        EXPECT_EQ(blank[static_cast<size_t>(pos - 1)], '\0') << "byte " << pos;
}

TEST_F(CountermanRecordTest, PackSkipsWhatDoesNotFit) {
    clsCounterman m;
    m.Unpack(FullRecord().str());
    m.Todays_Refunds = int64_t{1} << 33;  // beyond 32 bits
    m.E_Mail_Password = "LONGER THAN EIGHT";
    std::string rec(kJoined, '\0');
    Pack("L", rec, 77, 46);
    m.Pack(rec);
    EXPECT_EQ(Unpack("L", rec, 46), 77);
    EXPECT_EQ(rec.substr(392, 8), "LONGER T");
    std::string manl(kManl, '\0');
    m.Pack(manl);  // the EMANL fields have nowhere to go
    EXPECT_EQ(manl.size(), kManl);
    EXPECT_EQ(Unpack("C", manl, 3), 65535);
}

}  // namespace
}  // namespace dv
