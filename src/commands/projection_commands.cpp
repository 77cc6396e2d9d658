#include "commands/projection_commands.h"

#include "commands/command_table_builder.h"
#include "core/host.h"
#include "core/workspace.h"
#include "geo/icosahedral.h"
#include "geo/projected_bmp.h"
#include "geo/projection.h"
#include "shading/texture.h"

#include <limits>

namespace korvel {

const char* const ReprojectQuestion =
    "Reprojecting may cause the boundaries and resolution to be incorrect. Continue?";
const char* const ReprojectAnswer = "Sorry, not implemented. Try back in a version or so";

namespace {

constexpr double Any = std::numeric_limits<double>::infinity();

template <auto Member>
DialogField ViewField(const char* setting, const char* label, double lo, double hi,
                      std::vector<FieldChoice> choices = {}) {
    return RunTimeField<&Workspace::MapProjection, Member>(setting, label, lo, hi,
                                                           std::move(choices));
}

std::vector<FieldChoice> ProjectionChoices() {
    std::vector<FieldChoice> choices;
    for (int32_t i = 0; i < ProjectionCount; ++i)
        choices.push_back({i, ProjectionName(i)});
    return choices;
}

int32_t RunIcosahedralProjection(Workspace& ws) {
    const Surface& s = ws.TheSurface;
    return IcosahedralResample(TextureToDrawOn(ws), s.XSize, s.YSize, ws.Icosahedral.Background,
                               ws.TheProgress);
}

} // namespace

int32_t RunMapProjectionExport(Workspace& ws) {
    std::string reason;
    const Image& texture = CurrentTexture(ws);
    const int32_t code = ExportProjectionBmp(ws.MapProjection.Path, ws.MapProjection, texture,
                                             ws.TheSurface, ws.TheProgress, reason);
    if (code != ProjectedBmpDone)
        ws.TheHost.ShowMessage(reason);
    return code;
}

void ReprojectTerrainData(Workspace& ws) {
    if (ws.TheHost.AskYesNo(ReprojectQuestion))
        ws.TheHost.ShowMessage(ReprojectAnswer);
}

void BindProjectionCommands(CommandTableBuilder& table) {
    using F = MapProjectionFields;
    Command& view = table.BindDialog(
        CmdMapProjection, RunMapProjectionExport, nullptr, "map-projection",
        {ViewField<&F::Index>("map-projection.Index", "Projection:", 0, ProjectionCount - 1,
                              ProjectionChoices()),
         ViewField<&F::Latitude>("map-projection.Latitude", "Latitude:", -90, 90),
         ViewField<&F::Longitude>("map-projection.Longitude", "Longitude", -180, 180),
         ViewField<&F::Top>("map-projection.Top", "Top:", -90, 90),
         ViewField<&F::Bottom>("map-projection.Bottom", "Bottom:", -90, 90),
         ViewField<&F::Zoom>("map-projection.Zoom", "&Zoom", 0, Any),
         ViewField<&F::Resolution>("map-projection.Resolution", "Res&olution", 0, Any),
         ViewField<&F::Fast>("map-projection.Fast", "&f", 0, 1),
         ViewField<&F::Width>("map-projection.Width", "Width:", MinProjectedSide, MaxProjectedSide),
         ViewField<&F::Height>("map-projection.Height", "Height:", MinProjectedSide,
                               MaxProjectedSide),
         ViewField<&F::Path>("map-projection.Path", "File", -Any, Any)});
    view.Effect = "Writes the TextureMap re-drawn in projection Index (centre Latitude and "
                  "Longitude, standard parallels Top and Bottom for the conics, Zoom 1 showing "
                  "-1..1 sphere radii across the shorter side) as a 24-bit BMP of Width x Height "
                  "pixels, north up; the Surface stays.";
    view.Codes = &ProjectedBmpTexts;

    table.Bind(CmdIcosahedralProjection, RunIcosahedralProjection).Effect =
        "Rearranges the picture into the unfolded net of an icosahedron (5 triangles on top, 10 "
        "in the middle band, 5 at the bottom) on the background colour; the elevations stay.";
}

} // namespace korvel
