// The number formats of the views: format masks such as "$#,###,###.00", "##.0%" or "00", and
// the named format "Currency". Values are exact: an integer numerator over a positive integer
// denominator, so money (whole cents), tenths and ratios are formatted without binary floating
// point.
//
// Mask characters:
//   #  an optional digit: shown only where the number has one
//   0  a required digit: shown as 0 where the number has none
//   ,  in the integer part: groups the whole integer part in threes
//   .  the decimal point (the first one; digits after it are the decimals)
//   %  multiplies the value by 100 and prints a percent sign where it stands
//   any other character stands as it is (such as "$" or the slashes of "##/##/##")
// Integer digits beyond the mask's places are all shown, at the leftmost place. A "#" after
// the point shows no trailing zero. The value is rounded to the mask's decimals, halves away
// from zero. A negative value gets "-" in front of the whole picture, unless it rounds to zero.
// "Currency" (any letter case) is "$#,##0.00": a dollar sign, grouped dollars with at least
// one digit, two decimals, and a leading "-" for a negative amount.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dv {

class Number {
  public:
    // A whole number.
    static constexpr Number Whole(int64_t value) { return Number(value, 1); }
    // Whole cents: 12345 is 123.45.
    static constexpr Number Cents(int64_t cents) { return Number(cents, 100); }
    // Tenths: 125 is 12.5.
    static constexpr Number Tenths(int64_t tenths) { return Number(tenths, 10); }
    // units / 10^decimals; decimals 0 to 18.
    static Number Scaled(int64_t units, int decimals);
    // numerator / denominator, such as filled / ordered; a denominator of 0 raises error 11
    // ("Division by zero"), as the platform's division does.
    static Number Ratio(int64_t numerator, int64_t denominator);

    int64_t numerator() const { return numerator_; }
    // Always above 0.
    int64_t denominator() const { return denominator_; }

  private:
    constexpr Number(int64_t n, int64_t d) : numerator_(n), denominator_(d) {}
    int64_t numerator_;
    int64_t denominator_;
};

// The value under the mask (or the named format "Currency").
std::string FormatNumber(Number value, std::string_view mask);

// The masks the shell itself uses.
inline constexpr std::string_view kCurrencyFormat = "Currency";

// A date number mmddyy as "##/##/##" shows it: 30524 is "3/05/24", 0 is "//".
std::string DateNumberText(int32_t mmddyy);

}  // namespace dv
