// Feeds arbitrary bytes to the reader that loads a 256-colour PCX as a Surface.

#include "formats/pcx.h"
#include "fuzz/quiet_host.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    korvel::Workspace& ws = korvel::fuzz::FuzzWorkspace();
    korvel::ReadPcxSurfaceBuffer(data, size, ws);
    return 0;
}
