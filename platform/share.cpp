#include "platform/share.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/file_calls.h"
#include "platform/paths.h"

namespace dv::platform {

bool ShareIsValid(std::string_view share_root) {
    const auto local = LocalPath(share_root);
    if (!local) return false;
    struct stat st {};
    count::Lookup();
    if (::stat(local->c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
    count::Lookup();
    if (::access(local->c_str(), R_OK | X_OK) != 0) return false;
    count::Lookup();
    DIR* d = ::opendir(local->c_str());
    if (d == nullptr) return false;
    ::closedir(d);
    return true;
}

}  // namespace dv::platform
