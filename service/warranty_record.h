// clsWarranty: the header of one warranty claim in WARRL, found through WARRI. The same file
// holds the claim's line pages (a chain that starts at Inv_Ptr), which the warranty detail
// builder reads.
//
// WARRI key: one L at position 1 of a 4-byte key. In the plain arrangement the value is the
// shop reference; where claims are kept by request segment it is shop reference x 100 +
// request, so that the claim of shop reference 7, request 2, has the key 702.
//
// Units: the eight money fields hold the stored whole number unchanged (the claim keeps its
// amounts unscaled, unlike the other records); Hours_Used and Total_Lab_Hrs are unscaled. Dates
// at 272, 284, 403 and 406 are 3-byte mmddyy values, Date_Reconciled a 2-byte day number; a
// date field past the end of a short record, or one that is no date, reads 1/1/68. Text comes
// back at its full decoded width in the alphabet in force: the class never switches it.
//
// Pack leaves the bytes of Date_Reconciled, Date_Billed, Date_Printed, Billed_Inv_No and
// Inv_Ptr as they were.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "engine/dates.h"
#include "engine/record_fields.h"

namespace dv {

// The claim's key in WARRI under the segment arrangement.
inline constexpr int32_t SegmentClaimKey(int32_t shop_reference, int32_t request) {
    return shop_reference * 100 + request;
}

// Misc_Shop_Job_Info: 20 bytes of packed text at 485 (30 characters), the room there is
// before Shop_Job_Type at 505.
inline constexpr int32_t kMiscShopJobInfoBytes = 20;

class clsWarranty : public fields::TableRecord<clsWarranty> {
  public:
    int32_t Status = 0;                       // 1 C: 1 for the claims the views list
    int32_t Distributor = 0;                  // 3 C
    int32_t Shop_Ref = 0;                     // 5 L
    std::array<std::string, 3> Cause_Fail;    // 9, 49, 89: 40 packed each
    std::array<std::string, 3> Work_Perform;  // 129, 169, 209: 40 packed each
    int32_t Engine_received = 0;              // 249 B
    int32_t Parts_Have_Been = 0;              // 250 B
    std::string Product_Model;                // 251, 8 packed
    std::string Engine_Model;                 // 259, 10 packed
    int32_t Hours_Used = 0;                   // 269 D
    Date Date_Fail = EmptyDate();             // 272 D mmddyy
    int32_t Cust_AC = 0;                      // 276 C
    int32_t Cust_Phone = 0;                   // 278 L: seven digits as a number
    int32_t Total_Lab_Hrs = 0;                // 282 C
    Date Date_Purch = EmptyDate();            // 284 D mmddyy
    int32_t Bitswitch_1 = 0;                  // 287 B, the whole byte
    int64_t Part_Amount = 0;                  // 288 L, as stored
    int64_t Labor_Amount = 0;                 // 292 L, as stored
    int64_t Part_Paid_Amount = 0;             // 296 L, as stored
    int64_t Labor_Paid_Amount = 0;            // 300 L, as stored
    std::string Soldby_Name;                  // 304, 20 packed
    std::string Soldby_Address;               // 324, 20 packed
    int64_t PD_Charge = 0;                    // 344 D, as stored
    int64_t PD_Paid = 0;                      // 347 D, as stored
    int32_t Reconciled_Inv_No = 0;            // 350 L
    std::string Soldby_City;                  // 354, 16 packed
    std::string Soldby_State;                 // 370, 2 packed
    std::string Soldby_Zip;                   // 372, 6 packed
    int32_t Soldby_AC = 0;                    // 378 C
    int32_t Soldby_Phone = 0;                 // 380 L
    int64_t Tax_Totals = 0;                   // 384 L, as stored
    int64_t B_Tax_Totals = 0;                 // 388 L, as stored
    Date Date_Reconciled = EmptyDate();       // 401 J day number (read only)
    Date Date_Billed = EmptyDate();           // 403 D mmddyy (read only)
    Date Date_Printed = EmptyDate();          // 406 D mmddyy (read only)
    int32_t Cust_No = 0;                      // 409 L (key of CUSTI)
    std::string Cust_Name;                    // 413, 20 packed
    std::string Repair_Brand;                 // 433, 10 packed
    std::string Repair_Equip_Desc;            // 443, 14 packed
    std::string Serial_1;                     // 457, 12 packed
    std::string Serial_2;                     // 469, 12 packed
    int32_t Billed_Inv_No = 0;                // 481 L (read only)
    std::string Misc_Shop_Job_Info;           // 485, 20 packed
    int32_t Shop_Job_Type = 0;                // 505 B
    int32_t Job_No = 0;                       // 507 C
    int32_t Inv_Ptr = 0;  // 509 L: WARRL record of the claim's head page (read only)

    // Unpack (TableRecord): decodes a header into the fields; a field the record does not hold
    // keeps its value. Never raises. Pack (TableRecord): encodes the fields into record in place,
    // except the five read-only ones. Never raises.

    static std::span<const fields::Field<clsWarranty>> Layout();
};

}  // namespace dv
