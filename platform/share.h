// The share check: whether a share root such as \\SERVER\TMARLNK\ can be reached.
#pragma once

#include <string_view>

namespace dv::platform {

// True when the share root maps to a directory that this process can read and enter.
bool ShareIsValid(std::string_view share_root);

}  // namespace dv::platform
