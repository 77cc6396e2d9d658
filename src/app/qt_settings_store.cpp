#include "app/qt_settings_store.h"

#include <QSettings>

namespace korvel {

namespace {

// The store is handed the registry's subkey ("Data\Map", "Data\" for the rows without a
// section, "Recent File List"); QSettings separates groups with '/'.
QString KeyPath(const std::string& subkey, const std::string& key) {
    QString group = QString::fromStdString(subkey).replace('\\', '/');
    if (!group.isEmpty() && !group.endsWith('/'))
        group += '/';
    return group + QString::fromStdString(key);
}

} // namespace

QtSettingsStore::QtSettingsStore()
    : Settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                           "Dravik Software", "Korvel")) {}

QtSettingsStore::QtSettingsStore(const QString& path)
    : Settings(std::make_unique<QSettings>(path, QSettings::IniFormat)) {}

QtSettingsStore::~QtSettingsStore() = default;

std::optional<std::string> QtSettingsStore::Read(const std::string& subkey,
                                                 const std::string& key) {
    const QVariant value = Settings->value(KeyPath(subkey, key));
    if (!value.isValid())
        return std::nullopt;
    return value.toString().toStdString();
}

void QtSettingsStore::Write(const std::string& subkey, const std::string& key,
                            const std::string& value) {
    Settings->setValue(KeyPath(subkey, key), QString::fromStdString(value));
}

bool QtSettingsStore::Flush() {
    Settings->sync();
    return Settings->status() == QSettings::NoError;
}

QString QtSettingsStore::FailureReason() const {
    switch (Settings->status()) {
    case QSettings::AccessError:
        return "the file or its folder could not be created or written";
    case QSettings::FormatError:
        return "the file is not an INI file";
    default:
        return "no failure";
    }
}

QString QtSettingsStore::FileName() const {
    return Settings->fileName();
}

} // namespace korvel
