// The user's folders: the temporary directory, where the catalog settings file lies, and the
// configuration folder, where the program's settings and SMB credentials file lie; and the
// running program's own folder, where its helper and its settings module lie.
#pragma once

#include <string>

namespace dv::platform {

// $TMPDIR, or /tmp when it is unset or empty; without a trailing slash.
std::string TempDir();

// $XDG_CONFIG_HOME, or .config in $HOME (else in the account's home folder).
std::string UserConfigDir();

// The folder of the running program, with its final slash ("" when /proc does not say).
std::string ProgramFolder();

// dir and name joined by one slash.
std::string JoinPath(const std::string& dir, const std::string& name);

}  // namespace dv::platform
