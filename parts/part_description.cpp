#include "parts/part_description.h"

#include "engine/business_basic.h"
#include "engine/codec.h"
#include "engine/error.h"
#include "engine/index_cursor.h"
#include "engine/numeric.h"
#include "engine/packed_text.h"
#include "parts/parts_record.h"

namespace dv {
namespace {

// The line number of a line text, or -1 when it is no line number: a PARTI key holds the line
// in two bytes, and a larger number must not wrap onto another line.
int32_t LineNumber(const std::string& line) {
    if (!IsNumeric(line)) return -1;
    try {
        const int32_t n = ParseLong(line, "GetPartDescription");
        return n >= 0 && n <= 65535 ? n : -1;
    } catch (const BasicError&) {
        return -1;
    }
}

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::string GetPartDescription(const std::string& line, const std::string& part) {
    const int32_t line_number = LineNumber(line);
    if (line_number < 0) return kDescriptionNotFound;
    cBusinessBasic* engine = &RequireEngine("GetPartDescription");

    clsParts parts;
    // The key: the line as C, then the packed part number; the search pads it with zero bytes to
    // the index's key length, which is the stored form of a part number ending in blanks.
    std::string key(2, '\0');
    Pack("C", key, line_number, 1);
    std::string trimmed = Trimmed(part);
    key += Crm(trimmed);
    const int32_t record = FindRecord(*engine, "PARTI", key);
    if (record == 0) return kDescriptionNotFound;
    int16_t flag = 0;
    parts.Unpack(engine->LreadFile("PARTL", record, flag));
    return parts.Description;
}

}  // namespace dv
