#include "engine/key_lookup.h"

#include "engine/codec.h"
#include "engine/index_cursor.h"

namespace dv {

int32_t FindByNumber(cBusinessBasic& engine, const std::string& index, int32_t number) {
    std::string key(4, '\0');
    Pack("L", key, number, 1);
    return FindRecord(engine, index, key);
}

}  // namespace dv
