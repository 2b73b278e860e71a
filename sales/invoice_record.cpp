#include "sales/invoice_record.h"

#include <array>

#include "engine/codec.h"
#include "engine/error.h"
#include "records/page_chain.h"

namespace dv {

namespace invol {
bool IsInvoiceStatus(int32_t status) {
    switch (status) {
        case 1:
        case 2:
        case 3:
        case 13:
        case 17:
        case 19:
        case 99:
            return true;
        default:
            return false;
    }
}
bool IsShopStatus(int32_t status) {
    return status == 80 || status == 81;
}
}  // namespace invol

namespace {

using H = clsInvoiceHistory;
using namespace fields;

// ---- Invoice pages ----

void InvoiceShop(H& r, std::string_view) {
    r.Shop = false;
}

// FF FF FF stands for the customer's own account; any other value is read unsigned.
void UnpackInvoiceShipTo(H& r, std::string_view rec) {
    if (!BinaryFits('K', 141, rec.size())) return;
    r.ShipTo = Unpack("K", rec, 141);
    if (r.ShipTo != -1) r.ShipTo = Unpack("D", rec, 141);
    if (r.ShipTo < 0) r.ShipTo = r.Account;
}

// The page-1 date of the chain field, written from the invoice date.
void PackChainDate(const H& r, std::string& rec) {
    PackDate("D", rec, invol::kLinkPosition, r.Invoice_Date);
}

void UnpackTerminal54(H& r, std::string_view rec) {
    if (BinaryFits('B', 54, rec.size())) r.Terminal = Unpack("B", rec, 54);
}
// The writer stamps the terminal it runs on.
void PackTerminal54(const H&, std::string& rec) {
    Pack("B", rec, Sys(4), 54);
}

void PackPayType155(const H& r, std::string& rec) {
    Pack("B", rec, r.Pay_type_1, 155);
}

// Pack writes Rental into bit 6 of byte 116 and clears the shop bit; the common part sets the
// shop bit again for a shop page.
void PackInvoiceRental(const H& r, std::string& rec) {
    PutBit(rec, 116, 6, r.Rental);
    PutBit(rec, 116, 7, false);
}

void UnpackManual(H& r, std::string_view rec) {
    r.ManualInvoice = false;
    if (BinaryFits('B', 123, rec.size())) r.ManualInvoice = Unpack("B", rec, 123) > 20;
}

// The field at 151: a packing-slip number (L) on a page of status 2, a price code (C) else.
void UnpackField151(H& r, std::string_view rec) {
    if (!BinaryFits('J', 1, rec.size())) return;
    if (Unpack("J", rec, 1) == 2) {
        if (BinaryFits('L', 151, rec.size())) r.Packing_Slip_No = Unpack("L", rec, 151);
    } else if (BinaryFits('C', 151, rec.size())) {
        r.Price_Code = Unpack("C", rec, 151);
    }
}
void PackField151(const H& r, std::string& rec) {
    Pack("C", rec, r.Price_Code, 151);
    if (r.Packing_Slip_No != 0) Pack("L", rec, r.Packing_Slip_No, 151);
}

// Bit k of the flag word at 63: bits 0-7 are in byte 64, bits 8-15 in byte 63.
constexpr Field<H> WordBit(const char* name, uint8_t bit, int16_t H::*m) {
    return bit < 8 ? Bit<H>(name, 64, bit, m) : Bit<H>(name, 63, static_cast<uint8_t>(bit - 8), m);
}

constexpr std::array kInvoice = {
    Custom<H>("Shop", 1, 0, &InvoiceShop, nullptr),
    Long<H>("Account", 3, 'D', &H::Account),
    Custom<H>("ShipTo", 141, 3, &UnpackInvoiceShipTo, nullptr),
    DateField<H>("Invoice_Date", 48, 'J', &H::Invoice_Date),
    Custom<H>("(page-1 date)", 110, 3, nullptr, &PackChainDate),
    Long<H>("Invoice_Time", 50, 'C', &H::Invoice_Time),
    Custom<H>("Terminal", 54, 1, &UnpackTerminal54, &PackTerminal54),
    DateField<H>("DateDue", 55, 'J', &H::DateDue),
    Long<H>("UPSBoxes", 57, 'B', &H::UPSBoxes),
    Money<H>("Deposit", 58, 'K', &H::Deposit),
    ReadOnly(Long<H>("Future_Ship", 61, 'C', &H::Future_Ship)),
    DateField<H>("Future_Ship_Date", 61, 'J', &H::Future_Ship_Date),
    WordBit("Voided", 0, &H::Voided),
    WordBit("CreatedByEDI", 1, &H::CreatedByEDI),
    WordBit("Printed", 2, &H::Printed),
    WordBit("Pay_As_Sold", 3, &H::Pay_As_Sold),
    WordBit("Settled", 4, &H::Settled),
    WordBit("NonDemandSale", 5, &H::NonDemandSale),
    WordBit("EmergencyOrder", 6, &H::EmergencyOrder),
    WordBit("FarmPlanInvoice", 7, &H::FarmPlanInvoice),
    WordBit("PickTicketLabelPrinted", 8, &H::PickTicketLabelPrinted),
    WordBit("WarrantyUpdated", 9, &H::WarrantyUpdated),
    Long<H>("Pay_type_1", 65, 'B', &H::Pay_type_1),
    Custom<H>("(Pay_type_1 again)", 155, 1, nullptr, &PackPayType155),
    Money<H>("Pay_Amount_1", 66, 'K', &H::Pay_Amount_1),
    Long<H>("Pay_type_2", 69, 'B', &H::Pay_type_2),
    Money<H>("Pay_Amount_2", 70, 'K', &H::Pay_Amount_2),
    Long<H>("Pay_type_3", 73, 'B', &H::Pay_type_3),
    Money<H>("Pay_Amount_3", 74, 'K', &H::Pay_Amount_3),
    Packed<H>("Attention_of", 86, 20, &H::Attention_of),
    Long<H>("Invoice_Number", 106, 'L', &H::Invoice_Number),
    Long<H>("Number_of_Pages", 115, 'B', &H::Number_of_Pages),
    Bit<H>("Partial_Ship", 116, 1, &H::Partial_Ship),
    Bit<H>("Back_Orders", 116, 2, &H::Back_Orders),
    Bit<H>("Drop_Ship", 116, 4, &H::Drop_Ship),
    Bit<H>("Dated", 116, 5, &H::Dated),
    Custom<H>("(Rental)", 116, 1, nullptr, &PackInvoiceRental),
    Packed<H>("Purchase_Order_No", 117, 6, &H::Purchase_Order_No),
    Custom<H>("ManualInvoice", 123, 1, &UnpackManual, nullptr),
    Money<H>("Down_Payment", 158, 'K', &H::Down_Payment),
    Custom<H>("Price_Code, Packing_Slip_No", 151, 4, &UnpackField151, &PackField151),
    Long<H>("Category", 156, 'B', &H::Category),
};

// ---- Shop-job pages ----

void ShopShop(H& r, std::string_view) {
    r.Shop = true;
}

void UnpackCallDates(H& r, std::string_view rec) {
    std::array<Date, 3> dates{};
    for (int i = 0; i < 3; ++i) dates[static_cast<size_t>(i)] = UnPackDate("J", rec, 21 + 2 * i);
    r.CallDates = dates;
}
void PackCallDates(const H& r, std::string& rec) {
    for (int i = 0; i < 3; ++i) PackDate("J", rec, 21 + 2 * i, r.CallDates[static_cast<size_t>(i)]);
}

// Element 1 at 97, element 0 at 117; the array is replaced as a whole.
void UnpackWarrVend(H& r, std::string_view rec) {
    std::array<int32_t, 2> v{};
    if (BinaryFits('C', 117, rec.size())) v[0] = Unpack("C", rec, 117);
    if (BinaryFits('C', 97, rec.size())) v[1] = Unpack("C", rec, 97);
    r.WarrVend = v;
}
void PackWarrVend(const H& r, std::string& rec) {
    Pack("C", rec, r.WarrVend[1], 97);
    Pack("C", rec, r.WarrVend[0], 117);
}

void PackDeliveryAt100(const H& r, std::string& rec) {
    Pack("B", rec, r.Delivery_Code, 100);
}

void UnpackRental(H& r, std::string_view rec) {
    if (BinaryFits('B', 116, rec.size())) r.Rental = (Unpack("B", rec, 116) & 0x40) != 0;
}
void PackShopBit(const H&, std::string& rec) {
    PutBit(rec, 116, 7, true);
}

void UnpackCallStatus(H& r, std::string_view rec) {
    std::array<int32_t, 3> s{};
    for (int i = 0; i < 3; ++i)
        if (BinaryFits('B', 120 + i, rec.size()))
            s[static_cast<size_t>(i)] = Unpack("B", rec, 120 + i);
    r.CallStatus = s;
}
void PackCallStatus(const H& r, std::string& rec) {
    for (int i = 0; i < 3; ++i) Pack("B", rec, r.CallStatus[static_cast<size_t>(i)], 120 + i);
}

void ShopNotManual(H& r, std::string_view) {
    r.ManualInvoice = false;
}

void UnpackTerminal157(H& r, std::string_view rec) {
    if (BinaryFits('B', 157, rec.size())) r.Terminal = Unpack("B", rec, 157);
}
void PackTerminal157(const H&, std::string& rec) {
    Pack("B", rec, Sys(4), 157);
}

constexpr std::array kShop = {
    Custom<H>("Shop", 1, 0, &ShopShop, nullptr),
    Long<H>("Account", 3, 'L', &H::Account),
    Long<H>("ShipTo", 7, 'D', &H::ShipTo),
    Scaled<H>("ReplacementEstimate", 10, 'C', Scale::kUnits, &H::ReplacementEstimate),
    Scaled<H>("Meter", 14, 'D', Scale::kTenths, &H::Meter),
    DateField<H>("ScheduleDate", 17, 'J', &H::ScheduleDate),
    DateField<H>("PostCardDate", 19, 'J', &H::PostCardDate),
    Custom<H>("CallDates", 21, 6, &UnpackCallDates, &PackCallDates),
    Packed<H>("RepairBrand", 27, 10, &H::RepairBrand),
    Packed<H>("RepairBrandDescription", 37, 14, &H::RepairBrandDescription),
    Packed<H>("SerialNumber1", 51, 12, &H::SerialNumber1),
    Packed<H>("SerialNumber2", 63, 12, &H::SerialNumber2),
    Long<H>("ShopReference", 75, 'L', &H::ShopReference),
    Long<H>("Mechanic", 79, 'B', &H::Mechanic),
    Long<H>("PostCardCount", 80, 'B', &H::PostCardCount),
    Scaled<H>("EstimateAmount", 81, 'C', Scale::kUnits, &H::EstimateAmount),
    DateField<H>("PromiseDate", 83, 'J', &H::PromiseDate),
    DateField<H>("DeliveryDate", 85, 'J', &H::DeliveryDate),
    Packed<H>("Purchase_Order_No", 87, 6, &H::Purchase_Order_No),
    DateField<H>("DateCompleted", 93, 'J', &H::DateCompleted),
    DateField<H>("DateCheckedIn", 95, 'J', &H::DateCheckedIn),
    Custom<H>("WarrVend", 97, 2, &UnpackWarrVend, &PackWarrVend),
    Text<H>("Status", 99, 1, &H::Status),
    Custom<H>("(Delivery_Code at 100)", 100, 1, nullptr, &PackDeliveryAt100),
    Long<H>("JobNumber", 101, 'C', &H::JobNumber),
    Long<H>("TimeIn", 103, 'C', &H::TimeIn),
    Packed<H>("PhoneNumber2", 105, 8, &H::PhoneNumber2),
    Long<H>("Page", 115, 'B', &H::Page),
    Custom<H>("Rental", 116, 1, &UnpackRental, &PackShopBit),
    Text<H>("Warranty", 119, 1, &H::Warranty),
    Custom<H>("CallStatus", 120, 3, &UnpackCallStatus, &PackCallStatus),
    Custom<H>("ManualInvoice", 123, 0, &ShopNotManual, nullptr),
    Long<H>("Price_Code", 151, 'C', &H::Price_Code),
    Long<H>("Priority", 156, 'B', &H::Priority),
    Custom<H>("Terminal", 157, 1, &UnpackTerminal157, &PackTerminal157),
};

// ---- Every page ----

// A counter page drops the tens of its transaction byte (a manual invoice's 20); a credit
// turns a type 3 into 1 and a type 4 into 2.
void AdjustTransaction(H& r, std::string_view) {
    if (!r.Shop) r.Transaction_Type %= 10;
    if (r.Sub_Total < 0) {
        if (r.Transaction_Type == 3)
            r.Transaction_Type = 1;
        else if (r.Transaction_Type == 4)
            r.Transaction_Type = 2;
    }
}

void PackCommonShipTo(const H& r, std::string& rec) {
    Pack("K", rec, r.ShipTo, 141);
}
void PackShopBitByFlag(const H& r, std::string& rec) {
    PutBit(rec, 116, 7, r.Shop);
}

constexpr std::array kCommon = {
    Long<H>("Record_Status", 1, 'J', &H::Record_Status),
    Long<H>("AlternateTaxCode", 12, 'C', &H::AlternateTaxCode),
    Long<H>("COUNTERMAN_Number", 113, 'B', &H::COUNTERMAN_Number),
    Long<H>("Salesman_Number", 114, 'B', &H::Salesman_Number),
    Custom<H>("(shop bit)", 116, 1, nullptr, &PackShopBitByFlag),
    Long<H>("Transaction_Type", 123, 'B', &H::Transaction_Type),
    Long<H>("Delivery_Code", 124, 'B', &H::Delivery_Code),
    Money<H>("Sub_Total", 125, 'L', &H::Sub_Total),
    Custom<H>("(transaction type)", 123, 1, &AdjustTransaction, nullptr),
    Custom<H>("(ShipTo)", 141, 3, nullptr, &PackCommonShipTo),
    Long<H>("Disc_Percentage", 129, 'J', &H::Disc_Percentage),
    Money<H>("Discount_Amount", 131, 'L', &H::Discount_Amount),
    Long<H>("Tax_Rate", 135, 'C', &H::Tax_Rate),
    Money<H>("Tax_Amount", 137, 'L', &H::Tax_Amount),
    Long<H>("Department", 145, 'B', &H::Department),
    Text<H>("Sales_Code", 147, 1, &H::Sales_Code),
    Text<H>("Tax_Code", 148, 1, &H::Tax_Code),
    Long<H>("Tax_Rate_Code", 149, 'B', &H::Tax_Rate_Code),
    Long<H>("Terms_Code", 157, 'B', &H::Terms_Code),
};

// What UnpackListed decodes, each the layout's own field.
constexpr std::array kInvoiceListed = {Named(kInvoice, "Account"),
                                       Named(kInvoice, "Invoice_Number"),
                                       Named(kInvoice, "Purchase_Order_No")};
constexpr std::array kShopListed = {Named(kShop, "Account"), Named(kShop, "Purchase_Order_No")};
constexpr std::array kCommonListed = {Named(kCommon, "Record_Status"),
                                      Named(kCommon, "COUNTERMAN_Number"),
                                      Named(kCommon, "Sub_Total")};

}  // namespace

std::span<const Field<H>> clsInvoiceHistory::InvoiceLayout() {
    return kInvoice;
}
std::span<const Field<H>> clsInvoiceHistory::ShopLayout() {
    return kShop;
}
std::span<const Field<H>> clsInvoiceHistory::CommonLayout() {
    return kCommon;
}

void clsInvoiceHistory::Unpack(std::string_view record) {
    if (BinaryFits('J', 1, record.size())) {
        const int32_t status = dv::Unpack("J", record, 1);
        if (invol::IsInvoiceStatus(status))
            UnpackFields(InvoiceLayout(), *this, record);
        else if (invol::IsShopStatus(status))
            UnpackFields(ShopLayout(), *this, record);
    }
    UnpackFields(CommonLayout(), *this, record);
}

void clsInvoiceHistory::UnpackListed(std::string_view record) {
    if (BinaryFits('J', 1, record.size())) {
        const int32_t status = dv::Unpack("J", record, 1);
        if (invol::IsInvoiceStatus(status))
            UnpackFields<H>(kInvoiceListed, *this, record);
        else if (invol::IsShopStatus(status))
            UnpackFields<H>(kShopListed, *this, record);
    }
    UnpackFields<H>(kCommonListed, *this, record);
}

void clsInvoiceHistory::Pack(std::string& record) {
    if (invol::IsInvoiceStatus(Record_Status)) {
        PackFields(InvoiceLayout(), *this, record);
    } else if (invol::IsShopStatus(Record_Status)) {
        PackFields(ShopLayout(), *this, record);
        ManualInvoice = false;
    }
    if (Sub_Total < 0) {
        if (Transaction_Type == 1)
            Transaction_Type = 3;
        else if (Transaction_Type == 2)
            Transaction_Type = 4;
    }
    if (ManualInvoice) Transaction_Type += 20;
    PackFields(CommonLayout(), *this, record);
}

}  // namespace dv
