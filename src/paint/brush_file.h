#pragma once
// "Brush Definition" files (.brs): a Brush block as text, read into and written from the
// current brush.
#include <cstdint>
#include <string>

namespace korvel {

class Workspace;

// Loads the file's Brush blocks into the current brush (the pressure brushes follow). 0; -105
// when the file cannot be read or a block has no end, -108 when it holds no Brush block; message
// is then set and the brush is as it was.
int32_t ReadBrushDefinitionFile(const std::string& path, Workspace& ws, std::string& message);
// 0, or -2 when the file cannot be written (message set; the old file is kept).
int32_t WriteBrushDefinitionFile(const std::string& path, Workspace& ws, std::string& message);

} // namespace korvel
