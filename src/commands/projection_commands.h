#pragma once
// "&Map Projection..." (the export of its view as a BMP; the editor adds the dialog with the
// preview) and "&Icosahedral Projection...".

#include <cstdint>
#include <string>

namespace korvel {

class CommandTableBuilder;
class Workspace;

void BindProjectionCommands(CommandTableBuilder& table);

// The Map Projection view written to ws.MapProjection.Path at its export size; a failure is
// shown with the file and the reason.
int32_t RunMapProjectionExport(Workspace& ws);

// "Reproject &Terrain Data": asks, and on Yes says that it is not there yet. The Surface is not
// touched either way.
void ReprojectTerrainData(Workspace& ws);
extern const char* const ReprojectQuestion;
extern const char* const ReprojectAnswer;

} // namespace korvel
