#include "records/dashes.h"

#include "engine/packed_text.h"

namespace dv {

std::string InsertDashes(std::string& part_no, std::string& codes) {
    RestoreDashes(part_no, codes);
    return part_no;
}

}  // namespace dv
