#include "geo/cylindrical_projections.h"

#include "geo/angles.h"

#include <cmath>

namespace korvel {

bool Equirectangular::Project(double lat, double dlon, double& x, double& y) const {
    x = dlon;
    y = lat;
    return true;
}

bool Equirectangular::Unproject(double x, double y, double& lat, double& dlon) const {
    lat = y;
    dlon = x;
    return std::fabs(y) <= Pi / 2;
}

bool Mercator::Project(double lat, double dlon, double& x, double& y) const {
    // The poles lie at infinity.
    if (std::fabs(lat) >= Pi / 2 - 1e-12)
        return false;
    x = dlon;
    y = std::asinh(std::tan(lat));
    return true;
}

bool Mercator::Unproject(double x, double y, double& lat, double& dlon) const {
    lat = std::atan(std::sinh(y));
    dlon = x;
    return true;
}

bool MillerCylindrical::Project(double lat, double dlon, double& x, double& y) const {
    x = dlon;
    y = 1.25 * std::asinh(std::tan(0.8 * lat));
    return true;
}

bool MillerCylindrical::Unproject(double x, double y, double& lat, double& dlon) const {
    lat = 1.25 * std::atan(std::sinh(0.8 * y));
    dlon = x;
    return std::fabs(lat) <= Pi / 2 + 1e-12;
}

} // namespace korvel
