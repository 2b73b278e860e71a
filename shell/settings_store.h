// The per-user settings store: values kept by application name, section and key, as text (the
// G/L views' account lists live under "Dashvane" / "Asset" or "Liability" / "Accounts"; an
// empty section names the keys outside every section, as "Dashvane" / "" / "HelpFile").
//
// The core reads and writes it through AppSettings(). The desktop program and dashvane-dump
// both install the one QSettings store (shell/qt/qt_settings_store.h) at start-up, so both read
// and write one file; tests install a MemorySettingsStore. Until a program installs one,
// AppSettings() is a memory store that starts empty and lives as long as the program.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>

#include "records/installed.h"

namespace dv {

inline constexpr std::string_view kSettingsApplication = "Dashvane";

class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    // The stored value; nothing when the key was never saved (an empty value is a value).
    virtual std::optional<std::string> Get(std::string_view app, std::string_view section,
                                           std::string_view key) const = 0;
    // Saves a value, replacing what the key held.
    virtual void Save(std::string_view app, std::string_view section, std::string_view key,
                      std::string_view value) = 0;

    // The stored value, or fallback when the key was never saved.
    std::string GetOr(std::string_view app, std::string_view section, std::string_view key,
                      std::string_view fallback) const;
};

// Values in memory only.
class MemorySettingsStore : public SettingsStore {
  public:
    std::optional<std::string> Get(std::string_view app, std::string_view section,
                                   std::string_view key) const override;
    void Save(std::string_view app, std::string_view section, std::string_view key,
              std::string_view value) override;
    // How many values are stored.
    size_t size() const { return values_.size(); }

  private:
    using Key = std::tuple<std::string, std::string, std::string>;
    std::map<Key, std::string> values_;
};

// The program-wide store: the one installed, else the program's own memory store.
SettingsStore& AppSettings();
// Installs a store (not owned); null goes back to the memory store.
void SetAppSettings(SettingsStore* store);

// Installs a store for the life of the object, then puts the previous one back.
using ScopedSettingsStore = ScopedInstall<SettingsStore>;

}  // namespace dv
