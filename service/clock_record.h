// clsClock: one record of the shop's time clock, made by a person against a shop job and
// request. Record type 1 is a clock entry (an in-or-out mark with its actual date and time),
// type 2 a part entry (a line code, a part number and a quantity). The status word at 1 says
// which; the two types store some fields at the same places and others in different ones.
// No view reads these records and no file is tied to them here: a caller hands Unpack a record
// string and Pack a string to fill.
//
// Units: times and the quantity are unscaled, as stored; dates are 2-byte day numbers (code C;
// 0 is the empty date 1/1/68). Packed text uses the alphabet in force.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "engine/dates.h"
#include "engine/record_fields.h"

namespace dv {

inline constexpr int32_t kClockEntry = 1;
inline constexpr int32_t kClockPartEntry = 2;

class clsClock {
  public:
    int32_t recordStatus = 0;        // 1 J: 1 clock entry, 2 part entry
    int32_t man = 0;                 // 3 C, both types
    Date enteredDate = EmptyDate();  // 5 C day number, both types
    int32_t enteredTime = 0;         // 7 C, type 1
    Date actualDate = EmptyDate();   // 9 C day number, type 1
    int32_t actualTime = 0;          // 11 C, type 1
    std::string InOut;               // 13, 1 character, type 1 (an empty mark packs a blank)
    int32_t bitsw = 0;               // 14 B, type 1
    int32_t reference = 0;           // 26 L, both types
    int32_t job = 0;                 // 30 C, both types: the shop job number
    int32_t segment = 0;             // 32 B, both types: the job's request, from 0
    int16_t bswUpdated = 0;          // not stored
    int16_t bswEdited = 0;           // not stored
    int16_t bswManualAdd = 0;        // not stored
    std::string Line;                // 9, 2 packed: 3 characters, type 2
    std::string part;                // 11, 12 packed: 18 characters, type 2
    int32_t qty = 0;                 // 23 C, type 2

    // Reads the status word, then the fields of that record type; any other type decodes
    // nothing more. The fields of the other type keep their values. Never raises.
    void Unpack(std::string_view record);
    // Writes the fields of the type recordStatus names (the status word as that type); any
    // other type writes nothing. Never raises.
    void Pack(std::string& record) const;

    // One entry of the layout: the field and the record types that store it (bit 1 type 1,
    // bit 2 type 2).
    struct Entry {
        uint8_t types;
        fields::Field<clsClock> field;
    };
    static std::span<const Entry> Layout();
};

}  // namespace dv
