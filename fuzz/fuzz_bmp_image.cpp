// Feeds arbitrary bytes to the reader that loads a BMP as a picture (8 or 24 bits).

#include "core/image.h"
#include "formats/bmp.h"
#include "fuzz/quiet_host.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    korvel::Workspace& ws = korvel::fuzz::FuzzWorkspace();
    korvel::Image image;
    korvel::ReadBmpImageBuffer(data, size, image, ws.TheProgress);
    return 0;
}
