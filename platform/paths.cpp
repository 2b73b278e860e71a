#include "platform/paths.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <cstdlib>
#include <vector>

#include "platform/file_calls.h"

namespace dv::platform {
namespace {

bool Exists(const std::string& path) {
    struct stat st {};
    count::Lookup();
    return ::stat(path.c_str(), &st) == 0;
}

// The name under which dir lists `name` without regard to case, or nothing.
std::optional<std::string> FindFolded(const std::string& dir, const std::string& name) {
    count::Lookup();
    DIR* d = ::opendir(dir.c_str());
    if (d == nullptr) return std::nullopt;
    std::optional<std::string> best;
    while (const dirent* e = ::readdir(d)) {
        const std::string entry = e->d_name;
        if (entry == "." || entry == "..") continue;
        if (::strcasecmp(entry.c_str(), name.c_str()) != 0) continue;
        if (!best || entry < *best) best = entry;
    }
    ::closedir(d);
    return best;
}

std::vector<std::string> Components(std::string_view path) {
    std::vector<std::string> parts;
    std::string current;
    for (char c : path) {
        if (c == '\\' || c == '/') {
            parts.push_back(current);
            current.clear();
        } else {
            current.push_back(c);
        }
    }
    parts.push_back(current);
    return parts;
}

// Appends the components to base, each matched without regard to case where needed;
// keep_fixed components at the front of the list can't be climbed out of by "..".
std::string Resolve(std::string base, const std::vector<std::string>& parts, size_t keep_fixed) {
    std::vector<std::string> resolved;
    bool parent_exists = true;
    for (size_t i = 0; i < parts.size(); ++i) {
        const std::string& part = parts[i];
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            if (resolved.size() > keep_fixed) resolved.pop_back();
            continue;
        }
        std::string parent = base;
        for (const std::string& r : resolved) parent += "/" + r;
        std::string name = part;
        if (parent_exists) {
            if (!Exists(parent + "/" + part)) {
                if (auto folded = FindFolded(parent.empty() ? "/" : parent, part)) {
                    name = *folded;
                } else {
                    parent_exists = false;
                }
            }
        }
        resolved.push_back(name);
    }
    std::string out = base;
    for (const std::string& r : resolved) out += "/" + r;
    return out;
}

}  // namespace

std::string SharesRoot() {
    const char* env = std::getenv("DASHVANE_SHARES");
    std::string root = (env != nullptr && *env != '\0') ? env : "/mnt";
    while (root.size() > 1 && root.back() == '/') root.pop_back();
    return root;
}

std::optional<std::string> LocalPath(std::string_view windows_path) {
    if (windows_path.size() >= 2 && windows_path[0] == '\\' && windows_path[1] == '\\') {
        std::vector<std::string> parts = Components(windows_path.substr(2));
        if (parts.size() < 2 || parts[0].empty() || parts[1].empty()) return std::nullopt;
        if (parts[0] == "." || parts[0] == ".." || parts[1] == "." || parts[1] == "..")
            return std::nullopt;
        return Resolve(SharesRoot(), parts, 2);
    }
    std::vector<std::string> parts = Components(windows_path);
    const bool absolute =
        !windows_path.empty() && (windows_path[0] == '\\' || windows_path[0] == '/');
    return Resolve(absolute ? "" : ".", parts, 0);
}

}  // namespace dv::platform
