#include "engine/dates.h"

#include <gtest/gtest.h>

#include "engine/codec.h"
#include "engine/error.h"
#include "engine/system.h"

namespace dv {
namespace {

std::string Field(const char* code, int32_t value) {
    std::string data(4, '\0');
    Pack(code, data, value, 1);
    return data;
}

TEST(DatesTest, DayNumbers) {
    EXPECT_EQ(UnPackDate("C", Field("C", 0), 1), EmptyDate());
    EXPECT_EQ(UnPackDate("C", Field("C", 1), 1), EmptyDate());
    EXPECT_EQ(UnPackDate("J", Field("C", 2), 1), MakeDate(1968, 1, 2));
    EXPECT_EQ(UnPackDate("C", Field("C", 65535), 1), Date{kBaseDate + std::chrono::days{65535}});
    std::string data(2, 'x');
    PackDate("C", data, 1, EmptyDate());
    EXPECT_EQ(Unpack("C", data, 1), 0);
    PackDate("C", data, 1, MakeDate(1968, 1, 2));
    EXPECT_EQ(Unpack("C", data, 1), 2);
    Date with_time = EmptyDate();
    with_time.time = std::chrono::seconds(60);
    PackDate("C", data, 1, with_time);  // not exactly the empty date
    EXPECT_EQ(Unpack("C", data, 1), 1);
}

TEST(DatesTest, DecimalForms) {
    struct Case {
        const char* code;
        int32_t stored;
        Date date;
    } cases[] = {
        {"D", 123199, MakeDate(1999, 12, 31)},
        {"D", 10130, MakeDate(1930, 1, 1)},
        {"K", 10129, MakeDate(2029, 1, 1)},
        {"D", 0, EmptyDate()},
        {"D", 1000000, EmptyDate()},
        {"D", 133199, EmptyDate()},
        {"D", 23099, EmptyDate()},
        {"R", 991231, MakeDate(1999, 12, 31)},
        {"R", 260229, EmptyDate()},
        {"R", 240229, MakeDate(2024, 2, 29)},
        {"d", 123199, EmptyDate()},
        {"X", 123199, EmptyDate()},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UnPackDate(c.code, Field("D", c.stored), 1), c.date) << c.code << " " << c.stored;
    }
    std::string data(3, '\0');
    PackDate("D", data, 1, MakeDate(1999, 12, 31));
    EXPECT_EQ(Unpack("D", data, 1), 123199);
    PackDate("R", data, 1, MakeDate(1999, 12, 31));
    EXPECT_EQ(Unpack("D", data, 1), 991231);
    PackDate("K", data, 1, EmptyDate());
    EXPECT_EQ(Unpack("D", data, 1), 10168);
}

TEST(DatesTest, UnpackNeverFailsAndPackRaisesPastTheEnd) {
    EXPECT_EQ(UnPackDate("C", std::string(1, '\x05'), 1), EmptyDate());
    EXPECT_EQ(UnPackDate("D", "", 9), EmptyDate());
    std::string data(2, '\0');
    EXPECT_THROW(PackDate("D", data, 1, MakeDate(2000, 1, 1)), BasicError);
    PackDate("?", data, 1, MakeDate(2000, 1, 1));
    EXPECT_EQ(data, std::string(2, '\0'));
}

TEST(DatesTest, StmaDateModes) {
    StmaArgs args;
    args.a = 0;
    Stma(11, args);
    EXPECT_EQ(args.date, EmptyDate());
    EXPECT_EQ(args.b, 1);
    EXPECT_EQ(args.c, 1);
    EXPECT_EQ(args.d, 68);
    args.a = 11688;  // 12/31/99
    Stma(11, args);
    EXPECT_EQ(args.date, MakeDate(1999, 12, 31));
    EXPECT_EQ(args.d, 99);
    args = StmaArgs{};
    args.b = 1, args.c = 1, args.d = 68;
    Stma(12, args);
    EXPECT_EQ(args.a, 0);
    args.b = 1, args.c = 2, args.d = 68;
    Stma(12, args);
    EXPECT_EQ(args.a, 2);
    args.b = 2, args.c = 30, args.d = 24;
    EXPECT_THROW(Stma(12, args), BasicError);
}

class SysTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetClock([] {
            Date d = MakeDate(2026, 3, 7);
            d.time = std::chrono::seconds(3600);
            return d;
        });
        mSystem = std::make_shared<cSystem>();
    }
    void TearDown() override {
        SetClock({});
        mSystem.reset();
    }
};

TEST_F(SysTest, SystemValuesFollowTheClock) {
    EXPECT_EQ(Sys(1), 7);
    EXPECT_EQ(Sys(2), 3);
    EXPECT_EQ(Sys(3), 2026);
    EXPECT_EQ(Sys(28), 30726);
    EXPECT_EQ(Sys(128), 260307);
    EXPECT_EQ(Sys(152), DayNumber(MakeDate(2026, 3, 7)));
    for (int32_t code : {0, 5, 153}) EXPECT_EQ(Sys(code), 0);
    EXPECT_EQ(Now().time, std::chrono::seconds(3600));
}

TEST_F(SysTest, TerminalNumberComesFromTheSystemObject) {
    mSystem->TerminalID = "12";
    EXPECT_EQ(Sys(4), 12);
    mSystem->TerminalID = "T1";
    try {
        Sys(4);
        FAIL();
    } catch (const BasicError& e) {
        EXPECT_EQ(e.number(), 13);
    }
}

}  // namespace
}  // namespace dv
