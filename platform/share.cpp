#include "platform/share.h"

#include <dirent.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/file_calls.h"
#include "platform/paths.h"
#include "platform/smb.h"

namespace dv::platform {

namespace {

// Why a local folder can't be listed (so that it is one) and entered: empty when it can,
// "missing" when it is not there, else the system's reason.
std::string FolderFailure(const std::string& local) {
    count::Lookup();
    DIR* d = ::opendir(local.c_str());
    if (d == nullptr) {
        if (errno == ENOENT) return "missing";
        return errno == ENOTDIR ? "not a folder" : std::strerror(errno);
    }
    ::closedir(d);
    count::Lookup();
    if (::access(local.c_str(), X_OK) != 0) return std::strerror(errno);
    return {};
}

std::string Trimmed(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

}  // namespace

ShareCheck CheckShare(std::string_view share_root) {
    ShareCheck check;
    ForgetShareBase(share_root);  // a folder mounted since is found
    const auto local = LocalPath(share_root);
    if (!local) return check;
    check.place = Trimmed(*local);
    if (IsShareUrl(check.place)) {
        check.over_smb = true;
        // The share's listing is kept: the files at its root are found in it afterwards.
        const int e = ListShareFolder(check.place);
        check.ok = e == 0;
        if (!check.ok) check.reason = CurrentShareConnection().Reason(check.place, e);
        return check;
    }
    std::string failure = FolderFailure(*local);
    if (failure == "missing") {
        // Not there as written: the folders on the way are listed for its name's case.
        if (const auto listed = OtherCasePath(share_root, *local)) {
            check.place = Trimmed(*listed);
            failure = FolderFailure(*listed);
        }
    }
    check.ok = failure.empty();
    if (failure != "missing") check.reason = failure;
    return check;
}

bool ShareIsValid(std::string_view share_root) {
    return CheckShare(share_root).ok;
}

}  // namespace dv::platform
