#include "core/recent_files.h"

#include "core/settings_store.h"

#include <algorithm>

namespace korvel {

namespace {

constexpr const char* Section = "Recent File List";

std::string Key(size_t i) {
    return "File" + std::to_string(i + 1);
}

} // namespace

void RecentFileList::Add(const std::string& path) {
    if (path.empty())
        return;
    std::erase(Paths, path);
    Paths.insert(Paths.begin(), path);
    if (Paths.size() > Capacity)
        Paths.resize(Capacity);
}

void RecentFileList::Load(SettingsStore& store) {
    Paths.clear();
    for (size_t i = 0; i < Capacity; ++i) {
        const std::optional<std::string> value = store.Read(Section, Key(i));
        if (value && !value->empty() &&
            std::find(Paths.begin(), Paths.end(), *value) == Paths.end())
            Paths.push_back(*value);
    }
}

void RecentFileList::Save(SettingsStore& store) const {
    for (size_t i = 0; i < Capacity; ++i)
        store.Write(Section, Key(i), i < Paths.size() ? Paths[i] : std::string());
}

} // namespace korvel
