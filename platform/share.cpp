#include "platform/share.h"

#include <dirent.h>
#include <unistd.h>

#include "platform/file_calls.h"
#include "platform/paths.h"

namespace dv::platform {

namespace {

// A folder that can be listed (so it is one) and entered.
bool IsUsableFolder(const std::string& local) {
    count::Lookup();
    if (::access(local.c_str(), R_OK | X_OK) != 0) return false;
    count::Lookup();
    DIR* d = ::opendir(local.c_str());
    if (d == nullptr) return false;
    ::closedir(d);
    return true;
}

}  // namespace

bool ShareIsValid(std::string_view share_root) {
    const auto local = LocalPath(share_root);
    if (!local) return false;
    if (IsUsableFolder(*local)) return true;
    // Not there as written: the folders on the way are listed for its name's case.
    if (!ListFoldersOn(share_root)) return false;
    const auto listed = LocalPath(share_root);
    return listed && *listed != *local && IsUsableFolder(*listed);
}

}  // namespace dv::platform
