// Base-40 packed text and part numbers. The alphabet is program-wide: every engine creation
// resets it, and the alphabet switch lasts until the next switch or the next creation.
#pragma once

#include <string>
#include <string_view>

namespace dv {

inline constexpr std::string_view kDefaultAlphabet = " ,/.0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
inline constexpr std::string_view kNameSet = " ,-.";  // names, addresses, remarks
inline constexpr std::string_view kPartSet = " ,/.";  // part numbers (the default)
inline constexpr std::string_view kPositionCodes = "123456789ABCDEFGHIJKL";

// The current 40-character alphabet.
std::string_view Alphabet();
// Back to the default, as an engine creation does.
void ResetAlphabet();
// The alphabet switch: replaces the first four characters when a is 0 and b has exactly four
// characters; anything else does nothing.
void SwitchAlphabet(int32_t a, std::string_view b);

// Pads text with blanks to a multiple of three (in place) and packs it, 2 bytes per 3 chars.
std::string Crm(std::string& text);
// Unpacks 3 characters per 2-byte word; an odd-length argument gets a zero byte appended.
std::string Ucm(std::string& packed);
// The same, for callers that have no string of their own to hand over.
std::string UcmView(std::string_view packed);

// Takes the dashes out of a part number and codes their positions; false when more than three
// positions were recorded.
bool StripCode(std::string& code, std::string& positions);
// Puts the dashes back at the positions coded (the first 18 position codes only).
void RestoreDashes(std::string& part, std::string_view positions);

}  // namespace dv
