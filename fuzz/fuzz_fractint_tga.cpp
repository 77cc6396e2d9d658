// Feeds arbitrary bytes to the reader that loads a Fractint 16-bit height field TGA.

#include "formats/tga.h"
#include "fuzz/quiet_host.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    korvel::Workspace& ws = korvel::fuzz::FuzzWorkspace();
    korvel::ReadFractintTgaBuffer(data, size, ws);
    return 0;
}
