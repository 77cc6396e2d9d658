#include "core/undo.h"

#include <algorithm>

namespace korvel {

int32_t UndoStack::Snapshot(const std::string& name, int32_t, int32_t, int32_t, int32_t) {
    // A dropped entry lends its copy to the new one: at the same size no reallocation is needed.
    std::unique_ptr<UndoEntry> entry;
    // Undone steps cannot be redone once the Surface has changed another way.
    while (EntryCount() > Current + 1) {
        entry = std::move(Entries.back());
        Entries.pop_back();
    }
    while (!Entries.empty() && EntryCount() >= Capacity) {
        entry = std::move(Entries.front());
        Entries.erase(Entries.begin());
    }
    Current = EntryCount() - 1;
    if (Capacity < 1)
        return 0;
    if (!entry)
        entry = std::make_unique<UndoEntry>();
    entry->Copy.AttachHost(Messages);
    const int32_t code = entry->Copy.CopyFrom(Live);
    if (code != 0)
        return code;
    entry->Name = name;
    Entries.push_back(std::move(entry));
    Current = EntryCount() - 1;
    return 0;
}

void UndoStack::Flush() {
    Entries.clear();
    Current = -1;
}

int32_t UndoStack::GoTo(int32_t n) {
    const int64_t target = static_cast<int64_t>(Current) - n;
    if (target < 0 || target >= EntryCount())
        return -1;
    const auto t = static_cast<int32_t>(target);
    // The live state is kept first, so that a failure below loses no entry.
    auto saved = std::make_unique<UndoEntry>();
    saved->Copy.AttachHost(Messages);
    int32_t code = saved->Copy.CopyFrom(Live);
    if (code != 0)
        return code;
    code = Live.CopyFrom(Entries[t]->Copy);
    if (code != 0) {
        // The failed Resize emptied the live Surface; bring its state back if memory allows.
        Live.CopyFrom(saved->Copy);
        return code;
    }
    // The restored entry leaves the stack, the states between it and the old cursor move one
    // place towards it, and the saved live state fills the place next to the new cursor. Names
    // stay with their places: each belongs to a command, whichever side of it the copy shows.
    const bool undo = n >= 0;
    const int32_t first = undo ? t : Current + 1;
    const int32_t last = undo ? Current : t;
    std::vector<std::string> names;
    for (int32_t k = first; k <= last; ++k)
        names.push_back(std::move(Entries[k]->Name));
    const auto base = Entries.begin();
    if (undo)
        std::rotate(base + first, base + first + 1, base + last + 1);
    else
        std::rotate(base + first, base + last, base + last + 1);
    Entries[undo ? last : first] = std::move(saved);
    for (int32_t k = first; k <= last; ++k)
        Entries[k]->Name = std::move(names[k - first]);
    Current = undo ? t - 1 : t;
    return 0;
}

std::string UndoStack::NameAt(int32_t n) const {
    const int64_t index = static_cast<int64_t>(Current) - n;
    if (index < 0 || index >= EntryCount())
        return {};
    return Entries[static_cast<size_t>(index)]->Name;
}

int32_t UndoStack::SetCapacity(int32_t n) {
    if (n < 0 || n > MaxCapacity)
        return -1;
    Flush();
    Capacity = n;
    return 0;
}

} // namespace korvel
