// The per-user settings store kept with QSettings, shared by the desktop program and, when it is
// built with Qt, dashvane-dump, so that the account lists chosen in the window are the ones the
// headless figures use. Values live under the organization "Dashvane", one settings file per
// application name (~/.config/Dashvane/Dashvane.conf for "Dashvane"), keyed "section/key".
//
// This header has no Qt include: the headless run only asks for the store.
#pragma once

#include <memory>

#include "shell/settings_store.h"

namespace dv::qt {

std::unique_ptr<SettingsStore> MakeUserSettingsStore();

}  // namespace dv::qt
