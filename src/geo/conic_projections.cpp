#include "geo/conic_projections.h"

#include "geo/angles.h"

#include <cmath>
#include <cstdio>

namespace korvel {

namespace {

// Parallels whose sum lies closer to 0 than this make the cone a cylinder (N = 0).
constexpr double OppositeTolerance = 1e-7;
// Parallels closer together than this are taken as one (the tangent cone).
constexpr double EqualTolerance = 1e-10;

double Tangent(double lat) {
    return std::tan(Pi / 4 + lat / 2);
}

std::string Parallels(double lat1, double lat2) {
    char text[96];
    std::snprintf(text, sizeof text, "the standard parallels %g and %g", lat1 * RadiansToDegrees,
                  lat2 * RadiansToDegrees);
    return text;
}

} // namespace

std::string Conic::Prepare() {
    if (!std::isfinite(Lat1) || !std::isfinite(Lat2))
        return "the standard parallels must be numbers";
    if (std::fabs(Lat1) >= Pi / 2 - EqualTolerance || std::fabs(Lat2) >= Pi / 2 - EqualTolerance)
        return Parallels(Lat1, Lat2) + " must lie between the poles (-90 < parallel < 90)";
    if (std::fabs(Lat1 + Lat2) < OppositeTolerance)
        return Parallels(Lat1, Lat2) +
               " are equal and opposite, which flattens the cone into a cylinder: choose "
               "parallels whose sum is not 0";
    SetCone();
    if (!std::isfinite(N) || N == 0.0)
        return Parallels(Lat1, Lat2) + " give no cone";
    if (!RadiusOf(Lat0, Rho0) || !std::isfinite(Rho0))
        return "the centre latitude lies at the cone's infinite end; move it towards the "
               "standard parallels";
    return {};
}

bool Conic::Project(double lat, double dlon, double& x, double& y) const {
    double rho = 0.0;
    if (!RadiusOf(lat, rho) || !std::isfinite(rho))
        return false;
    const double theta = N * dlon;
    x = rho * std::sin(theta);
    y = Rho0 - rho * std::cos(theta);
    return true;
}

bool Conic::Unproject(double x, double y, double& lat, double& dlon) const {
    // On a cone opening southwards (N < 0) the radii are negative: turn the plane round first.
    const double sign = N < 0.0 ? -1.0 : 1.0;
    const double east = sign * x;
    const double down = sign * (Rho0 - y);
    const double rho = sign * std::hypot(east, down);
    if (!LatitudeOf(rho, lat))
        return false;
    dlon = rho == 0.0 ? 0.0 : std::atan2(east, down) / N;
    return true;
}

void AlbersEqualArea::SetCone() {
    const double s1 = std::sin(Lat1);
    N = std::fabs(Lat1 - Lat2) < EqualTolerance ? s1 : 0.5 * (s1 + std::sin(Lat2));
    C = std::cos(Lat1) * std::cos(Lat1) + 2.0 * N * s1;
}

bool AlbersEqualArea::RadiusOf(double lat, double& rho) const {
    const double r2 = C - 2.0 * N * std::sin(lat);
    if (r2 < 0.0)
        return false;
    rho = std::sqrt(r2) / N;
    return true;
}

bool AlbersEqualArea::LatitudeOf(double rho, double& lat) const {
    const double s = (C - rho * rho * N * N) / (2.0 * N);
    if (!(std::fabs(s) <= 1.0 + 1e-12))
        return false;
    lat = std::asin(std::fmax(-1.0, std::fmin(1.0, s)));
    return true;
}

void EquidistantConic::SetCone() {
    N = std::fabs(Lat1 - Lat2) < EqualTolerance ? std::sin(Lat1)
                                                : (std::cos(Lat1) - std::cos(Lat2)) / (Lat2 - Lat1);
    G = std::cos(Lat1) / N + Lat1;
}

bool EquidistantConic::RadiusOf(double lat, double& rho) const {
    rho = G - lat;
    return true;
}

bool EquidistantConic::LatitudeOf(double rho, double& lat) const {
    lat = G - rho;
    return std::fabs(lat) <= Pi / 2 + 1e-12;
}

void LambertConformalConic::SetCone() {
    N = std::fabs(Lat1 - Lat2) < EqualTolerance
            ? std::sin(Lat1)
            : std::log(std::cos(Lat1) / std::cos(Lat2)) / std::log(Tangent(Lat2) / Tangent(Lat1));
    F = std::cos(Lat1) * std::pow(Tangent(Lat1), N) / N;
}

bool LambertConformalConic::RadiusOf(double lat, double& rho) const {
    // The pole the cone opens away from lies at infinity.
    if (std::fabs(lat) >= Pi / 2 - 1e-12 && (lat < 0.0) == (N > 0.0))
        return false;
    rho = F / std::pow(Tangent(lat), N);
    return std::isfinite(rho);
}

bool LambertConformalConic::LatitudeOf(double rho, double& lat) const {
    if (rho == 0.0) {
        lat = N > 0.0 ? Pi / 2 : -Pi / 2;
        return true;
    }
    lat = 2.0 * std::atan(std::pow(F / rho, 1.0 / N)) - Pi / 2;
    return std::isfinite(lat);
}

} // namespace korvel
