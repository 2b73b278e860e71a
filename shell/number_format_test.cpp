#include "shell/number_format.h"

#include <gtest/gtest.h>

#include <ostream>

#include "engine/error.h"

namespace dv {
namespace {

struct FormatCase {
    Number value;
    const char* mask;
    const char* expected;
};

class FormatTable : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatTable, Formats) {
    const FormatCase& c = GetParam();
    EXPECT_EQ(FormatNumber(c.value, c.mask), c.expected)
        << c.value.numerator() << "/" << c.value.denominator() << " under \"" << c.mask << "\"";
}

void PrintTo(const FormatCase& c, std::ostream* os) {
    *os << c.value.numerator() << "/" << c.value.denominator() << " under \"" << c.mask << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Masks, FormatTable,
    ::testing::Values(
        // Money in cents under the recap and total masks.
        FormatCase{Number::Cents(0), "$#,###,###.00", "$.00"},
        FormatCase{Number::Cents(5), "$#,###,###.00", "$.05"},
        FormatCase{Number::Cents(123456), "$#,###,###.00", "$1,234.56"},
        FormatCase{Number::Cents(100000000), "$#,###,###.00", "$1,000,000.00"},
        // More integer digits than places: all shown, still grouped.
        FormatCase{Number::Cents(123456789012), "$#,###,###.00", "$1,234,567,890.12"},
        FormatCase{Number::Cents(-150), "$#,###,###.00", "-$1.50"},
        FormatCase{Number::Cents(0), "$##,###,##0.00", "$0.00"},
        FormatCase{Number::Cents(99), "$##,###,##0.00", "$0.99"},
        FormatCase{Number::Cents(-123456789), "$###,###,###.00", "-$1,234,567.89"},
        FormatCase{Number::Cents(12345678), "#####.00", "123456.78"},
        FormatCase{Number::Cents(0), "##.00", ".00"},
        FormatCase{Number::Whole(100), "##.00", "100.00"},
        FormatCase{Number::Ratio(7, 2), "####.00", "3.50"},
        // Tenths.
        FormatCase{Number::Tenths(0), "######0.0", "0.0"},
        FormatCase{Number::Tenths(12345), "######0.0", "1234.5"},
        FormatCase{Number::Tenths(-7), "######0.0", "-0.7"},
        // Percent masks multiply by 100.
        FormatCase{Number::Ratio(1, 4), "##.0%", "25.0%"},
        FormatCase{Number::Ratio(0, 1), "##.0%", ".0%"},
        FormatCase{Number::Ratio(1, 3), "00.00%", "33.33%"},
        FormatCase{Number::Ratio(2, 3), "00.00%", "66.67%"},
        FormatCase{Number::Ratio(0, 5), "00.00%", "00.00%"},
        FormatCase{Number::Ratio(5, 1), "00.00%", "500.00%"},
        FormatCase{Number::Ratio(-1, 8), "00.00%", "-12.50%"},
        // Required digits pad on the left.
        FormatCase{Number::Whole(5), "00", "05"}, FormatCase{Number::Whole(0), "00", "00"},
        FormatCase{Number::Whole(123), "00", "123"}, FormatCase{Number::Whole(0), "##", ""},
        // Literals between digit places (a raw mmddyy date).
        FormatCase{Number::Whole(123199), "##/##/##", "12/31/99"},
        FormatCase{Number::Whole(10599), "##/##/##", "1/05/99"},
        // Rounding: halves away from zero; a negative that rounds to zero has no sign.
        FormatCase{Number::Scaled(125, 3), "#.00", ".13"},
        FormatCase{Number::Scaled(-125, 3), "#.00", "-.13"},
        FormatCase{Number::Scaled(124, 3), "#.00", ".12"},
        FormatCase{Number::Scaled(-4, 3), "#.00", ".00"},
        FormatCase{Number::Scaled(9995, 3), "#.00", "10.00"},
        FormatCase{Number::Ratio(2, 3), "0", "1"}, FormatCase{Number::Ratio(-1, 2), "0", "-1"},
        FormatCase{Number::Ratio(1, 2), "#", "1"},
        // "#" after the point drops trailing zeros.
        FormatCase{Number::Tenths(15), "0.##", "1.5"}, FormatCase{Number::Whole(1), "0.##", "1."},
        // The platform's currency format.
        FormatCase{Number::Cents(123456), "Currency", "$1,234.56"},
        FormatCase{Number::Cents(0), "Currency", "$0.00"},
        FormatCase{Number::Cents(-5), "CURRENCY", "-$0.05"},
        FormatCase{Number::Cents(123456789012), "Currency", "$1,234,567,890.12"},
        // The largest amounts do not overflow.
        FormatCase{Number::Cents(INT64_MAX), "$#,###,###.00", "$92,233,720,368,547,758.07"},
        FormatCase{Number::Cents(INT64_MIN), "$#,###,###.00", "-$92,233,720,368,547,758.08"},
        FormatCase{Number::Ratio(INT64_MAX, 3), "00.00%", "307445734561825860233.33%"},
        FormatCase{Number::Ratio(INT64_MAX, 1), "0%", "922337203685477580700%"},
        FormatCase{Number::Ratio(INT64_MAX - 1, INT64_MAX), "0.0000000000000000000",
                   "0.9999999999999999999"},
        FormatCase{Number::Ratio(INT64_MAX / 2 + 1, INT64_MAX), "0.00", "0.50"}));

TEST(NumberTest, RatioByZeroRaisesDivisionByZero) {
    try {
        (void)Number::Ratio(1, 0);
        FAIL() << "no error";
    } catch (const BasicError& e) {
        EXPECT_EQ(e.number(), 11);
    }
}

TEST(NumberTest, NegativeDenominatorMovesTheSign) {
    const Number n = Number::Ratio(3, -4);
    EXPECT_EQ(n.numerator(), -3);
    EXPECT_EQ(n.denominator(), 4);
    EXPECT_EQ(FormatNumber(n, "0.00"), "-0.75");
}

}  // namespace
}  // namespace dv
