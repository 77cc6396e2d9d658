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
// The same for cells of the given size whose outline starts at west and north.
std::string WorldFileText(double west, double north, double cellWidth, double cellHeight);
// Writes the world file of picturePath; a failure is added to notes, since the picture itself
// was saved.
void WriteWorldFileBeside(const std::string& picturePath, const Surface& s,
                          std::vector<std::string>& notes);
void WriteWorldFileBeside(const std::string& picturePath, const std::string& text,
                          std::vector<std::string>& notes);

// Where a world file places a north-up picture: the outline's north-western corner and the size of
// a cell.
struct WorldPlacement {
    double West = 0.0;
    double North = 0.0;
    double CellWidth = 0.0;
    double CellHeight = 0.0;
};
// The placement in text; false with why when it is not six numbers, or the picture would be
// rotated, mirrored or have cells that are not positive.
bool ParseWorldFile(const std::string& text, WorldPlacement& placement, std::string& why);
// Places s by the world file beside picturePath (".pgw", ".pngw" or ".wld") when there is one, with
// a note either way; s keeps its edges when the file cannot be used.
void PlaceByWorldFileBeside(const std::string& picturePath, Surface& s,
                            std::vector<std::string>& notes);

} // namespace korvel
