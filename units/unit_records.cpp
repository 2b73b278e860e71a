#include "units/unit_records.h"

#include <array>

#include "engine/business_basic.h"
#include "engine/codec.h"
#include "engine/index_cursor.h"
#include "units/record_chain.h"

namespace dv {
namespace {

using namespace fields;
using U = clsUnits;
using G = clsUnitsLedger;
using N = clsUnitnotes;
using H = clsUnitsHistory;

constexpr std::array kUnitLayout = {
    Long<U>("Line", 3, 'C', &U::Line),
    Packed<U>("Model_Number", 5, 12, &U::Model_Number),
    Packed<U>("Model_Number_W_Dash", 5, 14, &U::Model_Number_W_Dash),
    Text<U>("Unit_Number", 20, 8, &U::Unit_Number),
    Packed<U>("Model_Description", 28, 14, &U::Model_Description),
    Text<U>("Make_or_Manufacturer", 42, 15, &U::Make_or_Manufacturer),
    Packed<U>("Unit_Serial_Number", 57, 12, &U::Unit_Serial_Number),
    Text<U>("Manufacturers_Identificati", 69, 5, &U::Manufacturers_Identificati),
    Long<U>("Model_Year", 74, 'C', &U::Model_Year),
    Text<U>("Model_Series_Number", 76, 4, &U::Model_Series_Number),
    Text<U>("Engine_Type", 80, 2, &U::Engine_Type),
    Text<U>("Engine_ID_Number", 82, 12, &U::Engine_ID_Number),
    Text<U>("Drive_type_2wd_4wd", 94, 2, &U::Drive_type_2wd_4wd),
    Text<U>("Unit_Color", 96, 5, &U::Unit_Color),
    Long<U>("Meter_Reading", 101, 'D', &U::Meter_Reading),
    Text<U>("Unit_Status_A_R_S_U", 104, 1, &U::Unit_Status_A_R_S_U),
    Text<U>("User_Defined_Unit_Type", 105, 1, &U::User_Defined_Unit_Type),
    Text<U>("Location_of_Unit", 106, 6, &U::Location_of_Unit),
    Long<U>("User_Defined_Numeric_1", 112, 'L', &U::User_Defined_Numeric_1),
    Long<U>("User_Defined_Numeric_2", 116, 'L', &U::User_Defined_Numeric_2),
    Text<U>("User_Defined_Alpha_1", 120, 12, &U::User_Defined_Alpha_1),
    Text<U>("User_Defined_Alpha_2", 132, 12, &U::User_Defined_Alpha_2),
    Long<U>("Sold_To_Customer_Number", 144, 'D', &U::Sold_To_Customer_Number),
    DateField<U>("Date_Received_In", 147, 'J', &U::Date_Received_In),
    DateField<U>("Date_Sold", 149, 'J', &U::Date_Sold),
    Long<U>("Sold_Invoice_Number", 151, 'L', &U::Sold_Invoice_Number),
    Money<U>("Dealers_List_Price", 155, 'L', &U::Dealers_List_Price),
    Money<U>("Suggested_LIst_Price", 159, 'L', &U::Suggested_LIst_Price),
    Money<U>("Amount_Sold_For", 163, 'L', &U::Amount_Sold_For),
    DateField<U>("Factory_Warranty_Expiratio", 167, 'J', &U::Factory_Warranty_Expiratio),
    DateField<U>("Extended_Warranty_Expirati", 169, 'J', &U::Extended_Warranty_Expirati),
    Text<U>("User_Defined_Warranty_Code", 171, 2, &U::User_Defined_Warranty_Code),
    Money<U>("Extended_Warranty_Cost", 173, 'L', &U::Extended_Warranty_Cost),
    Packed<U>("Flooring_Number", 177, 7, &U::Flooring_Number),
    Long<U>("GL_Inventory_Account_No", 184, 'L', &U::GL_Inventory_Account_No),
    Long<U>("GL_Cost_Goods_Account_No", 188, 'L', &U::GL_Cost_Goods_Account_No),
    Long<U>("GL_Over_Allow_Account_No", 192, 'L', &U::GL_Over_Allow_Account_No),
    Long<U>("Flooring_Line", 196, 'C', &U::Flooring_Line),
    Text<U>("Unit_Number_Traded_Against", 198, 8, &U::Unit_Number_Traded_Against),
    Long<U>("Accounts_Payable_Vendor_No", 206, 'L', &U::Accounts_Payable_Vendor_No),
    Long<U>("Selling_Salesman_Number", 210, 'B', &U::Selling_Salesman_Number),
    Text<U>("FlooringInvoice", 211, 9, &U::FlooringInvoice),
    Text<U>("FlooringPayment", 220, 9, &U::FlooringPayment),
    DateField<U>("FlooringDateDue", 229, 'J', &U::FlooringDateDue),
    DateField<U>("FlooringDatePaid", 231, 'J', &U::FlooringDatePaid),
    Long<U>("NoteChain", 501, 'L', &U::NoteChain),
    Long<U>("SubLedgerChain", 505, 'L', &U::SubLedgerChain),
    Long<U>("HistoryChain", 509, 'L', &U::HistoryChain),
};

constexpr std::array kLedgerLayout = {
    Long<G>("Line", 3, 'C', &G::Line),
    Text<G>("Unit_Number", 5, 8, &G::Unit_Number),
    DateField<G>("Transaction_Date", 13, 'J', &G::Transaction_Date),
    Text<G>("Journal_Type", 15, 2, &G::Journal_Type),
    Long<G>("Journal_Number", 17, 'C', &G::Journal_Number),
    Text<G>("Transaction_Description", 19, 30, &G::Transaction_Description),
    Long<G>("Account", 49, 'L', &G::Account),
    Money<G>("Amount", 57, 'L', &G::Amount),
    Long<G>("Chain", 61, 'L', &G::Chain),
};

// What the stock walks read of a unit and of a ledger entry; a unit's other fields are decoded
// only for a visitor that shows them. Each is the layout's own field, so it decodes as Unpack does.
constexpr std::array kUnitStockFields = {Named(kUnitLayout, "Date_Sold"),
                                         Named(kUnitLayout, "SubLedgerChain")};
constexpr std::array kLedgerSumFields = {Named(kLedgerLayout, "Amount"),
                                         Named(kLedgerLayout, "Chain")};

std::string TrimBlanks(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

// A note's text field: trimmed on reading, written like any plain text.
template <std::string N::*M, int32_t P, int32_t W>
void UnpackTrimmed(N& r, std::string_view rec) {
    r.*M = TrimBlanks(Mid(rec, P, W));
}
template <std::string N::*M, int32_t P, int32_t W>
void PackPlain(const N& r, std::string& rec) {
    PutBytes(rec, P, PlainBytes(r.*M, W));
}
template <std::string N::*M, int32_t P, int32_t W>
constexpr Field<N> TrimmedText(const char* name) {
    return Custom<N>(name, P, W, &UnpackTrimmed<M, P, W>, &PackPlain<M, P, W>);
}

// Bytes 23-24 of a note: a date for type 1, a quantity for types 2 to 4, nothing otherwise.
const Field<N> kNoteDate = DateField<N>("NoteDate", 23, 'J', &N::NoteDate);
const Field<N> kNoteQuantity = Long<N>("Quantity", 23, 'C', &N::Quantity);
const Field<N>* NoteWordField(int32_t type) {
    if (type == 1) return &kNoteDate;
    if (type >= 2 && type <= 4) return &kNoteQuantity;
    return nullptr;
}
void UnpackNoteWord(N& r, std::string_view rec) {
    if (const Field<N>* f = NoteWordField(r.NoteType)) UnpackField(*f, r, rec);
}
void PackNoteWord(const N& r, std::string& rec) {
    if (const Field<N>* f = NoteWordField(r.NoteType)) PackField(*f, r, rec);
}

const std::array kNoteLayout = {
    Long<N>("NoteType", 1, 'C', &N::NoteType),
    TrimmedText<&N::UnitNumber, 3, 8>("UnitNumber"),
    TrimmedText<&N::Code, 11, 12>("Code"),
    Custom<N>("Quantity or NoteDate", 23, 2, &UnpackNoteWord, &PackNoteWord),
    TrimmedText<&N::Description, 25, 36>("Description"),
    Money<N>("Cost", 61, 'L', &N::Cost),
    Money<N>("List", 65, 'L', &N::List),
    Long<N>("ShopReference", 69, 'L', &N::ShopReference),
    Long<N>("Chain", 81, 'L', &N::Chain),
};

constexpr int32_t kWorkAt[3] = {19, 67, 115};
constexpr int32_t kWorkWidth = 48;

void UnpackWork(H& r, std::string_view rec) {
    for (size_t i = 0; i < 3; ++i)
        r.WorkPerformed[i] = std::string(Mid(rec, kWorkAt[i], kWorkWidth));
}
// Only the characters a value has, cut at the width: the rest of the slot stays.
void PackWork(const H& r, std::string& rec) {
    for (size_t i = 0; i < 3; ++i)
        PutBytes(rec, kWorkAt[i], std::string_view(r.WorkPerformed[i]).substr(0, kWorkWidth));
}
void PackWarrantySwitch(const H& r, std::string& rec) {
    PutBytes(rec, 167, std::string_view(r.WarrantySwitch).substr(0, 1));
}
void UnpackWarrantySwitch(H& r, std::string_view rec) {
    r.WarrantySwitch = std::string(Mid(rec, 167, 1));
}

const std::array kHistoryLayout = {
    Long<H>("Line", 3, 'C', &H::Line),
    Text<H>("UnitNumber", 5, 8, &H::UnitNumber),
    DateField<H>("DateServiced", 13, 'J', &H::DateServiced),
    Long<H>("InvoiceNumber", 15, 'L', &H::InvoiceNumber),
    Custom<H>("WorkPerformed", 19, 144, &UnpackWork, &PackWork),
    Long<H>("Account", 163, 'L', &H::Account),
    Custom<H>("WarrantySwitch", 167, 1, &UnpackWarrantySwitch, &PackWarrantySwitch),
    Long<H>("ShopRef", 168, 'L', &H::ShopRef),
    Money<H>("Amount", 172, 'L', &H::Amount),
    Long<H>("Chain", 253, 'L', &H::Chain),
};

}  // namespace

std::span<const Field<clsUnits>> clsUnits::Layout() {
    return kUnitLayout;
}
std::span<const Field<clsUnitsLedger>> clsUnitsLedger::Layout() {
    return kLedgerLayout;
}
std::span<const Field<clsUnitnotes>> clsUnitnotes::Layout() {
    return kNoteLayout;
}
std::span<const Field<clsUnitsHistory>> clsUnitsHistory::Layout() {
    return kHistoryLayout;
}
bool UnitInStock(const clsUnits& unit) {
    return unit.Date_Sold == EmptyDate();
}

int64_t UnitLedgerSum(int32_t first) {
    RecordChain chain(RequireEngine("GetUnitLineData"), "LUNITL", first);
    int64_t sum = 0;
    std::string data;
    int32_t number = 0;
    while (chain.Next(data, number)) {
        clsUnitsLedger entry;  // fresh per entry: a field the record lacks reads as 0
        UnpackFields<G>(kLedgerSumFields, entry, data);
        sum += entry.Amount;
        chain.SetNext(entry.Chain);
    }
    return sum;
}

namespace {

// The walk of one line's units in key order. Each unit's stock fields are decoded first; a unit
// in stock is decoded whole when kWhole (before its ledger's reads, as its record is seen in
// place) and handed to visit with its ledger sum.
template <bool kWhole, typename Visit>
void WalkLineUnits(int32_t line, Visit&& visit) {
    cBusinessBasic& engine = RequireEngine("GetUnitLineData");
    std::string prefix(2, '\0');
    Pack("C", prefix, line, 1);
    std::string scratch;
    IndexCursor(engine, "LUNITI").Walk(KeyRange::Prefix(prefix), [&](const IndexCursor& at) {
        // A fresh object per unit: nothing of one unit carries over to the next.
        clsUnits unit;
        const std::string_view record = engine.LreadFileView("UNITL", at.record(), scratch);
        UnpackFields<U>(kUnitStockFields, unit, record);
        if (!UnitInStock(unit)) return;
        if constexpr (kWhole) unit.Unpack(record);
        visit(unit, UnitLedgerSum(unit.SubLedgerChain));
    });
}

}  // namespace

void ForEachUnitInStock(int32_t line, const std::function<void(const clsUnits&, int64_t)>& visit) {
    WalkLineUnits<true>(line, visit);
}

int64_t LineStockCost(int32_t line) {
    int64_t sum = 0;
    WalkLineUnits<false>(line, [&sum](const clsUnits&, int64_t cost) { sum += cost; });
    return sum;
}

}  // namespace dv
