#pragma once
// Colour-list files: one ColorList block as text, loaded and saved by the "Edit Color List"
// dialog.

#include <cstdint>
#include <string>

namespace korvel {

class ColorList;
class Workspace;

// Replaces list with the file's first ColorList block. 0; -105 when the file cannot be read or
// the block has no end, -108 when it holds no block; message then says why and list is kept.
int32_t ReadColorListFile(const std::string& path, Workspace& ws, ColorList& list,
                          std::string& message);
// 0, or -2 when the file cannot be written (message set; the old file is kept).
int32_t WriteColorListFile(const std::string& path, const ColorList& list, std::string& message);

} // namespace korvel
