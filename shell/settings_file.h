// The per-user settings store on disk, shared by the desktop program and dashvane-dump so that
// both see what the user saved: a small text file, by default
// $XDG_CONFIG_HOME/Dashvane/settings.ini (~/.config/Dashvane/settings.ini when that is unset).
//
//   [Dashvane/Asset]
//   Accounts=01100,025
//
// One "[application/section]" line per section, then "key=value" lines; a value is the text to
// the end of its line, with "\\" for a backslash and "\n" for a line break. Every Get reads the
// file as it is now; Save rewrites it whole (creating its folder). A file that is missing or
// cannot be read holds no values; a Save that cannot write is reported on stderr and the
// program goes on.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "shell/settings_store.h"

namespace dv {

std::filesystem::path DefaultSettingsPath();

class FileSettingsStore : public SettingsStore {
  public:
    explicit FileSettingsStore(std::filesystem::path path) : path_(std::move(path)) {}
    const std::filesystem::path& path() const { return path_; }

    std::optional<std::string> Get(std::string_view app, std::string_view section,
                                   std::string_view key) const override;
    void Save(std::string_view app, std::string_view section, std::string_view key,
              std::string_view value) override;

  private:
    std::filesystem::path path_;
};

}  // namespace dv
