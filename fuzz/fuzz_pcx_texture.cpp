// Feeds arbitrary bytes to the reader that loads a 256-colour PCX as a picture.

#include "core/image.h"
#include "formats/pcx.h"
#include "fuzz/quiet_host.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    korvel::Workspace& ws = korvel::fuzz::FuzzWorkspace();
    korvel::Image image;
    korvel::ReadPcxTextureBuffer(data, size, image, ws.TheProgress);
    return 0;
}
