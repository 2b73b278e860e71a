#include "sales/counterman_record.h"

#include <array>

#include "engine/codec.h"

namespace dv {
namespace {

using C = clsCounterman;
using namespace fields;

// The PIN and the mechanic flag share one C value at 198. A value that cannot be read counts
// as 0, so both are set on every Unpack and a reused object never keeps an earlier mechanic.
void UnpackPin(C& r, std::string_view rec) {
    const int32_t v = BinaryFits('C', 198, rec.size()) ? dv::Unpack("C", rec, 198) : 0;
    r.Mechanic = v > 9999 ? 1 : 0;
    r.PinNumber = v % 10000;
}
void PackPin(const C& r, std::string& rec) {
    int32_t v = r.PinNumber;
    if (r.Mechanic != 0) v = r.PinNumber % 10000 + 10000;
    dv::Pack("C", rec, v, 198);
}

const std::array kLayout = {
    Long<C>("COUNTERMAN_Number", 3, 'C', &C::COUNTERMAN_Number),
    Packed<C>("COUNTERMAN_Alpha", 5, 2, &C::COUNTERMAN_Alpha),
    Packed<C>("Name", 7, 20, &C::Name),
    DateField<C>("Date_Set_Up", 27, 'D', &C::Date_Set_Up),
    Long<C>("Todays_Invoices", 30, 'L', &C::Todays_Invoices),
    Long<C>("Todays_Line_Items", 34, 'L', &C::Todays_Line_Items),
    Money<C>("Todays_Cash_Recvd", 38, 'L', &C::Todays_Cash_Recvd),
    Money<C>("Todays_Charges", 42, 'L', &C::Todays_Charges),
    Money<C>("Todays_Refunds", 46, 'L', &C::Todays_Refunds),
    Money<C>("Todays_Cr_Memos", 50, 'L', &C::Todays_Cr_Memos),
    Money<C>("Todays_Mdse_Sales", 54, 'L', &C::Todays_Mdse_Sales),
    Money<C>("Todays_Mdse_Cost", 58, 'L', &C::Todays_Mdse_Cost),
    Money<C>("Todays_Labor_Sales", 62, 'L', &C::Todays_Labor_Sales),
    Money<C>("Todays_Labor_Cost", 66, 'L', &C::Todays_Labor_Cost),
    Money<C>("Todays_Discounts", 70, 'L', &C::Todays_Discounts),
    Money<C>("Todays_Payments", 74, 'L', &C::Todays_Payments),
    Money<C>("Todays_Taxes", 78, 'L', &C::Todays_Taxes),
    Money<C>("Todays_Paymnt_Disc", 82, 'L', &C::Todays_Paymnt_Disc),
    Money<C>("Todays_AR_Adjust", 86, 'L', &C::Todays_AR_Adjust),
    Long<C>("Todays_Lost_Sales", 190, 'C', &C::Todays_Lost_Sales),
    Money<C>("SM_Todays_Net_Mdse_Sales", 90, 'L', &C::SM_Todays_Net_Mdse_Sales),
    Money<C>("SM_Todays_Net_Mdse_Cost", 94, 'L', &C::SM_Todays_Net_Mdse_Cost),
    Money<C>("SM_Todays_Labor_Sales", 98, 'L', &C::SM_Todays_Labor_Sales),
    Money<C>("SM_Todays_Labor_Cost", 102, 'L', &C::SM_Todays_Labor_Cost),
    Money<C>("SM_Todays_Discounts", 106, 'L', &C::SM_Todays_Discounts),
    Money<C>("MTD_Mdse_Sales", 110, 'L', &C::MTD_Mdse_Sales),
    Money<C>("MTD_Mdse_Cost", 114, 'L', &C::MTD_Mdse_Cost),
    Money<C>("MTD_Labor_Sales", 118, 'L', &C::MTD_Labor_Sales),
    Money<C>("MTD_Labor_Cost", 122, 'L', &C::MTD_Labor_Cost),
    Money<C>("MTD_Discounts", 126, 'L', &C::MTD_Discounts),
    Money<C>("SM_MTD_Net_Mdse_Sales", 130, 'L', &C::SM_MTD_Net_Mdse_Sales),
    Money<C>("SM_MTD_Net_Mdse_Cost", 134, 'L', &C::SM_MTD_Net_Mdse_Cost),
    Money<C>("SM_MTD_Labor_Sales", 138, 'L', &C::SM_MTD_Labor_Sales),
    Money<C>("SM_MTD_Labor_Cost", 142, 'L', &C::SM_MTD_Labor_Cost),
    Money<C>("SM_MTD_Discounts", 146, 'L', &C::SM_MTD_Discounts),
    Long<C>("MTD_Lost_Sales", 192, 'C', &C::MTD_Lost_Sales),
    Money<C>("YTD_Mdse_Sales", 150, 'L', &C::YTD_Mdse_Sales),
    Money<C>("YTD_Mdse_Cost", 154, 'L', &C::YTD_Mdse_Cost),
    Money<C>("YTD_Labor_Sales", 158, 'L', &C::YTD_Labor_Sales),
    Money<C>("YTD_Labor_Cost", 162, 'L', &C::YTD_Labor_Cost),
    Money<C>("YTD_Discounts", 166, 'L', &C::YTD_Discounts),
    Money<C>("SM_YTD_Net_Mdse_Sales", 170, 'L', &C::SM_YTD_Net_Mdse_Sales),
    Money<C>("SM_YTD_Net_Mdse_Cost", 174, 'L', &C::SM_YTD_Net_Mdse_Cost),
    Money<C>("SM_YTD_Labor_Sales", 178, 'L', &C::SM_YTD_Labor_Sales),
    Money<C>("SM_YTD_Labor_Cost", 182, 'L', &C::SM_YTD_Labor_Cost),
    Money<C>("SM_YTD_Discounts", 186, 'L', &C::SM_YTD_Discounts),
    Long<C>("YTD_Lost_Sales", 194, 'C', &C::YTD_Lost_Sales),
    Long<C>("DrawerOpen_Today", 196, 'B', &C::DrawerOpen_Today),
    Long<C>("DrawerOpen_Yesterday", 197, 'B', &C::DrawerOpen_Yesterday),
    Custom<C>("Mechanic/PinNumber", 198, 2, &UnpackPin, &PackPin),
    Money<C>("MTD_ME_Bld", 205, 'L', &C::MTD_ME_Bld),
    Money<C>("MTD_ME_Act", 209, 'L', &C::MTD_ME_Act),
    Money<C>("MTD_ME_Bld_1_back", 213, 'L', &C::MTD_ME_Bld_1_back),
    Money<C>("MTD_ME_Act_1_back", 217, 'L', &C::MTD_ME_Act_1_back),
    Money<C>("MTD_ME_Bld_2_back", 221, 'L', &C::MTD_ME_Bld_2_back),
    Money<C>("MTD_ME_Act_2_back", 225, 'L', &C::MTD_ME_Act_2_back),
    Money<C>("MTD_ME_Bld_3_back", 229, 'L', &C::MTD_ME_Bld_3_back),
    Money<C>("MTD_ME_Act_3_back", 233, 'L', &C::MTD_ME_Act_3_back),
    Money<C>("MTD_ME_Bld_4_back", 237, 'L', &C::MTD_ME_Bld_4_back),
    Money<C>("MTD_ME_Act_4_back", 241, 'L', &C::MTD_ME_Act_4_back),
    Money<C>("MTD_ME_Bld_5_back", 245, 'L', &C::MTD_ME_Bld_5_back),
    Money<C>("MTD_ME_Act_5_back", 249, 'L', &C::MTD_ME_Act_5_back),
    Money<C>("MTD_ME_Bld_6_back", 253, 'L', &C::MTD_ME_Bld_6_back),
    Money<C>("MTD_ME_Act_6_back", 257, 'L', &C::MTD_ME_Act_6_back),
    Money<C>("MTD_ME_Bld_7_back", 261, 'L', &C::MTD_ME_Bld_7_back),
    Money<C>("MTD_ME_Act_7_back", 265, 'L', &C::MTD_ME_Act_7_back),
    Money<C>("MTD_ME_Bld_8_back", 269, 'L', &C::MTD_ME_Bld_8_back),
    Money<C>("MTD_ME_Act_8_back", 273, 'L', &C::MTD_ME_Act_8_back),
    Money<C>("MTD_ME_Bld_9_back", 277, 'L', &C::MTD_ME_Bld_9_back),
    Money<C>("MTD_ME_Act_9_back", 281, 'L', &C::MTD_ME_Act_9_back),
    Money<C>("MTD_ME_Bld_10_back", 285, 'L', &C::MTD_ME_Bld_10_back),
    Money<C>("MTD_ME_Act_10_back", 289, 'L', &C::MTD_ME_Act_10_back),
    Money<C>("MTD_ME_Bld_11_back", 293, 'L', &C::MTD_ME_Bld_11_back),
    Money<C>("MTD_ME_Act_11_back", 297, 'L', &C::MTD_ME_Act_11_back),
    Money<C>("MTD_ME_Bld_12_back", 301, 'L', &C::MTD_ME_Bld_12_back),
    Money<C>("MTD_ME_Act_12_back", 305, 'L', &C::MTD_ME_Act_12_back),
    Money<C>("YTD_ME_Billed", 309, 'L', &C::YTD_ME_Billed),
    Money<C>("YTD_ME_Actual", 313, 'L', &C::YTD_ME_Actual),
    Money<C>("LY_ME_Billed", 317, 'L', &C::LY_ME_Billed),
    Money<C>("LY_ME_Actual", 321, 'L', &C::LY_ME_Actual),
    Money<C>("PY_ME_Billed", 325, 'L', &C::PY_ME_Billed),
    Money<C>("PY_ME_Actual", 329, 'L', &C::PY_ME_Actual),
    Money<C>("Deposits_In_Today", 333, 'L', &C::Deposits_In_Today),
    Money<C>("Deposits_Out_Today", 337, 'L', &C::Deposits_Out_Today),
    Money<C>("Deposits_In_MTD", 341, 'L', &C::Deposits_In_MTD),
    Money<C>("Deposits_Out_MTD", 345, 'L', &C::Deposits_Out_MTD),
    Money<C>("Deposits_In_YTD", 349, 'L', &C::Deposits_In_YTD),
    Money<C>("Deposits_Out_YTD", 353, 'L', &C::Deposits_Out_YTD),
    Money<C>("Rentals_Today", 357, 'L', &C::Rentals_Today),
    Money<C>("Rental_Parts_Today", 361, 'L', &C::Rental_Parts_Today),
    Money<C>("Rental_Labor_Today", 365, 'L', &C::Rental_Labor_Today),
    Money<C>("Rentals_MTD", 369, 'L', &C::Rentals_MTD),
    Money<C>("Rental_Parts_MTD", 373, 'L', &C::Rental_Parts_MTD),
    Money<C>("Rental_Labor_MTD", 377, 'L', &C::Rental_Labor_MTD),
    Money<C>("Rentals_YTD", 381, 'L', &C::Rentals_YTD),
    Money<C>("Rental_Parts_YTD", 385, 'L', &C::Rental_Parts_YTD),
    Money<C>("Rental_Labor_YTD", 389, 'L', &C::Rental_Labor_YTD),
    Text<C>("E_Mail_Password", 393, 8, &C::E_Mail_Password),
};

}  // namespace

std::span<const Field<clsCounterman>> clsCounterman::Layout() {
    return kLayout;
}

}  // namespace dv
