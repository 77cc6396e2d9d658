#pragma once
// The Surface as a plain-text 16-bit grey map, its heights stretched from Min..Max to 0..65535.

#include <cstdint>
#include <string>

namespace korvel {

class Workspace;

// Writing codes; on any non-zero code the file at path is left as it was.
//   0 written
//  -1 the file cannot be created
//  -2 Max is below Min
//  -3 the row loop was cancelled
//  -4 a write failed or the file could not be put in place
//  -5 the Surface has no grid
int32_t WritePgm(const std::string& path, Workspace& ws);

} // namespace korvel
