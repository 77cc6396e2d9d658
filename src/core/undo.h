#pragma once
// Whole-Surface undo: up to Capacity snapshots, each a full copy of the grid, map record and
// TextureMap taken just before a Surface-changing command.

#include "core/surface.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace korvel {

struct UndoEntry {
    std::string Name = "Unknown";
    Surface Copy;
};

class UndoStack {
public:
    explicit UndoStack(Surface& live) : Live(live) {}

    // The rectangle is accepted for callers' sake and never restricts the copy.
    int32_t Snapshot(const std::string& name, int32_t x0 = -1, int32_t y0 = -1, int32_t x1 = -1,
                     int32_t y1 = -1);
    int32_t Undo();
    int32_t Redo();
    void Flush();
    std::string UndoName() const;
    std::string RedoName() const;
    int32_t GoTo(int32_t n);
    std::string NameAt(int32_t n) const;
    int32_t SetCapacity(int32_t n);

    int32_t UndoCount() const { return Current + 1; }
    int32_t RedoCount() const { return EntryCount() - Current - 1; }
    int32_t EntryCount() const { return static_cast<int32_t>(Entries.size()); }
    int32_t GetCapacity() const { return Capacity; }
    int32_t GetCurrent() const { return Current; }

private:
    Surface& Live;
    std::vector<std::unique_ptr<UndoEntry>> Entries;
    int32_t Capacity = 8;
    int32_t Current = -1;
};

} // namespace korvel
