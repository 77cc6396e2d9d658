#include "commands/area_commands.h"

#include "commands/command_table_builder.h"

#include "core/host.h"
#include "core/workspace.h"
#include "edit/area_operations.h"
#include "shading/texture.h"
#include "shading/texture_edges.h"

namespace korvel {

int32_t RunFlipVertical(Workspace& ws) {
    return FlipVertical(ws.TheSurface, ws.TheProgress);
}

int32_t RunFlipHorizontal(Workspace& ws) {
    return FlipHorizontal(ws.TheSurface, ws.TheProgress);
}

int32_t RunFlipDiagonal(Workspace& ws) {
    return FlipDiagonal(ws.TheSurface, ws.TheProgress);
}

int32_t RunToroidalOffset(Workspace& ws) {
    const ToroidalOffsetFields& f = ws.ToroidalOffset;
    return ToroidalOffset(ws.TheSurface, ws.TheProgress, f.XSamples, f.YSamples);
}

int32_t RunRotate90(Workspace& ws) {
    const int32_t code = Rotate90(ws.TheSurface, ws.TheProgress);
    if (code == -3)
        ws.TheHost.ShowMessage("The surface height must be a multiple of 4 to rotate it");
    return code;
}

int32_t RunCosineDistort(Workspace& ws) {
    return CosineDistort(ws.TheSurface, ws.TheProgress);
}

int32_t RunInverseCosine(Workspace& ws) {
    return InverseCosineDistort(ws.TheSurface, ws.TheProgress);
}

int32_t RunEdgeClear(Workspace& ws) {
    TextureEdgeClear(TextureToDrawOn(ws), 0);
    return 0;
}

int32_t RunEdgeFluff(Workspace& ws) {
    TextureEdgeFluff(TextureToDrawOn(ws));
    return 0;
}

void BindAreaCommands(CommandTableBuilder& table) {
    table.Bind(CmdFlipVertical, RunFlipVertical).Effect = "Turns the Surface upside down.";
    table.Bind(CmdFlipHorizontal, RunFlipHorizontal).Effect = "Mirrors the Surface left to right.";
    table.Bind(CmdFlipDiagonal, RunFlipDiagonal).Effect =
        "Mirrors the Surface about its diagonal: width and height swap.";
    table
        .BindDialog(CmdToroidalOffset, RunToroidalOffset, nullptr, "toroidal-offset",
                    {RunTimeField<&Workspace::ToroidalOffset, &ToroidalOffsetFields::XSamples>(
                         "toroidal-offset.XSamples", "X Samples:", INT32_MIN + 1, INT32_MAX),
                     RunTimeField<&Workspace::ToroidalOffset, &ToroidalOffsetFields::YSamples>(
                         "toroidal-offset.YSamples", "Y Samples:", INT32_MIN + 1, INT32_MAX)})
        .Effect = "Shifts the elevations by whole samples, wrapping round at the edges.";
    table.Bind(CmdRotate90, RunRotate90).Effect =
        "Turns the Surface by 90 degrees; the height must be a multiple of 4.";
    table.Bind(CmdCosineDistortion, RunCosineDistort).Effect =
        "Squeezes each row towards the middle by the cosine of its latitude.";
    table.Bind(CmdInverseCosine, RunInverseCosine).Effect =
        "Stretches each row back out, filling the rest with the no-data value -1e20.";
    table.Bind(CmdEdgeClear, RunEdgeClear).Effect =
        "Blackens the picture's one-pixel border; the elevations stay.";
    table.Bind(CmdEdgeFluff, RunEdgeFluff).Effect =
        "Copies the pixels next to the picture's border onto it; the elevations stay.";
    // The operation's own codes say why a run failed.
    for (const CommandId id :
         {CmdFlipVertical, CmdFlipHorizontal, CmdFlipDiagonal, CmdToroidalOffset, CmdRotate90,
          CmdCosineDistortion, CmdInverseCosine, CmdEdgeClear, CmdEdgeFluff})
        table.At(id).Codes = &AreaTexts;
}

} // namespace korvel
