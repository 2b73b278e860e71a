#include "shell/qt/settings.h"

namespace dv::qt {

std::unique_ptr<QSettings> UserSettings() {
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, kSettingsName,
                                       kSettingsName);
}

}  // namespace dv::qt
