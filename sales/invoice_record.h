// clsInvoiceHistory: the header of one page of INVOL, the file of counter documents (pick
// tickets, saved invoices, invoices) and shop jobs. Each document is a chain of pages from a
// head record that carries the highest page number down to page 1 (see records/page_chain.h).
//
// The status word at 1 chooses the header's variant: 1, 2, 3, 13, 17, 19 and 99 are invoice
// pages, 80 and 81 shop-job pages (Shop true); any other status reads only the common fields,
// and every field of the variants, Shop and ManualInvoice keep their values. An object reused
// for several pages therefore carries the fields of the other variant over.
//
// Units: money fields are int64_t whole cents as stored; Meter is tenths; ReplacementEstimate
// and EstimateAmount are whole currency units. Days are 2-byte day numbers. Flags are int16_t 1
// or 0. Packed texts decode under whatever alphabet is in force: the class never switches it.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "engine/dates.h"
#include "engine/record_fields.h"

namespace dv {

// The page-chain fields every INVOL page carries are in records/page_chain.h.
namespace invol {
// True for the status words of invoice pages, and of shop-job pages.
bool IsInvoiceStatus(int32_t status);
bool IsShopStatus(int32_t status);
}  // namespace invol

class clsInvoiceHistory {
  public:
    int32_t Record_Status = 0;  // 1 J
    int32_t Account = 0;        // invoice: 3 D; shop job: 3 L
    int32_t AlternateTaxCode = 0;
    int32_t Invoice_Time = 0;
    Date Invoice_Date = EmptyDate();
    int32_t Future_Ship = 0;
    int32_t Terminal = 0;
    Date DateDue = EmptyDate();
    int32_t UPSBoxes = 0;
    int64_t Deposit = 0;  // cents
    Date Future_Ship_Date = EmptyDate();
    int16_t Voided = 0, CreatedByEDI = 0, Printed = 0, Pay_As_Sold = 0, Settled = 0;
    int16_t NonDemandSale = 0, EmergencyOrder = 0, FarmPlanInvoice = 0;
    int16_t PickTicketLabelPrinted = 0, WarrantyUpdated = 0;
    int32_t Pay_type_1 = 0;
    int64_t Pay_Amount_1 = 0;
    int32_t Pay_type_2 = 0;
    int64_t Pay_Amount_2 = 0;
    int32_t Pay_type_3 = 0;
    int64_t Pay_Amount_3 = 0;
    std::string Attention_of;
    int32_t Invoice_Number = 0;  // the pick-ticket or invoice number, TICKI's key
    int32_t COUNTERMAN_Number = 0;
    int32_t Salesman_Number = 0;
    int32_t Number_of_Pages = 0;
    int16_t Partial_Ship = 0, Back_Orders = 0, Drop_Ship = 0, Dated = 0;
    std::string Purchase_Order_No;
    bool ManualInvoice = false;
    int32_t Transaction_Type = 0;
    int32_t Delivery_Code = 0;
    int64_t Sub_Total = 0;  // cents
    int32_t Disc_Percentage = 0;
    int64_t Discount_Amount = 0;  // cents
    int32_t Tax_Rate = 0;
    int64_t Tax_Amount = 0;  // cents
    int32_t ShipTo = 0;      // invoice: the customer's own account for bytes FF FF FF
    int32_t Department = 0;
    std::string Sales_Code;
    std::string Tax_Code;
    int32_t Tax_Rate_Code = 0;
    int32_t Price_Code = 0;
    int32_t Packing_Slip_No = 0;
    int32_t Category = 0;
    int32_t Terms_Code = 0;
    int64_t Down_Payment = 0;         // cents
    int64_t ReplacementEstimate = 0;  // whole units
    int64_t Meter = 0;                // tenths
    Date ScheduleDate = EmptyDate();
    Date PostCardDate = EmptyDate();
    std::array<Date, 3> CallDates{EmptyDate(), EmptyDate(), EmptyDate()};
    std::string RepairBrand;
    std::string RepairBrandDescription;
    std::string SerialNumber1;
    std::string SerialNumber2;
    int32_t ShopReference = 0;
    int32_t Mechanic = 0;
    int32_t PostCardCount = 0;
    int64_t EstimateAmount = 0;  // whole units
    Date PromiseDate = EmptyDate();
    Date DeliveryDate = EmptyDate();
    Date DateCompleted = EmptyDate();
    Date DateCheckedIn = EmptyDate();
    std::string Status;
    int32_t DeliveryCode = 0;  // not stored
    int32_t JobNumber = 0;
    int32_t TimeIn = 0;
    std::string PhoneNumber2;
    int32_t Page = 0;
    bool Rental = false;
    bool Shop = false;
    int32_t Distributor = 0;  // not stored
    std::array<int32_t, 2> WarrVend{};
    std::string Warranty;
    std::array<int32_t, 3> CallStatus{};
    int32_t Priority = 0;
    int32_t RecordNumber = 0;  // not stored
    std::string Notes;         // not stored
    int32_t Codes = 0;         // not stored

    // Decodes one page's header. Never raises; a field that fails keeps its value.
    void Unpack(std::string_view record);
    // Decodes only what a list of open documents shows of a head page: Record_Status, Account,
    // Invoice_Number, COUNTERMAN_Number, Purchase_Order_No and Sub_Total, each as Unpack decodes
    // it; the other members keep their values. Never raises.
    void UnpackListed(std::string_view record);
    // Encodes the fields into record in place, choosing the variant by Record_Status. Never
    // raises. It adjusts Transaction_Type on the object as it writes it (a negative sub-total
    // turns 1 into 3 and 2 into 4; a manual invoice adds 20), and a shop-job page clears
    // ManualInvoice.
    void Pack(std::string& record);

    static std::span<const fields::Field<clsInvoiceHistory>> InvoiceLayout();
    static std::span<const fields::Field<clsInvoiceHistory>> ShopLayout();
    static std::span<const fields::Field<clsInvoiceHistory>> CommonLayout();
};

}  // namespace dv
