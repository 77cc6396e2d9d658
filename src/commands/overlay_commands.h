#pragma once
// The commands that draw over the picture: the hex and rectangular grids, the vector file, text
// messages (into the picture or the height field) and the picture's flood fill.

#include <cstdint>

namespace korvel {

class CommandTableBuilder;
class Workspace;

void BindOverlayCommands(CommandTableBuilder& table);

int32_t RunHexGrid(Workspace& ws);
int32_t RunRectangularGrid(Workspace& ws);
// Reads ws.VectorFile.Path and draws its strokes; says which lines it had to drop.
int32_t RunVectorFile(Workspace& ws);
int32_t RunTextMessage(Workspace& ws);
// The text stamped into the height field: samples set to the value, or raised by it.
int32_t RunTextHeights(Workspace& ws);
int32_t RunTextRaise(Workspace& ws);
int32_t RunPictureFill(Workspace& ws);

} // namespace korvel
