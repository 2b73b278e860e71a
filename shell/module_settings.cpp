#include "shell/module_settings.h"

#include <dlfcn.h>
#include <unistd.h>

#include <utility>

namespace dv {

ModuleSettingsStore::ModuleSettingsStore(std::vector<std::string> paths, std::string factory,
                                         std::function<void(const std::string&)> failed)
    : failed_(std::move(failed)) {
    auto load = [this, paths = std::move(paths), factory = std::move(factory)] {
        for (const std::string& path : paths) {
            // Kept loaded for the life of the process: Qt's libraries are not made to be
            // unloaded.
            void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
            if (module == nullptr) {
                const char* why = ::dlerror();
                reasons_ += (why ? why : path + ": cannot be loaded") + std::string("\n");
                continue;
            }
            using Factory = SettingsStore* (*)();
            const auto make = reinterpret_cast<Factory>(::dlsym(module, factory.c_str()));
            if (make == nullptr) {
                reasons_ += path + ": has no " + factory + "\n";
                continue;
            }
            store_.reset(make());
            if (store_) return;
            reasons_ += path + ": made no settings store\n";
        }
    };
    try {
        loader_ = std::thread(load);
    } catch (const std::system_error&) {
        load();  // no thread to spare: loaded now
    }
}

ModuleSettingsStore::~ModuleSettingsStore() {
    if (loader_.joinable()) loader_.join();
}

SettingsStore* ModuleSettingsStore::Loaded() const {
    if (loader_.joinable()) loader_.join();
    if (!store_ && !reported_) {
        reported_ = true;
        if (failed_) failed_(reasons_);
    }
    return store_.get();
}

std::optional<std::string> ModuleSettingsStore::Get(std::string_view app, std::string_view section,
                                                    std::string_view key) const {
    SettingsStore* store = Loaded();
    return store ? store->Get(app, section, key) : std::nullopt;
}

void ModuleSettingsStore::Save(std::string_view app, std::string_view section, std::string_view key,
                               std::string_view value) {
    if (SettingsStore* store = Loaded()) store->Save(app, section, key, value);
}

std::string ProgramFolder() {
    char buffer[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return {};
    const std::string self(buffer, static_cast<size_t>(n));
    const size_t slash = self.rfind('/');
    return slash == std::string::npos ? std::string() : self.substr(0, slash + 1);
}

}  // namespace dv
