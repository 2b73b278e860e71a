// The floor-plan records: clsFloorPlan, one floored unit of FPLNL (found per product line
// through FPLNI, whose 26-byte keys start with the line as a 2-byte C value), and
// clsFloorPlanExtent, one extent of FPEXL: a part line or a remark chained to a unit.
//
// Units: money (Cost, Sold_For_Price, pas_Amount_Paid, and an extent's Cost and Net) is int64_t
// whole cents, as stored. Dates are day numbers under code J; 0 reads as the empty date 1/1/68
// (as does a date past the end of a short record). Every other number is an int32_t as stored.
// Text comes back at its full decoded width, blanks included.
//
// Alphabets: clsFloorPlan decodes and encodes Part_Number under the part-number alphabet
// " ,/." and everything after it under the names alphabet " ,-.", which stays in force when
// Unpack or Pack returns. clsFloorPlanExtent switches none.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "engine/dates.h"
#include "engine/record_fields.h"

namespace dv {

class clsFloorPlan : public fields::TableRecord<clsFloorPlan> {
  public:
    int32_t Line = 0;                  // 3 C
    std::string Part_Number;           // 5, 12 packed: the unit's model, 18 characters
    std::string Serial_Number;         // 17, 12 packed
    std::string Reference_1;           // 29, 6 packed
    std::string Reference_2;           // 35, 4 packed
    Date Date_Received = EmptyDate();  // 39 J
    Date Date_Sold = EmptyDate();      // 41 J: 1/1/68 while unsold
    Date Date_Due = EmptyDate();       // 43 J
    Date Date_Paid = EmptyDate();      // 45 J
    std::string Payment_Reference;     // 47, 4 packed
    int64_t Cost = 0;                  // 51 K, cents
    int64_t Sold_For_Price = 0;        // 54 K, cents
    int32_t Account = 0;               // 57 D
    int32_t Customer_Invoice = 0;      // 60 L: 0 while not invoiced
    Date pas_Date_Due = EmptyDate();   // 64 J
    Date pas_Date_Paid = EmptyDate();  // 66 J
    std::string pas_Payment_Ref;       // 68, 4 packed
    std::string pas_Status;            // 72, 4 packed
    int32_t pas_Serv_Chg_Perc = 0;     // 76 C
    int64_t pas_Amount_Paid = 0;       // 78 K, cents
    int32_t ExtentChain = 0;           // 94 D: the first FPEXL record, 0 for none

    // Unpack (TableRecord): decodes an FPLNL record; a field that fails keeps its value. Never
    // raises. Pack (TableRecord): encodes the fields in place; bytes 1-2 and 81-93 stay. Never
    // raises.

    static std::span<const fields::Field<clsFloorPlan>> Layout();
};

// Where an FPLNL record holds the raw sold day and the invoice, which the views test straight
// from the bytes, and its PARTI key (line and packed model number, bytes 3-16).
inline constexpr int32_t kFloorPlanSoldAt = 41;
inline constexpr int32_t kFloorPlanInvoiceAt = 60;
inline constexpr int32_t kFloorPlanKeyAt = 3;
inline constexpr int32_t kFloorPlanKeyLength = 14;

class clsFloorPlanExtent : public fields::TableRecord<clsFloorPlanExtent> {
  public:
    // The two forms: bytes 3-4 holding 1 to 998 make a part line, anything else a text record
    // whose 3-character code ("REM" for a remark) is the packed text of those bytes.
    static constexpr int32_t kFirstPartLine = 1;
    static constexpr int32_t kLastPartLine = 998;

    int32_t Status = 0;  // 1 C
    // 3: the product line (a number) of a part line, or the text code of a text record.
    std::variant<int32_t, std::string> Line = 0;
    std::string PartNumber;   // 5, 12 packed (part line)
    std::string Comment;      // 5, 24 packed (text record)
    int32_t Quantity = 0;     // 17 J (part line)
    int64_t Cost = 0;         // 19 D, cents (part line)
    int64_t Net = 0;          // 22 D, cents (part line)
    int32_t ExtentChain = 0;  // 29 D: the next extent, 0 ends the chain

    // Unpack (TableRecord): decodes an FPEXL record in the form its bytes 3-4 choose; the other
    // form's fields keep their values. A record too short for bytes 3-4 changes neither form. Never
    // raises. Pack (TableRecord): encodes in the form Line chooses: a number, or a text that reads
    // as a number, writes the part line; any other text the text record. Never raises.

    // The line as the extent grid shows it: the number in decimal, or the text code.
    std::string LineText() const;
    // True when Line holds the text "REM".
    bool IsRemark() const;

    static std::span<const fields::Field<clsFloorPlanExtent>> Layout();
};

// The cost in cents of the part whose 14-byte PARTI key is given (line and packed part
// number): the unsigned D at 61 of its PARTL record on an exact hit, else 0. Engine errors
// reach the caller.
int64_t GetPartCost(const std::string& key);

// True when a floored unit's record says it is neither sold nor invoiced (raises 31 when the
// record is too short for either field).
bool FloorPlanUnitOpen(std::string_view record);
// The cost of a floored unit by the cost rule, in cents.
int64_t FloorPlanUnitCost(int64_t own_cost, std::string_view record);

}  // namespace dv
