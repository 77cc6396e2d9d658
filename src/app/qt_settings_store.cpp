#include "app/qt_settings_store.h"

#include <QSettings>

namespace korvel {

namespace {

QString KeyPath(const std::string& section, const std::string& key) {
    const QString name = QString::fromStdString(key);
    return section.empty() ? "Data/" + name
                           : "Data/" + QString::fromStdString(section) + "/" + name;
}

} // namespace

QtSettingsStore::QtSettingsStore()
    : Settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                           "Dravik Software", "Korvel")) {}

QtSettingsStore::QtSettingsStore(const QString& path)
    : Settings(std::make_unique<QSettings>(path, QSettings::IniFormat)) {}

QtSettingsStore::~QtSettingsStore() = default;

std::optional<std::string> QtSettingsStore::Read(const std::string& section,
                                                 const std::string& key) {
    const QVariant value = Settings->value(KeyPath(section, key));
    if (!value.isValid())
        return std::nullopt;
    return value.toString().toStdString();
}

void QtSettingsStore::Write(const std::string& section, const std::string& key,
                            const std::string& value) {
    Settings->setValue(KeyPath(section, key), QString::fromStdString(value));
}

bool QtSettingsStore::Flush() {
    Settings->sync();
    return Settings->status() == QSettings::NoError;
}

QString QtSettingsStore::FileName() const {
    return Settings->fileName();
}

} // namespace korvel
