// Windows share paths on a Linux machine. The dealer's files live under \\SERVER\SHARE\...;
// here the share is a mounted folder under the shares root ($DASHVANE_SHARES, else /mnt).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/smb.h"

namespace dv::platform {

// The folder the shares are mounted under: $DASHVANE_SHARES, or /mnt when it is unset or empty.
// A share without a folder there is read from its server over SMB (smb.h).
std::string SharesRoot();

// The local path of a Windows path. \\SERVER\SHARE\rest becomes <root>/SERVER/SHARE/rest, or
// smb://SERVER/SHARE/rest when the shares root holds no folder for that share;
// another path with backslashes has them turned into slashes. Windows shares ignore letter
// case, so a component that does not exist as written is matched without regard to case
// (the first such entry in name order). Empty and "." components are dropped, and ".." never
// climbs above the share. A UNC path without a server or a share name gives nothing.
//
// No call is made on a local folder: a folder listed since the path cache was last reset
// answers from its listing; in any other folder the name stands as written. The first path of a
// share looks once whether its local folder is there (one look-up); over SMB each folder on the
// way is listed the first time (one listing each until the reset). A caller whose file or folder is
// missing at that path asks ListFoldersOn and, when it listed a folder, resolves again.
std::optional<std::string> LocalPath(std::string_view windows_path);

// Lists each folder on the way to windows_path that has not been listed since the path cache
// was last reset (one call each), so that LocalPath then matches the names in them without
// regard to case; true when it listed one. A name missing from a listed folder costs no second
// listing until the reset (one load: start-up or Refresh). False with the cache off.
bool ListFoldersOn(std::string_view windows_path);

// A file or folder missing at `tried`, the path windows_path led to: the folders on the way are
// listed (ListFoldersOn) for its name in another letter case. The path to try instead, or
// nothing: nothing new was listed, or windows_path still leads to `tried`. The one way every
// open on the share looks again after a miss.
enum class Relook {
    kIfListedNow,        // resolved again only when this call listed a folder
    kEvenIfListedBefore  // resolved again in any case: `tried` may predate an earlier listing
};
std::optional<std::string> OtherCasePath(std::string_view windows_path, std::string_view tried,
                                         Relook relook = Relook::kIfListedNow);

// The share folder a Windows path \\SERVER\SHARE\... lies in, as its real path (every symbolic
// link resolved): the local folder <root>/SERVER/SHARE matched as LocalPath matches it. Each
// share is resolved once until the path cache is reset (one look-up, and the listings of the
// folders on the way when it is not there as written); nothing for a path that names no share,
// or a share folder that can't be resolved (that is tried again next time). For a share read
// over SMB, its address smb://SERVER/SHARE (no call).
std::optional<std::string> ShareFolder(std::string_view windows_path);

// The form under which a share tells two Windows paths of one file apart: components
// upper-cased and joined by backslashes, empty and "." components dropped, ".." taking its
// parent (never the server or the share of a UNC path). Compares paths without a file-system
// call; "\\ds1\tmarlnk\\d01\.\x" and "\\DS1\TMARLNK\D01\X" give the same text.
std::string SharePathKey(std::string_view windows_path);

// The entry of a file on the share read over SMB as its folder's listing gave it, when the path
// cache holds that listing; nothing else (no call is made).
std::optional<RemoteEntry> ListedEntry(const std::string& url);

// Forgets where the share of windows_path is read (its local folder or its server) and the
// listings of the folders above it, so that the next path of it looks again (the share check
// does, each time).
void ForgetShareBase(std::string_view windows_path);

// Lists a folder (local, or on the share over SMB) and keeps the listing in the path cache;
// 0 or the listing's errno value.
int ListShareFolder(const std::string& path);

// Forgets every folder listed and every share folder resolved so far: each load (start-up or
// Refresh) starts afresh, and so does an engine created outside a load.
void ResetPathCache();
// Off, every component is looked up on disk each time (dashvane-dump --no-cache).
void SetPathCacheEnabled(bool enabled);

}  // namespace dv::platform
