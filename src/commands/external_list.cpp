#include "commands/external_list.h"

#include "core/settings_store.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <utility>

namespace korvel {

std::string ExternalEntrySection(const std::string& section, size_t i) {
    char index[24];
    std::snprintf(index, sizeof index, "%02zu", i);
    return section + "\\S" + index;
}

void ExternalList::Load(SettingsStore& store, const std::string& section) {
    Entries.clear();
    const std::string countText = store.Read(section, "Count").value_or("0");
    long long count = 0;
    std::from_chars(countText.data(), countText.data() + countText.size(), count);
    for (long long i = 0; i < count; ++i) {
        const std::string entrySection = ExternalEntrySection(section, static_cast<size_t>(i));
        auto description = store.Read(entrySection, "D");
        auto commandLine = store.Read(entrySection, "C");
        if (!description && !commandLine)
            break;
        Entries.push_back({description.value_or(""), commandLine.value_or("")});
    }
}

void ExternalList::Save(SettingsStore& store, const std::string& section) const {
    store.Write(section, "Count", std::to_string(Entries.size()));
    for (size_t i = 0; i < Entries.size(); ++i) {
        const std::string entrySection = ExternalEntrySection(section, i);
        store.Write(entrySection, "D", Entries[i].Description);
        store.Write(entrySection, "C", Entries[i].CommandLine);
    }
}

const ExternalEntry* ExternalList::At(size_t i) const {
    return i < Entries.size() ? &Entries[i] : nullptr;
}

ExternalEntry* ExternalList::At(size_t i) {
    return i < Entries.size() ? &Entries[i] : nullptr;
}

void ExternalList::Append(ExternalEntry entry) {
    Entries.push_back(std::move(entry));
}

void ExternalList::Insert(size_t i, ExternalEntry entry) {
    Entries.insert(Entries.begin() + static_cast<std::ptrdiff_t>(std::min(i, Entries.size())),
                   std::move(entry));
}

bool ExternalList::Remove(size_t i) {
    if (i >= Entries.size())
        return false;
    Entries.erase(Entries.begin() + static_cast<std::ptrdiff_t>(i));
    return true;
}

} // namespace korvel
