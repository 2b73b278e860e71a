#include "engine/numeric.h"

#include <cctype>
#include <cmath>
#include <string>

#include "engine/error.h"

namespace dv {
namespace {

// Parses the number form; on success sets value (as a long double) and returns true.
bool ParseNumber(std::string_view text, long double& value) {
    size_t i = 0;
    const size_t n = text.size();
    while (i < n && text[i] == ' ') ++i;
    size_t end = n;
    while (end > i && text[end - 1] == ' ') --end;
    if (i == end) return false;
    std::string normal;
    if (text[i] == '+' || text[i] == '-') normal.push_back(text[i++]);
    size_t digits = 0;
    while (i < end && std::isdigit(static_cast<unsigned char>(text[i]))) {
        normal.push_back(text[i++]);
        ++digits;
    }
    if (i < end && text[i] == '.') {
        normal.push_back(text[i++]);
        while (i < end && std::isdigit(static_cast<unsigned char>(text[i]))) {
            normal.push_back(text[i++]);
            ++digits;
        }
    }
    if (digits == 0) return false;
    if (i < end && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
        normal.push_back('e');
        ++i;
        if (i < end && (text[i] == '+' || text[i] == '-')) normal.push_back(text[i++]);
        size_t exp_digits = 0;
        while (i < end && std::isdigit(static_cast<unsigned char>(text[i]))) {
            normal.push_back(text[i++]);
            ++exp_digits;
        }
        if (exp_digits == 0) return false;
    }
    if (i != end) return false;
    value = std::strtold(normal.c_str(), nullptr);
    return true;
}

}  // namespace

bool IsNumeric(std::string_view text) {
    long double v = 0;
    return ParseNumber(text, v);
}

int32_t ParseLong(std::string_view text, const char* source) {
    long double v = 0;
    if (!ParseNumber(text, v)) RaisePlatform(err::kTypeMismatch, source);
    const long double r = std::nearbyintl(v);  // the default rounding mode is half to even
    if (!(r >= -2147483648.0L && r <= 2147483647.0L)) RaisePlatform(err::kOverflow, source);
    return static_cast<int32_t>(r);
}

}  // namespace dv
