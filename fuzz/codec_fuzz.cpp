// Feeds arbitrary records to the field codecs, packed text, part-number and date helpers, and
// the address parser. Nothing here may crash, hang or read outside the record; the codecs raise
// BasicError for fields outside the record, which is the expected way out.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/address.h"
#include "engine/codec.h"
#include "engine/dates.h"
#include "engine/error.h"
#include "engine/packed_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    // The first byte picks a position, the second a code; the rest is the record.
    const int32_t position = static_cast<int32_t>(data[0]) - 8;
    static const char* kCodes[] = {"B", "I", "C", "J", "D", "K", "L", "R", "x", "j"};
    const char* code = kCodes[data[1] % 10];
    std::string record(reinterpret_cast<const char*>(data + 2), size - 2);

    try {
        const int32_t v = dv::Unpack(code, record, position);
        std::string copy = record;
        dv::Pack(code, copy, v, position);
        if (copy != record) __builtin_trap();  // a field read and written back is unchanged
    } catch (const dv::BasicError&) {
    }
    dv::UnPackDate(code, record, position);
    try {
        std::string copy = record;
        dv::PackDate(code, copy, position, dv::UnPackDate(code, record, position));
        if (copy.size() != record.size()) __builtin_trap();
    } catch (const dv::BasicError&) {
    }

    dv::ResetAlphabet();
    if (data[1] & 0x80) dv::SwitchAlphabet(0, dv::kNameSet);
    std::string packed = record;
    const std::string text = dv::Ucm(packed);
    std::string again = text;
    dv::Crm(again);

    std::string part = record.substr(0, 40);
    std::string positions;
    dv::StripCode(part, positions);
    dv::RestoreDashes(part, positions);
    std::string codes = record.substr(0, 5);
    std::string restored = text.substr(0, 18);
    dv::RestoreDashes(restored, codes);

    std::string address = record.substr(0, 120);
    dv::GetStateFromAddress(address);
    address = record.substr(0, 120);
    dv::GetZipFromAddress(address);
    dv::Split(record, record.substr(0, data[0] % 3), -1, data[1] & 1);
    dv::Trun(record, data[0] & 1);
    return 0;
}
