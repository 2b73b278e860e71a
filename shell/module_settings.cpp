#include "shell/module_settings.h"

#include <dlfcn.h>

#include <fstream>
#include <iterator>
#include <utility>

#include "shell/plain_ini.h"

namespace dv {
namespace {

// The text of a file, or nothing when it can't be read.
std::optional<std::string> FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return text;
}

}  // namespace

ModuleSettingsStore::ModuleSettingsStore(std::vector<std::string> paths, std::string factory,
                                         std::function<void(const std::string&)> failed)
    : paths_(std::move(paths)), factory_(std::move(factory)), failed_(std::move(failed)) {}

ModuleSettingsStore::~ModuleSettingsStore() = default;

SettingsStore* ModuleSettingsStore::Module() const {
    if (tried_) return store_.get();
    tried_ = true;
    std::string reasons;
    for (const std::string& path : paths_) {
        // Kept loaded for the life of the process: Qt's libraries are not made to be unloaded.
        void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (module == nullptr) {
            const char* why = ::dlerror();
            reasons += (why ? std::string(why) : path + ": cannot be loaded") + "\n";
            continue;
        }
        using Factory = SettingsStore* (*)();
        const auto make = reinterpret_cast<Factory>(::dlsym(module, factory_.c_str()));
        if (make == nullptr) {
            reasons += path + ": has no " + factory_ + "\n";
            continue;
        }
        store_.reset(make());
        if (store_) return store_.get();
        reasons += path + ": made no settings store\n";
    }
    if (failed_) failed_(reasons);
    return nullptr;
}

std::optional<std::string> ModuleSettingsStore::Get(std::string_view app, std::string_view section,
                                                    std::string_view key) const {
    if (!tried_) {
        if (const std::optional<std::string> file = QSettingsUserFile(app)) {
            if (const std::optional<std::string> text = FileText(*file)) {
                if (std::optional<std::string> value = PlainIniValue(*text, section, key))
                    return value;
            }
        }
    }
    SettingsStore* store = Module();
    return store ? store->Get(app, section, key) : std::nullopt;
}

void ModuleSettingsStore::Save(std::string_view app, std::string_view section, std::string_view key,
                               std::string_view value) {
    if (SettingsStore* store = Module()) store->Save(app, section, key, value);
}

}  // namespace dv
