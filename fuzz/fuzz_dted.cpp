// Feeds arbitrary bytes to the DTED cell reader; the first byte picks the read window
// (fuzz_layouts.h).

#include "core/workspace.h"
#include "formats/dted.h"
#include "fuzz/fuzz_layouts.h"
#include "fuzz/quiet_host.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    korvel::Workspace& ws = korvel::fuzz::FuzzWorkspace();
    ws.FileNotes.clear();
    korvel::ReadDtedCellBuffer(data + 1, size - 1, korvel::fuzz::ReadWindowOf(data[0]), ws);
    return 0;
}
