#include "sales/invoice_line_record.h"

#include <array>
#include <cstdio>

#include "engine/codec.h"
#include "engine/error.h"
#include "engine/numeric.h"
#include "engine/packed_text.h"

namespace dv {
namespace {

using D = clsInvoiceHistoryDetail;
using namespace fields;

constexpr std::string_view kRemark = "REM";
constexpr std::string_view kSerialRemark = "SN-";
constexpr std::string_view kBackOrderRemark = "B.O. INV";
constexpr std::string_view kUnitRemark = "...UNIT NUMBER...";

bool Begins(const std::string& text, std::string_view prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// A binary field read only when it lies wholly inside the record.
template <typename T>
void Read(T& member, const char* code, std::string_view rec, int32_t position) {
    if (BinaryFits(code[0], position, rec.size())) member = Unpack(code, rec, position);
}

// The flags of the word at 51, by bit (bit 0 first).
int16_t D::*const kFlagBits[16] = {
    &D::Special_Order,  &D::Trade_In,       &D::Pre_Posted,      &D::Non_Replaced,
    &D::Cost_Entered,   &D::Estimated_Cost, &D::Price_Changed,   &D::Warranty,
    &D::Service_Policy, &D::Emergency,      &D::Non_Stock,       &D::Return_Item,
    &D::Rebate,         &D::Defect,         &D::Factory_Freight, &D::Taxable};

void ResetRemarkFields(D& r, std::string_view) {
    r.snLine = 0;
    r.snPartNumber.clear();
    r.snQtyOrdered = 0;
    r.snFactory_Warranty = 0;
    r.boDate = MakeDate(1967, 12, 31);
    r.boRecNumber = 0;
}

void UnpackLine(D& r, std::string_view rec) {
    r.Line = UcmView(Mid(rec, 9, 2));
}
void PackLine(const D& r, std::string& rec) {
    std::string line = r.Line;
    if (!line.empty()) PutBytes(rec, 9, Crm(line));
}

// The part number twice: without dashes under " ,/.", and with its dash codes under " ,-.".
void UnpackPartNumber(D& r, std::string_view rec) {
    SwitchAlphabet(0, kPartSet);
    r.Part_Number = UcmView(Mid(rec, 11, 12));
    SwitchAlphabet(0, kNameSet);
    const std::string t = UcmView(Mid(rec, 11, 14));
    if (t.size() < 3) return;
    r.Part_w_Dash = t.substr(0, t.size() - 3);
    RestoreDashes(r.Part_w_Dash, std::string_view(t).substr(t.size() - 3));
}

void UnpackTexts(D& r, std::string_view rec) {
    r.Description = UcmView(Mid(rec, 25, 14));
    r.Comment = UcmView(Mid(rec, 11, 24));
}

// The three digits of a serial-number remark's line; anything else leaves 0.
int32_t SerialLine(std::string_view rec) {
    const std::string digits = UcmView(Mid(rec, 35, 2));
    if (!IsNumeric(digits)) return 0;
    try {
        return ParseLong(digits, "Unpack");
    } catch (const BasicError&) {
        return 0;
    }
}

void UnpackKind(D& r, std::string_view rec) {
    if (r.Line == kRemark) {
        r.Part_Number.clear();
        r.Part_w_Dash.clear();
        r.Description = r.Comment;
        r.Quantity = 0;
        r.Net_Each = 0;
        r.Cost_Each = 0;
        r.Taxable = 0;
        if (Begins(r.Comment, kSerialRemark)) {
            r.snLine = SerialLine(rec);
            r.snPartNumber = UcmView(Mid(rec, 37, 12));
            Read(r.snQtyOrdered, "J", rec, 49);
            Read(r.snFactory_Warranty, "B", rec, 51);
        }
        if (Begins(r.Comment, kBackOrderRemark)) {
            Read(r.boRecNumber, "C", rec, 35);
            r.boDate = UnPackDate("J", rec, 37);
        }
        if (Begins(r.Comment, kUnitRemark)) Read(r.UnitNet, "L", rec, 48);
        return;
    }
    Read(r.Quantity, "J", rec, 39);
    Read(r.Net_Each, "D", rec, 41);
    Read(r.Cost_Each, "D", rec, 44);
    Read(r.Back_Ordered_Qty, "J", rec, 47);
    if (rec.size() >= 49) r.Commodity = std::string(Mid(rec, 49, 1));
    Read(r.Mechanic_No, "B", rec, 50);
    if (!BinaryFits('C', 51, rec.size())) return;
    const int32_t word = Unpack("C", rec, 51);
    for (int bit = 15; bit >= 0; --bit)
        r.*kFlagBits[bit] = static_cast<int16_t>(Min(word & (1 << bit), 1));
}

void PackKind(const D& r, std::string& rec) {
    if (r.Line == kRemark) {
        SwitchAlphabet(0, kNameSet);
        PutBytes(rec, 11, PackedBytes(r.Comment, 24));
        if (Begins(r.Comment, kSerialRemark)) {
            char digits[16];
            std::snprintf(digits, sizeof digits, "%03d", r.snLine);
            PutBytes(rec, 35, PackedBytes(digits, 2));
            PutBytes(rec, 37, PackedBytes(r.snPartNumber, 12));
            try {
                Pack("J", rec, r.snQtyOrdered, 49);
                Pack("B", rec, r.snFactory_Warranty, 51);
            } catch (const BasicError&) {
            }
        }
        if (Begins(r.Comment, kBackOrderRemark)) {
            try {
                Pack("C", rec, r.boRecNumber, 35);
                PackDate("J", rec, 37, r.boDate);
            } catch (const BasicError&) {
            }
        }
        if (Begins(r.Comment, kUnitRemark)) {
            try {
                Pack("L", rec, To32(r.UnitNet, "Pack"), 48);
            } catch (const BasicError&) {
            }
        }
        return;
    }
    std::string part = r.Part_w_Dash;
    std::string mask;
    StripCode(part, mask);
    SwitchAlphabet(0, kPartSet);
    PutBytes(rec, 11, PackedBytes(part, 12));
    SwitchAlphabet(0, kNameSet);
    PutBytes(rec, 23, PackedBytes(mask, 2));
    PutBytes(rec, 25, PackedBytes(r.Description, 14));
    // Each binary field on its own: one that does not fit leaves its bytes.
    const auto put = [&rec](const char* code, int64_t value, int32_t position) {
        try {
            Pack(code, rec, To32(value, "Pack"), position);
        } catch (const BasicError&) {
        }
    };
    put("J", r.Quantity, 39);
    put("D", r.Net_Each, 41);
    put("D", r.Cost_Each, 44);
    put("J", r.Back_Ordered_Qty, 47);
    PutBytes(rec, 49, PlainBytes(r.Commodity, 1));
    put("B", r.Mechanic_No, 50);
    try {
        for (int bit = 15; bit >= 0; --bit) {
            int32_t w = Unpack("C", rec, 51) & (65535 - (1 << bit));
            if (r.*kFlagBits[bit] != 0) w |= 1 << bit;
            Pack("C", rec, w, 51);
        }
    } catch (const BasicError&) {
    }
}

const std::array kLayout = {
    Custom<D>("(remark fields reset)", 35, 0, &ResetRemarkFields, nullptr),
    Long<D>("Invoice_Number", 3, 'L', &D::Invoice_Number),
    Long<D>("Item_Number", 7, 'C', &D::Item_Number),
    Custom<D>("Line", 9, 2, &UnpackLine, &PackLine),
    Custom<D>("Part_Number, Part_w_Dash", 11, 14, &UnpackPartNumber, nullptr),
    Custom<D>("Description, Comment", 11, 28, &UnpackTexts, nullptr),
    Custom<D>("(by kind of line)", 11, 42, &UnpackKind, &PackKind),
};

}  // namespace

std::span<const Field<D>> clsInvoiceHistoryDetail::Layout() {
    return kLayout;
}

void clsInvoiceHistoryDetail::Unpack(std::string_view record) {
    UnpackFields(Layout(), *this, record);
    SwitchAlphabet(0, kNameSet);
}

void clsInvoiceHistoryDetail::Pack(std::string& record) const {
    PackFields(Layout(), *this, record);
    SwitchAlphabet(0, kNameSet);
}

}  // namespace dv
