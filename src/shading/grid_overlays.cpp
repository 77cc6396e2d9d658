#include "shading/grid_overlays.h"

#include <cmath>
#include <cstdio>

namespace korvel {

namespace {

// The offset moved by whole periods into (-period, 0]: the first line or column is never inside
// the picture with bare space before it.
double ReduceOffset(double offset, double period) {
    double o = std::fmod(offset, period);
    if (o > 0.0)
        o -= period;
    return o;
}

std::string TooFine(const char* grid, const char* spacing, double value, bool degrees,
                    double pixels) {
    char text[256];
    if (degrees)
        std::snprintf(text, sizeof text,
                      "%s: the %s of %g degrees is %g pixels on this picture; under one pixel no "
                      "grid is drawn.",
                      grid, spacing, value, pixels);
    else
        std::snprintf(text, sizeof text,
                      "%s: the %s of %g pixels is under one pixel; no grid is drawn.", grid,
                      spacing, value);
    return text;
}

// Drawing positions: y from the top of the picture, or (degrees) from its bottom line.
struct Frame {
    int32_t Height = 0;
    bool FromBottom = false;
    double Y(double y) const { return FromBottom ? Height - 1 - y : y; }
};

struct Pens {
    Pen Contrast;
    Pen Edges;
};

} // namespace

int32_t DrawHexGrid(ImageDrawing& canvas, const HexGridSettings& hex, GridUnits units,
                    const MapEdges& edges, std::string& message) {
    const int32_t w = canvas.Width();
    const int32_t h = canvas.Height();
    if (w <= 0 || h <= 0)
        return 0;
    const double radius = hex.Radius;
    double r = radius;
    double ox = hex.OfsX;
    double oy = hex.OfsY;
    const bool degrees = units == GridDegrees;
    if (degrees) {
        const double kx = w / (edges.Right - edges.Left);
        const double ky = h / (edges.Top - edges.Bottom);
        ox = (ox - std::fmod(edges.Left, radius)) * kx;
        oy = (oy - std::fmod(edges.Bottom, radius)) * ky;
        // A map whose top edge is south of its bottom (or west right of east) has the same
        // lattice of lines, counted the other way.
        r = radius * std::abs(kx);
    }
    if (!(r >= 1.0)) {
        message = TooFine("Hex Grid", "radius", radius, degrees, r);
        return -1;
    }
    const double columnStep = 1.5 * r;
    const double rowStep = 1.7320508 * r;
    const double s = 0.8660254 * r;
    // Two columns make the period: even columns sit half a row lower.
    ox = ReduceOffset(ox, 2.0 * columnStep);
    oy = ReduceOffset(oy, rowStep);
    const double columns = std::trunc(w / columnStep) + 3;
    const double rows = std::trunc(h / rowStep) + 3;
    const Frame frame{h, degrees};
    const Pens pens{{Ink::Color(static_cast<PackedColor>(hex.BColor)), hex.BWeight},
                    {Ink::Color(static_cast<PackedColor>(hex.Color)), hex.Weight}};
    for (const Pen& pen : {pens.Contrast, pens.Edges}) {
        canvas.SetPen(pen);
        for (double c = 0; c <= columns; ++c) {
            const double x = c * columnStep + ox;
            const double lift = static_cast<int64_t>(c) % 2 == 0 ? rowStep / 2 : 0.0;
            for (double k = 0; k <= rows; ++k) {
                const double y = k * rowStep + oy + lift;
                const PointD corners[7] = {{x + r / 2, y + s}, {x + r, y}, {x + r / 2, y - s},
                                           {x - r / 2, y - s}, {x - r, y}, {x - r / 2, y + s},
                                           {x + r / 2, y + s}};
                PointD previous{};
                for (int32_t i = 0; i < 7; ++i) {
                    const PointD at{std::floor(corners[i].X), frame.Y(std::floor(corners[i].Y))};
                    if (i > 0)
                        canvas.Line(previous, at);
                    previous = at;
                }
            }
        }
    }
    return 0;
}

int32_t DrawRectangularGrid(ImageDrawing& canvas, const RectGridSettings& grid,
                            const MapEdges& edges, std::string& message) {
    const int32_t w = canvas.Width();
    const int32_t h = canvas.Height();
    if (w <= 0 || h <= 0)
        return 0;
    double dx = grid.XInterval;
    double dy = grid.YInterval;
    double ox = grid.OfsX;
    double oy = grid.OfsY;
    const bool degrees = grid.Units == GridDegrees;
    if (degrees) {
        const double kx = w / (edges.Right - edges.Left);
        const double ky = h / (edges.Top - edges.Bottom);
        ox = (ox - std::fmod(edges.Left, dx)) * kx;
        oy = (oy - std::fmod(edges.Bottom, dy)) * ky;
        dx *= std::abs(kx);
        dy *= std::abs(ky);
    }
    if (!(dx >= 1.0)) {
        message = TooFine("Rectangular Grid", "X interval", grid.XInterval, degrees, dx);
        return -1;
    }
    if (!(dy >= 1.0)) {
        message = TooFine("Rectangular Grid", "Y interval", grid.YInterval, degrees, dy);
        return -1;
    }
    ox = ReduceOffset(ox, dx);
    oy = ReduceOffset(oy, dy);
    const double columns = std::trunc(w / dx) + 2;
    const double rows = std::trunc(h / dy) + 2;
    const Frame frame{h, degrees};
    const Pens pens{{Ink::Color(static_cast<PackedColor>(grid.BColor)), grid.BWeight},
                    {Ink::Color(static_cast<PackedColor>(grid.Color)), grid.Weight}};
    for (const Pen& pen : {pens.Contrast, pens.Edges}) {
        canvas.SetPen(pen);
        for (double i = 0; i <= columns; ++i) {
            const double x = std::floor(ox + i * dx);
            canvas.Line({x, 0.0}, {x, static_cast<double>(h)});
        }
        for (double j = 0; j <= rows; ++j) {
            const double y = frame.Y(std::floor(oy + j * dy));
            canvas.Line({0.0, y}, {static_cast<double>(w), y});
        }
    }
    return 0;
}

} // namespace korvel
