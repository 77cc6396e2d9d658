#pragma once
// The user's list of other programs (renderers reading the exported files), kept in the settings
// store: "Count" under the list's section, entry i under section\Snn with "D" (description) and
// "C" (command line).

#include <cstddef>
#include <string>
#include <vector>

namespace korvel {

class SettingsStore;

// One section serves start-up, the menu and the list dialog alike, so what the dialog saves is
// what the menu offers.
inline constexpr const char* ExternalListSection = "ExtList";

struct ExternalEntry {
    std::string Description;
    std::string CommandLine;

    bool operator==(const ExternalEntry&) const = default;
};

class ExternalList {
public:
    // Replaces the contents. A "Count" that is not a number reads as 0; the list ends at the
    // first entry with neither value, so a damaged count reads no phantom entries.
    void Load(SettingsStore& store, const std::string& section);
    void Save(SettingsStore& store, const std::string& section) const;

    // nullptr when i is out of range.
    const ExternalEntry* At(size_t i) const;
    ExternalEntry* At(size_t i);
    size_t Size() const { return Entries.size(); }
    void Append(ExternalEntry entry);
    // Before entry i; at the end when i is out of range.
    void Insert(size_t i, ExternalEntry entry);
    // False when i is out of range.
    bool Remove(size_t i);

    bool operator==(const ExternalList&) const = default;

private:
    std::vector<ExternalEntry> Entries;
};

// The section of entry i: "ExtList\S02" for the third entry of "ExtList".
std::string ExternalEntrySection(const std::string& section, size_t i);

} // namespace korvel
