#pragma once
// The persisted settings in Qt's per-user INI file of "Dravik Software"/"Korvel": the value of
// subkey Data\Map, key XSize is Data/Map/XSize, so the file holds [Data] with keys such as
// Map\XSize.

#include "core/settings_store.h"

#include <QString>
#include <memory>

class QSettings;

namespace korvel {

class QtSettingsStore : public SettingsStore {
public:
    // The user's own file.
    QtSettingsStore();
    // A file of its own, for tests and a --settings option.
    explicit QtSettingsStore(const QString& path);
    ~QtSettingsStore() override;

    std::optional<std::string> Read(const std::string& section, const std::string& key) override;
    void Write(const std::string& section, const std::string& key,
               const std::string& value) override;
    bool Flush() override;

    QString FileName() const;
    // Why the last Flush failed, for the message naming the file.
    QString FailureReason() const;

private:
    std::unique_ptr<QSettings> Settings;
};

} // namespace korvel
