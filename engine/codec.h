// The binary field codec and the small text helpers of the engine. Record strings are byte
// strings, one char per byte; positions are 1-based, as in the dealer's record layouts.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/bytes.h"
#include "engine/field_codes.h"

namespace dv {

// The field type of a one-letter code, matched without regard to case; raises 100 with the
// given source ("UnPack" or "Pack") for any other code.
FieldCode LookupCode(std::string_view code, const char* source);

// Unpack with every check: what the inline Unpack below leaves to it (a code of another case or
// length, a field not inside its data) and every error.
int32_t UnpackChecked(std::string_view code, std::string_view data, int32_t position);

// The field of `code` at 1-based `position` of `data`, sign- or zero-extended to 32 bits. A
// field of one upper-case code that lies inside its data is decoded in line.
inline int32_t Unpack(std::string_view code, std::string_view data, int32_t position) {
    if (code.size() == 1 && position >= 1) {
        const FieldCode fc = UpperFieldCode(code[0]);
        if (fc.width != 0 &&
            static_cast<int64_t>(position) + fc.width - 1 <= static_cast<int64_t>(data.size())) {
            const uint32_t raw = bytes::GetBE(data.data() + position - 1, fc.width);
            return fc.is_signed ? bytes::SignExtend(raw, fc.width) : static_cast<int32_t>(raw);
        }
    }
    return UnpackChecked(code, data, position);
}
// Writes the low bytes of value at `position`; never changes data's length.
void Pack(std::string_view code, std::string& data, int32_t value, int32_t position);

int32_t Min(int32_t a, int32_t b);
int32_t Max(int32_t a, int32_t b);

// Mode 0: trailing blanks removed. Any other mode: trailing NUL, tab, LF, CR and blanks.
std::string Trun(std::string_view text, int32_t mode);

// Sets position to the 1-based place of the first `sought` in `text`, or 0.
void StrPos(int32_t& position, std::string_view text, std::string_view sought);

// The non-empty pieces of text between delimiters. limit -1: no limit; compare 0 exact,
// 1 without regard to case.
std::vector<std::string> Split(std::string_view text, std::string_view delimiter,
                               int32_t limit = -1, int32_t compare = 0);

}  // namespace dv
