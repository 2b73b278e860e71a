// The places of a shop-job page of INVOL that are read raw, beside clsShop's decoded fields
// (shop_record.h): the day numbers the Open Shop Work view sorts its date columns by, and the
// call dates the job detail shows. Header-only, so that the sample writer lays its pages out
// from the same positions. Positions are 1-based; a C is a 2-byte day number.
#pragma once

#include <cstdint>

namespace dv::shop_page {

inline constexpr int32_t kCallDaysAt = 21;      // three call dates, C at 21, 23 and 25
inline constexpr int32_t kCompletedDayAt = 93;  // C: the day the job was completed
inline constexpr int32_t kCheckedInDayAt = 95;  // C: the day the job was checked in
// A call day of this value (like 0) stands for a call not made; its date is not shown.
inline constexpr int32_t kNoCallDay = 40699;

// The position of call date i (0 to 2).
constexpr int32_t CallDayAt(int32_t i) {
    return kCallDaysAt + 2 * i;
}

}  // namespace dv::shop_page
