// The link table and the catalog settings of the tiny demo set damaged by the input (edits as
// fuzz/load_fuzz.h describes them): link names and targets, the catalog's Server and Directory,
// which become the paths of every file the load opens. The load must end. The input's first
// bytes, as a server, a directory and a target, also become a share path the way the engine
// builds one: its local path, when it has one, must lie inside the shares root, or be the address
// of the share on its server (a damaged server name has no folder under the shares root).
#include <string>

#include "fuzz/load_fuzz.h"
#include "platform/smb.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static dv::fuzz::LoadFuzz load("path", {}, {"LINKSFILE"}, true);
    const std::string text(reinterpret_cast<const char*>(data), std::min<size_t>(size, 120));
    const size_t a = text.size() / 3, b = 2 * text.size() / 3;
    std::string target = text.substr(b);
    for (char& c : target) {
        if (c == ':') c = '\\';
    }
    const std::string path =
        "\\\\" + text.substr(0, a) + "\\TMARLNK\\" + text.substr(a, b - a) + "\\" + target;
    if (const auto local = dv::platform::LocalPath(path)) {
        const std::string root = load.shares().string() + "/";
        const bool on_server =
            dv::platform::IsShareUrl(*local) && local->find("/TMARLNK", 6) != std::string::npos;
        if (local->compare(0, root.size(), root) != 0 && !on_server) __builtin_trap();
        if (local->find("/../") != std::string::npos) __builtin_trap();
    }
    load.Damage(data, size);
    load.Load();
    return 0;
}
