#include "service/clock_record.h"

#include <array>

#include "engine/error.h"

namespace dv {
namespace {

using C = clsClock;
using namespace fields;

constexpr uint8_t kType1 = 1, kType2 = 2, kBoth = kType1 | kType2;

const std::array kLayout = {
    C::Entry{kBoth, Long<C>("man", 3, 'C', &C::man)},
    C::Entry{kBoth, DateField<C>("enteredDate", 5, 'C', &C::enteredDate)},
    C::Entry{kType1, Long<C>("enteredTime", 7, 'C', &C::enteredTime)},
    C::Entry{kType1, DateField<C>("actualDate", 9, 'C', &C::actualDate)},
    C::Entry{kType1, Long<C>("actualTime", 11, 'C', &C::actualTime)},
    C::Entry{kType1, Text<C>("InOut", 13, 1, &C::InOut)},
    C::Entry{kType1, Long<C>("bitsw", 14, 'B', &C::bitsw)},
    C::Entry{kType2, Packed<C>("Line", 9, 2, &C::Line)},
    C::Entry{kType2, Packed<C>("part", 11, 12, &C::part)},
    C::Entry{kType2, Long<C>("qty", 23, 'C', &C::qty)},
    C::Entry{kBoth, Long<C>("reference", 26, 'L', &C::reference)},
    C::Entry{kBoth, Long<C>("job", 30, 'C', &C::job)},
    C::Entry{kBoth, Long<C>("segment", 32, 'B', &C::segment)},
};

uint8_t TypeBit(int32_t status) {
    if (status == kClockEntry) return kType1;
    if (status == kClockPartEntry) return kType2;
    return 0;
}

}  // namespace

std::span<const clsClock::Entry> clsClock::Layout() {
    return kLayout;
}

void clsClock::Unpack(std::string_view record) {
    if (BinaryFits('J', 1, record.size())) recordStatus = dv::Unpack("J", record, 1);
    const uint8_t type = TypeBit(recordStatus);
    if (type == 0) return;
    for (const Entry& e : kLayout) {
        if ((e.types & type) == 0) continue;
        try {
            UnpackField(e.field, *this, record);
        } catch (const BasicError&) {
            // The field keeps what it held.
        }
    }
}

void clsClock::Pack(std::string& record) const {
    const uint8_t type = TypeBit(recordStatus);
    if (type == 0) return;
    try {
        dv::Pack("J", record, recordStatus, 1);
    } catch (const BasicError&) {
    }
    for (const Entry& e : kLayout) {
        if ((e.types & type) == 0) continue;
        try {
            PackField(e.field, *this, record);
        } catch (const BasicError&) {
            // The bytes stay as they were.
        }
    }
}

}  // namespace dv
