#include "commands/autosave_snapshot.h"

#include "core/grid.h"
#include "core/workspace.h"
#include "formats/mdr.h"
#include "shading/lighting_definition_file.h"

#include <utility>

namespace korvel {

AutosaveSnapshot::AutosaveSnapshot() : Copy(std::make_unique<Workspace>(Quiet)) {}

AutosaveSnapshot::~AutosaveSnapshot() = default;

std::string AutosaveSnapshot::Take(const Surface& live) {
    Surface& copy = Copy->TheSurface;
    if (!live.HasGrid())
        return "the Surface has no grid";
    // The copy's picture is never drawn: the smallest depth keeps it a quarter of the grid.
    copy.Lighting.BitDepth = 8;
    if (copy.Resize(live.XSize, live.YSize, 0) != 0)
        return "no memory for a copy of the " + std::to_string(live.XSize) + " x " +
               std::to_string(live.YSize) + " Surface";
    GridCopyOf(copy.Rows, live.Rows);
    copy.Top = live.Top;
    copy.Left = live.Left;
    copy.Right = live.Right;
    copy.Bottom = live.Bottom;
    copy.XRes = live.XRes;
    copy.YRes = live.YRes;
    copy.Min = live.Min;
    copy.Max = live.Max;
    copy.Lighting = live.Lighting;
    return {};
}

std::string AutosaveSnapshot::Write(const std::string& mdrPath, const std::string& lightingPath) {
    // The lighting first: recovery is offered when the Surface file exists, and by then so does
    // the lighting that goes with it.
    std::string message;
    if (WriteLightingDefinitionFile(lightingPath, *Copy, message, RealDigits::RoundTrip) != 0)
        return message;
    Copy->MdrSave = MdrSaveOptions{};
    std::string reason;
    if (WriteMdrFile(mdrPath, *Copy, &reason) != 0)
        return mdrPath + ": " + reason;
    return {};
}

int32_t RestoreAutosave(Workspace& ws, const std::string& mdrPath, const std::string& lightingPath,
                        std::string& message) {
    // The lighting first, so that the picture the reader allocates has the recovered depth.
    LightParms lighting = ws.TheSurface.Lighting;
    if (const int32_t code = ReadLightingDefinitionFile(lightingPath, ws, message); code != 0) {
        ws.TheSurface.Lighting = std::move(lighting);
        return code;
    }
    std::string reason;
    if (const int32_t code = ReadMdrFile(mdrPath, ws, &reason); code != 0) {
        ws.TheSurface.Lighting = std::move(lighting);
        message = "Cannot read the autosaved Surface " + mdrPath + ": " + reason;
        return code;
    }
    ws.TheSurface.Texture.MarkStale();
    return 0;
}

} // namespace korvel
