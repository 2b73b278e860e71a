// The binary field codes of the dealer's record layouts: one table, read by the codec, the
// record classes' field tables and the sample writer alike. Header only, including nothing of
// the tree, so that the writer lays its fields out from the same widths the reader decodes.
#pragma once

#include <array>

namespace dv {

// One field type: its code letter, width in bytes and whether it is signed.
struct FieldCode {
    char code;
    int width;
    bool is_signed;
};

// The field types, by their upper-case code letters.
inline constexpr FieldCode kFieldCodes[] = {
    {'B', 1, false}, {'I', 1, true}, {'C', 2, false}, {'J', 2, true},
    {'D', 3, false}, {'K', 3, true}, {'L', 4, true},
};

// The field type of every upper-case code letter by its byte value; width 0 for no code.
inline constexpr std::array<FieldCode, 256> kUpperFieldCodes = [] {
    std::array<FieldCode, 256> table{};
    for (const FieldCode& fc : kFieldCodes) table[static_cast<unsigned char>(fc.code)] = fc;
    return table;
}();

// The field type of an upper-case code letter; width 0 for any other character.
constexpr FieldCode UpperFieldCode(char code) {
    return kUpperFieldCodes[static_cast<unsigned char>(code)];
}

}  // namespace dv
