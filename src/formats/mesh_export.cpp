#include "formats/mesh_export.h"

#include "formats/mesh_writers.h"

namespace korvel {

namespace {

struct KindTexts {
    MeshKind Kind;
    const char* Caption;
    const char* Progress;
};

constexpr KindTexts Kinds[] = {
    {MeshKind::DxfTriangles, "3D DXF Triangles", "Emitting 3D DXF triangles"},
    {MeshKind::DxfQuads, "3D DXF Quads", "Emitting 3D DXF quads"},
    {MeshKind::RawTriangles, "RAW Triangles", "Emitting 3D RAW triangles"},
    {MeshKind::Tin, "TIN Triangles", "Emitting 3D TIN triangles"},
    {MeshKind::RayDream, "Ray Dream Designer 4", "Emitting Ray Dream Studio 4.1 triangles"},
    {MeshKind::PovMesh, "POV Smooth mesh", "Writing POV smooth triangle mesh"},
    {MeshKind::Obj, "Wavefront OBJ Mesh", "Emitting Wavefront OBJ file"},
    {MeshKind::LonLatText, "Lon/Lat Text Mesh", "Emitting lon/lat text file"},
};

const KindTexts& TextsOf(MeshKind kind) {
    for (const KindTexts& k : Kinds)
        if (k.Kind == kind)
            return k;
    return Kinds[0];
}

} // namespace

const char* MeshCaption(MeshKind kind) {
    return TextsOf(kind).Caption;
}
const char* MeshProgressText(MeshKind kind) {
    return TextsOf(kind).Progress;
}

int32_t WriteMesh(MeshKind kind, const std::string& path, const Surface& s,
                  const MeshLayout& layout, const InterpSettings& interp, Progress& progress,
                  std::string* reason) {
    MeshGrid grid;
    if (const int32_t code = grid.Lay(s, layout, interp, reason); code != 0)
        return code;
    if (kind == MeshKind::Obj || kind == MeshKind::LonLatText)
        return WriteVertexGrid(kind, path, grid, layout, progress, reason);
    return WriteCellWalk(kind, path, grid, layout, progress, reason);
}

} // namespace korvel
