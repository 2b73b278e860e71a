#include "parts/parts_record.h"

#include <array>

#include "engine/codec.h"
#include "engine/error.h"
#include "engine/logical.h"
#include "engine/packed_text.h"

namespace dv {
namespace {

using P = clsParts;
using namespace fields;

// A part number with dashes: `width` bytes of packed text without the dashes at `position`,
// then one word of up to three position codes. The number and the codes are decoded apart, so
// a short record or a damaged word in the number never turns characters of the number into
// dash codes.
std::string WithDashes(std::string_view rec, int32_t position, int32_t width) {
    std::string part = UcmView(Mid(rec, position, width));
    RestoreDashes(part, UcmView(Mid(rec, position + width, 2)));
    return part;
}

void UnpackPartWithDash(P& r, std::string_view rec) {
    r.Part_w_Dash = WithDashes(rec, 5, 12);
}

// The stored number comes from Part_w_Dash: its dashes go into the position word at 17, and at
// most three codes fit there.
void PackPartWithDash(const P& r, std::string& rec) {
    std::string part = r.Part_w_Dash;
    std::string positions;
    StripCode(part, positions);
    PutBytes(rec, 5, PackedBytes(part, 12));
    PutBytes(rec, 17, PackedBytes(positions, 2));
}

// Bytes 21-24: six packed characters, one for each of six fields.
void UnpackCodes(P& r, std::string_view rec) {
    const std::string chars = UcmView(Mid(rec, 21, 4));
    auto at = [&chars](size_t i) { return i < chars.size() ? chars.substr(i, 1) : std::string(); };
    r.Comodity = at(0);
    r.Unit_of_Measure = at(1);
    r.Return_Flag = at(2);
    r.Mfg_Popularity = at(3);
    r.Dlr_Popularity = at(4);
    r.Order_Code = at(5);
}

void UnpackSerialNumbers(P& r, std::string_view rec) {
    const int32_t byte = dv::Unpack("B", rec, 89);
    r.Serial_Numbers = (byte & 0x20) ? 2 : (byte & 0x10) ? 1 : 0;
}

// Bit 4 for any value other than 0, bit 5 as well for 2.
void PackSerialNumbers(const P& r, std::string& rec) {
    PutBit(rec, 89, 4, r.Serial_Numbers != 0);
    PutBit(rec, 89, 5, r.Serial_Numbers == 2);
}

void UnpackSubPartWithDash(P& r, std::string_view rec) {
    r.Sub_Part_w_Dash = WithDashes(rec, 129, 10);
}

const std::array kLayout = {
    Long<P>("Line", 3, 'C', &P::Line),
    ReadOnly(Packed<P>("Part_Number", 5, 12, &P::Part_Number)),
    Custom<P>("Part_w_Dash", 5, 14, &UnpackPartWithDash, &PackPartWithDash),
    Packed<P>("Package_Code", 19, 2, &P::Package_Code),
    Custom<P>("Comodity..Order_Code", 21, 4, &UnpackCodes, nullptr),
    Long<P>("Package_Quantity", 25, 'J', &P::Package_Quantity),
    Long<P>("Matched_Set_Qty", 27, 'C', &P::Matched_Set_Qty),
    Long<P>("Manual_Minimum", 29, 'C', &P::Manual_Minimum),
    Long<P>("Maximum_Stock_Lvl", 33, 'C', &P::Maximum_Stock_Lvl),
    Text<P>("Price_Code", 35, 1, &P::Price_Code),
    Scaled<P>("Quantity_On_Hand", 36, 'K', Scale::kTenths, &P::Quantity_On_Hand),
    Long<P>("Quantity_On_Order", 39, 'C', &P::Quantity_On_Order),
    Long<P>("Qty_Back_Ordered", 41, 'C', &P::Qty_Back_Ordered),
    Money<P>("List_Price", 43, 'K', &P::List_Price),
    Money<P>("Level_1_Price", 46, 'K', &P::Level_1_Price),
    Money<P>("Level_2_Price", 49, 'K', &P::Level_2_Price),
    Money<P>("Level_3_Price", 52, 'K', &P::Level_3_Price),
    Money<P>("Level_4_Price", 55, 'K', &P::Level_4_Price),
    Money<P>("Level_5_Price", 58, 'K', &P::Level_5_Price),
    Money<P>("Cost", 61, 'K', &P::Cost),
    Money<P>("F_Freight_Resale", 64, 'K', &P::F_Freight_Resale),
    Money<P>("F_Freight_Cost", 67, 'K', &P::F_Freight_Cost),
    DateField<P>("Date_Last_Change", 70, 'R', &P::Date_Last_Change),
    DateField<P>("Date_Last_Demand", 73, 'R', &P::Date_Last_Demand),
    Long<P>("MTD_Number_Sold", 76, 'J', &P::MTD_Number_Sold),
    Long<P>("MTD_Lost_Sales", 78, 'C', &P::MTD_Lost_Sales),
    Long<P>("YTD_Number_Picks", 80, 'J', &P::YTD_Number_Picks),
    Long<P>("YTD_Number_Sold", 82, 'J', &P::YTD_Number_Sold),
    Long<P>("YTD_Picks_Lost", 84, 'C', &P::YTD_Picks_Lost),
    Long<P>("YTD_Lost_Sales", 86, 'C', &P::YTD_Lost_Sales),
    Bit<P>("Price_Lock_Factors", 88, 2, &P::Price_Lock_Factors),
    Bit<P>("Order_In_Sets", 88, 3, &P::Order_In_Sets),
    Bit<P>("Monthly_Max", 88, 5, &P::Monthly_Max),
    Bit<P>("Price_Lock_All", 88, 6, &P::Price_Lock_All),
    Bit<P>("Seasonal", 88, 7, &P::Seasonal),
    Bit<P>("Label", 89, 1, &P::Label),
    Bit<P>("Meter", 89, 3, &P::Meter),
    Custom<P>("Serial_Numbers", 89, 1, &UnpackSerialNumbers, &PackSerialNumbers),
    Long<P>("Weight", 90, 'C', &P::Weight),
    Long<P>("Days_On_Order", 92, 'B', &P::Days_On_Order),
    Long<P>("Days_Back_Ordered", 93, 'B', &P::Days_Back_Ordered),
    Long<P>("Location", 94, 'B', &P::Location),
    Text<P>("Last_Tran_Codes", 95, 3, &P::Last_Tran_Codes),
    DateField<P>("Date_Stocked", 98, 'R', &P::Date_Stocked),
    Long<P>("YTD_Demand_2_back", 101, 'J', &P::YTD_Demand_2_back),
    Long<P>("YTD_Demand_1_back", 103, 'J', &P::YTD_Demand_1_back),
    Long<P>("MTD_Demand_12_back", 105, 'J', &P::MTD_Demand_12_back),
    Long<P>("MTD_Demand_11_back", 107, 'J', &P::MTD_Demand_11_back),
    Long<P>("MTD_Demand_10_back", 109, 'J', &P::MTD_Demand_10_back),
    Long<P>("MTD_Demand_9_back", 111, 'J', &P::MTD_Demand_9_back),
    Long<P>("MTD_Demand_8_back", 113, 'J', &P::MTD_Demand_8_back),
    Long<P>("MTD_Demand_7_back", 115, 'J', &P::MTD_Demand_7_back),
    Long<P>("MTD_Demand_6_back", 117, 'J', &P::MTD_Demand_6_back),
    Long<P>("MTD_Demand_5_back", 119, 'J', &P::MTD_Demand_5_back),
    Long<P>("MTD_Demand_4_back", 121, 'J', &P::MTD_Demand_4_back),
    Long<P>("MTD_Demand_3_back", 123, 'J', &P::MTD_Demand_3_back),
    Long<P>("MTD_Demand_2_back", 125, 'J', &P::MTD_Demand_2_back),
    Long<P>("MTD_Demand_1_back", 127, 'J', &P::MTD_Demand_1_back),
    Packed<P>("Sub_Part_Number", 129, 10, &P::Sub_Part_Number),
    Custom<P>("Sub_Part_w_Dash", 129, 12, &UnpackSubPartWithDash, nullptr),
    BlankedText<P>("Bin", 141, 6, &P::Bin),
    Scaled<P>("Quantity_Alloc", 148, 'D', Scale::kTenths, &P::Quantity_Alloc),
    Long<P>("Year_End_Quantity", 151, 'K', &P::Year_End_Quantity),
    Money<P>("Year_End_Cost", 154, 'K', &P::Year_End_Cost),
    Money<P>("Average_Cost", 158, 'K', &P::Average_Cost),
    Long<P>("LayAway", 161, 'C', &P::LayAway),
    Money<P>("MTD_Sales", 163, 'L', &P::MTD_Sales),
    Money<P>("MTD_Cost", 167, 'L', &P::MTD_Cost),
    Money<P>("YTD_Sales", 171, 'L', &P::YTD_Sales),
    Money<P>("YTD_Cost", 175, 'L', &P::YTD_Cost),
    Packed<P>("Description", 179, 14, &P::Description),
    Long<P>("YTD_Demand_3_back", 193, 'J', &P::YTD_Demand_3_back),
    Long<P>("MTD_Demand_36_back", 195, 'J', &P::MTD_Demand_36_back),
    Long<P>("MTD_Demand_35_back", 197, 'J', &P::MTD_Demand_35_back),
    Long<P>("MTD_Demand_34_back", 199, 'J', &P::MTD_Demand_34_back),
    Long<P>("MTD_Demand_33_back", 201, 'J', &P::MTD_Demand_33_back),
    Long<P>("MTD_Demand_32_back", 203, 'J', &P::MTD_Demand_32_back),
    Long<P>("MTD_Demand_31_back", 205, 'J', &P::MTD_Demand_31_back),
    Long<P>("MTD_Demand_30_back", 207, 'J', &P::MTD_Demand_30_back),
    Long<P>("MTD_Demand_29_back", 209, 'J', &P::MTD_Demand_29_back),
    Long<P>("MTD_Demand_28_back", 211, 'J', &P::MTD_Demand_28_back),
    Long<P>("MTD_Demand_27_back", 213, 'J', &P::MTD_Demand_27_back),
    Long<P>("MTD_Demand_26_back", 215, 'J', &P::MTD_Demand_26_back),
    Long<P>("MTD_Demand_25_back", 217, 'J', &P::MTD_Demand_25_back),
    Long<P>("MTD_Demand_24_back", 219, 'J', &P::MTD_Demand_24_back),
    Long<P>("MTD_Demand_23_back", 221, 'J', &P::MTD_Demand_23_back),
    Long<P>("MTD_Demand_22_back", 223, 'J', &P::MTD_Demand_22_back),
    Long<P>("MTD_Demand_21_back", 225, 'J', &P::MTD_Demand_21_back),
    Long<P>("MTD_Demand_20_back", 227, 'J', &P::MTD_Demand_20_back),
    Long<P>("MTD_Demand_19_back", 229, 'J', &P::MTD_Demand_19_back),
    Long<P>("MTD_Demand_18_back", 231, 'J', &P::MTD_Demand_18_back),
    Long<P>("MTD_Demand_17_back", 233, 'J', &P::MTD_Demand_17_back),
    Long<P>("MTD_Demand_16_back", 235, 'J', &P::MTD_Demand_16_back),
    Long<P>("MTD_Demand_15_back", 237, 'J', &P::MTD_Demand_15_back),
    Long<P>("MTD_Demand_14_back", 239, 'J', &P::MTD_Demand_14_back),
    Long<P>("MTD_Demand_13_back", 241, 'J', &P::MTD_Demand_13_back),
    Long<P>("Alt_Demand_12_back", 243, 'J', &P::Alt_Demand_12_back),
    Long<P>("Alt_Demand_11_back", 245, 'J', &P::Alt_Demand_11_back),
    Long<P>("Alt_Demand_10_back", 247, 'J', &P::Alt_Demand_10_back),
    Long<P>("Alt_Demand_9_back", 249, 'J', &P::Alt_Demand_9_back),
    Long<P>("Alt_Demand_8_back", 251, 'J', &P::Alt_Demand_8_back),
    Long<P>("Alt_Demand_7_back", 253, 'J', &P::Alt_Demand_7_back),
    Long<P>("Alt_Demand_6_back", 255, 'J', &P::Alt_Demand_6_back),
    Long<P>("Alt_Demand_5_back", 257, 'J', &P::Alt_Demand_5_back),
    Long<P>("Alt_Demand_4_back", 259, 'J', &P::Alt_Demand_4_back),
    Long<P>("Alt_Demand_3_back", 261, 'J', &P::Alt_Demand_3_back),
    Long<P>("Alt_Demand_2_back", 263, 'J', &P::Alt_Demand_2_back),
    Long<P>("Alt_Demand_1_back", 265, 'J', &P::Alt_Demand_1_back),
    Long<P>("Usage_Rate", 267, 'C', &P::Usage_Rate),
    Long<P>("Order_Point", 269, 'C', &P::Order_Point),
    Long<P>("Line_Point", 271, 'C', &P::Line_Point),
    Bit<P>("Lock_Line_Point", 273, 1, &P::Lock_Line_Point),
    Bit<P>("Stockout_Updated", 273, 2, &P::Stockout_Updated),
    DateField<P>("Date_Last_Stockout", 274, 'J', &P::Date_Last_Stockout),
    Long<P>("YTD_Stockout_Times", 276, 'B', &P::YTD_Stockout_Times),
    DateField<P>("Date_Last_Recvd", 277, 'J', &P::Date_Last_Recvd),
    Long<P>("Econ_Order_Qty", 279, 'C', &P::Econ_Order_Qty),
    Text<P>("Order_Type_Switch", 281, 1, &P::Order_Type_Switch),
    Long<P>("MTD_Stockout_Days", 282, 'B', &P::MTD_Stockout_Days),
    Long<P>("Last_Qty_Received", 283, 'C', &P::Last_Qty_Received),
    Text<P>("Zone", 285, 1, &P::Zone),
    Long<P>("Spring_Order_Qty", 286, 'D', &P::Spring_Order_Qty),
};

}  // namespace

clsParts::clsParts() : Files("PARTL", "EPARTL") {}

std::span<const Field<clsParts>> clsParts::Layout() {
    return kLayout;
}

void clsParts::Read(int32_t record_number, int16_t& flag) {
    Unpack(Files.Read(record_number, "clsParts", "Read - Illegal Record Number", flag));
    Record_Number = record_number;
}

}  // namespace dv
