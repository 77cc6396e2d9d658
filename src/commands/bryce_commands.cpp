#include "commands/bryce_commands.h"

#include "core/workspace.h"
#include "formats/file_type_table.h"

#include <limits>

namespace korvel {

namespace {

constexpr double Any = std::numeric_limits<double>::infinity();

std::vector<FieldChoice> SizeChoices() {
    return {{16, "16x16 sample"},      {32, "32x32 sample"},    {64, "64x64 sample"},
            {128, "128x128 sample"},   {256, "256x256 sample"}, {512, "512x512 sample"},
            {1024, "1024x1024 sample"}};
}

// "&All": the whole Surface of the moment.
template <auto Kind> void UseWholeSurface(Workspace& ws) {
    BryceExportFields& f = ws.*Kind;
    const BryceLayout whole = WholeSurfaceLayout(ws, f.Size);
    f.Top = whole.Top;
    f.Left = whole.Left;
    f.Right = whole.Right;
    f.Bottom = whole.Bottom;
    f.ChosenOnWidth = ws.TheSurface.XSize;
    f.ChosenOnHeight = ws.TheSurface.YSize;
}

// An area chosen on a Surface of another size would cut or overrun this one: the whole Surface
// instead.
template <auto Kind> void PrefillArea(Workspace& ws) {
    const BryceExportFields& f = ws.*Kind;
    if (f.ChosenOnWidth != ws.TheSurface.XSize || f.ChosenOnHeight != ws.TheSurface.YSize)
        UseWholeSurface<Kind>(ws);
}

template <auto Kind>
FileDialog BryceDialog(int32_t type, const char* group, std::vector<const char*> names) {
    FileDialog dialog;
    dialog.Types = {type};
    dialog.Group = group;
    dialog.Title = "Bryce 2 Surface Size";
    dialog.Prefill = PrefillArea<Kind>;
    dialog.Fields = {
        RunTimeField<Kind, &BryceExportFields::Size>(names[0], "Size", 16, 1024, SizeChoices()),
        RunTimeField<Kind, &BryceExportFields::Top>(names[2], "Top", -Any, Any),
        RunTimeField<Kind, &BryceExportFields::Left>(names[3], "Left", -Any, Any),
        RunTimeField<Kind, &BryceExportFields::Right>(names[4], "Right", -Any, Any),
        RunTimeField<Kind, &BryceExportFields::Bottom>(names[5], "Bottom", -Any, Any),
    };
    dialog.Buttons = {
        {names[1], "&All", UseWholeSurface<Kind>, "the area becomes the whole Surface"}};
    return dialog;
}

} // namespace

FileDialog Bryce2Dialog() {
    return BryceDialog<&Workspace::Bryce2Export>(FileBryce2, "bryce2",
                                                 {"bryce2.Size", "bryce2.All", "bryce2.Top",
                                                  "bryce2.Left", "bryce2.Right", "bryce2.Bottom"});
}

FileDialog Bryce3DDialog() {
    return BryceDialog<&Workspace::Bryce3DExport>(FileBryce3D, "bryce3d",
                                                  {"bryce3d.Size", "bryce3d.All", "bryce3d.Top",
                                                   "bryce3d.Left", "bryce3d.Right",
                                                   "bryce3d.Bottom"});
}

int32_t ExportBryce(Workspace& ws, const std::string& path, BryceKind kind, std::string& message) {
    const int32_t type = kind == BryceKind::Bryce2 ? FileBryce2 : FileBryce3D;
    if (!AskFileDialog(*FindFileDialog(type), ws)) {
        message = "Writing \"" + path + "\" was cancelled";
        return BryceWriteCancelled;
    }
    const BryceExportFields& f = kind == BryceKind::Bryce2 ? ws.Bryce2Export : ws.Bryce3DExport;
    const BryceLayout layout{f.Size, f.Top, f.Left, f.Right, f.Bottom};
    std::string reason;
    const int32_t code = WriteBryceFile(kind, path, layout, ws, &reason);
    if (code != 0)
        message = "Error writing Bryce terrain \"" + path + "\": " + reason;
    return code;
}

} // namespace korvel
