#pragma once
// The unsaved work set aside for the autosave: the Surface's rows, map record and lighting,
// copied between two edits and written while editing goes on. The copy lives in a workspace of
// its own (with a host that shows nothing), so writing it on another thread touches nothing the
// editor uses.

#include "core/headless_host.h"

#include <cstdint>
#include <memory>
#include <string>

namespace korvel {

class Surface;
class Workspace;

class AutosaveSnapshot {
public:
    AutosaveSnapshot();
    ~AutosaveSnapshot();
    AutosaveSnapshot(const AutosaveSnapshot&) = delete;
    AutosaveSnapshot& operator=(const AutosaveSnapshot&) = delete;

    // Copies the grid, map record and lighting of live; the copy's grid is kept for the next
    // take of the same size. Empty, or why no copy could be made.
    std::string Take(const Surface& live);
    // The grid and map record as a float MDR file, the lighting as a lighting definition file
    // whose reals read back exactly; each replaces its file only when complete. Empty, or why
    // a file could not be written.
    std::string Write(const std::string& mdrPath, const std::string& lightingPath);

private:
    HeadlessHost Quiet{nullptr};
    std::unique_ptr<Workspace> Copy;
};

// Reads an autosave into ws: the rows, map record and lighting as they were written; the
// TextureMap is left stale for the caller to show. 0, or non-zero with message set; a failure
// leaves the lighting as it was, and the Surface too unless the memory for it ran out.
int32_t RestoreAutosave(Workspace& ws, const std::string& mdrPath, const std::string& lightingPath,
                        std::string& message);

} // namespace korvel
