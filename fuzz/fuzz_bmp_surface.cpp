// Feeds arbitrary bytes to the reader that turns a grey BMP into the Surface.

#include "formats/bmp.h"
#include "fuzz/quiet_host.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    korvel::Workspace& ws = korvel::fuzz::FuzzWorkspace();
    korvel::ReadBmpSurfaceBuffer(data, size, ws);
    return 0;
}
