// Feeds arbitrary bytes to the Bryce reader as both kinds; libFuzzer and the sanitizers report
// what goes wrong.

#include "formats/bryce.h"
#include "fuzz/quiet_host.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    korvel::Workspace& ws = korvel::fuzz::FuzzWorkspace();
    korvel::ReadBryceBuffer(korvel::BryceKind::Bryce2, data, size, ws);
    korvel::ReadBryceBuffer(korvel::BryceKind::Bryce3D, data, size, ws);
    return 0;
}
