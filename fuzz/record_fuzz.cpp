// Arbitrary records into the record classes: decoding never raises and never reads outside the
// record, and encoding what was decoded keeps the record's length.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/packed_text.h"
#include "parts/lines_record.h"
#include "parts/parts_record.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string record(reinterpret_cast<const char*>(data), size);
    dv::ResetAlphabet();
    dv::clsLines lines;
    lines.Unpack(record);
    std::string packed = record;
    lines.Pack(packed);
    if (packed.size() != record.size()) __builtin_trap();

    dv::clsParts part;
    part.Unpack(record);
    packed = record;
    part.Pack(packed);
    if (packed.size() != record.size()) __builtin_trap();
    return 0;
}
