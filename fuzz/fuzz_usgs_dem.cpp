// Feeds arbitrary bytes to the USGS DEM reader; libFuzzer and the sanitizers report what goes
// wrong.

#include "formats/usgs_dem.h"
#include "fuzz/quiet_host.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    korvel::Workspace& ws = korvel::fuzz::FuzzWorkspace();
    ws.FileNotes.clear();
    korvel::ReadUsgsDemBuffer(data, size, ws);
    return 0;
}
