#include "sales/counterman_record.h"

#include <gtest/gtest.h>

#include "engine/packed_text.h"
#include "sampledata/record_builder.h"
#include "test_support/record_layout_test.h"

namespace dv {
namespace {

using sample::RecordBuilder;

// The MANL part of the join ends at 200 here; EMANL's bytes follow from 201.
constexpr size_t kManl = 200, kJoined = 410;

using Case = testing::BinaryCase<clsCounterman>;

// Every binary field of the record, written by hand from the layout.
const Case kBinaries[] = {
    {3, 'C', 65535, &clsCounterman::COUNTERMAN_Number, 65535},
    {30, 'L', -30, &clsCounterman::Todays_Invoices, -30},
    {34, 'L', 2147483647, &clsCounterman::Todays_Line_Items, 2147483647},
    {190, 'C', 190, &clsCounterman::Todays_Lost_Sales, 190},
    {192, 'C', 40192, &clsCounterman::MTD_Lost_Sales, 40192},
    {194, 'C', 194, &clsCounterman::YTD_Lost_Sales, 194},
    {196, 'B', 255, &clsCounterman::DrawerOpen_Today, 255},
    {197, 'B', 7, &clsCounterman::DrawerOpen_Yesterday, 7},
    // money in cents, the sign alternating between fields
    {38, 'L', -38000, &clsCounterman::Todays_Cash_Recvd, -38000},
    {42, 'L', 42001, &clsCounterman::Todays_Charges, 42001},
    {46, 'L', 46002, &clsCounterman::Todays_Refunds, 46002},
    {50, 'L', -50003, &clsCounterman::Todays_Cr_Memos, -50003},
    {54, 'L', 54004, &clsCounterman::Todays_Mdse_Sales, 54004},
    {58, 'L', 58005, &clsCounterman::Todays_Mdse_Cost, 58005},
    {62, 'L', -62006, &clsCounterman::Todays_Labor_Sales, -62006},
    {66, 'L', 66007, &clsCounterman::Todays_Labor_Cost, 66007},
    {70, 'L', 70008, &clsCounterman::Todays_Discounts, 70008},
    {74, 'L', -74009, &clsCounterman::Todays_Payments, -74009},
    {78, 'L', 78010, &clsCounterman::Todays_Taxes, 78010},
    {82, 'L', 82011, &clsCounterman::Todays_Paymnt_Disc, 82011},
    {86, 'L', -86012, &clsCounterman::Todays_AR_Adjust, -86012},
    {90, 'L', 90013, &clsCounterman::SM_Todays_Net_Mdse_Sales, 90013},
    {94, 'L', 94014, &clsCounterman::SM_Todays_Net_Mdse_Cost, 94014},
    {98, 'L', -98015, &clsCounterman::SM_Todays_Labor_Sales, -98015},
    {102, 'L', 102016, &clsCounterman::SM_Todays_Labor_Cost, 102016},
    {106, 'L', 106017, &clsCounterman::SM_Todays_Discounts, 106017},
    {110, 'L', -110018, &clsCounterman::MTD_Mdse_Sales, -110018},
    {114, 'L', 114019, &clsCounterman::MTD_Mdse_Cost, 114019},
    {118, 'L', 118020, &clsCounterman::MTD_Labor_Sales, 118020},
    {122, 'L', -122021, &clsCounterman::MTD_Labor_Cost, -122021},
    {126, 'L', 126022, &clsCounterman::MTD_Discounts, 126022},
    {130, 'L', 130023, &clsCounterman::SM_MTD_Net_Mdse_Sales, 130023},
    {134, 'L', -134024, &clsCounterman::SM_MTD_Net_Mdse_Cost, -134024},
    {138, 'L', 138025, &clsCounterman::SM_MTD_Labor_Sales, 138025},
    {142, 'L', 142026, &clsCounterman::SM_MTD_Labor_Cost, 142026},
    {146, 'L', -146027, &clsCounterman::SM_MTD_Discounts, -146027},
    {150, 'L', 150028, &clsCounterman::YTD_Mdse_Sales, 150028},
    {154, 'L', 154029, &clsCounterman::YTD_Mdse_Cost, 154029},
    {158, 'L', -158030, &clsCounterman::YTD_Labor_Sales, -158030},
    {162, 'L', 162031, &clsCounterman::YTD_Labor_Cost, 162031},
    {166, 'L', 166032, &clsCounterman::YTD_Discounts, 166032},
    {170, 'L', -170033, &clsCounterman::SM_YTD_Net_Mdse_Sales, -170033},
    {174, 'L', 174034, &clsCounterman::SM_YTD_Net_Mdse_Cost, 174034},
    {178, 'L', 178035, &clsCounterman::SM_YTD_Labor_Sales, 178035},
    {182, 'L', -182036, &clsCounterman::SM_YTD_Labor_Cost, -182036},
    {186, 'L', 186037, &clsCounterman::SM_YTD_Discounts, 186037},
    {205, 'L', 205038, &clsCounterman::MTD_ME_Bld, 205038},
    {209, 'L', -209039, &clsCounterman::MTD_ME_Act, -209039},
    {213, 'L', 213040, &clsCounterman::MTD_ME_Bld_1_back, 213040},
    {217, 'L', 217041, &clsCounterman::MTD_ME_Act_1_back, 217041},
    {221, 'L', -221042, &clsCounterman::MTD_ME_Bld_2_back, -221042},
    {225, 'L', 225043, &clsCounterman::MTD_ME_Act_2_back, 225043},
    {229, 'L', 229044, &clsCounterman::MTD_ME_Bld_3_back, 229044},
    {233, 'L', -233045, &clsCounterman::MTD_ME_Act_3_back, -233045},
    {237, 'L', 237046, &clsCounterman::MTD_ME_Bld_4_back, 237046},
    {241, 'L', 241047, &clsCounterman::MTD_ME_Act_4_back, 241047},
    {245, 'L', -245048, &clsCounterman::MTD_ME_Bld_5_back, -245048},
    {249, 'L', 249049, &clsCounterman::MTD_ME_Act_5_back, 249049},
    {253, 'L', 253050, &clsCounterman::MTD_ME_Bld_6_back, 253050},
    {257, 'L', -257051, &clsCounterman::MTD_ME_Act_6_back, -257051},
    {261, 'L', 261052, &clsCounterman::MTD_ME_Bld_7_back, 261052},
    {265, 'L', 265053, &clsCounterman::MTD_ME_Act_7_back, 265053},
    {269, 'L', -269054, &clsCounterman::MTD_ME_Bld_8_back, -269054},
    {273, 'L', 273055, &clsCounterman::MTD_ME_Act_8_back, 273055},
    {277, 'L', 277056, &clsCounterman::MTD_ME_Bld_9_back, 277056},
    {281, 'L', -281057, &clsCounterman::MTD_ME_Act_9_back, -281057},
    {285, 'L', 285058, &clsCounterman::MTD_ME_Bld_10_back, 285058},
    {289, 'L', 289059, &clsCounterman::MTD_ME_Act_10_back, 289059},
    {293, 'L', -293060, &clsCounterman::MTD_ME_Bld_11_back, -293060},
    {297, 'L', 297061, &clsCounterman::MTD_ME_Act_11_back, 297061},
    {301, 'L', 301062, &clsCounterman::MTD_ME_Bld_12_back, 301062},
    {305, 'L', -305063, &clsCounterman::MTD_ME_Act_12_back, -305063},
    {309, 'L', 309064, &clsCounterman::YTD_ME_Billed, 309064},
    {313, 'L', 313065, &clsCounterman::YTD_ME_Actual, 313065},
    {317, 'L', -317066, &clsCounterman::LY_ME_Billed, -317066},
    {321, 'L', 321067, &clsCounterman::LY_ME_Actual, 321067},
    {325, 'L', 325068, &clsCounterman::PY_ME_Billed, 325068},
    {329, 'L', -329069, &clsCounterman::PY_ME_Actual, -329069},
    {333, 'L', 333070, &clsCounterman::Deposits_In_Today, 333070},
    {337, 'L', 337071, &clsCounterman::Deposits_Out_Today, 337071},
    {341, 'L', -341072, &clsCounterman::Deposits_In_MTD, -341072},
    {345, 'L', 345073, &clsCounterman::Deposits_Out_MTD, 345073},
    {349, 'L', 349074, &clsCounterman::Deposits_In_YTD, 349074},
    {353, 'L', -353075, &clsCounterman::Deposits_Out_YTD, -353075},
    {357, 'L', 357076, &clsCounterman::Rentals_Today, 357076},
    {361, 'L', 361077, &clsCounterman::Rental_Parts_Today, 361077},
    {365, 'L', -365078, &clsCounterman::Rental_Labor_Today, -365078},
    {369, 'L', 369079, &clsCounterman::Rentals_MTD, 369079},
    {373, 'L', 373080, &clsCounterman::Rental_Parts_MTD, 373080},
    {377, 'L', -377081, &clsCounterman::Rental_Labor_MTD, -377081},
    {381, 'L', 381082, &clsCounterman::Rentals_YTD, 381082},
    {385, 'L', 385083, &clsCounterman::Rental_Parts_YTD, 385083},
    {389, 'L', -389084, &clsCounterman::Rental_Labor_YTD, -389084},
};

RecordBuilder FullRecord() {
    RecordBuilder b(kJoined);
    b.Bin(1, 'J', 1);  // status word, not part of the class
    for (const Case& c : kBinaries) b.Bin(c.position, c.code, c.stored);
    b.Text(5, "JRB", 2)
        .Text(7, "JOHN R. BAKER/COUNTER", 20)
        .Mmddyy(27, 2019, 4, 22)
        .Bin(198, 'C', 11234)
        .Raw(200, "\x55")  // 200-204 belong to no field
        .Raw(393, "PW.12345")
        .Raw(401, "AFTERWARDS");
    return b;
}

struct CountermanLayout {
    using Record = clsCounterman;
    static constexpr size_t kLength = kJoined;
    static std::string Full() { return FullRecord().str(); }
    static std::span<const Case> Binaries() { return kBinaries; }
};
class CountermanRecordTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetAlphabet(); }
    void TearDown() override { ResetAlphabet(); }
};

TEST_F(CountermanRecordTest, EveryFieldDecodesFromItsPlace) {
    clsCounterman m;
    m.Unpack(FullRecord().str());
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

// The pin and mechanic flag, which share one value, and the bytes Pack leaves alone.
TEST_F(CountermanRecordTest, UnpackPackUnpackKeepsThePinAndTheBytesOfNoField) {
    clsCounterman first;
    first.Unpack(FullRecord().str());
    std::string blank(kJoined, '\0');
    first.Pack(blank);
    clsCounterman second;
    second.Unpack(blank);
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

namespace testing {
INSTANTIATE_TYPED_TEST_SUITE_P(Counterman, RecordLayoutTest, CountermanLayout);
}  // namespace testing
}  // namespace dv
