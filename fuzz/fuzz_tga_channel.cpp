// Feeds arbitrary bytes to the reader that loads one colour channel of a TGA into the TextureMap.
// The first byte picks the channel (modulo 3), the rest is the file; the seeds carry that byte.

#include "formats/tga.h"
#include "fuzz/quiet_host.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    korvel::Workspace& ws = korvel::fuzz::FuzzWorkspace();
    korvel::ReadTgaChannelBuffer(data + 1, size - 1, data[0] % 3, ws);
    return 0;
}
