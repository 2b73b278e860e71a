// The one procedure outside the engine that the engine calls: the counter document detail's
// empty procedure, which the lock release hands its value to.
#pragma once

#include <cstdint>

namespace dv::frmPTSDetail {

// Does nothing and returns 0; it cannot fail.
int32_t EmptyProc(int32_t value);

}  // namespace dv::frmPTSDetail
