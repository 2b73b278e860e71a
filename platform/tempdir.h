// The user's folders: the temporary directory, where the catalog settings file lies, and the
// configuration folder, where the program's settings and SMB credentials file lie.
#pragma once

#include <string>

namespace dv::platform {

// $TMPDIR, or /tmp when it is unset or empty; without a trailing slash.
std::string TempDir();

// $XDG_CONFIG_HOME, or .config in $HOME (else in the account's home folder).
std::string UserConfigDir();

// dir and name joined by one slash.
std::string JoinPath(const std::string& dir, const std::string& name);

}  // namespace dv::platform
