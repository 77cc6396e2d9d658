#include "geo/whole_world_projections.h"

#include "geo/angles.h"

#include <cmath>

namespace korvel {

namespace {

double Clamp1(double v) {
    return std::fmax(-1.0, std::fmin(1.0, v));
}

// Wagner VII's constants as published (and used by PROJ): sin 65 degrees, and the x and y
// stretches of the azimuthal plane.
constexpr double Wagner7SinLimit = 0.90630778703664996;
constexpr double Wagner7X = 2.66723;
constexpr double Wagner7Y = 1.24104;

} // namespace

bool Hammer::Project(double lat, double dlon, double& x, double& y) const {
    const double cosLat = std::cos(lat);
    const double half = 0.5 * dlon;
    const double denominator = 1.0 + cosLat * std::cos(half);
    // The antipode of the centre is the whole rim of the ellipse: no single point.
    if (denominator < 1e-15)
        return false;
    const double d = std::sqrt(2.0 / denominator);
    x = 2.0 * d * cosLat * std::sin(half);
    y = d * std::sin(lat);
    return true;
}

bool Hammer::Unproject(double x, double y, double& lat, double& dlon) const {
    if (x * x / 8.0 + y * y / 2.0 > 1.0 + 1e-12)
        return false;
    const double z = std::sqrt(std::fmax(0.0, 1.0 - x * x / 16.0 - y * y / 4.0));
    dlon = 2.0 * std::atan2(z * x, 2.0 * (2.0 * z * z - 1.0));
    lat = std::asin(Clamp1(z * y));
    return true;
}

bool VanDerGrinten::Project(double lat, double dlon, double& x, double& y) const {
    if (lat == 0.0) {
        x = dlon;
        y = 0.0;
        return true;
    }
    const double theta = std::asin(std::fmin(1.0, std::fabs(2.0 * lat / Pi)));
    const double ySign = lat < 0.0 ? -1.0 : 1.0;
    if (dlon == 0.0 || std::fabs(lat) >= Pi / 2) {
        x = 0.0;
        y = ySign * Pi * std::tan(0.5 * theta);
        return true;
    }
    const double a = 0.5 * std::fabs(Pi / dlon - dlon / Pi);
    const double a2 = a * a;
    const double sinT = std::sin(theta);
    const double cosT = std::cos(theta);
    const double g = cosT / (sinT + cosT - 1.0);
    const double p = g * (2.0 / sinT - 1.0);
    const double p2 = p * p;
    const double q = a2 + g;
    const double p2a2 = p2 + a2;
    const double gp = g - p2;
    const double xRoot = std::sqrt(std::fmax(0.0, a2 * gp * gp - p2a2 * (g * g - p2)));
    const double yRoot = std::sqrt(std::fmax(0.0, (a2 + 1.0) * p2a2 - q * q));
    x = (dlon < 0.0 ? -Pi : Pi) * (a * gp + xRoot) / p2a2;
    y = ySign * Pi * (p * q - a * yRoot) / p2a2;
    return true;
}

bool VanDerGrinten::Unproject(double x, double y, double& lat, double& dlon) const {
    const double xx = x / Pi;
    const double yy = y / Pi;
    const double r2 = xx * xx + yy * yy;
    if (r2 > 1.0 + 1e-12)
        return false;
    dlon = xx == 0.0 ? 0.0
                     : Pi * (r2 - 1.0 + std::sqrt(1.0 + 2.0 * (xx * xx - yy * yy) + r2 * r2)) /
                           (2.0 * xx);
    if (yy == 0.0) {
        lat = 0.0;
        return true;
    }
    // Snyder's cubic in the latitude, solved by its trigonometric root.
    const double c1 = -std::fabs(yy) * (1.0 + r2);
    const double c2 = c1 - 2.0 * yy * yy + xx * xx;
    const double c3 = -2.0 * c1 + 1.0 + 2.0 * yy * yy + r2 * r2;
    const double d =
        yy * yy / c3 + (2.0 * c2 * c2 * c2 / (c3 * c3 * c3) - 9.0 * c1 * c2 / (c3 * c3)) / 27.0;
    const double a1 = (c1 - c2 * c2 / (3.0 * c3)) / c3;
    const double m1 = 2.0 * std::sqrt(std::fmax(0.0, -a1 / 3.0));
    const double theta1 = std::acos(Clamp1(3.0 * d / (a1 * m1))) / 3.0;
    const double magnitude = Pi * (-m1 * std::cos(theta1 + Pi / 3.0) - c2 / (3.0 * c3));
    lat = yy < 0.0 ? -magnitude : magnitude;
    return true;
}

bool WagnerVII::Project(double lat, double dlon, double& x, double& y) const {
    const double s = Wagner7SinLimit * std::sin(lat);
    const double cosT = std::sqrt(std::fmax(0.0, 1.0 - s * s));
    const double third = dlon / 3.0;
    const double d = 1.0 / std::sqrt(0.5 * (1.0 + cosT * std::cos(third)));
    x = Wagner7X * cosT * std::sin(third) * d;
    y = Wagner7Y * s * d;
    return true;
}

bool WagnerVII::Unproject(double x, double y, double& lat, double& dlon) const {
    // Back to the equatorial Lambert azimuthal plane, then to the auxiliary sphere.
    const double ax = x / Wagner7X;
    const double ay = y / Wagner7Y;
    const double rho = std::hypot(ax, ay);
    if (rho > 2.0)
        return false;
    if (rho == 0.0) {
        lat = 0.0;
        dlon = 0.0;
        return true;
    }
    const double c = 2.0 * std::asin(0.5 * rho);
    const double sinAux = ay * std::sin(c) / rho;
    const double s = sinAux / Wagner7SinLimit;
    if (!(std::fabs(s) <= 1.0 + 1e-12))
        return false;
    lat = std::asin(Clamp1(s));
    dlon = 3.0 * std::atan2(ax * std::sin(c), rho * std::cos(c));
    return true;
}

} // namespace korvel
