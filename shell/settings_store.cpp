#include "shell/settings_store.h"

namespace dv {

std::string SettingsStore::GetOr(std::string_view app, std::string_view section,
                                 std::string_view key, std::string_view fallback) const {
    std::optional<std::string> value = Get(app, section, key);
    return value ? std::move(*value) : std::string(fallback);
}

std::optional<std::string> MemorySettingsStore::Get(std::string_view app, std::string_view section,
                                                    std::string_view key) const {
    const auto it = values_.find(Key(app, section, key));
    if (it == values_.end()) return std::nullopt;
    return it->second;
}

void MemorySettingsStore::Save(std::string_view app, std::string_view section, std::string_view key,
                               std::string_view value) {
    values_[Key(app, section, key)] = std::string(value);
}

SettingsStore& AppSettings() {
    static MemorySettingsStore own;
    SettingsStore* installed = Installed<SettingsStore>();
    return installed != nullptr ? *installed : own;
}

void SetAppSettings(SettingsStore* store) {
    Installed<SettingsStore>() = store;
}

}  // namespace dv
