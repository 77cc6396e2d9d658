#pragma once
// Where persisted settings live: named sections of string values. Every value sits under
// "Data\" followed by its section name.

#include <map>
#include <optional>
#include <string>
#include <utility>

namespace korvel {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::optional<std::string> Read(const std::string& section, const std::string& key) = 0;
    virtual void Write(const std::string& section, const std::string& key,
                       const std::string& value) = 0;
    // Makes what was written durable; false when that failed.
    virtual bool Flush() { return true; }

    // "Data\Map" for section "Map", "Data\" for the rows without one.
    static std::string Subkey(const std::string& section) { return "Data\\" + section; }
};

class MemorySettingsStore : public SettingsStore {
public:
    std::optional<std::string> Read(const std::string& section, const std::string& key) override;
    void Write(const std::string& section, const std::string& key,
               const std::string& value) override;

    // Keyed by (subkey, key).
    std::map<std::pair<std::string, std::string>, std::string> Values;
};

// An INI file: "[Data\Map]" sections of "Key=value" lines. Reading a missing or unreadable
// file gives an empty store (ReadFailure tells why); Flush replaces the file atomically.
class IniSettingsStore : public SettingsStore {
public:
    explicit IniSettingsStore(std::string path);
    // Why the file could not be read, e.g. "No such file or directory"; empty when it was read.
    const std::string& ReadFailure() const { return Failure; }
    std::optional<std::string> Read(const std::string& section, const std::string& key) override;
    void Write(const std::string& section, const std::string& key,
               const std::string& value) override;
    bool Flush() override;

    const std::string& Path() const { return FilePath; }

private:
    std::string FilePath;
    std::string Failure;
    MemorySettingsStore Contents;
};

} // namespace korvel
