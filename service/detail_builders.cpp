#include "service/detail_builders.h"

#include <string>
#include <string_view>

#include "engine/error.h"
#include "engine/key_lookup.h"
#include "engine/live_record.h"
#include "engine/tables.h"
#include "service/warranty_record.h"

namespace dv {
namespace {

int ShopTotalFor(std::string_view code) {
    if (code == "500") return clsShopDetail::kLabor;
    if (code == "502") return clsShopDetail::kFreight;
    if (code == "550") return clsShopDetail::kMisc;
    return clsShopDetail::kParts;
}

int WarrTotalFor(std::string_view code) {
    return code == "500" ? clsWarrDetail::kLabor : clsWarrDetail::kParts;
}

}  // namespace

int32_t FindClaim(cBusinessBasic& engine, int32_t key, const char* source) {
    const int32_t record = FindByNumber(engine, "WARRI", key);
    if (record <= 0)
        throw BasicError(err::kClaimKey, source,
                         "No warranty claim for key " + std::to_string(key));
    return record;
}

const PageChainPolicy clsShopDetail::kPolicy = {"clsShopDetail",        "INVOL",      false, 97,
                                                clsShopDetail::kTotals, &ShopTotalFor};

const PageChainPolicy clsWarrDetail::kPolicy = {"clsWarrDetail",        "WARRL",      false, 0,
                                                clsWarrDetail::kTotals, &WarrTotalFor};

clsShopDetail::clsShopDetail() : builder_(kPolicy) {}

clsWarrDetail::clsWarrDetail() : builder_(kPolicy) {}

void clsWarrDetail::GetDetail() {
    builder_.Begin();
    int32_t head = 0;
    try {
        cBusinessBasic* engine = &RequireEngine("GetDetail");
        const int32_t record = FindClaim(*engine, key_, "GetDetail");
        clsWarranty claim;
        claim.Unpack(ReadLiveRecord(*engine, "WARRL", record, "WARRI"));
        head = claim.Inv_Ptr;
    } catch (const BasicError& e) {
        builder_.Fail("GetDetail", e);
        return;
    }
    builder_.WalkAndBuild(head);
}

}  // namespace dv
