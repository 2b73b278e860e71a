// The per-user settings store kept with QSettings (Qt Core only), the one store of the desktop
// program and of dashvane-dump, so that the account lists chosen in the window are the ones the
// headless figures use. Values live under the organization "Dashvane", one settings file per
// application name (~/.config/Dashvane/Dashvane.conf for "Dashvane", where QSettings puts it:
// $XDG_CONFIG_HOME, else $HOME/.config), keyed "section/key", or "key" for an empty section.
//
// This header has no Qt include: the headless run only asks for the store.
#pragma once

#include <memory>

#include "shell/settings_store.h"

namespace dv::qt {

std::unique_ptr<SettingsStore> MakeUserSettingsStore();

}  // namespace dv::qt
