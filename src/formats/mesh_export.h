#pragma once
// The Surface as a 3D mesh: DXF 3DFACE triangles or quads, RAW and TIN triangle lists, a Ray
// Dream Designer 4.1 text scene, a POV-Ray smooth-triangle include, Wavefront OBJ and a lon/lat
// text grid. All lay the same output grid over the Surface (mesh_grid.h).

#include "core/progress.h"
#include "formats/mesh_grid.h"

#include <cstdint>
#include <string>

namespace korvel {

enum class MeshKind {
    DxfTriangles,
    DxfQuads,
    RawTriangles,
    Tin,
    RayDream,
    PovMesh,
    Obj,
    LonLatText,
};

// The caption of the export dialog for kind ("3D DXF Triangles") and its progress text.
const char* MeshCaption(MeshKind kind);
const char* MeshProgressText(MeshKind kind);

// Writes s as kind through an AtomicFile: 0, or a MeshWriteStatus with reason set, the file at
// path then left as it was (a cancel included).
int32_t WriteMesh(MeshKind kind, const std::string& path, const Surface& s,
                  const MeshLayout& layout, const InterpSettings& interp, Progress& progress,
                  std::string* reason = nullptr);

} // namespace korvel
