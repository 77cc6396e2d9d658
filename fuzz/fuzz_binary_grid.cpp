// Feeds arbitrary bytes to the binary grid import. The first 6 bytes pick the layout (see
// fuzz_layouts.h); the rest is the file.

#include "core/workspace.h"
#include "formats/binary_grid.h"
#include "fuzz/fuzz_layouts.h"
#include "fuzz/quiet_host.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < korvel::fuzz::BinaryLayoutBytes)
        return 0;
    korvel::Workspace& ws = korvel::fuzz::FuzzWorkspace();
    ws.FileNotes.clear();
    const auto target =
        (data[0] & 0x20) ? korvel::BinaryTarget::Subsection : korvel::BinaryTarget::WholeSurface;
    korvel::ImportBinaryBuffer(data + korvel::fuzz::BinaryLayoutBytes,
                               size - korvel::fuzz::BinaryLayoutBytes,
                               korvel::fuzz::BinaryLayoutOf(data), target, ws);
    return 0;
}
