#include "units/floor_plan_record.h"

#include <array>

#include "engine/business_basic.h"
#include "engine/codec.h"
#include "engine/error.h"
#include "engine/index_cursor.h"
#include "engine/numeric.h"
#include "engine/packed_text.h"

namespace dv {
namespace {

using namespace fields;
using F = clsFloorPlan;
using X = clsFloorPlanExtent;

// The alphabet switches between the fields, as steps of the table.
void PartAlphabet(F&, std::string_view) {
    SwitchAlphabet(0, kPartSet);
}
void PartAlphabetPack(const F&, std::string&) {
    SwitchAlphabet(0, kPartSet);
}
void NameAlphabet(F&, std::string_view) {
    SwitchAlphabet(0, kNameSet);
}
void NameAlphabetPack(const F&, std::string&) {
    SwitchAlphabet(0, kNameSet);
}

const std::array kFloorPlanLayout = {
    Long<F>("Line", 3, 'C', &F::Line),
    Custom<F>("part-number alphabet", 5, 0, &PartAlphabet, &PartAlphabetPack),
    Packed<F>("Part_Number", 5, 12, &F::Part_Number),
    Custom<F>("names alphabet", 17, 0, &NameAlphabet, &NameAlphabetPack),
    Packed<F>("Serial_Number", 17, 12, &F::Serial_Number),
    Packed<F>("Reference_1", 29, 6, &F::Reference_1),
    Packed<F>("Reference_2", 35, 4, &F::Reference_2),
    DateField<F>("Date_Received", 39, 'J', &F::Date_Received),
    DateField<F>("Date_Sold", 41, 'J', &F::Date_Sold),
    DateField<F>("Date_Due", 43, 'J', &F::Date_Due),
    DateField<F>("Date_Paid", 45, 'J', &F::Date_Paid),
    Packed<F>("Payment_Reference", 47, 4, &F::Payment_Reference),
    Money<F>("Cost", 51, 'K', &F::Cost),
    Money<F>("Sold_For_Price", 54, 'K', &F::Sold_For_Price),
    Long<F>("Account", 57, 'D', &F::Account),
    Long<F>("Customer_Invoice", 60, 'L', &F::Customer_Invoice),
    DateField<F>("pas_Date_Due", 64, 'J', &F::pas_Date_Due),
    DateField<F>("pas_Date_Paid", 66, 'J', &F::pas_Date_Paid),
    Packed<F>("pas_Payment_Ref", 68, 4, &F::pas_Payment_Ref),
    Packed<F>("pas_Status", 72, 4, &F::pas_Status),
    Long<F>("pas_Serv_Chg_Perc", 76, 'C', &F::pas_Serv_Chg_Perc),
    Money<F>("pas_Amount_Paid", 78, 'K', &F::pas_Amount_Paid),
    Long<F>("ExtentChain", 94, 'D', &F::ExtentChain),
};

// The fields of each form of an extent, behind its line word at 3.
const std::array kPartLineForm = {
    Packed<X>("PartNumber", 5, 12, &X::PartNumber),
    Long<X>("Quantity", 17, 'J', &X::Quantity),
    Money<X>("Cost", 19, 'D', &X::Cost),
    Money<X>("Net", 22, 'D', &X::Net),
};
const std::array kTextForm = {
    Packed<X>("Comment", 5, 24, &X::Comment),
};

bool IsPartLine(int32_t word) {
    return word >= X::kFirstPartLine && word <= X::kLastPartLine;
}

// The line word and the form it chooses.
void UnpackForm(X& r, std::string_view rec) {
    if (!BinaryFits('C', 3, rec.size())) return;
    const int32_t word = dv::Unpack("C", rec, 3);
    if (IsPartLine(word)) {
        r.Line = word;
        UnpackFields<X>(kPartLineForm, r, rec);
    } else {
        r.Line = UcmView(Mid(rec, 3, 2));
        UnpackFields<X>(kTextForm, r, rec);
    }
}

// The number Pack writes for Line, when it reads as one.
bool LineNumber(const X& r, int32_t& number) {
    if (const int32_t* n = std::get_if<int32_t>(&r.Line)) {
        number = *n;
        return true;
    }
    const std::string& text = std::get<std::string>(r.Line);
    if (!IsNumeric(text)) return false;
    try {
        number = ParseLong(text, "Pack");
    } catch (const BasicError&) {
        return false;
    }
    return true;
}

void PackForm(const X& r, std::string& rec) {
    int32_t number = 0;
    if (LineNumber(r, number)) {
        try {
            dv::Pack("C", rec, number, 3);
        } catch (const BasicError&) {
            // The line word keeps its bytes; the form's fields are still written.
        }
        PackFields<X>(kPartLineForm, r, rec);
    } else {
        PutBytes(rec, 3, PackedBytes(std::get<std::string>(r.Line).substr(0, 3), 2));
        PackFields<X>(kTextForm, r, rec);
    }
}

const std::array kExtentLayout = {
    Long<X>("Status", 1, 'C', &X::Status),
    Custom<X>("Line and its form", 3, 26, &UnpackForm, &PackForm),
    Long<X>("ExtentChain", 29, 'D', &X::ExtentChain),
};

}  // namespace

std::span<const Field<clsFloorPlan>> clsFloorPlan::Layout() {
    return kFloorPlanLayout;
}
std::span<const Field<clsFloorPlanExtent>> clsFloorPlanExtent::Layout() {
    return kExtentLayout;
}
std::string clsFloorPlanExtent::LineText() const {
    if (const int32_t* n = std::get_if<int32_t>(&Line)) return std::to_string(*n);
    return std::get<std::string>(Line);
}

bool clsFloorPlanExtent::IsRemark() const {
    const std::string* text = std::get_if<std::string>(&Line);
    return text != nullptr && *text == "REM";
}

namespace {

constexpr int32_t kPartCostAt = 61;

}  // namespace

int64_t GetPartCost(const std::string& key) {
    cBusinessBasic& engine = RequireEngine("GetPartCost");
    const int32_t record = FindRecord(engine, "PARTI", key);
    if (record == 0) return 0;
    int16_t flag = 0;
    return Unpack("D", engine.LreadFile("PARTL", record, flag), kPartCostAt);
}

bool FloorPlanUnitOpen(std::string_view record) {
    return Unpack("C", record, kFloorPlanSoldAt) == 0 &&
           Unpack("L", record, kFloorPlanInvoiceAt) == 0;
}

int64_t FloorPlanUnitCost(int64_t own_cost, std::string_view record) {
    if (own_cost != 0) return own_cost;
    return GetPartCost(std::string(record.substr(kFloorPlanKeyAt - 1, kFloorPlanKeyLength)));
}

}  // namespace dv
