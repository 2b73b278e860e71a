// clsCounterman: one counterman (or mechanic) record of MANL, continued in EMANL under the same
// record number, found through the index MANI, whose key is the person's number as a 2-byte C
// value. Callers pass the MANL record followed by the EMANL record as one string (positions run
// on across the join), or the MANL record alone, which decodes the fields inside it and keeps
// the others.
//
// Units: every money field is an int64_t of whole cents, as stored (the billed and actual
// figures MTD_ME_Bld to PY_ME_Actual in the record's hundredths); a view divides when it shows
// them. Counts are int32_t as stored. Mechanic is an int16_t 1 or 0.
//
// The record keeps the three lost-sales counts at 190, 192 and 194, after the money blocks; the
// class lists each with its period. Bytes 1-2, 200-204 and everything after 400 are neither read
// nor written.
//
// Text fields come back at their full decoded width, blanks included. The class never switches
// the packed-text alphabet: COUNTERMAN_Alpha and Name decode under whichever alphabet is in
// force.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "engine/dates.h"
#include "engine/record_fields.h"

namespace dv {

class clsCounterman : public fields::TableRecord<clsCounterman> {
  public:
    int32_t COUNTERMAN_Number = 0;   // 3 C
    std::string COUNTERMAN_Alpha;    // 5, 2 packed: 3 characters
    std::string Name;                // 7, 20 packed: 30 characters
    Date Date_Set_Up = EmptyDate();  // 27 mmddyy
    // Today.
    int32_t Todays_Invoices = 0;
    int32_t Todays_Line_Items = 0;
    int64_t Todays_Cash_Recvd = 0, Todays_Charges = 0, Todays_Refunds = 0, Todays_Cr_Memos = 0;
    int64_t Todays_Mdse_Sales = 0, Todays_Mdse_Cost = 0;
    int64_t Todays_Labor_Sales = 0, Todays_Labor_Cost = 0;
    int64_t Todays_Discounts = 0, Todays_Payments = 0, Todays_Taxes = 0;
    int64_t Todays_Paymnt_Disc = 0, Todays_AR_Adjust = 0;
    int32_t Todays_Lost_Sales = 0;  // 190 C
    int64_t SM_Todays_Net_Mdse_Sales = 0, SM_Todays_Net_Mdse_Cost = 0;
    int64_t SM_Todays_Labor_Sales = 0, SM_Todays_Labor_Cost = 0, SM_Todays_Discounts = 0;
    // Month to date.
    int64_t MTD_Mdse_Sales = 0, MTD_Mdse_Cost = 0, MTD_Labor_Sales = 0, MTD_Labor_Cost = 0;
    int64_t MTD_Discounts = 0;
    int64_t SM_MTD_Net_Mdse_Sales = 0, SM_MTD_Net_Mdse_Cost = 0;
    int64_t SM_MTD_Labor_Sales = 0, SM_MTD_Labor_Cost = 0, SM_MTD_Discounts = 0;
    int32_t MTD_Lost_Sales = 0;  // 192 C
    // Year to date.
    int64_t YTD_Mdse_Sales = 0, YTD_Mdse_Cost = 0, YTD_Labor_Sales = 0, YTD_Labor_Cost = 0;
    int64_t YTD_Discounts = 0;
    int64_t SM_YTD_Net_Mdse_Sales = 0, SM_YTD_Net_Mdse_Cost = 0;
    int64_t SM_YTD_Labor_Sales = 0, SM_YTD_Labor_Cost = 0, SM_YTD_Discounts = 0;
    int32_t YTD_Lost_Sales = 0;        // 194 C
    int32_t DrawerOpen_Today = 0;      // 196 B
    int32_t DrawerOpen_Yesterday = 0;  // 197 B
    // One 2-byte C value at 198: the PIN is the value modulo 10000, and a value of 10000 or
    // more marks a mechanic.
    int16_t Mechanic = 0;
    int32_t PinNumber = 0;
    // Billed and actual figures, this month and 1 to 12 months back, then the year, last year
    // and the year before.
    int64_t MTD_ME_Bld = 0, MTD_ME_Act = 0;
    int64_t MTD_ME_Bld_1_back = 0, MTD_ME_Act_1_back = 0;
    int64_t MTD_ME_Bld_2_back = 0, MTD_ME_Act_2_back = 0;
    int64_t MTD_ME_Bld_3_back = 0, MTD_ME_Act_3_back = 0;
    int64_t MTD_ME_Bld_4_back = 0, MTD_ME_Act_4_back = 0;
    int64_t MTD_ME_Bld_5_back = 0, MTD_ME_Act_5_back = 0;
    int64_t MTD_ME_Bld_6_back = 0, MTD_ME_Act_6_back = 0;
    int64_t MTD_ME_Bld_7_back = 0, MTD_ME_Act_7_back = 0;
    int64_t MTD_ME_Bld_8_back = 0, MTD_ME_Act_8_back = 0;
    int64_t MTD_ME_Bld_9_back = 0, MTD_ME_Act_9_back = 0;
    int64_t MTD_ME_Bld_10_back = 0, MTD_ME_Act_10_back = 0;
    int64_t MTD_ME_Bld_11_back = 0, MTD_ME_Act_11_back = 0;
    int64_t MTD_ME_Bld_12_back = 0, MTD_ME_Act_12_back = 0;
    int64_t YTD_ME_Billed = 0, YTD_ME_Actual = 0;
    int64_t LY_ME_Billed = 0, LY_ME_Actual = 0;
    int64_t PY_ME_Billed = 0, PY_ME_Actual = 0;
    // Deposits and rentals.
    int64_t Deposits_In_Today = 0, Deposits_Out_Today = 0;
    int64_t Deposits_In_MTD = 0, Deposits_Out_MTD = 0;
    int64_t Deposits_In_YTD = 0, Deposits_Out_YTD = 0;
    int64_t Rentals_Today = 0, Rental_Parts_Today = 0, Rental_Labor_Today = 0;
    int64_t Rentals_MTD = 0, Rental_Parts_MTD = 0, Rental_Labor_MTD = 0;
    int64_t Rentals_YTD = 0, Rental_Parts_YTD = 0, Rental_Labor_YTD = 0;
    std::string E_Mail_Password;  // 393, 8 characters as stored

    // Unpack (TableRecord): decodes a record string into the fields; a field that fails keeps its
    // value. Never raises. Pack (TableRecord): encodes the fields into record in place; its length
    // never changes, and a field that does not fit (past the end, money beyond 32 bits) leaves its
    // bytes. Never raises.

    // The layout, in the order Unpack and Pack work through it.
    static std::span<const fields::Field<clsCounterman>> Layout();
};

}  // namespace dv
