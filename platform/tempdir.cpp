#include "platform/tempdir.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace dv::platform {

std::string TempDir() {
    const char* env = std::getenv("TMPDIR");
    std::string dir = (env != nullptr && *env != '\0') ? env : "/tmp";
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    return dir;
}

std::string UserConfigDir() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && *config != '\0') return config;
    const char* env = std::getenv("HOME");
    std::string home = env != nullptr ? env : "";
    if (home.empty())
        if (const passwd* pw = ::getpwuid(::getuid()); pw != nullptr && pw->pw_dir != nullptr)
            home = pw->pw_dir;
    return home + "/.config";
}

std::string JoinPath(const std::string& dir, const std::string& name) {
    if (dir.empty()) return name;
    if (dir.back() == '/') return dir + name;
    return dir + "/" + name;
}

}  // namespace dv::platform
