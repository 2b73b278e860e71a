// The QSettings store as a module that dashvane-dump loads while it starts its load: the dump
// itself links no Qt, so that a headless run does not wait for Qt's libraries at start-up.
#include "shell/qt/qt_settings_store.h"

extern "C" __attribute__((visibility("default"))) dv::SettingsStore* dashvane_qt_settings_store() {
    return dv::qt::MakeUserSettingsStore().release();
}
