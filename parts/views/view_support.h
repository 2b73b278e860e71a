// Small helpers the parts views share.
#pragma once

#include <cstdint>

#include "engine/business_basic.h"
#include "engine/error.h"

namespace dv {

// The global engine object; 91 (no object) from source when there is none.
inline cBusinessBasic& ViewEngine(const char* source) {
    cBusinessBasic* engine = mBusinessBasic.get();
    if (engine == nullptr) RaisePlatform(err::kNoObject, source);
    return *engine;
}

// KFind gives the record of the entry it stopped on negated when the key is no exact match.
inline int32_t AbsoluteRecord(int32_t record) {
    if (record == INT32_MIN) return 0;  // no record number a file can hold
    return record < 0 ? -record : record;
}

}  // namespace dv
