#pragma once
// The most recently opened or saved files, newest first, as the File menu lists them.

#include <string>
#include <vector>

namespace korvel {

class SettingsStore;

class RecentFileList {
public:
    static constexpr size_t Capacity = 6;

    // Moves path to the front; the oldest entry falls off past Capacity.
    void Add(const std::string& path);
    const std::vector<std::string>& Items() const { return Paths; }

    // Section "Recent File List", values "File1" .. "File6"; empty values are skipped.
    void Load(SettingsStore& store);
    void Save(SettingsStore& store) const;

private:
    std::vector<std::string> Paths;
};

} // namespace korvel
