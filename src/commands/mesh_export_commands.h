#pragma once
// The "3D DXF Exporting" dialog and the mesh types written through it.

#include "commands/file_dialog.h"

#include <cstdint>
#include <string>

namespace korvel {

class Workspace;

FileDialog MeshExportDialog();
// The box buttons: the Minimum and Maximum fields set from the Surface as box says.
void ApplyMeshBox(Workspace& ws, int32_t box);
// Asks the dialog, then writes the Surface at path as the mesh type. 0 written; otherwise the
// code with message naming the file and why ("3D Write operation returned error code ...").
int32_t ExportMesh(Workspace& ws, const std::string& path, int32_t type, std::string& message);

} // namespace korvel
