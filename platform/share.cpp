#include "platform/share.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/file_calls.h"
#include "platform/paths.h"
#include "platform/smb.h"

namespace dv::platform {

ShareCheck CheckShare(std::string_view share_root) {
    ShareCheck check;
    ForgetShareBase(share_root);  // a folder mounted since is found
    const auto local = LocalPath(share_root);
    if (!local) return check;
    check.place = *local;
    while (check.place.size() > 1 && check.place.back() == '/') check.place.pop_back();
    if (IsShareUrl(check.place)) {
        check.over_smb = true;
        // The share's listing is kept: the files at its root are found in it afterwards.
        const int e = ListShareFolder(check.place);
        check.ok = e == 0;
        if (!check.ok) check.reason = CurrentShareConnection().Reason(check.place, e);
        return check;
    }
    struct stat st {};
    count::Lookup();
    if (::stat(local->c_str(), &st) != 0) {
        if (errno != ENOENT) check.reason = std::strerror(errno);
        return check;
    }
    if (!S_ISDIR(st.st_mode)) {
        check.reason = "not a folder";
        return check;
    }
    count::Lookup();
    if (::access(local->c_str(), R_OK | X_OK) != 0) {
        check.reason = std::strerror(errno);
        return check;
    }
    count::Lookup();
    DIR* d = ::opendir(local->c_str());
    if (d == nullptr) {
        check.reason = std::strerror(errno);
        return check;
    }
    ::closedir(d);
    check.ok = true;
    return check;
}

bool ShareIsValid(std::string_view share_root) {
    return CheckShare(share_root).ok;
}

}  // namespace dv::platform
