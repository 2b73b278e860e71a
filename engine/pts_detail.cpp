#include "engine/pts_detail.h"

namespace dv::frmPTSDetail {

int32_t EmptyProc(int32_t /*value*/) {
    return 0;
}

}  // namespace dv::frmPTSDetail
