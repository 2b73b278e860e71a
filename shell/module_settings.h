// dashvane-dump's settings store: the desktop program's QSettings store, kept in a module that
// is loaded only when it is needed. A Get first reads the user's QSettings file itself where
// the file leaves no doubt what QSettings reads (shell/plain_ini.h), as it does for account
// lists the window saved; anything else, and every Save, goes to the module, loaded then. So a
// headless run waits for Qt's libraries only for a settings file it can't read for certain.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shell/settings_store.h"

namespace dv {

class ModuleSettingsStore : public SettingsStore {
  public:
    // The module is the first of `paths` that loads (the reasons of those that don't are kept);
    // its C function `factory` makes the store, a SettingsStore* the caller owns. When none
    // loads, the first call that needs it calls `failed` with the reasons and, if `failed`
    // returns, answers as a store holding nothing.
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
    // The module's store, loaded at the first call; null when it failed (after `failed`).
    SettingsStore* Module() const;

    std::vector<std::string> paths_;
    std::string factory_;
    std::function<void(const std::string&)> failed_;
    mutable bool tried_ = false;
    mutable std::unique_ptr<SettingsStore> store_;
};

}  // namespace dv
