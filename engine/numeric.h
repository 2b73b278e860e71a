// The platform's number tests and conversions, as the dealer programs used them on texts read
// from files: a plain or signed digit string, a decimal fraction, an exponent.
#pragma once

#include <cstdint>
#include <string_view>

namespace dv {

// True when text reads as a number: optional surrounding blanks, an optional sign, digits with
// an optional decimal point and fraction, and an optional exponent (E or D, signed).
bool IsNumeric(std::string_view text);

// The text as a signed 32-bit integer, fractions rounded half to even; raises 13 (type mismatch)
// when it is no number and 6 (overflow) when it does not fit. Source names the caller.
int32_t ParseLong(std::string_view text, const char* source);

}  // namespace dv
