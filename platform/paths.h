// Windows share paths on a Linux machine. The dealer's files live under \\SERVER\SHARE\...;
// here the share is a mounted folder under the shares root ($DASHVANE_SHARES, else /mnt).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace dv::platform {

// The folder the shares are mounted under: $DASHVANE_SHARES, or /mnt when it is unset or empty.
std::string SharesRoot();

// The local path of a Windows path. \\SERVER\SHARE\rest becomes <root>/SERVER/SHARE/rest;
// another path with backslashes has them turned into slashes. Windows shares ignore letter
// case, so a component that does not exist as written is matched without regard to case
// (the first such entry in name order). Empty and "." components are dropped, and ".." never
// climbs above the share. A UNC path without a server or a share name gives nothing.
//
// Each folder on the way is listed once and its names are kept, so that resolving the path of
// another file of the same folder makes no file-system call; a name missing from the list is
// searched again (a file made since the listing is found).
std::optional<std::string> LocalPath(std::string_view windows_path);

// Forgets every folder listed so far (each engine creation starts afresh).
void ResetPathCache();
// Off, every component is looked up on disk each time (dashvane-dump --no-cache).
void SetPathCacheEnabled(bool enabled);

}  // namespace dv::platform
