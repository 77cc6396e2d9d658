#pragma once
// Opening and saving through the file type table: a type chosen by the person, or the one the
// name's extension finds.

#include <cstdint>
#include <string>
#include <vector>

namespace korvel {

class Workspace;

// Reading codes besides the readers' own:
//  -100 the path has no extension        -101 the extension is not in the table
//  -102 the type cannot be read          -105 a definition file could not be read
//  -106 a definition file holds no block of its kind
//  -110 the type code has no reader      -111 the type's reader is not in this version yet
// Surfaces read are shaded into the TextureMap; surfaces and pictures read successfully go to
// the recent-file list. refresh asks for the view to be redrawn afterwards.
int32_t ReadFileByType(Workspace& ws, const std::string& path, bool refresh, int32_t type = -1);
// What the Open command shows for a reading code; empty for 0. type as given to ReadFileByType.
std::string OpenFailureMessage(int32_t code, const std::string& path, int32_t type = -1);

// Writes the Surface or the TextureMap as type (negative: from the extension). 0 when written;
// otherwise the writer's code with message set to what the person is shown (it may stay empty:
// an extension the table does not know, under "All Files", fails without one).
int32_t WriteFileByType(Workspace& ws, const std::string& path, int32_t type, std::string& message);

// A tile written by the texture batch, and the input it came from.
struct TextureTile {
    std::string Name;
    std::string Input;
};

// Two inputs of one batch whose corners give the same tile name.
constexpr int32_t TextureTileClash = -120;

// The batch of the "M&ONSYS Textures..." command: each file is read; a ".dem" file is also
// written as ".dte"; then the picture is written as the tile name of the map's corner and added
// to tiles. Stops at the first failing read or write, or at a tile this batch has already
// written (TextureTileClash), and returns its code; message says what failed.
int32_t RunTextureBatch(Workspace& ws, const std::vector<std::string>& paths, std::string& message,
                        std::vector<TextureTile>& tiles);
// "w120n45.bmp" for a left edge of -120.5 and a bottom edge of 45.2.
std::string TextureTileName(double left, double bottom);

} // namespace korvel
