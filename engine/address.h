// Helpers the record classes use while decoding: Y/N flags, and the state and ZIP code picked
// out of a free-text address block of four 30-character lines.
#pragma once

#include <string>
#include <string_view>

namespace dv {

bool YesNoToBool(std::string_view text);
std::string BoolToYesNo(bool flag);

// kind "STATE" looks for a state code, any other kind for a ZIP code. Blanks out ignored lines
// (those starting with a full stop) and turns commas and full stops into blanks, in place.
std::string ParseAddressLine(std::string& address, std::string_view kind);
std::string GetStateFromAddress(std::string& address);
std::string GetZipFromAddress(std::string& address);

bool IsStateCode(std::string_view word);
bool IsZipCode(std::string_view word);

}  // namespace dv
