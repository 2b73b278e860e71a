#include "engine/system.h"

namespace dv {

std::shared_ptr<cEpcInfo> mEpcInfo;
std::shared_ptr<cSystem> mSystem;

}  // namespace dv
