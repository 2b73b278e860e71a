// A settings store that lives in a module loaded at run time, on a thread of its own, while the
// program goes on: dashvane-dump reads the user's settings through QSettings, as the desktop
// program does, without linking Qt, whose libraries would otherwise be loaded before its first
// line runs. The first Get or Save waits for the module.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "shell/settings_store.h"

namespace dv {

class ModuleSettingsStore : public SettingsStore {
  public:
    // Loads the first of `paths` that exists (all are tried in turn, the reasons kept) and makes
    // its store with the C function `factory`, which returns a SettingsStore* the caller owns.
    // When none loads, the first Get or Save calls `failed` with the reasons, and answers as a
    // store holding nothing if `failed` returns.
    ModuleSettingsStore(std::vector<std::string> paths, std::string factory,
                        std::function<void(const std::string&)> failed);
    ~ModuleSettingsStore() override;
    ModuleSettingsStore(const ModuleSettingsStore&) = delete;
    ModuleSettingsStore& operator=(const ModuleSettingsStore&) = delete;

    std::optional<std::string> Get(std::string_view app, std::string_view section,
                                   std::string_view key) const override;
    void Save(std::string_view app, std::string_view section, std::string_view key,
              std::string_view value) override;

  private:
    // The module's store once loaded, null when it failed (after `failed` was called).
    SettingsStore* Loaded() const;

    mutable std::thread loader_;
    std::unique_ptr<SettingsStore> store_;
    std::string reasons_;
    std::function<void(const std::string&)> failed_;
    mutable bool reported_ = false;
};

// The folder of the running program, with its final slash ("" when /proc does not say).
std::string ProgramFolder();

}  // namespace dv
