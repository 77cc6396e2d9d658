#include "commands/mesh_export_commands.h"

#include "core/workspace.h"
#include "formats/file_type_table.h"
#include "formats/mesh_export.h"

#include <algorithm>
#include <cstdio>
#include <limits>

namespace korvel {

namespace {

constexpr double SizeLimit = 1000000.0;

struct MeshType {
    int32_t Type;
    MeshKind Kind;
};

constexpr MeshType MeshTypes[] = {
    {FileDxfQuads, MeshKind::DxfQuads},
    {FileDxfTriangles, MeshKind::DxfTriangles},
    {FilePovMesh, MeshKind::PovMesh},
    {FileRayDream, MeshKind::RayDream},
    {FileTin, MeshKind::Tin},
    {FileObj, MeshKind::Obj},
    {FileLonLatText, MeshKind::LonLatText},
    {FileRawTriangles, MeshKind::RawTriangles},
};

// The output size starts as the Surface's own each time the dialog opens.
void PrefillMesh(Workspace& ws) {
    ws.MeshExport.Width = ws.TheSurface.XSize;
    ws.MeshExport.Height = ws.TheSurface.YSize;
}

template <auto Member>
DialogField MeshField(const char* setting, const char* label, double lo, double hi,
                      std::vector<FieldChoice> choices = {}) {
    return RunTimeField<&Workspace::MeshExport, Member>(setting, label, lo, hi, std::move(choices));
}

constexpr double Any = std::numeric_limits<double>::infinity();

// Every Step-th sample: the count that reaches the last sample, at least 2.
int32_t StepCount(int32_t size, int32_t step) {
    return std::max(2, (size - 1) / step + 1);
}

MeshLayout LayoutFrom(const MeshExportFields& f, const Surface& s) {
    MeshLayout layout;
    layout.Width = f.Step > 0 ? StepCount(s.XSize, f.Step) : f.Width;
    layout.Height = f.Step > 0 ? StepCount(s.YSize, f.Step) : f.Height;
    layout.Decimals = std::clamp(f.Decimals, 0, 16);
    layout.MinX = f.MinX;
    layout.MinY = f.MinY;
    layout.MinZ = f.MinZ;
    layout.MaxX = f.MaxX;
    layout.MaxY = f.MaxY;
    layout.MaxZ = f.MaxZ;
    layout.ClipLow = f.ClipLow;
    layout.ClipHigh = f.ClipHigh;
    return layout;
}

} // namespace

FileDialog MeshExportDialog() {
    FileDialog dialog;
    for (const MeshType& m : MeshTypes)
        dialog.Types.push_back(m.Type);
    dialog.Group = "mesh";
    dialog.Title = "3D DXF Exporting";
    dialog.Prefill = PrefillMesh;
    dialog.Fields = {
        MeshField<&MeshExportFields::Width>("mesh.Width", "Output Size Width:", 0, SizeLimit),
        MeshField<&MeshExportFields::Height>("mesh.Height", "Output Size Height:", 0, SizeLimit),
        MeshField<&MeshExportFields::Step>("mesh.Step", "Step (every Nth sample; 0 for none):", 0,
                                           SizeLimit),
        MeshField<&MeshExportFields::Decimals>("mesh.Decimals", "Decimal Places:", 0, 16),
        MeshField<&MeshExportFields::MinX>("mesh.MinX", "Minimum X:", -Any, Any),
        MeshField<&MeshExportFields::MinY>("mesh.MinY", "Minimum Y:", -Any, Any),
        MeshField<&MeshExportFields::MinZ>("mesh.MinZ", "Minimum Z:", -Any, Any),
        MeshField<&MeshExportFields::MaxX>("mesh.MaxX", "Maximum X:", -Any, Any),
        MeshField<&MeshExportFields::MaxY>("mesh.MaxY", "Maximum Y:", -Any, Any),
        MeshField<&MeshExportFields::MaxZ>("mesh.MaxZ", "Maximum Z:", -Any, Any),
        MeshField<&MeshExportFields::ClipLow>("mesh.ClipLow", "Z Clipping Low:", -Any, Any),
        MeshField<&MeshExportFields::ClipHigh>("mesh.ClipHigh", "Z Clipping High:", -Any, Any),
        MeshField<&MeshExportFields::Box>("mesh.Box", "Set to:", 0, 3,
                                          {{MeshBoxAsGiven, "the Minimum and Maximum given"},
                                           {MeshBoxMap, "Map"},
                                           {MeshBoxUnit, "Unit"},
                                           {MeshBoxPixel, "Pixel"}}),
        MeshField<&MeshExportFields::Adaptive>("mesh.Adaptive", "Adaptive output", 0, 1),
        MeshField<&MeshExportFields::AdaptiveValue>("mesh.AdaptiveValue", "Adaptive value:", -Any,
                                                    Any),
        MeshField<&MeshExportFields::AdaptiveMode>(
            "mesh.AdaptiveMode", "Adaptive by:", 0, 1,
            {{AdaptiveMaxError, "Max Error"}, {AdaptivePolygons, "Polygons"}}),
    };
    return dialog;
}

void ApplyMeshBox(Workspace& ws, int32_t box) {
    const Surface& s = ws.TheSurface;
    MeshExportFields& f = ws.MeshExport;
    switch (box) {
    case MeshBoxMap:
        f.MinX = s.Left, f.MaxX = s.Right;
        f.MinY = s.Bottom, f.MaxY = s.Top;
        f.MinZ = s.Min, f.MaxZ = s.Max;
        break;
    case MeshBoxUnit:
        f.MinX = f.MinY = f.MinZ = 0.0;
        f.MaxX = f.MaxY = f.MaxZ = 1.0;
        break;
    case MeshBoxPixel:
        f.MinX = f.MinY = 0.0;
        f.MaxX = s.XSize - 1;
        f.MaxY = s.YSize - 1;
        f.MinZ = s.Min, f.MaxZ = s.Max;
        break;
    default:
        break;
    }
}

int32_t ExportMesh(Workspace& ws, const std::string& path, int32_t type, std::string& message) {
    const auto m = std::ranges::find(MeshTypes, type, &MeshType::Type);
    const FileDialog* dialog = FindFileDialog(type);
    if (m == std::end(MeshTypes) || !dialog)
        return -1;
    if (!AskFileDialog(*dialog, ws)) {
        message = "Writing \"" + path + "\" as " + MeshCaption(m->Kind) + " was cancelled";
        return MeshCancelled;
    }
    ApplyMeshBox(ws, ws.MeshExport.Box);
    std::string reason;
    const int32_t code =
        WriteMesh(m->Kind, path, ws.TheSurface, LayoutFrom(ws.MeshExport, ws.TheSurface), ws.Interp,
                  ws.TheProgress, &reason);
    if (code != 0) {
        char text[64];
        std::snprintf(text, sizeof text, "3D Write operation returned error code %d", code);
        message = std::string(text) + " on file " + path + ": " + reason;
    }
    return code;
}

} // namespace korvel
