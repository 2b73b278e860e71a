#include "shell/qt/qt_settings_store.h"

#include <QSettings>
#include <QString>

namespace dv::qt {
namespace {

// Names and values are kept as UTF-8, so that a path the user typed (HelpFile) comes back as
// the bytes the file system knows it by; account lists are plain digits either way.
QString ToQ(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The QSettings key: "section/key", or the key alone outside every section.
QString KeyName(std::string_view section, std::string_view key) {
    return section.empty() ? ToQ(key) : ToQ(section) + QLatin1Char('/') + ToQ(key);
}

class QtSettingsStore : public SettingsStore {
  public:
    std::optional<std::string> Get(std::string_view app, std::string_view section,
                                   std::string_view key) const override {
        QSettings settings(QSettings::NativeFormat, QSettings::UserScope, ToQ(kSettingsApplication),
                           ToQ(app));
        const QString name = KeyName(section, key);
        if (!settings.contains(name)) return std::nullopt;
        return settings.value(name).toString().toUtf8().toStdString();
    }

    void Save(std::string_view app, std::string_view section, std::string_view key,
              std::string_view value) override {
        QSettings settings(QSettings::NativeFormat, QSettings::UserScope, ToQ(kSettingsApplication),
                           ToQ(app));
        settings.setValue(KeyName(section, key), ToQ(value));
        settings.sync();
    }
};

}  // namespace

std::unique_ptr<SettingsStore> MakeUserSettingsStore() {
    return std::make_unique<QtSettingsStore>();
}

}  // namespace dv::qt
