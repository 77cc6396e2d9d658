#include "geo/fit_geoid.h"

#include "core/extremes.h"
#include "core/progress.h"
#include "core/surface.h"
#include "geo/angles.h"
#include "geo/geoid.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace korvel {

bool ReferencePointOf(int32_t place, double top, double left, double right, double bottom,
                      LatLon& point) {
    if (place < PlaceLowerLeft || place > PlaceUpperRight)
        return false;
    // Rows of three from the bottom, each from west to east.
    const double up = (place / 3) * 0.5;
    const double across = (place % 3) * 0.5;
    point = {bottom + up * (top - bottom), left + across * (right - left)};
    return true;
}

int32_t FitGeoid(Surface& s, Progress& p, const Geoid& geoid, bool add) {
    if (!s.HasGrid())
        return 0;
    // The up coordinate of the ellipsoid point at (lat, lon) is
    //   N cos(lat) (Ux cos(lon) + Uy sin(lon)) + Uz N (1 - e1^2) sin(lat) - U . origin,
    // a column factor times a row factor plus a row term: two products per sample.
    const EllipsoidAxes& axes = geoid.Axes();
    const EarthCentred& u = geoid.UpAxis();
    const EarthCentred& o = geoid.Origin();
    const double originUp = u.X * o.X + u.Y * o.Y + u.Z * o.Z;
    const double sign = add ? 1.0 : -1.0;
    std::vector<double> across(static_cast<size_t>(s.XSize));
    for (int32_t c = 0; c < s.XSize; ++c) {
        const double lon = (s.Left + (s.Right - s.Left) * c / s.XSize) * DegreesToRadians;
        across[static_cast<size_t>(c)] = u.X * std::cos(lon) + u.Y * std::sin(lon);
    }
    p.ProgressBegin("Adjusting for geoid", 3);
    Extremes e;
    int32_t r = 0;
    for (; r < s.YSize && !p.CancelRequested(); ++r) {
        const double lat = (s.Bottom + (s.Top - s.Bottom) * r / s.YSize) * DegreesToRadians;
        const double sinLat = std::sin(lat);
        const double n = axes.A / std::sqrt(1.0 - axes.E1Squared * sinLat * sinLat);
        const double scale = sign * n * std::cos(lat);
        const double offset = sign * (u.Z * n * (1.0 - axes.E1Squared) * sinLat - originUp);
        float* row = s.Rows[r];
        const double* a = across.data();
        for (int32_t c = 0; c < s.XSize; ++c)
            row[c] = static_cast<float>(row[c] + (scale * a[c] + offset));
        e.AddRow(row, s.XSize);
        p.ProgressUpdate(r, s.YSize);
        p.PumpPendingMessage();
    }
    p.ProgressEnd();
    if (p.ConsumeCancel()) {
        // The rows not reached keep their values, which the old extremes still bound.
        s.Min = std::min(s.Min, static_cast<double>(e.Lo));
        s.Max = std::max(s.Max, static_cast<double>(e.Hi));
        return -1;
    }
    s.Min = e.Lo;
    s.Max = e.Hi;
    return 0;
}

} // namespace korvel
