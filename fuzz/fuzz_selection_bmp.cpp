// Feeds arbitrary bytes to the selection-mask BMP loader. The Surface is 8 x 5 so its mask is
// rounded up to 8 x 8: files of either height are accepted, which reaches the copying code.

#include "edit/selection_operations.h"
#include "formats/selection_bmp.h"
#include "fuzz/quiet_host.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    korvel::Workspace& ws = korvel::fuzz::FuzzWorkspace();
    if (ws.TheSurface.Resize(8, 5, 0) != 0 || korvel::SetSelectionEnabled(ws.TheSurface, true) != 0)
        __builtin_trap(); // the harness itself is broken
    std::string message;
    korvel::LoadSelectionBmpBuffer(ws.TheSurface, data, size, message);
    return 0;
}
