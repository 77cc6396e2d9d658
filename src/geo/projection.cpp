#include "geo/projection.h"

#include "geo/angles.h"
#include "geo/azimuthal_projections.h"
#include "geo/conic_projections.h"
#include "geo/cylindrical_projections.h"
#include "geo/pseudo_cylindrical_projections.h"
#include "geo/whole_world_projections.h"

#include <array>
#include <cmath>
#include <cstdio>

namespace korvel {

namespace {

// Rounding leaves points on the outline a hair beyond it.
constexpr double Slack = 1e-12;

std::string Degrees(double radians) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", radians * RadiansToDegrees);
    return text;
}

} // namespace

int32_t Projection::Init(double lat0, double lon0, double falseEasting, double falseNorthing,
                         double rMajor, double /*rMinor*/, double lat1, double lat2) {
    Ready = false;
    Lat0 = lat0;
    Lon0 = lon0;
    SinLat0 = std::sin(lat0);
    CosLat0 = std::cos(lat0);
    Lat1 = lat1;
    Lat2 = lat2;
    FalseEasting = falseEasting;
    FalseNorthing = falseNorthing;
    Radius = rMajor;
    ShiftY = 0.0;
    const std::string name = Name();
    if (!std::isfinite(lat0) || std::fabs(lat0) > Pi / 2 || !std::isfinite(lon0)) {
        Why = name + ": the centre " + Degrees(lat0) + ", " + Degrees(lon0) +
              " is not a latitude in -90..90 and a longitude";
        return ProjectionRefused;
    }
    if (!std::isfinite(falseEasting) || !std::isfinite(falseNorthing)) {
        Why = name + ": the false easting and northing must be finite numbers";
        return ProjectionRefused;
    }
    if (!std::isfinite(rMajor) || rMajor <= 0.0) {
        Why = name + ": the sphere radius must be a positive number";
        return ProjectionRefused;
    }
    if (std::string problem = Prepare(); !problem.empty()) {
        Why = name + ": " + problem;
        return ProjectionRefused;
    }
    if (SlidesToCentreLatitude()) {
        double x = 0.0;
        if (!Project(lat0, 0.0, x, ShiftY) || !std::isfinite(ShiftY)) {
            Why = name + ": the centre latitude " + Degrees(lat0) + " has no place on the map";
            return ProjectionRefused;
        }
    }
    Why.clear();
    Ready = true;
    return ProjectionReady;
}

int32_t Projection::Inverse(double x, double y, double& lat, double& lon) const {
    if (!Ready)
        return ProjectionOutside;
    const double u = (x - FalseEasting) / Radius;
    const double v = (y - FalseNorthing) / Radius + ShiftY;
    if (!std::isfinite(u) || !std::isfinite(v))
        return ProjectionOutside;
    double phi = 0.0;
    double dlon = 0.0;
    if (!Unproject(u, v, phi, dlon))
        return ProjectionOutside;
    // Beyond half a turn from the central meridian lies the other side of the outline.
    if (!(std::fabs(phi) <= Pi / 2 + Slack) || !(std::fabs(dlon) <= Pi + Slack))
        return ProjectionOutside;
    lat = std::fmax(-Pi / 2, std::fmin(Pi / 2, phi));
    lon = WrapLongitude(Lon0 + dlon);
    return ProjectionInside;
}

int32_t Projection::Forward(double lat, double lon, double& x, double& y) const {
    if (!Ready || !std::isfinite(lon) || !(std::fabs(lat) <= Pi / 2 + Slack))
        return ProjectionOutside;
    double u = 0.0;
    double v = 0.0;
    if (!Project(std::fmax(-Pi / 2, std::fmin(Pi / 2, lat)), WrapLongitude(lon - Lon0), u, v))
        return ProjectionOutside;
    if (!std::isfinite(u) || !std::isfinite(v))
        return ProjectionOutside;
    x = u * Radius + FalseEasting;
    y = (v - ShiftY) * Radius + FalseNorthing;
    return ProjectionInside;
}

std::unique_ptr<Projection> CreateProjection(int32_t index) {
    switch (index) {
    case 0:
        return std::make_unique<AlbersEqualArea>();
    case 1:
        return std::make_unique<AzimuthalEquidistant>();
    case 2:
        return std::make_unique<EquidistantConic>();
    case 3:
        return std::make_unique<Equirectangular>();
    case 4:
        return std::make_unique<Gnomonic>();
    case 5:
        return std::make_unique<Hammer>();
    case 6:
        return std::make_unique<LambertAzimuthalEqualArea>();
    case 7:
        return std::make_unique<LambertConformalConic>();
    case 8:
        return std::make_unique<Mercator>();
    case 9:
        return std::make_unique<MillerCylindrical>();
    case 10:
        return std::make_unique<Mollweide>();
    case 11:
        return std::make_unique<Orthographic>();
    case 12:
        return std::make_unique<PolarStereographic>();
    case 13:
        return std::make_unique<Sinusoidal>();
    case 14:
        return std::make_unique<Stereographic>();
    case 15:
        return std::make_unique<VanDerGrinten>();
    case 16:
        return std::make_unique<WagnerIV>();
    case 17:
        return std::make_unique<WagnerVII>();
    default:
        return nullptr;
    }
}

const char* ProjectionName(int32_t index) {
    static const std::array<const char*, ProjectionCount> names = [] {
        std::array<const char*, ProjectionCount> all{};
        for (int32_t i = 0; i < ProjectionCount; ++i)
            all[static_cast<size_t>(i)] = CreateProjection(i)->Name();
        return all;
    }();
    return index >= 0 && index < ProjectionCount ? names[static_cast<size_t>(index)] : "";
}

} // namespace korvel
