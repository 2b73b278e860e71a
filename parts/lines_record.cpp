#include "parts/lines_record.h"

#include <array>

#include "engine/codec.h"
#include "engine/error.h"
#include "engine/index_cursor.h"
#include "engine/logical.h"

namespace dv {
namespace {

using L = clsLines;
using namespace fields;

// Byte 142: "U" (units) and "R" are kept as stored; every other character is a parts line.
void UnpackLineType(L& r, std::string_view rec) {
    r.Line_Type = std::string(Mid(rec, 142, 1));
    if (r.Line_Type != "U" && r.Line_Type != "R") r.Line_Type = "P";
}
void PackLineType(const L& r, std::string& rec) {
    PutBytes(rec, 142, PlainBytes(r.Line_Type, 1));
}

// The commodity list: the line's own code, then the codes that follow it in COMODI for the
// same line. The entry the search lands on is passed over. The walk stops at the first index
// operation that fails (a repeated step would append the same code without end); the
// engine's bounded walk ends a loop of leaves with an error.
void UnpackCommodities(L& r, std::string_view rec) {
    r.Comodities.assign(1, std::string(Mid(rec, 28, 1)));
    cBusinessBasic* engine = mBusinessBasic.get();
    if (engine == nullptr) return;
    std::string key(4, '\0');
    Pack("C", key, r.Line, 1);
    if (!r.Comodity.empty()) key[2] = r.Comodity[0];
    // A failing step ends the list with the codes found before it.
    IndexCursor codes(*engine, "COMODI");
    codes.Seek(key);
    for (codes.Next(); codes.Valid(); codes.Next()) {
        const std::string& found = codes.key();
        if (found.size() < 3 || Unpack("C", found, 1) != r.Line) break;
        r.Comodities.emplace_back(1, found[2]);
    }
}

const std::array kLayout = {
    Long<L>("Line", 3, 'C', &L::Line),
    Packed<L>("Alpha_Line", 5, 2, &L::Alpha_Line),
    Packed<L>("Line_Name", 7, 20, &L::Line_Name),
    Text<L>("Auto_Order", 27, 1, &L::Auto_Order),
    Text<L>("Comodity", 28, 1, &L::Comodity),
    Custom<L>("Comodities", 28, 1, &UnpackCommodities, nullptr),
    Long<L>("Distributor_Number", 29, 'B', &L::Distributor_Number),
    Long<L>("Stock_Depth", 33, 'C', &L::Stock_Depth),
    Long<L>("Re_Order_Percent", 35, 'C', &L::Re_Order_Percent),
    Long<L>("Low_GP_Waring_Perc", 37, 'C', &L::Low_GP_Waring_Perc),
    Text<L>("Sequencing_ANAN", 39, 6, &L::Sequencing_ANAN),
    Text<L>("Sequencing_Prior", 45, 6, &L::Sequencing_Prior),
    Long<L>("Price_Def_1_Level", 51, 'B', &L::Price_Def_1_Level),
    Long<L>("Price_Def_1_Use", 52, 'B', &L::Price_Def_1_Use),
    Long<L>("Price_Def_1_Perc", 53, 'J', &L::Price_Def_1_Perc),
    Long<L>("Price_Def_2_Level", 55, 'B', &L::Price_Def_2_Level),
    Long<L>("Price_Def_2_Use", 56, 'B', &L::Price_Def_2_Use),
    Long<L>("Price_Def_2_Perc", 57, 'J', &L::Price_Def_2_Perc),
    Long<L>("Price_Def_3_Level", 59, 'B', &L::Price_Def_3_Level),
    Long<L>("Price_Def_3_Use", 60, 'B', &L::Price_Def_3_Use),
    Long<L>("Price_Def_3_Perc", 61, 'J', &L::Price_Def_3_Perc),
    Long<L>("Price_Def_4_Level", 63, 'B', &L::Price_Def_4_Level),
    Long<L>("Price_Def_4_Use", 64, 'B', &L::Price_Def_4_Use),
    Long<L>("Price_Def_4_Perc", 65, 'J', &L::Price_Def_4_Perc),
    Long<L>("Price_Def_5_Level", 67, 'B', &L::Price_Def_5_Level),
    Long<L>("Price_Def_5_Use", 68, 'B', &L::Price_Def_5_Use),
    Long<L>("Price_Def_5_Perc", 69, 'J', &L::Price_Def_5_Perc),
    Long<L>("Price_Def_6_Level", 71, 'B', &L::Price_Def_6_Level),
    Long<L>("Price_Def_6_Use", 72, 'B', &L::Price_Def_6_Use),
    Long<L>("Price_Def_6_Perc", 73, 'J', &L::Price_Def_6_Perc),
    Money<L>("Cost_of_Mdse", 75, 'L', &L::Cost_of_Mdse),
    Money<L>("Cost_of_Freight", 79, 'L', &L::Cost_of_Freight),
    Long<L>("MTD_No_Sales", 83, 'L', &L::MTD_No_Sales),
    Money<L>("MTD_Sales", 87, 'L', &L::MTD_Sales),
    Money<L>("MTD_COGS", 91, 'L', &L::MTD_COGS),
    SumLong<L>("YTD_No_Sales", 95, 'L', &L::YTD_No_Sales, &L::MTD_No_Sales),
    SumMoney<L>("YTD_Sales", 99, 'L', &L::YTD_Sales, &L::MTD_Sales),
    SumMoney<L>("YTD_COGS", 103, 'L', &L::YTD_COGS, &L::MTD_COGS),
    Long<L>("PYTD_No_Sales", 107, 'L', &L::PYTD_No_Sales),
    Money<L>("PYTD_Sales", 111, 'L', &L::PYTD_Sales),
    Money<L>("PYTD_COGS", 115, 'L', &L::PYTD_COGS),
    Long<L>("Default_Cost_GP", 119, 'C', &L::Default_Cost_GP),
    Text<L>("Taxable", 121, 1, &L::Taxable),
    Long<L>("Default_Frt_Markup", 122, 'C', &L::Default_Frt_Markup),
    YesNo<L>("ReCalculateMax", 124, &L::ReCalculateMax),
    Long<L>("High_Stock_Amount", 125, 'C', &L::High_Stock_Amount),
    Packed<L>("DataBase_Name", 127, 2, &L::DataBase_Name),
    Long<L>("Warranty", 129, 'B', &L::Warranty),
    Long<L>("SerPol_No_Months_1", 130, 'B', &L::SerPol_No_Months_1),
    Long<L>("SerPol_List_Perc_1", 131, 'C', &L::SerPol_List_Perc_1),
    Long<L>("SerPol_No_Months_2", 133, 'B', &L::SerPol_No_Months_2),
    Long<L>("SerPol_List_Perc_2", 134, 'C', &L::SerPol_List_Perc_2),
    Long<L>("SerPol_No_Months_3", 136, 'B', &L::SerPol_No_Months_3),
    Long<L>("SerPol_List_Perc_3", 137, 'C', &L::SerPol_List_Perc_3),
    Long<L>("SerPol_No_Months_4", 139, 'B', &L::SerPol_No_Months_4),
    Long<L>("SerPol_List_Perc_4", 140, 'C', &L::SerPol_List_Perc_4),
    Custom<L>("Line_Type", 142, 1, &UnpackLineType, &PackLineType),
    Long<L>("Unit_Counter", 143, 'L', &L::Unit_Counter),
    Long<L>("A_P_Company", 147, 'B', &L::A_P_Company),
    Long<L>("A_P_Vendor", 148, 'L', &L::A_P_Vendor),
    Long<L>("MTD_Items_Ordered", 152, 'J', &L::MTD_Items_Ordered),
    Long<L>("MTD_Items_Filled", 154, 'J', &L::MTD_Items_Filled),
    Long<L>("MTD_Pieces_Ordered", 156, 'K', &L::MTD_Pieces_Ordered),
    Long<L>("MTD_Pieces_Filled", 159, 'K', &L::MTD_Pieces_Filled),
    Long<L>("MTD_Dollars_Ord", 162, 'L', &L::MTD_Dollars_Ord),
    Long<L>("MTD_Dollars_Filled", 166, 'L', &L::MTD_Dollars_Filled),
    Long<L>("YTD_Items_Ordered", 170, 'K', &L::YTD_Items_Ordered),
    Long<L>("YTD_Items_Filled", 173, 'K', &L::YTD_Items_Filled),
    Long<L>("YTD_Pieces_Ordered", 176, 'L', &L::YTD_Pieces_Ordered),
    Long<L>("YTD_Pieces_Filled", 180, 'L', &L::YTD_Pieces_Filled),
    Long<L>("YTD_Dollars_Ord", 184, 'L', &L::YTD_Dollars_Ord),
    Long<L>("YTD_Dollars_Filled", 188, 'L', &L::YTD_Dollars_Filled),
    Long<L>("Primary_Vendor", 193, 'L', &L::Primary_Vendor),
    Text<L>("Order_Type_Switch", 197, 1, &L::Order_Type_Switch),
    Long<L>("Seas_percentage", 198, 'B', &L::Seas_percentage),
    Text<L>("Seas_ReOrder_Codes", 203, 5, &L::Seas_ReOrder_Codes),
    DateField<L>("Seas_Date_Last_Gen", 205, 'J', &L::Seas_Date_Last_Gen),
    Long<L>("EOM_Mdse_Cost", 207, 'L', &L::EOM_Mdse_Cost),
    Long<L>("EOM_Freight_Cost", 211, 'L', &L::EOM_Freight_Cost),
    Long<L>("EOY_Mdse_Cost", 215, 'L', &L::EOY_Mdse_Cost),
    Long<L>("EOY_Freight_Cost", 219, 'L', &L::EOY_Freight_Cost),
};

}  // namespace

clsLines::clsLines() : Files("LINEL", "ELINEL") {}

std::span<const Field<clsLines>> clsLines::Layout() {
    return kLayout;
}

void clsLines::Read(int32_t record_number, int16_t& flag) {
    Unpack(Files.Read(record_number, "clsLines", "Illegal Record Number", flag));
    RecNo = record_number;
}

void ForEachShownLine(
    cBusinessBasic& engine,
    const std::function<void(const clsLines& line, const std::string& data)>& visit) {
    std::string from(2, '\0'), below(2, '\0');
    Pack("C", from, kFirstShownLine, 1);
    Pack("C", below, kLineLimit, 1);
    clsLines line;
    int16_t flag = 0;
    IndexCursor(engine, "LINEI").Walk(KeyRange::Between(from, below), [&](const IndexCursor& at) {
        const std::string data = engine.LreadFile("LINEL", at.record(), flag);
        line.Unpack(data);
        visit(line, data);
    });
}

}  // namespace dv
