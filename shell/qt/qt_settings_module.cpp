// The QSettings store as a module, which dashvane-dump loads only for a settings file it can't
// read itself (shell/module_settings.h): the dump links no Qt, so that a headless run does not
// wait for Qt's libraries at start-up.
#include "shell/qt/qt_settings_store.h"

extern "C" __attribute__((visibility("default"))) dv::SettingsStore* dashvane_qt_settings_store() {
    return dv::qt::MakeUserSettingsStore().release();
}
