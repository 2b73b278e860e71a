// clsShop: one shop-job page of INVOL, decoded for its job-level fields. A shop job is a chain
// of such pages from its head page (the highest page number) down to page 1; the open shop-job
// table of FILE0 points each open job at its head page. INVOL also holds invoice pages; a
// shop-job page carries the status word 80 or 81, but the class decodes whatever record it is
// handed and does not test the word.
//
// Where it differs from the invoice page of the same file: segment (byte 97, the request the
// page's lines belong to), the Shop flag bit, Packing_Slip_No at 151, Category at 156, the
// ship-to rule at 141 and Transaction_Type reduced to its last digit.
//
// Units: Sub_Total, Discount_Amount and Tax_Amount are whole cents as stored;
// ReplacementEstimate and EstimateAmount are whole units, as stored; Meter is in tenths, as
// stored. Dates are day numbers (the empty date 1/1/68 for 0, and for a date field that lies
// past the end of a short record). Text fields come back at their full decoded width, in the
// packed-text alphabet in force: the class never switches it.
//
// Byte 97 is shared: it is segment, and the high byte of WarrVend[1] (C at 97). Pack writes
// WarrVend[1] after segment, so the byte ends as WarrVend[1]'s high byte.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "engine/control_file.h"
#include "engine/dates.h"
#include "engine/record_fields.h"

namespace dv {

// The status words of a shop-job page.
inline constexpr int32_t kShopPageStatus = 80;
inline constexpr int32_t kShopPageStatusAlt = 81;

class clsShop : public fields::TableRecord<clsShop> {
  public:
    int32_t Record_Status = 0;            // 1 J
    int32_t Account = 0;                  // 3 L: customer (key of CUSTI)
    int32_t ShipTo = 0;                   // 7 D, then the rule at 141 (see Unpack)
    int64_t ReplacementEstimate = 0;      // 10 C, whole units
    int32_t TaxCode = 0;                  // not stored
    int32_t AlternateTaxCode = 0;         // 12 C
    int64_t Meter = 0;                    // 14 D, tenths
    Date ScheduleDate = EmptyDate();      // 17 J
    Date PostCardDate = EmptyDate();      // 19 J
    std::array<Date, 3> CallDates{};      // 21, 23, 25 J; rebuilt by every Unpack
    std::string RepairBrand;              // 27, 10 packed: 15 characters
    std::string RepairBrandDescription;   // 37, 14 packed: 21 characters
    std::string SerialNumber1;            // 51, 12 packed: 18 characters
    std::string SerialNumber2;            // 63, 12 packed: 18 characters
    int32_t ShopReference = 0;            // 75 L
    int32_t Mechanic = 0;                 // 79 B (key of MANI)
    int32_t PostCardCount = 0;            // 80 B
    int64_t EstimateAmount = 0;           // 81 C, whole units
    Date PromiseDate = EmptyDate();       // 83 J
    Date DeliveryDate = EmptyDate();      // 85 J
    std::string POReference;              // 87, 6 packed: 9 characters
    Date DateCompleted = EmptyDate();     // 93 J
    Date DateCheckedIn = EmptyDate();     // 95 J
    int32_t segment = 0;                  // 97 B: the page's request, from 0
    std::string Status;                   // 99, 1 character
    int32_t DeliveryCode = 0;             // 100 B
    int32_t JobNumber = 0;                // 101 C
    int32_t TimeIn = 0;                   // 103 C, unscaled
    std::string PhoneNumber2;             // 105, 8 packed: 12 characters (110-112 also the link)
    int32_t Counterman = 0;               // 113 B (key of MANI)
    int32_t SalesMan = 0;                 // 114 B
    int32_t Page = 0;                     // 115 B
    int16_t Rental = 0;                   // 116 bit value 64: 1 or 0
    int16_t Shop = 0;                     // 116 bit value 128: 1 or 0
    int32_t Distributor = 0;              // not stored
    std::array<int32_t, 2> WarrVend{};    // C at 117, C at 97; rebuilt by every Unpack
    std::string Warranty;                 // 119, 1 character: "Y" a warranty job
    std::array<int32_t, 3> CallStatus{};  // B at 120, 121, 122; rebuilt by every Unpack
    int32_t Transaction_Type = 0;         // 123 B mod 10, see Unpack
    int32_t Delivery_Code = 0;            // 124 B
    int64_t Sub_Total = 0;                // 125 L, cents
    int32_t Disc_Percentage = 0;          // 129 J
    int64_t Discount_Amount = 0;          // 131 L, cents
    int32_t Tax_Rate = 0;                 // 135 C
    int64_t Tax_Amount = 0;               // 137 L, cents
    int32_t Department = 0;               // 145 B
    std::string Sales_Code;               // 147, 1 character
    std::string Tax_Code;                 // 148, 1 character
    int32_t Tax_Rate_Code = 0;            // 149 B
    int32_t Price_Code = 0;               // not stored
    int32_t Packing_Slip_No = 0;          // 151 L
    int32_t Category = 0;                 // 156 B
    int32_t Terms_Code = 0;               // 157 B
    int64_t Down_Payment = 0;             // not stored
    int32_t RecordNumber = 0;  // not stored: the page's INVOL record number, set by callers
    std::string Notes;         // not stored
    int32_t Codes = 0;         // not stored

    // Unpack (TableRecord): decodes a page into the fields, in the layout's order. Besides the
    // plain fields:
    //   - ShipTo: first D at 7; then, after Tax_Amount, K at 141: three bytes of 255 (K = -1)
    //     give Account, anything else the same three bytes unsigned.
    //   - Transaction_Type: B at 123 mod 10; when the page's Sub_Total (L at 125) is below 0,
    //     3 becomes 1 and 4 becomes 2.
    //   - The three arrays start from zeros (the empty date) on every call; an element past the
    //     end of a short record stays so.
    // A field that does not fit in a short record keeps its value. Never raises.
    // Pack (TableRecord): encodes the fields into record in place (ShipTo both as D at 7 and as K
    // at 141; a type 1 or 2 with a negative Sub_Total is written as 3 or 4). Never raises; nothing
    // in the program calls it.

    static std::span<const fields::Field<clsShop>> Layout();
};

// The open shop-job table in FILE0 (blocks 451-458, then 501-571, 128 slots of an L INVOL
// record number each): the slot of a job and the head page it holds.
namespace err {
inline constexpr int32_t kJobNumber = 1040;  // a job number outside the open shop-job table
}

// The highest job number the table holds (the last slot of block 571 in use).
inline constexpr int32_t kLastJobNumber = file0::kLastJobNumber;

// The block and 1-based position of job j's slot: j \ 128 + 451 below 1000, else
// (j - 999) \ 128 + 501; slot j mod 128 at (j mod 128) x 4 + 1. Raises 1040 ("Job number
// outside the open shop-job table: j") for a number below 0 or above kLastJobNumber.
void JobSlotOf(int32_t job, int32_t& block, int32_t& position);
// The INVOL record number the table holds for a job (GetJob). Raises 1040 as above and the
// engine's errors.
int32_t GetJob(int32_t job);

}  // namespace dv
