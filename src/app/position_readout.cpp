#include "app/position_readout.h"

#include "core/surface.h"

#include <cmath>
#include <cstdio>

namespace korvel {

namespace {

struct Dms {
    double Degrees = 0.0;
    double Minutes = 0.0;
    double Seconds = 0.0;
};

Dms ToDms(double value) {
    Dms d;
    const double a = std::fabs(value);
    d.Degrees = std::floor(a);
    double fraction = a - d.Degrees;
    if (fraction <= 0.0)
        fraction = 0.0;
    d.Minutes = std::floor(fraction * 60.0);
    double rest = fraction * 60.0 - d.Minutes;
    if (rest <= 0.0)
        rest = 0.0;
    d.Seconds = rest * 60.0;
    return d;
}

} // namespace

SurfacePoint ClientToSurface(const Surface& s, double zoom, int scrollX, int scrollY, int px,
                             int py) {
    SurfacePoint p;
    p.X = (scrollX + px) / zoom;
    p.Y = (s.YSize - 1) - (scrollY + py) / zoom;
    if (s.YSize > 0)
        p.Lat = p.Y / s.YSize * (s.Top - s.Bottom) + s.Bottom;
    if (s.XSize > 0)
        p.Lon = p.X / s.XSize * (s.Right - s.Left) + s.Left;
    return p;
}

std::string PositionReadout(int32_t dispPosn, const SurfacePoint& p, int32_t xsize, int32_t ysize,
                            float elevation) {
    if (dispPosn == 0 || !(p.X >= 0.0 && p.X < xsize && p.Y >= 0.0 && p.Y < ysize))
        return {};
    const double e = elevation;
    char text[160];
    switch (dispPosn) {
    case 1:
        std::snprintf(text, sizeof text, "%0.4f, %0.4f : %0.4f", p.Lat, p.Lon, e);
        break;
    case 2: {
        const Dms lat = ToDms(p.Lat);
        const Dms lon = ToDms(p.Lon);
        std::snprintf(text, sizeof text, "%0.0f %0.0f %0.0f%c, %0.0f %0.0f %0.0f%c: %0.4f",
                      lat.Degrees, lat.Minutes, lat.Seconds, p.Lat >= 0.0 ? 'N' : 'S', lon.Degrees,
                      lon.Minutes, lon.Seconds, p.Lon >= 0.0 ? 'E' : 'W', e);
        break;
    }
    case 3:
        std::snprintf(text, sizeof text, "%0.2f %0.2f %0.0f", p.X, p.Y, e);
        break;
    default:
        return {};
    }
    return text;
}

} // namespace korvel
