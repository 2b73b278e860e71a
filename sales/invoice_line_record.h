// clsInvoiceHistoryDetail: one invoice line as a 52-byte record: two bytes this class leaves
// alone, the invoice number (L at 3), the item number (C at 7), then the 44 bytes of one line
// slot of an INVOL page, so that slot position p stands at record position p + 8.
//
// Two kinds of line share the slot. An item line: line code, part number (12 packed bytes
// without dashes, then a packed word of up to three dash codes), description, quantity and
// back-ordered quantity in tenths, net price and cost in cents, commodity character, mechanic
// number and sixteen flags. A remark line ("REM"): a 36-character comment, and behind it the
// fields of its kind ("SN-", "B.O. INV", "...UNIT NUMBER...").
//
// Units: Quantity and Back_Ordered_Qty are int64_t tenths; Net_Each, Cost_Each and UnitNet
// int64_t cents. The line code is decoded and encoded under the alphabet in force when the call
// begins; the part number under " ,/." (Part_Number) and " ,-." (Part_w_Dash); everything else
// under " ,-.", which both calls leave in force.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "engine/dates.h"
#include "engine/record_fields.h"

namespace dv {

class clsInvoiceHistoryDetail {
  public:
    static constexpr size_t kRecordLength = 52;

    int32_t Invoice_Number = 0;
    int32_t Item_Number = 0;
    std::string Line;              // 3 characters; "REM" a remark line
    std::string Part_Number;       // 18 characters without dashes, " ,/."
    std::string Part_w_Dash;       // the same characters under " ,-." with the dashes put back
    std::string Description;       // 21 characters; a remark line's comment
    std::string Comment;           // 36 characters from record byte 11
    int64_t Quantity = 0;          // tenths
    int64_t Net_Each = 0;          // cents, unsigned on disk
    int64_t Cost_Each = 0;         // cents
    int64_t Back_Ordered_Qty = 0;  // tenths
    std::string Commodity;         // one character as stored
    int32_t Mechanic_No = 0;
    int16_t Taxable = 0, Factory_Freight = 0, Defect = 0, Rebate = 0;
    int16_t Return_Item = 0, Non_Stock = 0, Emergency = 0, Service_Policy = 0;
    int16_t Warranty = 0, Price_Changed = 0, Estimated_Cost = 0, Cost_Entered = 0;
    int16_t Non_Replaced = 0, Pre_Posted = 0, Trade_In = 0, Special_Order = 0;
    int32_t snLine = 0;
    std::string snPartNumber;
    int32_t snQtyOrdered = 0;
    int32_t snFactory_Warranty = 0;
    std::string snSerialNumber;   // not stored
    int32_t snFlooringRecNo = 0;  // not stored
    Date boDate = MakeDate(1967, 12, 31);
    int32_t boRecNumber = 0;
    int32_t boInvoiceNumber = 0;  // not stored
    int32_t boPurchaseOrder = 0;  // not stored
    int64_t UnitNet = 0;          // cents

    // Decodes a line record. Never raises: a binary field past the end keeps its value, a
    // text cut short decodes the bytes present.
    void Unpack(std::string_view record);
    // Encodes the line into record in place; its length never changes. Never raises. The
    // part number is written from Part_W_Dash alone, at most three dash codes kept.
    void Pack(std::string& record) const;

    static std::span<const fields::Field<clsInvoiceHistoryDetail>> Layout();
};

}  // namespace dv
