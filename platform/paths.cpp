#include "platform/paths.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
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
    parts.reserve(8);
    size_t from = 0;
    for (size_t i = 0; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '\\' || path[i] == '/') {
            parts.emplace_back(path.substr(from, i - from));
            from = i + 1;
        }
    }
    return parts;
}

// The components after "." and empty ones are dropped and ".." has taken its parent away;
// keep_fixed components at the front of the list can't be climbed out of. Done in place.
std::vector<std::string> Normalized(std::vector<std::string> parts, size_t keep_fixed) {
    size_t kept = 0;
    for (std::string& part : parts) {
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            if (kept > keep_fixed) --kept;
            continue;
        }
        if (&parts[kept] != &part) parts[kept] = std::move(part);
        ++kept;
    }
    parts.resize(kept);
    return parts;
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
    bool tried = false;  // a listing was asked for (it may have failed)
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
    folder.tried = true;
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

// The name under which the folder dir holds `name` when dir has been listed: the name itself
// when it is listed as written, else the first in name order that matches without regard to
// case; nothing when none does. A folder not listed yet is not listed here: the name as
// written stands (nothing), and only a miss on it lists the folder (ListFoldersOn).
std::optional<std::string> FindCached(const std::string& dir, const std::string& name,
                                      bool& listed) {
    const auto f = Cache().folders.find(dir);
    listed = f != Cache().folders.end() && f->second.listed;
    if (!listed) return std::nullopt;
    const auto it = f->second.names.find(Folded(name));
    if (it == f->second.names.end()) return std::nullopt;
    for (const std::string& n : it->second)
        if (n == name) return n;
    return it->second.front();
}

// Appends the components to base, each matched without regard to case where its folder has
// been listed. A component that matches nothing is kept as written, and so are the ones after
// it. With list_missing, each folder on the way that has not been listed yet is listed first
// (once until the path cache is reset); *listed_any tells whether one was. A folder on the share
// read over SMB is always listed first: there a name missing as written costs a round trip per
// open, and one listing answers every file of the folder. *all_found tells whether every
// component was found (a name in a folder not listed counts as found as written).
std::string Resolve(std::string base, const std::vector<std::string>& raw, size_t keep_fixed,
                    bool list_missing = false, bool* listed_any = nullptr,
                    bool* all_found = nullptr) {
    const std::vector<std::string> parts = Normalized(raw, keep_fixed);
    std::string out = std::move(base);
    bool found = true;
    for (const std::string& part : parts) {
        std::string name = part;
        if (found) {
            std::optional<std::string> match;
            if (Cache().enabled) {
                bool listed = false;
                match = FindCached(out, part, listed);
                if (!listed && (list_missing || IsShareUrl(out)) && !Cache().folders[out].tried) {
                    List(out, Cache().folders[out]);
                    if (listed_any != nullptr) *listed_any = true;
                    match = FindCached(out, part, listed);
                }
                // In a folder not listed the name stands as written.
                if (!listed && !match) match = part;
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
// is reset. The folder's real path, learned on the way, is kept for ShareFolder.
std::string ShareBase(const std::string& server, const std::string& share) {
    PathCache& cache = Cache();
    const std::string key = SharePathKey("\\\\" + server + "\\" + share);
    if (cache.enabled) {
        if (const auto it = cache.share_bases.find(key); it != cache.share_bases.end())
            return it->second;
    }
    const std::vector<std::string> parts{server, share};
    std::string base = Resolve(SharesRoot(), parts, 2);
    // There as written (or as listed), or there but kept from being looked at: the local share.
    auto there = [&cache](const std::string& path) {
        count::Lookup();
        char* real = ::realpath(path.c_str(), nullptr);
        if (real == nullptr) return errno != ENOENT && errno != ENOTDIR;
        if (cache.enabled) cache.share_folders[path] = real;
        std::free(real);
        return true;
    };
    bool local = there(base);
    if (!local && cache.enabled) {
        // Not there as written: the folders on the way are listed for its name's case.
        bool listed_any = false;
        bool found = false;
        const std::string listed = Resolve(SharesRoot(), parts, 2, true, &listed_any, &found);
        if (listed_any && found && listed != base && there(listed)) {
            base = listed;
            local = true;
        }
    }
    if (!local) base = ShareUrl(server, share);
    if (cache.enabled) cache.share_bases[key] = base;
    return base;
}

std::optional<std::string> Resolved(std::string_view windows_path, bool list_missing,
                                    bool* listed_any) {
    if (IsUnc(windows_path)) {
        std::vector<std::string> parts = Normalized(Components(windows_path.substr(2)), 2);
        if (!NamesAShare(parts)) return std::nullopt;
        const std::string base = ShareBase(parts[0], parts[1]);
        return Resolve(base, std::vector<std::string>(parts.begin() + 2, parts.end()), 0,
                       list_missing, listed_any);
    }
    std::vector<std::string> parts = Components(windows_path);
    const bool absolute =
        !windows_path.empty() && (windows_path[0] == '\\' || windows_path[0] == '/');
    return Resolve(absolute ? "" : ".", parts, 0, list_missing, listed_any);
}

}  // namespace

void ForgetShareBase(std::string_view windows_path) {
    if (!IsUnc(windows_path)) return;
    std::vector<std::string> parts = Normalized(Components(windows_path.substr(2)), 2);
    if (!NamesAShare(parts)) return;
    PathCache& cache = Cache();
    cache.share_bases.erase(SharePathKey("\\\\" + parts[0] + "\\" + parts[1]));
    // The listings above the share go too: a share folder mounted since shows in them.
    const std::string root = SharesRoot();
    const std::string server = Folded(parts[0]);
    for (auto it = cache.folders.begin(); it != cache.folders.end();) {
        const std::string& dir = it->first;
        const bool above =
            dir == root ||
            (dir.size() > root.size() + 1 && dir.compare(0, root.size(), root) == 0 &&
             dir[root.size()] == '/' && Folded(dir.substr(root.size() + 1)) == server);
        it = above ? cache.folders.erase(it) : std::next(it);
    }
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

std::optional<std::string> OtherCasePath(std::string_view windows_path, std::string_view tried,
                                         Relook relook) {
    const bool listed = ListFoldersOn(windows_path);
    if (!listed && relook == Relook::kIfListedNow) return std::nullopt;
    std::optional<std::string> other = LocalPath(windows_path);
    if (!other || *other == tried) return std::nullopt;
    return other;
}

std::string SharesRoot() {
    const char* env = std::getenv("DASHVANE_SHARES");
    std::string root = (env != nullptr && *env != '\0') ? env : "/mnt";
    while (root.size() > 1 && root.back() == '/') root.pop_back();
    return root;
}

std::optional<std::string> LocalPath(std::string_view windows_path) {
    return Resolved(windows_path, false, nullptr);
}

bool ListFoldersOn(std::string_view windows_path) {
    if (!Cache().enabled) return false;
    // The nearest folder first: when it lists, the folders above it are there as written.
    const std::optional<std::string> local = Resolved(windows_path, false, nullptr);
    if (!local) return false;
    if (const size_t slash = local->rfind('/'); slash != std::string::npos && slash > 0) {
        const std::string parent = local->substr(0, slash);
        Folder& folder = Cache().folders[parent];
        if (folder.listed) return false;  // nothing new to learn this load
        if (!folder.tried) {
            List(parent, folder);
            if (folder.listed) return true;
        }
    }
    bool listed_any = false;
    Resolved(windows_path, true, &listed_any);
    return listed_any;
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
    parts = Normalized(std::move(parts), 2);
    parts.resize(2);
    std::string local = ShareBase(parts[0], parts[1]);
    if (IsShareUrl(local)) return local;  // the server keeps every read inside its share
    PathCache& cache = Cache();
    if (cache.enabled) {
        if (const auto it = cache.share_folders.find(local); it != cache.share_folders.end())
            return it->second;
    }
    std::optional<std::string> folder = RealPath(local);
    if (!folder && cache.enabled) {
        // Not there as written: the folders on the way are listed for its name's case.
        bool listed_any = false;
        const std::string listed = Resolve(SharesRoot(), parts, 2, true, &listed_any);
        if (listed_any && listed != local) {
            folder = RealPath(listed);
            local = listed;
        }
    }
    if (folder && cache.enabled) cache.share_folders[local] = *folder;
    return folder;
}

}  // namespace dv::platform
