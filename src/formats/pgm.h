#pragma once
// The Surface as a plain-text 16-bit grey map, its heights stretched from Min..Max to 0..65535.

#include "core/status.h"

#include <cstdint>
#include <string>

namespace korvel {

class Workspace;

// Writing codes; on any non-zero code the file at path is left as it was.
enum PgmWriteStatus : int32_t {
    PgmCannotCreate = -1,
    PgmBadRange = -2, // Max is below Min
    PgmWriteCancelled = -3,
    PgmWriteFailed = -4, // a write failed or the file could not be put in place
    PgmNoGrid = -5,
};
extern const StatusTable PgmWriteTexts;
int32_t WritePgm(const std::string& path, Workspace& ws, std::string* reason = nullptr);

} // namespace korvel
