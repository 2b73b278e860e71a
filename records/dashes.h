// The dash insertion of part numbers the page-chain builders put in their rows.
#pragma once

#include <string>

namespace dv {

// Puts the dashes back into a part number stored without them: for each of the dash codes up
// to the last that is not blank, a code that is one of "123456789ABCDEFGHI", at place k, puts a
// "-" before the k-th character of the part number as it stands after the earlier insertions
// (at its end when it is shorter); other codes insert nothing. The result is also left in
// part_no.
std::string InsertDashes(std::string& part_no, std::string& codes);

}  // namespace dv
