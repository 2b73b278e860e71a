#include "service/detail_builders.h"

#include <string>
#include <string_view>

#include "engine/codec.h"
#include "engine/error.h"
#include "engine/index.h"
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

int32_t FindClaim(cBusinessBasic& engine, int32_t key) {
    std::string cursor(kCursorSize, '\0');
    std::string packed(4, '\0');
    Pack("L", packed, key, 1);
    int32_t record = 0;
    int16_t flag = 0;
    engine.KFind("WARRI", cursor, packed, record, flag);
    return AbsoluteRecord(record);
}

const PageChainPolicy clsShopDetail::kPolicy = {"clsShopDetail",        "INVOL",       false, 97,
                                                clsShopDetail::kTotals, &ShopTotalFor, true};

const PageChainPolicy clsWarrDetail::kPolicy = {"clsWarrDetail",        "WARRL",       false, 0,
                                                clsWarrDetail::kTotals, &WarrTotalFor, false};

clsShopDetail::clsShopDetail() : PageChainDocument(kPolicy) {}

clsWarrDetail::clsWarrDetail() : PageChainDocument(kPolicy) {}

void clsWarrDetail::GetDetail() {
    builder_.Begin();
    int32_t head = 0;
    try {
        cBusinessBasic* engine = &RequireEngine("GetDetail");
        const int32_t record = FindClaim(*engine, key_);
        clsWarranty claim;
        int16_t flag = 0;
        claim.Unpack(engine->LreadFile("WARRL", record, flag));
        head = claim.Inv_Ptr;
    } catch (const BasicError& e) {
        builder_.Fail("GetDetail", e);
        return;
    }
    builder_.WalkAndBuild(head);
}

}  // namespace dv
