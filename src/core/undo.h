#pragma once
// Whole-Surface undo: up to Capacity snapshots, each a full copy of the grid, map record and
// TextureMap taken just before a Surface-changing command.
//
// Entry k belongs to the k-th remembered command. Entries up to Current hold the Surface as it
// was before their command (what Undo brings back); entries after Current hold it as it was
// after their command (what Redo brings back). Undo and Redo swap the live Surface with one
// entry, so a redone step really returns to the undone result; each needs room for one more
// whole copy while it runs.

#include "core/surface.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace korvel {

class Host;

struct UndoEntry {
    std::string Name = "Unknown";
    Surface Copy;
};

class UndoStack {
public:
    static constexpr int32_t MaxCapacity = 32;

    explicit UndoStack(Surface& live) : Live(live) {}

    // Where the entries' copies report failed allocations ("Can't alloc surface"), like the live
    // Surface does; without a host they only return the code.
    void AttachHost(Host* host) { Messages = host; }

    // The rectangle is accepted for callers' sake and never restricts the copy. Steps that were
    // undone are dropped, and the oldest entry when the stack is full. 0, or the Resize code when
    // the copy could not be allocated (no entry is added then).
    int32_t Snapshot(const std::string& name, int32_t x0 = -1, int32_t y0 = -1, int32_t x1 = -1,
                     int32_t y1 = -1);
    // 0 done, -1 nothing to undo/redo, -2 out of memory (the stack and Current are unchanged).
    int32_t Undo() { return GoTo(0); }
    int32_t Redo() { return GoTo(-1); }
    void Flush();
    std::string UndoName() const { return NameAt(0); }
    std::string RedoName() const { return NameAt(-1); }
    // n >= 0 undoes n + 1 steps, n < 0 redoes -n steps: the last step taken is the entry at
    // Current - n. Codes as Undo.
    int32_t GoTo(int32_t n);
    // The name of the entry at Current - n; empty outside the stack.
    std::string NameAt(int32_t n) const;
    // Flushes and sets Capacity (0..MaxCapacity): 0, or -1 with nothing changed.
    int32_t SetCapacity(int32_t n);

    int32_t UndoCount() const { return Current + 1; }
    int32_t RedoCount() const { return EntryCount() - Current - 1; }
    int32_t EntryCount() const { return static_cast<int32_t>(Entries.size()); }
    int32_t GetCapacity() const { return Capacity; }
    int32_t GetCurrent() const { return Current; }

private:
    Surface& Live;
    Host* Messages = nullptr;
    std::vector<std::unique_ptr<UndoEntry>> Entries;
    int32_t Capacity = 8;
    int32_t Current = -1;
};

} // namespace korvel
