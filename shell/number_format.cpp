#include "shell/number_format.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <vector>

#include "engine/error.h"

namespace dv {
namespace {

__extension__ typedef __int128 Wide;  // exact intermediate products of 64-bit values

constexpr std::string_view kCurrencyMask = "$#,##0.00";

bool IsPlaceholder(char c) {
    return c == '#' || c == '0';
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

std::string WideDigits(Wide v) {  // v >= 0; 0 gives ""
    char buf[40];                 // 2^127 has 39 digits
    size_t n = 0;
    // In 64 bits while the value fits: a division of 128 bits is a call of its own.
    while (v > static_cast<Wide>(UINT64_MAX)) {
        buf[n++] = static_cast<char>('0' + static_cast<int>(v % 10));
        v /= 10;
    }
    for (uint64_t u = static_cast<uint64_t>(v); u > 0; u /= 10)
        buf[n++] = static_cast<char>('0' + static_cast<int>(u % 10));
    std::reverse(buf, buf + n);
    return std::string(buf, n);
}

// |value| x scale rounded to `decimals` places, halves away from zero: the integer part and
// the decimal digits.
template <typename T>
void RoundedPartsIn(T a, T d, size_t decimals, Wide& integer_part, std::string& fraction) {
    integer_part = a / d;
    T r = a % d;
    fraction.assign(decimals, '0');
    for (size_t i = 0; i < decimals; ++i) {
        r *= 10;
        fraction[i] = static_cast<char>('0' + static_cast<int>(r / d));
        r %= d;
    }
    if (2 * r >= d) {  // round up, carrying through the decimals into the integer part
        size_t i = decimals;
        while (i > 0) {
            --i;
            if (fraction[i] == '9') {
                fraction[i] = '0';
            } else {
                ++fraction[i];
                return;
            }
        }
        ++integer_part;
    }
}

void RoundedParts(Number value, int64_t scale, size_t decimals, Wide& integer_part,
                  std::string& fraction) {
    Wide a = static_cast<Wide>(value.numerator());
    if (a < 0) a = -a;
    a *= scale;
    const Wide d = value.denominator();
    // In 64 bits when every step fits (the remainder times 10 and twice it included).
    if (a <= INT64_MAX && d <= INT64_MAX / 10) {
        RoundedPartsIn<int64_t>(static_cast<int64_t>(a), static_cast<int64_t>(d), decimals,
                                integer_part, fraction);
    } else {
        RoundedPartsIn<Wide>(a, d, decimals, integer_part, fraction);
    }
}

}  // namespace

Number Number::Scaled(int64_t units, int decimals) {
    int64_t d = 1;
    for (int i = 0; i < std::clamp(decimals, 0, 18); ++i) d *= 10;
    return Number(units, d);
}

Number Number::Ratio(int64_t numerator, int64_t denominator) {
    if (denominator == 0) RaisePlatform(err::kDivisionByZero, "Format");
    if (denominator < 0) {
        if (denominator == INT64_MIN || numerator == INT64_MIN)
            RaisePlatform(err::kOverflow, "Format");
        return Number(-numerator, -denominator);
    }
    return Number(numerator, denominator);
}

std::string FormatNumber(Number value, std::string_view mask) {
    if (EqualsNoCase(mask, kCurrencyFormat)) mask = kCurrencyMask;

    const bool percent = mask.find('%') != std::string_view::npos;
    const size_t dot = mask.find('.');
    const std::string_view int_mask = mask.substr(0, dot);
    const std::string_view frac_mask =
        dot == std::string_view::npos ? std::string_view{} : mask.substr(dot + 1);

    const size_t decimals =
        static_cast<size_t>(std::count_if(frac_mask.begin(), frac_mask.end(), IsPlaceholder));
    Wide integer_part = 0;
    std::string fraction;
    RoundedParts(value, percent ? 100 : 1, decimals, integer_part, fraction);
    const bool negative =
        value.numerator() < 0 &&
        (integer_part != 0 || fraction.find_first_not_of('0') != std::string::npos);

    // Integer part: the digits, padded to the places from the leftmost required digit on.
    std::string digits = WideDigits(integer_part);
    size_t places = 0;
    size_t required = 0;
    bool grouping = false;
    for (char c : int_mask) {
        if (IsPlaceholder(c)) {
            ++places;
            if (c == '0' && required == 0)
                required = 1;  // counted from here to the end
            else if (required > 0)
                ++required;
        } else if (c == ',') {
            grouping = true;
        }
    }
    if (digits.size() < required) digits.insert(0, required - digits.size(), '0');
    grouping = grouping && places > 0;

    std::string out;
    if (negative) out.push_back('-');
    // Each placeholder from the right takes one digit; the leftmost takes all that remain.
    size_t next = 0;  // digits handed out so far, from the left
    const size_t extra = digits.size() > places ? digits.size() - places : 0;
    size_t placeholder = 0;
    auto emit_digit = [&](size_t at) {
        out.push_back(digits[at]);
        const size_t from_right = digits.size() - 1 - at;
        if (grouping && from_right > 0 && from_right % 3 == 0) out.push_back(',');
    };
    for (char c : int_mask) {
        if (IsPlaceholder(c)) {
            // Placeholder number `placeholder` (from the left) shows the digit that lies
            // places - placeholder places from the right, if the number has one.
            const size_t from_right = places - placeholder;  // 1-based
            ++placeholder;
            size_t take = 0;
            if (placeholder == 1) take = extra;
            if (from_right <= digits.size()) ++take;
            for (size_t k = 0; k < take; ++k) emit_digit(next++);
        } else if (c != ',') {
            out.push_back(c);
        }
    }
    while (next < digits.size()) emit_digit(next++);  // a mask without integer places

    if (dot != std::string_view::npos) {
        out.push_back('.');
        // A "#" shows no trailing zero: find the last decimal that must be shown.
        size_t last_shown = 0;  // 1-based; 0 for none
        size_t j = 0;
        for (char c : frac_mask) {
            if (!IsPlaceholder(c)) continue;
            ++j;
            if (c == '0' || fraction[j - 1] != '0') last_shown = j;
        }
        j = 0;
        for (char c : frac_mask) {
            if (IsPlaceholder(c)) {
                ++j;
                if (j <= last_shown) out.push_back(fraction[j - 1]);
            } else {
                out.push_back(c);
            }
        }
    }
    return out;
}

std::string DateNumberText(int32_t mmddyy) {
    return FormatNumber(Number::Whole(mmddyy), "##/##/##");
}

}  // namespace dv
