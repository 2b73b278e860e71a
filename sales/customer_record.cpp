#include "sales/customer_record.h"

#include <array>

#include "engine/address.h"
#include "engine/business_basic.h"
#include "engine/codec.h"
#include "engine/error.h"
#include "engine/key_lookup.h"
#include "engine/live_record.h"
#include "engine/packed_text.h"
#include "engine/tables.h"

namespace dv {
namespace {

using C = clsCustomers;
using namespace fields;

void NameSet(C&, std::string_view) {
    SwitchAlphabet(0, kNameSet);
}
void NameSetPack(const C&, std::string&) {
    SwitchAlphabet(0, kNameSet);
}
void DefaultSet(C&, std::string_view) {
    SwitchAlphabet(0, kPartSet);
}
void DefaultSetPack(const C&, std::string&) {
    SwitchAlphabet(0, kPartSet);
}

// The state and the ZIP code come from the 120 characters of the name and the address lines,
// decoded afresh for each under the name set.
void UnpackStateAndZip(C& r, std::string_view rec) {
    std::string block = UcmView(Mid(rec, 6, 80));
    r.State = GetStateFromAddress(block);
    block = UcmView(Mid(rec, 6, 80));
    r.Zip_Code = GetZipFromAddress(block);
}

// The clamps run whether or not their field was read, on the value the field holds.
void ClampPhone2(C& r, std::string_view) {
    if (r.Phone_Number_2 > 9999999 || r.Phone_Number_2 < 0) r.Phone_Number_2 = 0;
}
void ClampArea2(C& r, std::string_view) {
    if (r.Area_Code_2 > 999 || r.Area_Code_2 < 0) r.Area_Code_2 = 0;
}
void ClampArea3(C& r, std::string_view) {
    if (r.Area_Code_3 > 999 || r.Area_Code_3 < 0) r.Area_Code_3 = 0;
}
void ClampPhone3(C& r, std::string_view) {
    if (r.Phone_Number_3 > 9999999 || r.Phone_Number_3 < 0) r.Phone_Number_3 = 0;
}

const std::array kLayout = {
    Long<C>("Account", 3, 'D', &C::Account),
    Custom<C>("(name set)", 6, 0, &NameSet, &NameSetPack),
    Packed<C>("Name", 6, 20, &C::Name),
    Packed<C>("Address_Line_1", 26, 20, &C::Address_Line_1),
    Packed<C>("Address_Line_2", 46, 20, &C::Address_Line_2),
    Packed<C>("Address_Line_3", 66, 20, &C::Address_Line_3),
    Custom<C>("State, Zip_Code", 6, 80, &UnpackStateAndZip, nullptr),
    Custom<C>("(default set)", 86, 0, &DefaultSet, &DefaultSetPack),
    Long<C>("Area_Code", 86, 'C', &C::Area_Code),
    Long<C>("Phone_Number", 88, 'L', &C::Phone_Number),
    Bit<C>("Part_Sales_Trackng", 92, 0, &C::Part_Sales_Trackng),
    Bit<C>("Partial_Ship", 92, 1, &C::Partial_Ship),
    Bit<C>("Back_Order_Cust", 92, 2, &C::Back_Order_Cust),
    Bit<C>("Line_Sales_Trackng", 92, 3, &C::Line_Sales_Trackng),
    Long<C>("Default_Ship_Type", 93, 'B', &C::Default_Ship_Type),
    Long<C>("Category", 94, 'B', &C::Category),
    Long<C>("SalesMan", 95, 'B', &C::SalesMan),
    Text<C>("Credit_Code", 96, 1, &C::Credit_Code),
    Text<C>("Tax_Default", 97, 1, &C::Tax_Default),
    Long<C>("Tax_Table", 98, 'B', &C::Tax_Table),
    Long<C>("Branch_Code", 99, 'B', &C::Branch_Code),
    Text<C>("AR_Type", 100, 1, &C::AR_Type),
    Long<C>("Discount_Code", 101, 'B', &C::Discount_Code),
    Long<C>("Serv_Charge_Code", 102, 'B', &C::Serv_Charge_Code),
    Long<C>("Credit_Limit", 103, 'L', &C::Credit_Limit),
    Long<C>("Price_Matrix", 107, 'C', &C::Price_Matrix),
    Long<C>("Default_Level", 109, 'B', &C::Default_Level),
    Long<C>("Percentage_Bump", 110, 'J', &C::Percentage_Bump),
    DateField<C>("Date_SetUp", 112, 'D', &C::Date_SetUp),
    DateField<C>("Date_of_Last_Sale", 115, 'D', &C::Date_of_Last_Sale),
    DateField<C>("Date_of_Last_Pmt", 118, 'D', &C::Date_of_Last_Pmt),
    Money<C>("MTD_Sales", 121, 'L', &C::MTD_Sales),
    Money<C>("MTD_COGS", 125, 'L', &C::MTD_COGS),
    Money<C>("MTD_Charges", 129, 'L', &C::MTD_Charges),
    Money<C>("MTD_Credits", 133, 'L', &C::MTD_Credits),
    Money<C>("MTD_Payments", 137, 'L', &C::MTD_Payments),
    Money<C>("MTD_Adjustmnts", 141, 'L', &C::MTD_Adjustmnts),
    Money<C>("MTD_Discounts", 145, 'L', &C::MTD_Discounts),
    Money<C>("MTD_Tot_Bal", 149, 'L', &C::MTD_Tot_Bal),
    Money<C>("Statement_MTD", 153, 'L', &C::Statement_MTD),
    Money<C>("Statement_30_days", 157, 'L', &C::Statement_30_days),
    Money<C>("Statement_60_days", 161, 'L', &C::Statement_60_days),
    Money<C>("Statement_90_days", 165, 'L', &C::Statement_90_days),
    Money<C>("Statement_Tot_Due", 169, 'L', &C::Statement_Tot_Due),
    Money<C>("YTD_Sales", 173, 'L', &C::YTD_Sales),
    Money<C>("YTD_COGS", 177, 'L', &C::YTD_COGS),
    Long<C>("Alternate_Tax_Code", 181, 'C', &C::Alternate_Tax_Code),
    Text<C>("Group_Code", 183, 1, &C::Group_Code),
    Long<C>("Responsibility_Cd", 184, 'B', &C::Responsibility_Cd),
    Bit<C>("PO_Required", 185, 0, &C::PO_Required),
    Bit<C>("Approval_Required", 185, 1, &C::Approval_Required),
    Bit<C>("Print_Balance", 185, 2, &C::Print_Balance),
    Bit<C>("Print_Duplicate", 185, 3, &C::Print_Duplicate),
    Bit<C>("Prompt_Delivery", 185, 4, &C::Prompt_Delivery),
    Bit<C>("Dead_Account", 185, 5, &C::Dead_Account),
    Bit<C>("Write_Off", 185, 6, &C::Write_Off),
    Bit<C>("Prompt_Ship_To", 185, 7, &C::Prompt_Ship_To),
    Money<C>("PYTD_Sales", 186, 'L', &C::PYTD_Sales),
    Money<C>("PYTD_COGS", 190, 'L', &C::PYTD_COGS),
    DateField<C>("Date_of_Last_Close", 194, 'R', &C::Date_of_Last_Close),
    Long<C>("DetailChain", 197, 'L', &C::DetailChain),
    Long<C>("Phone_Number_2", 201, 'L', &C::Phone_Number_2),
    Custom<C>("(Phone_Number_2 clamp)", 201, 4, &ClampPhone2, nullptr),
    Packed<C>("Contact_1", 205, 12, &C::Contact_1),
    Packed<C>("CONTACT_2", 217, 12, &C::CONTACT_2),
    Packed<C>("Sales_Tax_No", 229, 8, &C::Sales_Tax_No),
    Text<C>("Delivery_Zone", 237, 5, &C::Delivery_Zone),
    Long<C>("Orders_MTD", 242, 'K', &C::Orders_MTD),
    Long<C>("Orders_Filled_MTD", 245, 'K', &C::Orders_Filled_MTD),
    Long<C>("Orders_YTD", 248, 'K', &C::Orders_YTD),
    Long<C>("Orders_Filled_YTD", 251, 'K', &C::Orders_Filled_YTD),
    Long<C>("Orders_PYTD", 254, 'K', &C::Orders_PYTD),
    Long<C>("Orders_Filled_PYTD", 257, 'K', &C::Orders_Filled_PYTD),
    Packed<C>("Duns_Number", 260, 10, &C::Duns_Number),
    Long<C>("Times_Past_Due_30", 270, 'B', &C::Times_Past_Due_30),
    Long<C>("Times_Past_Due_60", 271, 'B', &C::Times_Past_Due_60),
    Long<C>("Times_Past_Due_90", 272, 'B', &C::Times_Past_Due_90),
    Long<C>("High_Credit", 273, 'L', &C::High_Credit),
    Long<C>("Min_Autofill_Amt", 277, 'L', &C::Min_Autofill_Amt),
    Long<C>("MTD_Deposits", 281, 'L', &C::MTD_Deposits),
    Long<C>("Area_Code_2", 285, 'C', &C::Area_Code_2),
    Custom<C>("(Area_Code_2 clamp)", 285, 2, &ClampArea2, nullptr),
    Long<C>("Area_Code_3", 287, 'C', &C::Area_Code_3),
    Custom<C>("(Area_Code_3 clamp)", 287, 2, &ClampArea3, nullptr),
    Long<C>("Phone_Number_3", 289, 'L', &C::Phone_Number_3),
    Custom<C>("(Phone_Number_3 clamp)", 289, 4, &ClampPhone3, nullptr),
    Long<C>("Note_Chain", 297, 'L', &C::Note_Chain),
};

}  // namespace

std::span<const Field<clsCustomers>> clsCustomers::Layout() {
    return kLayout;
}

void clsCustomers::Unpack(std::string_view record) {
    UnpackFields(Layout(), *this, record);
    SwitchAlphabet(0, kPartSet);
}

void clsCustomers::Pack(std::string& record) const {
    PackFields(Layout(), *this, record);
    SwitchAlphabet(0, kPartSet);
}

namespace {

// The CUSTL record CUSTI names for an account, holding that account at 3.
std::string ReadCustomerRecord(cBusinessBasic& engine, int32_t record, int32_t account) {
    int16_t flag = 0;
    std::string data = engine.LreadFile("CUSTL", record, flag);
    CheckRecordNumber("CUSTL", record, Unpack("D", data, 3), AsField("D", account), "CUSTI");
    return data;
}

}  // namespace

std::string GetCustomerName(int32_t customer_number) {
    cBusinessBasic* engine = &RequireEngine("GetCustomerName");
    const int32_t record = FindByNumber(*engine, "CUSTI", customer_number);
    if (record < 1) return kCustomerNameNotFound;
    clsCustomers customer;
    customer.Unpack(ReadCustomerRecord(*engine, record, customer_number));
    return customer.Name;
}

bool ReadCustomer(cBusinessBasic& engine, int32_t account, clsCustomers& customer) {
    const int32_t record = FindByNumber(engine, "CUSTI", account);
    if (record <= 0) return false;
    int16_t flag = 0;
    customer.Unpack(ReadCustomerRecord(engine, record, account) +
                    engine.LreadFile("ECUSTL", record, flag));
    return true;
}

std::string RawCustomerName(cBusinessBasic& engine, int32_t account) {
    const int32_t record = FindByNumber(engine, "CUSTI", account);
    if (record <= 0) return {};
    // Seen in place: the checks and the name's decoding make no read in between.
    std::string scratch;
    const std::string_view data = engine.LreadFileView("CUSTL", record, scratch);
    CheckRecordNumber("CUSTL", record, Unpack("D", data, 3), AsField("D", account), "CUSTI");
    return UcmView(fields::Mid(data, 6, 20));
}

}  // namespace dv
