#pragma once
// The two ways of walking the output grid, behind WriteMesh: by cells (triangles and quads) and
// by vertices (OBJ and lon/lat text).

#include "formats/mesh_export.h"

namespace korvel {

int32_t WriteCellWalk(MeshKind kind, const std::string& path, const MeshGrid& grid,
                      const MeshLayout& layout, Progress& progress, std::string* reason);
int32_t WriteVertexGrid(MeshKind kind, const std::string& path, const MeshGrid& grid,
                        const MeshLayout& layout, Progress& progress, std::string* reason);

} // namespace korvel
