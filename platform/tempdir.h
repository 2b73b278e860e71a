// The user's temporary directory, where the catalog settings file lies.
#pragma once

#include <string>

namespace dv::platform {

// $TMPDIR, or /tmp when it is unset or empty; without a trailing slash.
std::string TempDir();

// dir and name joined by one slash.
std::string JoinPath(const std::string& dir, const std::string& name);

}  // namespace dv::platform
