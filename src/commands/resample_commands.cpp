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

namespace {

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

} // namespace

void BindResampleCommands(CommandTableBuilder& table) {
    std::vector<DialogField> resample = {
        {"resample.XSize", "X Size:"}, {"resample.YSize", "Y Size:"},
        {"resample.Top", "Top"},       {"resample.Left", "Left"},
        {"resample.Right", "Right"},   {"resample.Bottom", "Bottom"}};
    std::vector<DialogField> quad = {{"quad-resample.Units",
                                      "Units",
                                      0,
                                      1,
                                      {{QuadPixels, "Pixel"}, {QuadPlaneUnits, "Plane Units"}}},
                                     {"quad-resample.UpperLeftLon", "Upper Left Lon:"},
                                     {"quad-resample.UpperLeftLat", "Upper Left Lat:"},
                                     {"quad-resample.UpperRightLon", "Upper Right Lon:"},
                                     {"quad-resample.UpperRightLat", "Upper Right Lat:"},
                                     {"quad-resample.LowerLeftLon", "Lower Left Lon:"},
                                     {"quad-resample.LowerLeftLat", "Lower Left Lat:"},
                                     {"quad-resample.LowerRightLon", "Lower Right Lon:"},
                                     {"quad-resample.LowerRightLat", "Lower Right Lat:"},
                                     {"quad-resample.Width", "Dest Size Width"},
                                     {"quad-resample.Height", "Dest Size Height"}};
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
