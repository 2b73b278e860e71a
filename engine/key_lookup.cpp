#include "engine/key_lookup.h"

#include "engine/business_basic.h"
#include "engine/codec.h"

namespace dv {

int32_t FindByNumber(cBusinessBasic& engine, const std::string& index, int32_t number) {
    std::string cursor(kCursorSize, '\0');
    std::string key(4, '\0');
    Pack("L", key, number, 1);
    int32_t record = 0;
    int16_t flag = 0;
    engine.KFind(index, cursor, key, record, flag);
    return record > 0 ? record : 0;
}

}  // namespace dv
