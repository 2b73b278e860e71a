// The part-description lookup: a product line and a part number in, the part's description
// out. It finds the part through PARTI and decodes its PARTL record with clsParts.
#pragma once

#include <string>

namespace dv {

inline constexpr const char* kDescriptionNotFound = "Description Not Found";

// line: the product-line number in decimal digits. part: the part number without dashes as
// stored (blanks at either end do not matter). Returns the part's 21-character Description,
// trailing blanks kept, or "Description Not Found" when PARTI holds no exact entry for the
// line and part, or when line is no number from 0 to 65535. Engine errors (a missing PARTI
// or PARTL) reach the caller.
std::string GetPartDescription(const std::string& line, const std::string& part);

}  // namespace dv
