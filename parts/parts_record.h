// clsParts: one part record of PARTL (continued in EPARTL under the same record number),
// found through the index PARTI, whose 14-byte key is bytes 3-16 of the record: the product
// line as a 2-byte C value, then the part number without dashes packed into 12 bytes.
//
// Units: money fields (the prices, Cost, the freight, Year_End_Cost, Average_Cost and the Sales
// and Cost figures) are int64_t whole cents, as stored. Quantity_On_Hand and Quantity_Alloc are
// int64_t tenths of a unit, as stored (123 is 12.3 units). Every other number is an int32_t
// taken as stored, Year_End_Quantity (whole units) included. One-bit flags are int16_t 1 or 0.
//
// Text fields come back at their full decoded width, blanks included. The class never switches
// the packed-text alphabet.
//
// Cost is read as a signed 3-byte value. Readers that take bytes 61-63 of a PARTL record
// straight (the order detail, the floor-plan views) read them unsigned; the two agree for 0 to
// 8,388,607 cents.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "engine/business_basic.h"
#include "engine/dates.h"
#include "engine/record_fields.h"
#include "parts/joined_files.h"

namespace dv {

class clsParts : public fields::TableRecord<clsParts> {
  public:
    // Opens PARTL and EPARTL through the global engine object; a name the data set does not
    // hold (or no engine object) leaves its file empty, and Read then raises.
    clsParts();

    int32_t Line = 0;             // 3 C: product line
    std::string Part_Number;      // 5, 12 packed: 18 characters, no dashes
    std::string Part_w_Dash;      // the part number with its dashes put back (5-18)
    std::string Package_Code;     // 19, 2 packed: 3 characters
    std::string Comodity;         // bytes 21-24 hold six packed characters, one each for
    std::string Unit_of_Measure;  // these six fields
    std::string Return_Flag;
    std::string Mfg_Popularity;
    std::string Dlr_Popularity;
    std::string Order_Code;
    int32_t Package_Quantity = 0;
    int32_t Matched_Set_Qty = 0;
    int32_t Manual_Minimum = 0;
    int32_t Maximum_Stock_Lvl = 0;
    std::string Price_Code;        // 35, 1 character
    int64_t Quantity_On_Hand = 0;  // tenths of a unit, signed
    int32_t Quantity_On_Order = 0;
    int32_t Qty_Back_Ordered = 0;
    int64_t List_Price = 0;                                           // cents
    int64_t Level_1_Price = 0, Level_2_Price = 0, Level_3_Price = 0;  // cents
    int64_t Level_4_Price = 0, Level_5_Price = 0;                     // cents
    int64_t Cost = 0;                                                 // cents, signed
    int64_t F_Freight_Resale = 0;                                     // cents
    int64_t F_Freight_Cost = 0;                                       // cents
    Date Date_Last_Change = EmptyDate();                              // 70 yymmdd
    Date Date_Last_Demand = EmptyDate();                              // 73 yymmdd
    int32_t MTD_Number_Sold = 0, MTD_Lost_Sales = 0;
    int32_t YTD_Number_Picks = 0, YTD_Number_Sold = 0, YTD_Picks_Lost = 0, YTD_Lost_Sales = 0;
    int16_t Price_Lock_Factors = 0;  // byte 88 bit 2
    int16_t Order_In_Sets = 0;       // byte 88 bit 3
    int16_t Monthly_Max = 0;         // byte 88 bit 5
    int16_t Price_Lock_All = 0;      // byte 88 bit 6
    int16_t Seasonal = 0;            // byte 88 bit 7
    int16_t Label = 0;               // byte 89 bit 1
    int16_t Meter = 0;               // byte 89 bit 3
    int16_t Serial_Numbers = 0;      // byte 89: 2 when bit 5 is set, else 1 when bit 4, else 0
    int32_t Weight = 0;
    int32_t Days_On_Order = 0, Days_Back_Ordered = 0, Location = 0;
    std::string Last_Tran_Codes;      // 95, 3 characters
    Date Date_Stocked = EmptyDate();  // 98 yymmdd
    int32_t YTD_Demand_2_back = 0, YTD_Demand_1_back = 0;
    int32_t MTD_Demand_12_back = 0, MTD_Demand_11_back = 0, MTD_Demand_10_back = 0,
            MTD_Demand_9_back = 0;
    int32_t MTD_Demand_8_back = 0, MTD_Demand_7_back = 0, MTD_Demand_6_back = 0,
            MTD_Demand_5_back = 0;
    int32_t MTD_Demand_4_back = 0, MTD_Demand_3_back = 0, MTD_Demand_2_back = 0,
            MTD_Demand_1_back = 0;
    std::string Sub_Part_Number;  // 129, 10 packed: 15 characters, no dashes
    std::string Sub_Part_w_Dash;  // the second part number with its dashes put back (129-140)
    std::string Bin;              // 141, 6 characters; a byte of code 0 reads as a blank
    int64_t Quantity_Alloc = 0;   // tenths of a unit, unsigned
    int32_t Year_End_Quantity = 0;
    int64_t Year_End_Cost = 0;  // cents
    int64_t Average_Cost = 0;   // cents
    int32_t LayAway = 0;
    int64_t MTD_Sales = 0, MTD_Cost = 0, YTD_Sales = 0, YTD_Cost = 0;  // cents
    std::string Description;  // 179, 14 packed: 21 characters
    int32_t YTD_Demand_3_back = 0;
    int32_t MTD_Demand_36_back = 0, MTD_Demand_35_back = 0, MTD_Demand_34_back = 0,
            MTD_Demand_33_back = 0;
    int32_t MTD_Demand_32_back = 0, MTD_Demand_31_back = 0, MTD_Demand_30_back = 0,
            MTD_Demand_29_back = 0;
    int32_t MTD_Demand_28_back = 0, MTD_Demand_27_back = 0, MTD_Demand_26_back = 0,
            MTD_Demand_25_back = 0;
    int32_t MTD_Demand_24_back = 0, MTD_Demand_23_back = 0, MTD_Demand_22_back = 0,
            MTD_Demand_21_back = 0;
    int32_t MTD_Demand_20_back = 0, MTD_Demand_19_back = 0, MTD_Demand_18_back = 0,
            MTD_Demand_17_back = 0;
    int32_t MTD_Demand_16_back = 0, MTD_Demand_15_back = 0, MTD_Demand_14_back = 0,
            MTD_Demand_13_back = 0;
    int32_t Alt_Demand_12_back = 0, Alt_Demand_11_back = 0, Alt_Demand_10_back = 0,
            Alt_Demand_9_back = 0;
    int32_t Alt_Demand_8_back = 0, Alt_Demand_7_back = 0, Alt_Demand_6_back = 0,
            Alt_Demand_5_back = 0;
    int32_t Alt_Demand_4_back = 0, Alt_Demand_3_back = 0, Alt_Demand_2_back = 0,
            Alt_Demand_1_back = 0;
    int32_t Usage_Rate = 0, Order_Point = 0, Line_Point = 0;
    int16_t Lock_Line_Point = 0;            // byte 273 bit 1
    int16_t Stockout_Updated = 0;           // byte 273 bit 2
    Date Date_Last_Stockout = EmptyDate();  // 274 day number
    int32_t YTD_Stockout_Times = 0;
    Date Date_Last_Recvd = EmptyDate();  // 277 day number
    int32_t Econ_Order_Qty = 0;
    std::string Order_Type_Switch;  // 281, 1 character
    int32_t MTD_Stockout_Days = 0;
    int32_t Last_Qty_Received = 0;
    std::string Zone;  // 285, 1 character
    int32_t Spring_Order_Qty = 0;
    int32_t Record_Number = 0;  // the record number of the last Read

    // Unpack (TableRecord): decodes a record string (a PARTL record, or PARTL and EPARTL joined)
    // into the fields. Never raises. Pack (TableRecord): encodes the fields into record in place;
    // its length never changes. Never raises. Reads record n of PARTL and of EPARTL, joins them
    // (PARTL first) and unpacks the join. Raises 81 "Read - Illegal Record Number" when n is below
    // 1 or above PARTL's last record (no field changes), -10 "File not Found: " when PARTL or
    // EPARTL is not open, and whatever LreadFile raises.
    void Read(int32_t record_number, int16_t& flag);

    // The layout, in the order Unpack and Pack work through it.
    static std::span<const fields::Field<clsParts>> Layout();

  private:
    JoinedFiles Files;
};

}  // namespace dv
