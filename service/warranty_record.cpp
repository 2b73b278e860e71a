#include "service/warranty_record.h"

#include <array>

namespace dv {
namespace {

using W = clsWarranty;
using namespace fields;

// One 40-byte line of the two three-line texts.
template <std::array<std::string, 3> W::*Lines, int32_t Position, int Index>
void UnpackLine(W& r, std::string_view rec) {
    (r.*Lines)[Index] = UcmView(Mid(rec, Position, 40));
}
template <std::array<std::string, 3> W::*Lines, int32_t Position, int Index>
void PackLine(const W& r, std::string& rec) {
    PutBytes(rec, Position, PackedBytes((r.*Lines)[Index], 40));
}
template <std::array<std::string, 3> W::*Lines, int32_t Position, int Index>
constexpr Field<W> Line(const char* name) {
    return Custom<W>(name, Position, 40, &UnpackLine<Lines, Position, Index>,
                     &PackLine<Lines, Position, Index>);
}

const std::array kLayout = {
    Long<W>("Status", 1, 'C', &W::Status),
    Long<W>("Distributor", 3, 'C', &W::Distributor),
    Long<W>("Shop_Ref", 5, 'L', &W::Shop_Ref),
    Line<&W::Cause_Fail, 9, 0>("Cause_Fail(0)"),
    Line<&W::Cause_Fail, 49, 1>("Cause_Fail(1)"),
    Line<&W::Cause_Fail, 89, 2>("Cause_Fail(2)"),
    Line<&W::Work_Perform, 129, 0>("Work_Perform(0)"),
    Line<&W::Work_Perform, 169, 1>("Work_Perform(1)"),
    Line<&W::Work_Perform, 209, 2>("Work_Perform(2)"),
    Long<W>("Engine_received", 249, 'B', &W::Engine_received),
    Long<W>("Parts_Have_Been", 250, 'B', &W::Parts_Have_Been),
    Packed<W>("Product_Model", 251, 8, &W::Product_Model),
    Packed<W>("Engine_Model", 259, 10, &W::Engine_Model),
    Long<W>("Hours_Used", 269, 'D', &W::Hours_Used),
    DateField<W>("Date_Fail", 272, 'D', &W::Date_Fail),
    Long<W>("Cust_AC", 276, 'C', &W::Cust_AC),
    Long<W>("Cust_Phone", 278, 'L', &W::Cust_Phone),
    Long<W>("Total_Lab_Hrs", 282, 'C', &W::Total_Lab_Hrs),
    DateField<W>("Date_Purch", 284, 'D', &W::Date_Purch),
    Long<W>("Bitswitch_1", 287, 'B', &W::Bitswitch_1),
    Scaled<W>("Part_Amount", 288, 'L', Scale::kUnits, &W::Part_Amount),
    Scaled<W>("Labor_Amount", 292, 'L', Scale::kUnits, &W::Labor_Amount),
    Scaled<W>("Part_Paid_Amount", 296, 'L', Scale::kUnits, &W::Part_Paid_Amount),
    Scaled<W>("Labor_Paid_Amount", 300, 'L', Scale::kUnits, &W::Labor_Paid_Amount),
    Packed<W>("Soldby_Name", 304, 20, &W::Soldby_Name),
    Packed<W>("Soldby_Address", 324, 20, &W::Soldby_Address),
    Scaled<W>("PD_Charge", 344, 'D', Scale::kUnits, &W::PD_Charge),
    Scaled<W>("PD_Paid", 347, 'D', Scale::kUnits, &W::PD_Paid),
    Long<W>("Reconciled_Inv_No", 350, 'L', &W::Reconciled_Inv_No),
    Packed<W>("Soldby_City", 354, 16, &W::Soldby_City),
    Packed<W>("Soldby_State", 370, 2, &W::Soldby_State),
    Packed<W>("Soldby_Zip", 372, 6, &W::Soldby_Zip),
    Long<W>("Soldby_AC", 378, 'C', &W::Soldby_AC),
    Long<W>("Soldby_Phone", 380, 'L', &W::Soldby_Phone),
    Scaled<W>("Tax_Totals", 384, 'L', Scale::kUnits, &W::Tax_Totals),
    Scaled<W>("B_Tax_Totals", 388, 'L', Scale::kUnits, &W::B_Tax_Totals),
    ReadOnly(DateField<W>("Date_Reconciled", 401, 'J', &W::Date_Reconciled)),
    ReadOnly(DateField<W>("Date_Billed", 403, 'D', &W::Date_Billed)),
    ReadOnly(DateField<W>("Date_Printed", 406, 'D', &W::Date_Printed)),
    Long<W>("Cust_No", 409, 'L', &W::Cust_No),
    Packed<W>("Cust_Name", 413, 20, &W::Cust_Name),
    Packed<W>("Repair_Brand", 433, 10, &W::Repair_Brand),
    Packed<W>("Repair_Equip_Desc", 443, 14, &W::Repair_Equip_Desc),
    Packed<W>("Serial_1", 457, 12, &W::Serial_1),
    Packed<W>("Serial_2", 469, 12, &W::Serial_2),
    ReadOnly(Long<W>("Billed_Inv_No", 481, 'L', &W::Billed_Inv_No)),
    Packed<W>("Misc_Shop_Job_Info", 485, kMiscShopJobInfoBytes, &W::Misc_Shop_Job_Info),
    Long<W>("Shop_Job_Type", 505, 'B', &W::Shop_Job_Type),
    Long<W>("Job_No", 507, 'C', &W::Job_No),
    ReadOnly(Long<W>("Inv_Ptr", 509, 'L', &W::Inv_Ptr)),
};

}  // namespace

std::span<const Field<clsWarranty>> clsWarranty::Layout() {
    return kLayout;
}

}  // namespace dv
