// clsLines: one product-line record of LINEL (continued in ELINEL under the same record
// number), found through the index LINEI, whose key is the line number as a 2-byte C value.
// The index COMODI lists the commodity codes of each line.
//
// Units: money fields (Cost_of_Mdse, the Sales and COGS figures) are int64_t whole cents, as
// stored. The counters, the Dollars fields and the month-end and year-end costs are int32_t
// taken as stored. The three year-to-date figures YTD_No_Sales, YTD_Sales and YTD_COGS hold
// the full year to date: the record stores them without the current month, and Unpack adds the
// month-to-date figure (Pack subtracts it).
//
// Text fields come back at their full decoded width, blanks included. The class never switches
// the packed-text alphabet: Alpha_Line, Line_Name and DataBase_Name decode and encode under
// whichever alphabet is in force.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/business_basic.h"
#include "engine/dates.h"
#include "engine/record_fields.h"
#include "parts/joined_files.h"

namespace dv {

class clsLines : public fields::TableRecord<clsLines> {
  public:
    // Opens LINEL and ELINEL through the global engine object; a name the data set does not
    // hold (or no engine object) leaves its file empty, and Read then raises.
    clsLines();

    int32_t Line = 0;            // 3 C: the product-line number
    std::string Alpha_Line;      // 5, 2 packed: short code, 3 characters
    std::string AlternateAlpha;  // not stored; nothing sets it
    std::string Line_Name;       // 7, 20 packed: 30 characters
    std::string Auto_Order;      // 27, 1 character
    std::string Comodity;        // 28, 1 character: the line's own commodity code
    // The line's commodity codes: its own code first, then the codes COMODI lists after it.
    std::vector<std::string> Comodities;
    int32_t Distributor_Number = 0;
    int32_t Stock_Depth = 0;
    int32_t Re_Order_Percent = 0;
    int32_t Low_GP_Waring_Perc = 0;
    std::string Sequencing_ANAN;   // 39, 6 characters
    std::string Sequencing_Prior;  // 45, 6 characters
    int32_t Price_Def_1_Level = 0, Price_Def_1_Use = 0, Price_Def_1_Perc = 0;
    int32_t Price_Def_2_Level = 0, Price_Def_2_Use = 0, Price_Def_2_Perc = 0;
    int32_t Price_Def_3_Level = 0, Price_Def_3_Use = 0, Price_Def_3_Perc = 0;
    int32_t Price_Def_4_Level = 0, Price_Def_4_Use = 0, Price_Def_4_Perc = 0;
    int32_t Price_Def_5_Level = 0, Price_Def_5_Use = 0, Price_Def_5_Perc = 0;
    int32_t Price_Def_6_Level = 0, Price_Def_6_Use = 0, Price_Def_6_Perc = 0;
    int64_t Cost_of_Mdse = 0;     // cents: the line's goods cost (its inventory investment)
    int64_t Cost_of_Freight = 0;  // cents
    int32_t MTD_No_Sales = 0;
    int64_t MTD_Sales = 0;     // cents
    int64_t MTD_COGS = 0;      // cents
    int32_t YTD_No_Sales = 0;  // stored value + MTD_No_Sales
    int64_t YTD_Sales = 0;     // cents: stored value + MTD_Sales
    int64_t YTD_COGS = 0;      // cents: stored value + MTD_COGS
    int32_t PYTD_No_Sales = 0;
    int64_t PYTD_Sales = 0;  // cents
    int64_t PYTD_COGS = 0;   // cents
    int32_t Default_Cost_GP = 0;
    std::string Taxable;  // 121, 1 character
    int32_t Default_Frt_Markup = 0;
    int16_t ReCalculateMax = 0;  // 124: 1 for "Y", else 0
    int32_t High_Stock_Amount = 0;
    std::string DataBase_Name;  // 127, 2 packed: 3 characters
    int32_t Warranty = 0;
    int32_t SerPol_No_Months_1 = 0, SerPol_List_Perc_1 = 0;
    int32_t SerPol_No_Months_2 = 0, SerPol_List_Perc_2 = 0;
    int32_t SerPol_No_Months_3 = 0, SerPol_List_Perc_3 = 0;
    int32_t SerPol_No_Months_4 = 0, SerPol_List_Perc_4 = 0;
    std::string Line_Type;  // 142: "U" or "R" as stored, anything else "P"
    int32_t Unit_Counter = 0;
    int32_t A_P_Company = 0;
    int32_t A_P_Vendor = 0;
    int32_t MTD_Items_Ordered = 0, MTD_Items_Filled = 0;
    int32_t MTD_Pieces_Ordered = 0, MTD_Pieces_Filled = 0;
    int32_t MTD_Dollars_Ord = 0, MTD_Dollars_Filled = 0;
    int32_t YTD_Items_Ordered = 0, YTD_Items_Filled = 0;
    int32_t YTD_Pieces_Ordered = 0, YTD_Pieces_Filled = 0;
    int32_t YTD_Dollars_Ord = 0, YTD_Dollars_Filled = 0;
    int32_t Primary_Vendor = 0;
    std::string Order_Type_Switch;  // 197, 1 character
    int32_t Seas_percentage = 0;
    // 203, 5 characters: overlaps Seas_Date_Last_Gen and the first byte of EOM_Mdse_Cost, which
    // Pack writes after it, so only its first two characters survive a Pack.
    std::string Seas_ReOrder_Codes;
    Date Seas_Date_Last_Gen = EmptyDate();  // 205 day number
    int32_t EOM_Mdse_Cost = 0;
    int32_t EOM_Freight_Cost = 0;
    int32_t EOY_Mdse_Cost = 0;
    int32_t EOY_Freight_Cost = 0;
    int32_t RecNo = 0;  // the record number of the last Read

    // Unpack (TableRecord): decodes a record string (a LINEL record, or LINEL and ELINEL joined)
    // into the fields and rebuilds Comodities from the record and COMODI. Never raises. Pack
    // (TableRecord): encodes the fields into record in place; its length never changes. Never
    // raises. Reads record n of LINEL and of ELINEL, joins them (LINEL first) and unpacks the join.
    // Raises 81 "Illegal Record Number" when n is below 1 or above LINEL's last record, -10
    // "File not Found: " when LINEL or ELINEL is not open, and whatever LreadFile raises.
    void Read(int32_t record_number, int16_t& flag);

    // The layout, in the order Unpack and Pack work through it.
    static std::span<const fields::Field<clsLines>> Layout();

  private:
    JoinedFiles Files;
};

// The product lines the views show: LINEI's keys from line 1 up to, not including, 1000.
inline constexpr int32_t kFirstShownLine = 1;
inline constexpr int32_t kLineLimit = 1000;

// Walks the product lines the views show in key order, reading each one's LINEL record into one
// clsLines kept for the whole walk, and calls visit with it and the record read. Ends on the
// first failure with the engine's error or the index's.
void ForEachShownLine(
    cBusinessBasic& engine,
    const std::function<void(const clsLines& line, const std::string& data)>& visit);

}  // namespace dv
