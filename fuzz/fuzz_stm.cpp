// Feeds arbitrary bytes to the STM reader; libFuzzer and the sanitizers report what goes wrong.

#include "formats/stm.h"
#include "fuzz/quiet_host.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    korvel::Workspace& ws = korvel::fuzz::FuzzWorkspace();
    korvel::ReadStmBuffer(data, size, ws);
    return 0;
}
