#pragma once
// "Surface Definition" files (.srf): a FracParms block as text.

#include <cstdint>
#include <string>

namespace korvel {

class Workspace;

// Loads the file's FracParms block into the Surface's generation record; nothing is generated.
// 0 (also when the file has no such block), -105 when the file cannot be read or a block has no
// end; message is then set.
int32_t ReadSurfaceDefinitionFile(const std::string& path, Workspace& ws, std::string& message);
// 0, or -2 when the file cannot be written (message set; the old file is kept).
int32_t WriteSurfaceDefinitionFile(const std::string& path, Workspace& ws, std::string& message);

} // namespace korvel
