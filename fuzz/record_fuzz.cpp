// Arbitrary records into the record classes: decoding never raises and never reads outside the
// record, and encoding what was decoded keeps the record's length.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/packed_text.h"
#include "fuzz/round_trip.h"
#include "parts/lines_record.h"
#include "parts/parts_record.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string record(reinterpret_cast<const char*>(data), size);
    dv::ResetAlphabet();
    dv::fuzz::RoundTrip<dv::clsLines>(record);
    dv::fuzz::RoundTrip<dv::clsParts>(record);
    return 0;
}
