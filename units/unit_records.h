// The unit records: clsUnits, one serial-numbered unit of UNITL (found through UNITI by its
// 8-character unit number, and per product line through LUNITI, whose 10-byte keys start with
// the line as a 2-byte C value); clsUnitsLedger, one entry of a unit's cost ledger in LUNITL;
// clsUnitnotes, one note on a unit (84 bytes); clsUnitsHistory, one service-history entry
// (256 bytes). A unit heads three chains by record number: SubLedgerChain into LUNITL,
// NoteChain and HistoryChain; each entry's Chain names the next, 0 ends it (record_chain.h
// walks them).
//
// Units: money is int64_t whole cents as stored; dates are day numbers under code J (0, and a
// date past the end of a short record, read as the empty date 1/1/68); every other number is
// an int32_t as stored. Text of clsUnits, clsUnitsLedger and clsUnitsHistory comes back at
// full width, blanks and NULs kept; clsUnitnotes trims blanks at both ends of its three texts.
// None of these classes switches the packed-text alphabet.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "engine/dates.h"
#include "engine/record_fields.h"

namespace dv {

class clsUnits : public fields::TableRecord<clsUnits> {
  public:
    int32_t Line = 0;                               // 3 C
    std::string Model_Number;                       // 5, 12 packed: 18 characters
    std::string Model_Number_W_Dash;                // 5, 14 packed: 21 characters
    std::string Unit_Number;                        // 20, 8: the UNITI key
    std::string Model_Description;                  // 28, 14 packed
    std::string Make_or_Manufacturer;               // 42, 15
    std::string Unit_Serial_Number;                 // 57, 12 packed
    std::string Manufacturers_Identificati;         // 69, 5
    int32_t Model_Year = 0;                         // 74 C
    std::string Model_Series_Number;                // 76, 4
    std::string Engine_Type;                        // 80, 2
    std::string Engine_ID_Number;                   // 82, 12
    std::string Drive_type_2wd_4wd;                 // 94, 2
    std::string Unit_Color;                         // 96, 5
    int32_t Meter_Reading = 0;                      // 101 D, whole as stored
    std::string Unit_Status_A_R_S_U;                // 104, 1
    std::string User_Defined_Unit_Type;             // 105, 1
    std::string Location_of_Unit;                   // 106, 6
    int32_t User_Defined_Numeric_1 = 0;             // 112 L
    int32_t User_Defined_Numeric_2 = 0;             // 116 L
    std::string User_Defined_Alpha_1;               // 120, 12
    std::string User_Defined_Alpha_2;               // 132, 12
    int32_t Sold_To_Customer_Number = 0;            // 144 D
    Date Date_Received_In = EmptyDate();            // 147 J
    Date Date_Sold = EmptyDate();                   // 149 J: 1/1/68 while in stock
    int32_t Sold_Invoice_Number = 0;                // 151 L
    int64_t Dealers_List_Price = 0;                 // 155 L, cents
    int64_t Suggested_LIst_Price = 0;               // 159 L, cents
    int64_t Amount_Sold_For = 0;                    // 163 L, cents
    Date Factory_Warranty_Expiratio = EmptyDate();  // 167 J
    Date Extended_Warranty_Expirati = EmptyDate();  // 169 J
    std::string User_Defined_Warranty_Code;         // 171, 2
    int64_t Extended_Warranty_Cost = 0;             // 173 L, cents
    std::string Flooring_Number;                    // 177, 7 packed (an odd count: 12 characters)
    int32_t GL_Inventory_Account_No = 0;            // 184 L
    int32_t GL_Cost_Goods_Account_No = 0;           // 188 L
    int32_t GL_Over_Allow_Account_No = 0;           // 192 L
    int32_t Flooring_Line = 0;                      // 196 C
    std::string Unit_Number_Traded_Against;         // 198, 8
    int32_t Accounts_Payable_Vendor_No = 0;         // 206 L
    int32_t Selling_Salesman_Number = 0;            // 210 B
    std::string FlooringInvoice;                    // 211, 9
    std::string FlooringPayment;                    // 220, 9
    Date FlooringDateDue = EmptyDate();             // 229 J
    Date FlooringDatePaid = EmptyDate();            // 231 J
    int32_t NoteChain = 0;                          // 501 L
    int32_t SubLedgerChain = 0;                     // 505 L: the first LUNITL entry
    int32_t HistoryChain = 0;                       // 509 L

    // Unpack (TableRecord): decodes a UNITL record; a field that fails keeps its value. Never
    // raises. Pack (TableRecord): encodes in place, Model_Number before Model_Number_W_Dash (which
    // wins bytes 5-18).

    static std::span<const fields::Field<clsUnits>> Layout();
};

// Where a UNITL record holds the unit number, the UNITI key.
inline constexpr int32_t kUnitNumberAt = 20;
inline constexpr int32_t kUnitNumberLength = 8;

class clsUnitsLedger : public fields::TableRecord<clsUnitsLedger> {
  public:
    int32_t Line = 0;                     // 3 C
    std::string Unit_Number;              // 5, 8
    Date Transaction_Date = EmptyDate();  // 13 J
    std::string Journal_Type;             // 15, 2
    int32_t Journal_Number = 0;           // 17 C
    std::string Transaction_Description;  // 19, 30
    int32_t Account = 0;                  // 49 L
    int64_t Amount = 0;                   // 57 L, cents, signed
    int32_t Chain = 0;                    // 61 L: the next entry, 0 ends

    static std::span<const fields::Field<clsUnitsLedger>> Layout();
};

class clsUnitnotes : public fields::TableRecord<clsUnitnotes> {
  public:
    int32_t NoteType = 0;         // 1 C: 1 a dated note, 2-4 a quantity; others neither
    std::string UnitNumber;       // 3, 8, trimmed
    std::string Code;             // 11, 12, trimmed
    int32_t Quantity = 0;         // 23 C, note types 2, 3 and 4
    Date NoteDate = EmptyDate();  // 23 J, note type 1
    std::string Description;      // 25, 36, trimmed
    int64_t Cost = 0;             // 61 L, cents
    int64_t List = 0;             // 65 L, cents
    int32_t ShopReference = 0;    // 69 L
    int32_t Chain = 0;            // 81 L

    // Unpack (TableRecord): bytes 23-24 are read as the NoteType just decoded chooses.
    // Pack (TableRecord): texts are written left-justified, blank-padded and cut to their widths.

    static std::span<const fields::Field<clsUnitnotes>> Layout();
};

class clsUnitsHistory : public fields::TableRecord<clsUnitsHistory> {
  public:
    int32_t Line = 0;                          // 3 C
    std::string UnitNumber;                    // 5, 8
    Date DateServiced = EmptyDate();           // 13 J
    int32_t InvoiceNumber = 0;                 // 15 L
    std::array<std::string, 3> WorkPerformed;  // 19, 67, 115: 48 each
    int32_t Account = 0;                       // 163 L
    std::string WarrantySwitch;                // 167, 1
    int32_t ShopRef = 0;                       // 168 L
    int64_t Amount = 0;                        // 172 L, cents
    int32_t Chain = 0;                         // 253 L

    // Pack (TableRecord): the three work lines and WarrantySwitch replace only as many bytes as
    // they hold (cut at their widths); the rest of each slot keeps the record's bytes.

    static std::span<const fields::Field<clsUnitsHistory>> Layout();
};

// True when a decoded unit is in stock.
bool UnitInStock(const clsUnits& unit);
// The sum in cents of the ledger chain from record first of LUNITL. Raises 1020/1021 on a
// broken chain and engine errors.
int64_t UnitLedgerSum(int32_t first);

// Walks one line's units of LUNITI in key order and calls visit with each unit in stock and
// its ledger sum.
void ForEachUnitInStock(int32_t line, const std::function<void(const clsUnits&, int64_t)>& visit);
// The sum of ForEachUnitInStock's ledger sums for one line, with the same reads and errors;
// only what says whether a unit is in stock and where its ledger starts is decoded.
int64_t LineStockCost(int32_t line);

}  // namespace dv
