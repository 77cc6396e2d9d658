// Feeds arbitrary text to the BIL header reader, then imports a small grid with the layout it
// gave, so that hostile sizes and starts from a header meet the import's checks.

#include "core/workspace.h"
#include "formats/binary_grid.h"
#include "fuzz/quiet_host.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    korvel::Workspace& ws = korvel::fuzz::FuzzWorkspace();
    ws.FileNotes.clear();
    korvel::BinaryImportFields layout;
    if (korvel::ReadBilHeaderText(std::string(reinterpret_cast<const char*>(data), size), layout) !=
        0)
        return 0;
    static const uint8_t grid[256] = {1, 2, 3, 4, 5, 6, 7, 8};
    korvel::ImportBinaryBuffer(grid, sizeof grid, layout, korvel::BinaryTarget::WholeSurface, ws);
    return 0;
}
