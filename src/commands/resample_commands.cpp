#include "commands/resample_commands.h"

#include "commands/command_table_builder.h"

#include "core/workspace.h"
#include "edit/resample.h"

#include <array>

namespace korvel {

void PrefillResample(Workspace& ws) {
    const Surface& s = ws.TheSurface;
    ws.ResampleTo = {s.XSize, s.YSize, s.Top, s.Left, s.Right, s.Bottom};
}

int32_t RunResample(Workspace& ws) {
    const ResampleFields& r = ws.ResampleTo;
    return Resample(ws.TheSurface, ws.TheProgress, ws.TheHost, ws.Interp, r.Left, r.Right, r.Top,
                    r.Bottom, r.XSize, r.YSize);
}

int32_t RunQuadResample(Workspace& ws) {
    const QuadResampleFields& f = ws.QuadResample;
    const Surface& s = ws.TheSurface;
    const auto point = [&](const QuadCorner& c) {
        if (f.Units == QuadPlaneUnits)
            return QuadPoint{(c.Lat - s.Bottom) / s.YRes, (c.Lon - s.Left) / s.XRes};
        return QuadPoint{c.Lat, c.Lon};
    };
    const std::array<QuadPoint, 4> corners = {point(f.LowerLeft), point(f.UpperLeft),
                                              point(f.LowerRight), point(f.UpperRight)};
    return QuadResample(ws.TheSurface, ws.TheProgress, ws.TheHost, ws.Interp, corners, f.Width,
                        f.Height);
}

std::vector<DialogField> InterpolationFields() {
    return {{"Interp/Type",
             "Interpolation Scheme",
             0,
             4,
             {{0, "Nearest Neighbor"},
              {1, "Linear"},
              {2, "Spline Interpolation"},
              {3, "B-Spline Approximation"},
              {4, "Beta Spline Approximation"}}},
            {"Interp/Bias", "Bias (beta spline)"},
            {"Interp/Tension", "Tension (beta spline)"}};
}

void BindResampleCommands(CommandTableBuilder& table) {
    std::vector<DialogField> resample = {
        RunTimeField<&Workspace::ResampleTo, &ResampleFields::XSize>("resample.XSize", "X Size:", 4,
                                                                     Surface::SizeLimit - 1),
        RunTimeField<&Workspace::ResampleTo, &ResampleFields::YSize>("resample.YSize", "Y Size:", 1,
                                                                     Surface::SizeLimit - 1),
        RunTimeField<&Workspace::ResampleTo, &ResampleFields::Top>("resample.Top", "Top"),
        RunTimeField<&Workspace::ResampleTo, &ResampleFields::Left>("resample.Left", "Left"),
        RunTimeField<&Workspace::ResampleTo, &ResampleFields::Right>("resample.Right", "Right"),
        RunTimeField<&Workspace::ResampleTo, &ResampleFields::Bottom>("resample.Bottom", "Bottom")};
    std::vector<DialogField> quad = {
        RunTimeField<&Workspace::QuadResample, &QuadResampleFields::Units>(
            "quad-resample.Units", "Units", 0, 1,
            {{QuadPixels, "Pixel"}, {QuadPlaneUnits, "Plane Units"}}),
        RunTimeField<&Workspace::QuadResample, &QuadResampleFields::UpperLeft, &QuadCorner::Lon>(
            "quad-resample.UpperLeftLon", "Upper Left Lon:"),
        RunTimeField<&Workspace::QuadResample, &QuadResampleFields::UpperLeft, &QuadCorner::Lat>(
            "quad-resample.UpperLeftLat", "Upper Left Lat:"),
        RunTimeField<&Workspace::QuadResample, &QuadResampleFields::UpperRight, &QuadCorner::Lon>(
            "quad-resample.UpperRightLon", "Upper Right Lon:"),
        RunTimeField<&Workspace::QuadResample, &QuadResampleFields::UpperRight, &QuadCorner::Lat>(
            "quad-resample.UpperRightLat", "Upper Right Lat:"),
        RunTimeField<&Workspace::QuadResample, &QuadResampleFields::LowerLeft, &QuadCorner::Lon>(
            "quad-resample.LowerLeftLon", "Lower Left Lon:"),
        RunTimeField<&Workspace::QuadResample, &QuadResampleFields::LowerLeft, &QuadCorner::Lat>(
            "quad-resample.LowerLeftLat", "Lower Left Lat:"),
        RunTimeField<&Workspace::QuadResample, &QuadResampleFields::LowerRight, &QuadCorner::Lon>(
            "quad-resample.LowerRightLon", "Lower Right Lon:"),
        RunTimeField<&Workspace::QuadResample, &QuadResampleFields::LowerRight, &QuadCorner::Lat>(
            "quad-resample.LowerRightLat", "Lower Right Lat:"),
        RunTimeField<&Workspace::QuadResample, &QuadResampleFields::Width>(
            "quad-resample.Width", "Dest Size Width", 4, Surface::SizeLimit - 1),
        RunTimeField<&Workspace::QuadResample, &QuadResampleFields::Height>(
            "quad-resample.Height", "Dest Size Height", 1, Surface::SizeLimit - 1)};
    for (std::vector<DialogField>* fields : {&resample, &quad})
        for (DialogField& field : InterpolationFields())
            fields->push_back(std::move(field));
    table.BindDialog(CmdResample, RunResample, PrefillResample, "resample", std::move(resample))
        .Effect = "Interpolates the elevations onto a grid of the new size and edges; nothing is "
                  "discarded but what falls outside the edges.";
    table.BindDialog(CmdQuadResample, RunQuadResample, nullptr, "quad-resample", std::move(quad))
        .Effect = "Interpolates the quadrilateral between the four corners onto a new grid of "
                  "the destination size.";
}

} // namespace korvel
