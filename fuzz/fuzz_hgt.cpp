// Feeds arbitrary bytes to the SRTM HGT reader under a tile's name; libFuzzer and the sanitizers
// report what goes wrong.

#include "formats/hgt.h"
#include "fuzz/quiet_host.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    korvel::Workspace& ws = korvel::fuzz::FuzzWorkspace();
    ws.FileNotes.clear();
    korvel::ReadHgtBuffer(data, size, ws, "N45W120.hgt");
    return 0;
}
