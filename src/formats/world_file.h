#pragma once
// ESRI world files: six lines placing a picture on the map (cell width, two rotation terms, the
// negative cell height, then the centre of the north-western cell), which GDAL and QGIS read
// beside a picture of the same name (".pgw" for ".png", ".bpw" for ".bmp").

#include "core/surface.h"

#include <string>
#include <vector>

namespace korvel {

// "terrain.bpw" for "terrain.bmp": the extension's first and last letters around a "w".
std::string WorldFilePath(const std::string& picturePath);
std::string WorldFileText(const Surface& s);
// Writes the world file of picturePath; a failure is added to notes, since the picture itself
// was saved.
void WriteWorldFileBeside(const std::string& picturePath, const Surface& s,
                          std::vector<std::string>& notes);

} // namespace korvel
