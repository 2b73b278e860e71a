// clsCustomers: one customer of CUSTL, continued in ECUSTL under the same record number, found
// through the index CUSTI, whose key is the customer number as a 4-byte L value. The record
// string is CUSTL's record followed by ECUSTL's; positions run on across the join, wherever
// CUSTL's record length puts it. CUSTL alone decodes what lies inside it.
//
// Units: money fields are int64_t whole cents as stored. Credit_Limit is whole currency units;
// High_Credit, Min_Autofill_Amt and MTD_Deposits are taken as stored. Flags are int16_t 1 or 0.
//
// The alphabet: Unpack and Pack decode and encode the name and the three address lines under
// the name set " ,-." and every other packed field under the default " ,/.", and leave the
// default in force whatever was in force before.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "engine/dates.h"
#include "engine/record_fields.h"

namespace dv {

class cBusinessBasic;

class clsCustomers {
  public:
    int32_t Account = 0;             // 3 D
    std::string Name;                // 6, 20 packed: 30 characters, name set
    std::string Address_Line_1;      // 26
    std::string Address_Line_2;      // 46
    std::string Address_Line_3;      // 66
    std::string State;               // found in the name and address text; not stored
    std::string Zip_Code;            // the same
    int32_t Area_Code = 0;           // 86 C, not clamped
    int32_t Phone_Number = 0;        // 88 L, not clamped
    int16_t Part_Sales_Trackng = 0;  // 92 bit 0
    int16_t Partial_Ship = 0;        // 92 bit 1
    int16_t Back_Order_Cust = 0;     // 92 bit 2
    int16_t Line_Sales_Trackng = 0;  // 92 bit 3
    int32_t Default_Ship_Type = 0;
    int32_t Category = 0;
    int32_t SalesMan = 0;
    std::string Credit_Code;  // 96, one character; "G" a charge customer
    std::string Tax_Default;  // 97
    int32_t Tax_Table = 0;
    int32_t Branch_Code = 0;
    std::string AR_Type;  // 100
    int32_t Discount_Code = 0;
    int32_t Serv_Charge_Code = 0;
    int32_t Credit_Limit = 0;  // 103 L: whole currency units
    int32_t Price_Matrix = 0;
    int32_t Default_Level = 0;
    int32_t Percentage_Bump = 0;           // 110 J, signed
    Date Date_SetUp = EmptyDate();         // 112 mmddyy
    Date Date_of_Last_Sale = EmptyDate();  // 115 mmddyy
    Date Date_of_Last_Pmt = EmptyDate();   // 118 mmddyy
    int64_t MTD_Sales = 0;                 // cents
    int64_t MTD_COGS = 0;
    int64_t MTD_Charges = 0;
    int64_t MTD_Credits = 0;
    int64_t MTD_Payments = 0;
    int64_t MTD_Adjustmnts = 0;
    int64_t MTD_Discounts = 0;
    int64_t MTD_Tot_Bal = 0;
    int64_t Statement_MTD = 0;
    int64_t Statement_30_days = 0;
    int64_t Statement_60_days = 0;
    int64_t Statement_90_days = 0;
    int64_t Statement_Tot_Due = 0;
    int64_t YTD_Sales = 0;
    int64_t YTD_COGS = 0;
    int32_t Alternate_Tax_Code = 0;
    std::string Group_Code;  // 183
    int32_t Responsibility_Cd = 0;
    int16_t PO_Required = 0;  // 185 bits 0 to 7
    int16_t Approval_Required = 0;
    int16_t Print_Balance = 0;
    int16_t Print_Duplicate = 0;
    int16_t Prompt_Delivery = 0;
    int16_t Dead_Account = 0;
    int16_t Write_Off = 0;
    int16_t Prompt_Ship_To = 0;
    int64_t PYTD_Sales = 0;  // cents
    int64_t PYTD_COGS = 0;
    Date Date_of_Last_Close = EmptyDate();  // 194 yymmdd
    int32_t DetailChain = 0;                // 197 L; followed nowhere
    int32_t Phone_Number_2 = 0;             // 201 L; 0 when outside 0 to 9,999,999
    std::string Contact_1;                  // 205, 12 packed: 18 characters, default set
    std::string CONTACT_2;                  // 217
    std::string Sales_Tax_No;               // 229, 8 packed: 12 characters
    std::string Delivery_Zone;              // 237, five characters
    int32_t Orders_MTD = 0;                 // 242 K, signed counts
    int32_t Orders_Filled_MTD = 0;
    int32_t Orders_YTD = 0;
    int32_t Orders_Filled_YTD = 0;
    int32_t Orders_PYTD = 0;
    int32_t Orders_Filled_PYTD = 0;
    std::string Duns_Number;  // 260, 10 packed: 15 characters
    int32_t Times_Past_Due_30 = 0;
    int32_t Times_Past_Due_60 = 0;
    int32_t Times_Past_Due_90 = 0;
    int32_t High_Credit = 0;       // 273 L, as stored
    int32_t Min_Autofill_Amt = 0;  // 277 L, as stored
    int32_t MTD_Deposits = 0;      // 281 L, as stored
    int32_t Area_Code_2 = 0;       // 285 C; 0 when above 999
    int32_t Area_Code_3 = 0;       // 287 C; 0 when above 999
    int32_t Phone_Number_3 = 0;    // 289 L; 0 when outside 0 to 9,999,999
    int32_t Note_Chain = 0;        // 297 L; followed nowhere
    int32_t RecNo = 0;             // not part of the record

    // Decodes a record string (CUSTL, or CUSTL and ECUSTL joined). Never raises; a field that
    // fails keeps its value, a date past the end reads as 1/1/68.
    void Unpack(std::string_view record);
    // Encodes the fields into record in place; its length never changes. Never raises. The
    // clamps of Unpack are not applied; State, Zip_Code and RecNo are not written.
    void Pack(std::string& record) const;

    // The layout, in the order Unpack and Pack work through it.
    static std::span<const fields::Field<clsCustomers>> Layout();
};

inline constexpr const char* kCustomerNameNotFound = "Customer Name Not Found";

// The name of the customer that CUSTI holds under this number (two's complement in the key),
// read from CUSTL alone: 30 characters, trailing blanks kept. "Customer Name Not Found" for a
// number CUSTI does not hold. Engine errors (a file that does not resolve, a record number
// outside CUSTL) reach the caller.
std::string GetCustomerName(int32_t customer_number);

// The customer of an account: its CUSTL and ECUSTL records joined and decoded into customer;
// false (customer untouched) when CUSTI holds no such account.
bool ReadCustomer(cBusinessBasic& engine, int32_t account, clsCustomers& customer);

// The customer's name as the views read it raw: the 20 packed bytes at 6 of its CUSTL record,
// decoded in the alphabet an earlier decoding left in force (30 characters, untrimmed). Empty
// when CUSTI holds no such account; raises the engine's errors.
std::string RawCustomerName(cBusinessBasic& engine, int32_t account);

}  // namespace dv
