// Feeds arbitrary bytes to the RAW height reader; the first byte picks the layout (bit 0: 32-bit
// floats, bit 1: big-endian, bit 2: south first, bit 3: width from the second byte times 4).

#include "formats/raw_heights.h"
#include "fuzz/quiet_host.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    korvel::Workspace& ws = korvel::fuzz::FuzzWorkspace();
    ws.FileNotes.clear();
    korvel::RawFields layout;
    layout.ByteOrder = (data[0] >> 1) & 1;
    layout.SouthUp = (data[0] >> 2) & 1;
    layout.Width = (data[0] & 8) ? data[1] * 4 : 0;
    const korvel::GreyRangeFields range{-100.0, 900.0};
    korvel::ReadRawBuffer(data + 2, size - 2, (data[0] & 1) ? 4 : 2, layout, range, ws);
    return 0;
}
