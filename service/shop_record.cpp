#include "service/shop_record.h"

#include <array>

#include "engine/business_basic.h"
#include "engine/codec.h"
#include "engine/control_file.h"
#include "engine/error.h"

namespace dv {
namespace {

using S = clsShop;
using namespace fields;

// The three arrays are built afresh on every Unpack: an element whose bytes the record does not
// hold stays at its zero (the empty date, or 0).
void UnpackCallDates(S& r, std::string_view rec) {
    r.CallDates.fill(EmptyDate());
    for (int i = 0; i < 3; ++i) r.CallDates[i] = UnPackDate("J", rec, 21 + 2 * i);
}
void PackCallDates(const S& r, std::string& rec) {
    for (int i = 0; i < 3; ++i) {
        try {
            PackDate("J", rec, 21 + 2 * i, r.CallDates[i]);
        } catch (const BasicError&) {
            // The element's bytes stay as they were.
        }
    }
}

void UnpackWarrVend(S& r, std::string_view rec) {
    r.WarrVend.fill(0);
    if (BinaryFits('C', 117, rec.size())) r.WarrVend[0] = Unpack("C", rec, 117);
    if (BinaryFits('C', 97, rec.size())) r.WarrVend[1] = Unpack("C", rec, 97);
}
void PackWarrVend(const S& r, std::string& rec) {
    // Element 1 goes last, over the segment byte.
    try {
        Pack("C", rec, r.WarrVend[0], 117);
    } catch (const BasicError&) {
    }
    Pack("C", rec, r.WarrVend[1], 97);
}

void UnpackCallStatus(S& r, std::string_view rec) {
    r.CallStatus.fill(0);
    for (int i = 0; i < 3; ++i)
        if (BinaryFits('B', 120 + i, rec.size())) r.CallStatus[i] = Unpack("B", rec, 120 + i);
}
void PackCallStatus(const S& r, std::string& rec) {
    for (int i = 0; i < 3; ++i) {
        try {
            Pack("B", rec, r.CallStatus[i], 120 + i);
        } catch (const BasicError&) {
        }
    }
}

// The last digit of the stored type; a credit page (negative sub-total) of type 3 or 4 is the
// type 1 or 2 it was entered as.
void UnpackTransactionType(S& r, std::string_view rec) {
    if (!BinaryFits('B', 123, rec.size())) return;
    int32_t type = Unpack("B", rec, 123) % 10;
    if (BinaryFits('L', 125, rec.size()) && Unpack("L", rec, 125) < 0) {
        if (type == 3)
            type = 1;
        else if (type == 4)
            type = 2;
    }
    r.Transaction_Type = type;
}
void PackTransactionType(const S& r, std::string& rec) {
    int32_t type = r.Transaction_Type;
    if (r.Sub_Total < 0) {
        if (type == 1)
            type = 3;
        else if (type == 2)
            type = 4;
    }
    Pack("B", rec, type, 123);
}

// The ship-to of a page: three bytes of 255 at 141 mean "the customer's own account".
void UnpackShipToRule(S& r, std::string_view rec) {
    if (!BinaryFits('K', 141, rec.size())) return;
    int32_t ship_to = Unpack("K", rec, 141);
    if (ship_to != -1) ship_to = Unpack("D", rec, 141);
    if (ship_to < 0) ship_to = r.Account;
    r.ShipTo = ship_to;
}
void PackShipToRule(const S& r, std::string& rec) {
    Pack("K", rec, r.ShipTo, 141);
}

const std::array kLayout = {
    Long<S>("Record_Status", 1, 'J', &S::Record_Status),
    Long<S>("Account", 3, 'L', &S::Account),
    Long<S>("ShipTo", 7, 'D', &S::ShipTo),
    Scaled<S>("ReplacementEstimate", 10, 'C', Scale::kUnits, &S::ReplacementEstimate),
    Long<S>("AlternateTaxCode", 12, 'C', &S::AlternateTaxCode),
    Scaled<S>("Meter", 14, 'D', Scale::kTenths, &S::Meter),
    DateField<S>("ScheduleDate", 17, 'J', &S::ScheduleDate),
    DateField<S>("PostCardDate", 19, 'J', &S::PostCardDate),
    Custom<S>("CallDates", 21, 6, &UnpackCallDates, &PackCallDates),
    Packed<S>("RepairBrand", 27, 10, &S::RepairBrand),
    Packed<S>("RepairBrandDescription", 37, 14, &S::RepairBrandDescription),
    Packed<S>("SerialNumber1", 51, 12, &S::SerialNumber1),
    Packed<S>("SerialNumber2", 63, 12, &S::SerialNumber2),
    Long<S>("ShopReference", 75, 'L', &S::ShopReference),
    Long<S>("Mechanic", 79, 'B', &S::Mechanic),
    Long<S>("PostCardCount", 80, 'B', &S::PostCardCount),
    Scaled<S>("EstimateAmount", 81, 'C', Scale::kUnits, &S::EstimateAmount),
    DateField<S>("PromiseDate", 83, 'J', &S::PromiseDate),
    DateField<S>("DeliveryDate", 85, 'J', &S::DeliveryDate),
    Packed<S>("POReference", 87, 6, &S::POReference),
    DateField<S>("DateCompleted", 93, 'J', &S::DateCompleted),
    DateField<S>("DateCheckedIn", 95, 'J', &S::DateCheckedIn),
    Long<S>("segment", 97, 'B', &S::segment),
    Text<S>("Status", 99, 1, &S::Status),
    Long<S>("DeliveryCode", 100, 'B', &S::DeliveryCode),
    Long<S>("JobNumber", 101, 'C', &S::JobNumber),
    Long<S>("TimeIn", 103, 'C', &S::TimeIn),
    Packed<S>("PhoneNumber2", 105, 8, &S::PhoneNumber2),
    Long<S>("Counterman", 113, 'B', &S::Counterman),
    Long<S>("SalesMan", 114, 'B', &S::SalesMan),
    Long<S>("Page", 115, 'B', &S::Page),
    Bit<S>("Rental", 116, 6, &S::Rental),
    Bit<S>("Shop", 116, 7, &S::Shop),
    Custom<S>("WarrVend", 117, 2, &UnpackWarrVend, &PackWarrVend),
    Text<S>("Warranty", 119, 1, &S::Warranty),
    Custom<S>("CallStatus", 120, 3, &UnpackCallStatus, &PackCallStatus),
    Long<S>("Delivery_Code", 124, 'B', &S::Delivery_Code),
    Money<S>("Sub_Total", 125, 'L', &S::Sub_Total),
    Custom<S>("Transaction_Type", 123, 1, &UnpackTransactionType, &PackTransactionType),
    Long<S>("Disc_Percentage", 129, 'J', &S::Disc_Percentage),
    Money<S>("Discount_Amount", 131, 'L', &S::Discount_Amount),
    Long<S>("Tax_Rate", 135, 'C', &S::Tax_Rate),
    Money<S>("Tax_Amount", 137, 'L', &S::Tax_Amount),
    Custom<S>("ShipTo", 141, 3, &UnpackShipToRule, &PackShipToRule),
    Long<S>("Department", 145, 'B', &S::Department),
    Text<S>("Sales_Code", 147, 1, &S::Sales_Code),
    Text<S>("Tax_Code", 148, 1, &S::Tax_Code),
    Long<S>("Tax_Rate_Code", 149, 'B', &S::Tax_Rate_Code),
    Long<S>("Packing_Slip_No", 151, 'L', &S::Packing_Slip_No),
    Long<S>("Category", 156, 'B', &S::Category),
    Long<S>("Terms_Code", 157, 'B', &S::Terms_Code),
};

}  // namespace

std::span<const Field<clsShop>> clsShop::Layout() {
    return kLayout;
}

void JobSlotOf(int32_t job, int32_t& block, int32_t& position) {
    if (job < 0 || job > kLastJobNumber)
        throw BasicError(err::kJobNumber, "GetJob",
                         "Job number outside the open shop-job table: " + std::to_string(job));
    block = file0::JobBlock(job);
    position = file0::JobSlotAt(job);
}

int32_t GetJob(int32_t job) {
    int32_t block = 0, position = 0;
    JobSlotOf(job, block, position);
    int16_t flag = 0;
    const std::string b = RequireEngine("GetJob").BlockReadFile(file0::kName, block, flag);
    return Unpack("L", b, position);
}

}  // namespace dv
