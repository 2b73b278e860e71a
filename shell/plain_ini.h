// The values of a QSettings INI file that leave no doubt what QSettings reads from them, read
// without Qt: dashvane-dump answers the G/L views' account lists from the desktop program's
// settings file this way, and loads the QSettings store (module_settings.h) only for a file
// that holds anything else.
//
// A file is plain when every line is blank, a section "[Name]" or "key=value", names and keys
// of letters, digits and '_', and each value empty, a run of letters, digits, '.', '-' and '_',
// or such a run with commas and blanks inside double quotes. Anything else (comments, escapes,
// '%' names, '@' forms, an unquoted comma, which QSettings reads as a list, a key given twice)
// makes the whole file not plain. Tested against QSettings itself (shell/qt).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace dv {

// The value QSettings reads for section/key from a file holding `text`; nothing when the file
// is not plain, or holds no such key (QSettings then looks in its fallback files too).
std::optional<std::string> PlainIniValue(std::string_view text, std::string_view section,
                                         std::string_view key);

// The file QSettings keeps an application's per-user settings in (organization "Dashvane"):
// $XDG_CONFIG_HOME/Dashvane/<app>.conf, or ~/.config/Dashvane/<app>.conf when that is unset or
// empty; nothing when XDG_CONFIG_HOME is not an absolute path (left to QSettings).
std::optional<std::string> QSettingsUserFile(std::string_view app);

}  // namespace dv
