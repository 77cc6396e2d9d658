#include "geo/azimuthal_projections.h"

#include "geo/angles.h"

#include <cmath>

namespace korvel {

namespace {

// Closer to the antipode than this the azimuthal radius has no single direction.
constexpr double AntipodeSine = 1e-12;

double Clamp1(double v) {
    return std::fmax(-1.0, std::fmin(1.0, v));
}

} // namespace

bool Azimuthal::Project(double lat, double dlon, double& x, double& y) const {
    const double cosLat = std::cos(lat);
    const double sinLat = std::sin(lat);
    const double cosDlon = std::cos(dlon);
    // The direction of the point from the centre, whose length is sin c; c itself from atan2
    // keeps its precision near the centre, where acos would lose half the digits.
    const double east = cosLat * std::sin(dlon);
    const double north = CosLat0 * sinLat - SinLat0 * cosLat * cosDlon;
    const double cosC = SinLat0 * sinLat + CosLat0 * cosLat * cosDlon;
    const double sinC = std::hypot(east, north);
    const double c = std::atan2(sinC, cosC);
    double rho = 0.0;
    if (!RadiusAt(c, cosC, sinC, rho))
        return false;
    if (sinC == 0.0) {
        x = 0.0;
        y = 0.0;
        return true;
    }
    x = rho * east / sinC;
    y = rho * north / sinC;
    return true;
}

bool Azimuthal::Unproject(double x, double y, double& lat, double& dlon) const {
    const double rho = std::hypot(x, y);
    double c = 0.0;
    if (!AngleAt(rho, c))
        return false;
    if (rho == 0.0) {
        lat = Lat0;
        dlon = 0.0;
        return true;
    }
    const double sinC = std::sin(c);
    const double cosC = std::cos(c);
    lat = std::asin(Clamp1(cosC * SinLat0 + y * sinC * CosLat0 / rho));
    dlon = std::atan2(x * sinC, rho * CosLat0 * cosC - y * SinLat0 * sinC);
    // At a pole every longitude meets: take the central one.
    if (std::fabs(lat) >= Pi / 2)
        dlon = 0.0;
    return true;
}

bool AzimuthalEquidistant::RadiusAt(double c, double cosC, double sinC, double& rho) const {
    if (sinC < AntipodeSine && cosC < 0.0)
        return false;
    rho = c;
    return true;
}

bool AzimuthalEquidistant::AngleAt(double rho, double& c) const {
    if (rho > Pi)
        return false;
    c = rho;
    return true;
}

bool Gnomonic::RadiusAt(double /*c*/, double cosC, double sinC, double& rho) const {
    // Only the near hemisphere projects, and its horizon lies at infinity (rounding leaves the
    // cosine of a right angle a hair above 0).
    if (cosC <= 1e-12)
        return false;
    rho = sinC / cosC;
    return true;
}

bool Gnomonic::AngleAt(double rho, double& c) const {
    c = std::atan(rho);
    return true;
}

bool LambertAzimuthalEqualArea::RadiusAt(double c, double cosC, double sinC, double& rho) const {
    if (sinC < AntipodeSine && cosC < 0.0)
        return false;
    rho = 2.0 * std::sin(0.5 * c);
    return true;
}

bool LambertAzimuthalEqualArea::AngleAt(double rho, double& c) const {
    if (rho > 2.0)
        return false;
    c = 2.0 * std::asin(std::fmin(1.0, 0.5 * rho));
    return true;
}

bool Orthographic::RadiusAt(double /*c*/, double cosC, double sinC, double& rho) const {
    if (cosC < 0.0)
        return false;
    rho = sinC;
    return true;
}

bool Orthographic::AngleAt(double rho, double& c) const {
    // The rim of the disc, allowing for the rounding of a point computed on it.
    if (rho > 1.0 + 1e-7)
        return false;
    c = std::asin(std::fmin(1.0, rho));
    return true;
}

bool Stereographic::RadiusAt(double c, double cosC, double sinC, double& rho) const {
    if (sinC < AntipodeSine && cosC < 0.0)
        return false;
    rho = 2.0 * std::tan(0.5 * c);
    return true;
}

bool Stereographic::AngleAt(double rho, double& c) const {
    c = 2.0 * std::atan(0.5 * rho);
    return true;
}

bool PolarStereographic::Project(double lat, double dlon, double& x, double& y) const {
    const double fromPole = North() ? Pi / 2 - lat : Pi / 2 + lat;
    // The opposite pole lies at infinity.
    if (fromPole >= Pi)
        return false;
    const double rho = 2.0 * std::tan(0.5 * fromPole);
    x = rho * std::sin(dlon);
    y = (North() ? -rho : rho) * std::cos(dlon);
    return true;
}

bool PolarStereographic::Unproject(double x, double y, double& lat, double& dlon) const {
    const double rho = std::hypot(x, y);
    const double fromPole = 2.0 * std::atan(0.5 * rho);
    lat = North() ? Pi / 2 - fromPole : fromPole - Pi / 2;
    dlon = rho == 0.0 ? 0.0 : std::atan2(x, North() ? -y : y);
    return true;
}

} // namespace korvel
