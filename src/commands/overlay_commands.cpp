#include "commands/overlay_commands.h"

#include "commands/command_table_builder.h"
#include "commands/selection_commands.h"
#include "core/host.h"
#include "core/workspace.h"
#include "formats/vector_file.h"
#include "shading/grid_overlays.h"
#include "shading/text_drawing.h"
#include "shading/texture.h"

#include <cmath>
#include <cstdio>

namespace korvel {

namespace {

// The TextureMap at the Surface's size: its width may be rounded up beyond the samples.
ImageDrawing PictureCanvas(Workspace& ws) {
    return ImageDrawing(TextureToDrawOn(ws), ws.TheSurface.XSize, ws.TheSurface.YSize);
}

MapEdges EdgesOf(const Surface& s) {
    return {s.Left, s.Right, s.Top, s.Bottom};
}

int32_t Reported(Workspace& ws, int32_t code, const std::string& message) {
    if (code != 0)
        ws.TheHost.ShowMessage(message);
    return code;
}

PointD PixelOf(const Surface& s, const VectorPoint& p) {
    double x = 0.0;
    double y = 0.0;
    s.LatLonToXY(p.Lat, p.Lon, x, y);
    return {std::floor(x), std::floor(y)};
}

int32_t RunText(Workspace& ws, const TextMessageFields& f, TextHeights how) {
    const TextPlace place{f.X, f.Y, f.Scale};
    if (const std::string problem = CheckText(f.Text, place); !problem.empty())
        return Reported(ws, -1, problem);
    StampText(ws.TheSurface, f.Text, place, f.Value, how, HasSelectionMask(ws));
    return 0;
}

// The fields of one text command: names are "<group>.Text", ".X", ".Y", ".Scale" and ".Color"
// or ".Value".
template <auto Group>
std::vector<DialogField> TextFields(const char* const (&names)[5], const char* lastLabel) {
    return {RunTimeField<Group, &TextMessageFields::Text>(names[0], "Text:"),
            RunTimeField<Group, &TextMessageFields::X>(names[1], "X (column):"),
            RunTimeField<Group, &TextMessageFields::Y>(names[2], "Y (row from the bottom):"),
            RunTimeField<Group, &TextMessageFields::Scale>(names[3], "Scale:", 1, MaxTextScale),
            Group == &Workspace::TextMessage
                ? RunTimeField<Group, &TextMessageFields::Color>(names[4], lastLabel, 0, 0xFFFFFF)
                : RunTimeField<Group, &TextMessageFields::Value>(names[4], lastLabel)};
}

std::vector<DialogField> PenFields(const char* const (&names)[4]) {
    return {{names[0], "Edges: Color...", 0, 0xFFFFFF},
            {names[1], "Edges:", 0, MaxPenWidth},
            {names[2], "Contrast: Color...", 0, 0xFFFFFF},
            {names[3], "Contrast:", 0, MaxPenWidth}};
}

} // namespace

int32_t RunHexGrid(Workspace& ws) {
    if (!ws.HexDraw.PaintIntoTexture)
        return 0;
    ImageDrawing canvas = PictureCanvas(ws);
    std::string message;
    const int32_t code = DrawHexGrid(canvas, ws.Hex, static_cast<GridUnits>(ws.HexDraw.Units),
                                     EdgesOf(ws.TheSurface), message);
    return Reported(ws, code, message);
}

int32_t RunRectangularGrid(Workspace& ws) {
    if (!ws.RGridDraw.PaintIntoTexture)
        return 0;
    ImageDrawing canvas = PictureCanvas(ws);
    std::string message;
    const int32_t code = DrawRectangularGrid(canvas, ws.RGrid, EdgesOf(ws.TheSurface), message);
    return Reported(ws, code, message);
}

int32_t RunVectorFile(Workspace& ws) {
    const std::string& path = ws.VectorFile.Path;
    VectorDrawing drawing;
    std::string reason;
    if (const int32_t code = ReadVectorFile(path, drawing, &reason); code != 0)
        return Reported(ws, code, "Unable to read vector file " + path + ": " + reason);
    ImageDrawing canvas = PictureCanvas(ws);
    std::vector<PointD> points;
    for (const VectorStroke& stroke : drawing.Strokes) {
        canvas.SetPen({Ink::Color(stroke.Color), stroke.Width});
        points.clear();
        for (const VectorPoint& p : stroke.Points)
            points.push_back(PixelOf(ws.TheSurface, p));
        canvas.Polyline(points);
    }
    if (drawing.RejectedLines > 0)
        ws.TheHost.ShowMessage("Vector file " + path + ": " +
                               std::to_string(drawing.RejectedLines) +
                               " lines were not drawn; the first: " + drawing.FirstRejection + ".");
    return 0;
}

int32_t RunTextMessage(Workspace& ws) {
    const TextMessageFields& f = ws.TextMessage;
    const TextPlace place{f.X, f.Y, f.Scale};
    if (const std::string problem = CheckText(f.Text, place); !problem.empty())
        return Reported(ws, -1, problem);
    ImageDrawing canvas = PictureCanvas(ws);
    DrawText(canvas, f.Text, place, Ink::Color(static_cast<PackedColor>(f.Color)));
    return 0;
}

int32_t RunTextHeights(Workspace& ws) {
    return RunText(ws, ws.TextMessage2, TextHeights::Set);
}

int32_t RunTextRaise(Workspace& ws) {
    return RunText(ws, ws.TextMessage3, TextHeights::Add);
}

int32_t RunPictureFill(Workspace& ws) {
    const PictureFillFields& f = ws.PictureFill;
    const Surface& s = ws.TheSurface;
    if (f.X < 0 || f.Y < 0 || f.X >= s.XSize || f.Y >= s.YSize) {
        char text[160];
        std::snprintf(text, sizeof text,
                      "Flood Fill: the position %d, %d is outside the %d x %d picture.", f.X, f.Y,
                      s.XSize, s.YSize);
        return Reported(ws, -1, text);
    }
    ImageDrawing canvas = PictureCanvas(ws);
    canvas.FloodFill(f.X, s.YSize - 1 - f.Y, Ink::Color(static_cast<PackedColor>(f.Color)));
    return 0;
}

void BindOverlayCommands(CommandTableBuilder& table) {
    constexpr const char* PictureOnly = " into the picture; the elevations stay.";
    std::vector<DialogField> hex = {
        {"Hex/Draw", "Draw Overlay Onscreen"},
        {"Hex/Radius", "Hex Radius:"},
        {"Hex/OfsX", "X Offset:"},
        {"Hex/OfsY", "Y Offset:"},
        RunTimeField<&Workspace::HexDraw, &GridDrawFields::Units>(
            "hex-grid.Units", "Units:", 0, 1, {{GridPixels, "Pixels"}, {GridDegrees, "Degrees"}})};
    for (DialogField& pen : PenFields({"Hex/Color", "Hex/Weight", "Hex/BColor", "Hex/BWeight"}))
        hex.push_back(pen);
    hex.push_back(RunTimeField<&Workspace::HexDraw, &GridDrawFields::PaintIntoTexture>(
        "hex-grid.PaintIntoTexture", "Paint Into Texture Map"));
    table.BindDialog(CmdHexGrid, RunHexGrid, nullptr, "hex-grid", std::move(hex)).Effect =
        std::string("Draws a hex grid") + PictureOnly;

    std::vector<DialogField> grid = {
        {"RGrid/Draw", "Draw Overlay"},
        {"RGrid/XInterval", "&X Interval:"},
        {"RGrid/YInterval", "&Y Interval:"},
        {"RGrid/OfsX", "X Offset:"},
        {"RGrid/OfsY", "Y Offset:"},
        {"RGrid/Units", "Units:", 0, 1, {{GridPixels, "Pixels"}, {GridDegrees, "Degrees"}}}};
    for (DialogField& pen :
         PenFields({"RGrid/Color", "RGrid/Weight", "RGrid/BColor", "RGrid/BWeight"}))
        grid.push_back(pen);
    grid.push_back(RunTimeField<&Workspace::RGridDraw, &GridDrawFields::PaintIntoTexture>(
        "rectangular-grid.PaintIntoTexture", "Paint into Texture map"));
    table
        .BindDialog(CmdRectangularGrid, RunRectangularGrid, nullptr, "rectangular-grid",
                    std::move(grid))
        .Effect = std::string("Draws a rectangular grid") + PictureOnly;

    table
        .BindDialog(
            CmdVectorFile, RunVectorFile, nullptr, "vector-file",
            {RunTimeField<&Workspace::VectorFile, &FileFields::Path>("vector-file.Path", "File")})
        .Effect = std::string("Draws the lines of a vector file (.txt)") + PictureOnly;

    table
        .BindDialog(CmdDrawTextMessage, RunTextMessage, nullptr, "draw-text-message",
                    TextFields<&Workspace::TextMessage>(
                        {"draw-text-message.Text", "draw-text-message.X", "draw-text-message.Y",
                         "draw-text-message.Scale", "draw-text-message.Color"},
                        "Color:"))
        .Effect = std::string("Writes the text") + PictureOnly;
    table
        .BindDialog(
            CmdDrawTextMessage2, RunTextHeights, nullptr, "draw-text-message-2",
            TextFields<&Workspace::TextMessage2>(
                {"draw-text-message-2.Text", "draw-text-message-2.X", "draw-text-message-2.Y",
                 "draw-text-message-2.Scale", "draw-text-message-2.Value"},
                "Height:"))
        .Effect = "Writes the text into the height field: the samples under it get the height.";
    table
        .BindDialog(
            CmdDrawTextMessage3, RunTextRaise, nullptr, "draw-text-message-3",
            TextFields<&Workspace::TextMessage3>(
                {"draw-text-message-3.Text", "draw-text-message-3.X", "draw-text-message-3.Y",
                 "draw-text-message-3.Scale", "draw-text-message-3.Value"},
                "Raise by:"))
        .Effect = "Embosses the text into the height field: the samples under it are raised.";

    table
        .BindDialog(CmdDrawFloodFill, RunPictureFill, nullptr, "draw-flood-fill",
                    {RunTimeField<&Workspace::PictureFill, &PictureFillFields::X>(
                         "draw-flood-fill.X", "X (column):"),
                     RunTimeField<&Workspace::PictureFill, &PictureFillFields::Y>(
                         "draw-flood-fill.Y", "Y (row from the bottom):"),
                     RunTimeField<&Workspace::PictureFill, &PictureFillFields::Color>(
                         "draw-flood-fill.Color", "Color:", 0, 0xFFFFFF)})
        .Effect = std::string("Fills the area of one colour around the position") + PictureOnly;
}

} // namespace korvel
