#include "service/detail_builders.h"

#include <string>
#include <string_view>

#include "engine/codec.h"
#include "engine/error.h"
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

const PageChainPolicy clsShopDetail::kPolicy = {
    "clsShopDetail", "INVOL", false, 97, clsShopDetail::kTotals, &ShopTotalFor};

const PageChainPolicy clsWarrDetail::kPolicy = {
    "clsWarrDetail", "WARRL", false, 0, clsWarrDetail::kTotals, &WarrTotalFor};

clsShopDetail::clsShopDetail() : builder_(kPolicy) {}

clsWarrDetail::clsWarrDetail() : builder_(kPolicy) {}

void clsWarrDetail::GetDetail() {
    builder_.Begin();
    int32_t head = 0;
    try {
        cBusinessBasic* engine = mBusinessBasic.get();
        if (engine == nullptr) RaisePlatform(err::kNoObject, "GetDetail");
        std::string key(4, '\0');
        Pack("L", key, key_, 1);
        std::string cursor(kCursorSize, '\0');
        int32_t record = 0;
        int16_t flag = 0;
        engine->KFind("WARRI", cursor, key, record, flag);
        if (record <= 0)
            throw BasicError(err::kClaimKey, "GetDetail",
                             "No warranty claim for key " + std::to_string(key_));
        clsWarranty claim;
        claim.Unpack(engine->LreadFile("WARRL", record, flag));
        head = claim.Inv_Ptr;
    } catch (const BasicError& e) {
        builder_.Fail("GetDetail", e);
        return;
    }
    builder_.WalkAndBuild(head);
}

}  // namespace dv
