// Small helpers the parts views share.
#pragma once

#include <cstdint>

#include "engine/business_basic.h"
#include "engine/error.h"
#include "engine/index.h"

namespace dv {

// The global engine object; 91 (no object) from source when there is none.
inline cBusinessBasic& ViewEngine(const char* source) {
    cBusinessBasic* engine = mBusinessBasic.get();
    if (engine == nullptr) RaisePlatform(err::kNoObject, source);
    return *engine;
}

}  // namespace dv
