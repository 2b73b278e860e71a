#include "platform/paths.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <unordered_map>
#include <vector>

#include "platform/file.h"
#include "platform/file_calls.h"
#include "platform/smb.h"

namespace dv::platform {
namespace {

bool Exists(const std::string& path) {
    if (IsShareUrl(path)) {
        RemoteEntry entry;
        return CurrentShareConnection().Stat(path, entry) == 0;
    }
    struct stat st {};
    count::Lookup();
    return ::stat(path.c_str(), &st) == 0;
}

// The name under which dir lists `name` without regard to case, or nothing.
std::optional<std::string> FindFolded(const std::string& dir, const std::string& name) {
    if (IsShareUrl(dir)) {
        std::vector<RemoteEntry> entries;
        if (CurrentShareConnection().List(dir, entries) != 0) return std::nullopt;
        std::optional<std::string> best;
        for (const RemoteEntry& e : entries)
            if (::strcasecmp(e.name.c_str(), name.c_str()) == 0 && (!best || e.name < *best))
                best = e.name;
        return best;
    }
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

bool IsUnc(std::string_view path) {
    return path.size() >= 2 && path[0] == '\\' && path[1] == '\\';
}

// The components of a UNC path after its leading backslashes begin with a server and a share.
bool NamesAShare(const std::vector<std::string>& parts) {
    if (parts.size() < 2 || parts[0].empty() || parts[1].empty()) return false;
    return parts[0] != "." && parts[0] != ".." && parts[1] != "." && parts[1] != "..";
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

// The components after "." and empty ones are dropped and ".." has taken its parent away;
// keep_fixed components at the front of the list can't be climbed out of.
std::vector<std::string> Normalized(const std::vector<std::string>& parts, size_t keep_fixed) {
    std::vector<std::string> out;
    for (const std::string& part : parts) {
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            if (out.size() > keep_fixed) out.pop_back();
            continue;
        }
        out.push_back(part);
    }
    return out;
}

std::string Folded(std::string_view s) {
    std::string f(s);
    for (char& c : f)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return f;
}

// A folder met while resolving, and the names it holds (listed once, and again when a name is
// missing from the list).
struct Folder {
    bool listed = false;
    std::unordered_map<std::string, std::vector<std::string>> names;  // folded name -> names
    std::unordered_map<std::string, RemoteEntry> entries;  // over SMB: each name's kind, size
};

struct PathCache {
    bool enabled = true;
    std::unordered_map<std::string, Folder> folders;             // by local path
    std::unordered_map<std::string, std::string> share_folders;  // real path by local path
    std::unordered_map<std::string, std::string> share_bases;    // by SharePathKey of the share
};

PathCache& Cache() {
    static PathCache cache;
    return cache;
}

// Lists dir into folder; 0 or the errno value of the listing.
int List(const std::string& dir, Folder& folder) {
    folder.names.clear();
    folder.entries.clear();
    if (IsShareUrl(dir)) {
        std::vector<RemoteEntry> entries;
        const int error = CurrentShareConnection().List(dir, entries);
        folder.listed = error == 0;
        for (RemoteEntry& e : entries) {
            folder.names[Folded(e.name)].push_back(e.name);
            std::string name = e.name;
            folder.entries.emplace(std::move(name), std::move(e));
        }
        for (auto& [folded, names] : folder.names) std::sort(names.begin(), names.end());
        return error;
    }
    count::Lookup();
    DIR* d = ::opendir(dir.empty() ? "/" : dir.c_str());
    folder.listed = d != nullptr;
    if (d == nullptr) return errno;
    while (const dirent* e = ::readdir(d)) {
        const std::string entry = e->d_name;
        if (entry == "." || entry == "..") continue;
        folder.names[Folded(entry)].push_back(entry);
    }
    ::closedir(d);
    for (auto& [folded, names] : folder.names) std::sort(names.begin(), names.end());
    return 0;
}

// The name under which the folder dir holds `name`: the name itself when it exists as written,
// else the first in name order that matches without regard to case; nothing when none does.
std::optional<std::string> FindCached(const std::string& dir, const std::string& name) {
    Folder& folder = Cache().folders[dir];
    auto look = [&]() -> std::optional<std::string> {
        const auto it = folder.names.find(Folded(name));
        if (it == folder.names.end()) return std::nullopt;
        for (const std::string& n : it->second)
            if (n == name) return n;
        return it->second.front();
    };
    if (folder.listed) {
        if (auto found = look()) return found;
    }
    // Not in the list: the folder is listed again, so that a file made since is found.
    List(dir, folder);
    return look();
}

// Appends the components to base, each matched without regard to case where needed. A
// component that matches nothing is kept as written, and so are the ones after it. *all_found
// tells whether every component was found.
std::string Resolve(std::string base, const std::vector<std::string>& raw, size_t keep_fixed,
                    bool* all_found = nullptr) {
    const std::vector<std::string> parts = Normalized(raw, keep_fixed);
    std::string out = std::move(base);
    bool found = true;
    for (const std::string& part : parts) {
        std::string name = part;
        if (found) {
            std::optional<std::string> match;
            if (Cache().enabled) {
                match = FindCached(out, part);
            } else if (Exists(out + "/" + part)) {
                match = part;
            } else {
                match = FindFolded(out.empty() ? "/" : out, part);
            }
            if (match) {
                name = *match;
            } else {
                found = false;
            }
        }
        out += "/" + name;
    }
    if (all_found != nullptr) *all_found = found;
    return out;
}

// Where the share \\server\share is read: its local folder <root>/SERVER/SHARE when there is
// one (a mount, or a sample set), also when that folder is there but can't be read (the share
// check says why); else the server itself over SMB. Decided once per share until the path cache
// is reset.
std::string ShareBase(const std::string& server, const std::string& share) {
    PathCache& cache = Cache();
    const std::string key = SharePathKey("\\\\" + server + "\\" + share);
    if (cache.enabled) {
        if (const auto it = cache.share_bases.find(key); it != cache.share_bases.end())
            return it->second;
    }
    bool found = false;
    std::string base = Resolve(SharesRoot(), {server, share}, 2, &found);
    if (!found) {
        // Not listed: there as written in a folder that can't be listed, or kept from being
        // looked at, still counts as the local share; not there at all, the server is asked.
        struct stat st {};
        count::Lookup();
        if (::stat(base.c_str(), &st) != 0 && (errno == ENOENT || errno == ENOTDIR))
            base = ShareUrl(server, share);
    }
    if (cache.enabled) cache.share_bases[key] = base;
    return base;
}

}  // namespace

void ForgetShareBase(std::string_view windows_path) {
    if (!IsUnc(windows_path)) return;
    std::vector<std::string> parts = Components(windows_path.substr(2));
    if (!NamesAShare(parts)) return;
    Cache().share_bases.erase(SharePathKey("\\\\" + parts[0] + "\\" + parts[1]));
}

int ListShareFolder(const std::string& path) {
    Folder listing;
    Folder& folder = Cache().enabled ? Cache().folders[path] : listing;
    return List(path, folder);
}

std::optional<RemoteEntry> ListedEntry(const std::string& url) {
    const PathCache& cache = Cache();
    if (!cache.enabled) return std::nullopt;
    const size_t slash = url.rfind('/');
    if (slash == std::string::npos) return std::nullopt;
    const auto folder = cache.folders.find(url.substr(0, slash));
    if (folder == cache.folders.end() || !folder->second.listed) return std::nullopt;
    const auto entry = folder->second.entries.find(url.substr(slash + 1));
    if (entry == folder->second.entries.end()) return std::nullopt;
    return entry->second;
}

void ResetPathCache() {
    Cache().folders.clear();
    Cache().share_folders.clear();
    Cache().share_bases.clear();
}

void SetPathCacheEnabled(bool enabled) {
    Cache().enabled = enabled;
    ResetPathCache();
}

std::string SharesRoot() {
    const char* env = std::getenv("DASHVANE_SHARES");
    std::string root = (env != nullptr && *env != '\0') ? env : "/mnt";
    while (root.size() > 1 && root.back() == '/') root.pop_back();
    return root;
}

std::optional<std::string> LocalPath(std::string_view windows_path) {
    if (IsUnc(windows_path)) {
        std::vector<std::string> parts = Components(windows_path.substr(2));
        if (!NamesAShare(parts)) return std::nullopt;
        parts = Normalized(parts, 2);
        const std::string base = ShareBase(parts[0], parts[1]);
        return Resolve(base, std::vector<std::string>(parts.begin() + 2, parts.end()), 0);
    }
    std::vector<std::string> parts = Components(windows_path);
    const bool absolute =
        !windows_path.empty() && (windows_path[0] == '\\' || windows_path[0] == '/');
    return Resolve(absolute ? "" : ".", parts, 0);
}

std::string SharePathKey(std::string_view windows_path) {
    const bool unc = IsUnc(windows_path);
    const std::vector<std::string> parts =
        Normalized(Components(unc ? windows_path.substr(2) : windows_path), unc ? 2 : 0);
    std::string key = unc ? "\\\\" : "";
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) key += '\\';
        key += Folded(parts[i]);
    }
    return key;
}

std::optional<std::string> ShareFolder(std::string_view windows_path) {
    if (!IsUnc(windows_path)) return std::nullopt;
    std::vector<std::string> parts = Components(windows_path.substr(2));
    if (!NamesAShare(parts)) return std::nullopt;
    const std::string local = ShareBase(parts[0], parts[1]);
    if (IsShareUrl(local)) return local;  // the server keeps every read inside its share
    PathCache& cache = Cache();
    if (cache.enabled) {
        if (const auto it = cache.share_folders.find(local); it != cache.share_folders.end())
            return it->second;
    }
    std::optional<std::string> folder = RealPath(local);
    if (folder && cache.enabled) cache.share_folders[local] = *folder;
    return folder;
}

}  // namespace dv::platform
