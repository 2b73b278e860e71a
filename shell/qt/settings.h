// The per-user settings store of the desktop program (application name "Dashvane").
#pragma once

#include <QSettings>
#include <memory>

namespace dv::qt {

inline constexpr const char* kSettingsName = "Dashvane";
// The help page's path, when it is not the installed one.
inline constexpr const char* kHelpFileSetting = "HelpFile";

std::unique_ptr<QSettings> UserSettings();

}  // namespace dv::qt
