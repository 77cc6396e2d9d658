#pragma once
// The commands of the area menu that move elevations, and the two texture edge commands. Each
// takes its parameters from the workspace and returns the operation's status code.

#include <cstdint>

namespace korvel {

class CommandTableBuilder;
class Workspace;

void BindAreaCommands(CommandTableBuilder& table);

int32_t RunFlipVertical(Workspace& ws);
int32_t RunFlipHorizontal(Workspace& ws);
int32_t RunFlipDiagonal(Workspace& ws);
int32_t RunToroidalOffset(Workspace& ws);
// Tells the user when the height is not a multiple of 4.
int32_t RunRotate90(Workspace& ws);
int32_t RunCosineDistort(Workspace& ws);
int32_t RunInverseCosine(Workspace& ws);
int32_t RunEdgeClear(Workspace& ws);
int32_t RunEdgeFluff(Workspace& ws);

} // namespace korvel
