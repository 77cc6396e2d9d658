// Feeds arbitrary bytes to the PNG height reader; libFuzzer and the sanitizers report what goes
// wrong.

#include "formats/png_heights.h"
#include "fuzz/quiet_host.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    korvel::Workspace& ws = korvel::fuzz::FuzzWorkspace();
    ws.FileNotes.clear();
    korvel::ReadPngBuffer(data, size, {}, ws);
    return 0;
}
