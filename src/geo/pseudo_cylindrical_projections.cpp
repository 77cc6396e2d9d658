#include "geo/pseudo_cylindrical_projections.h"

#include "geo/angles.h"

#include <cmath>

namespace korvel {

namespace {

// Solves t + sin t = k for t in [-limit, limit], where the left side rises monotonically: Newton
// steps kept inside a shrinking bracket, since the slope vanishes at the poles.
double SolveKepler(double k, double limit) {
    double lo = -limit;
    double hi = limit;
    double t = std::fmax(lo, std::fmin(hi, k / 2));
    for (int i = 0; i < 100; ++i) {
        const double f = t + std::sin(t) - k;
        if (f == 0.0)
            return t;
        (f < 0.0 ? lo : hi) = t;
        const double slope = 1.0 + std::cos(t);
        double next = slope > 0.0 ? t - f / slope : 0.5 * (lo + hi);
        if (!(next > lo && next < hi))
            next = 0.5 * (lo + hi);
        if (std::fabs(next - t) < 1e-15)
            return next;
        t = next;
    }
    return t;
}

} // namespace

GeneralMollweide::GeneralMollweide(double p) : TwoP(2.0 * p) {
    const double r = std::sqrt(2.0 * Pi * std::sin(p) / (TwoP + std::sin(TwoP)));
    Cx = 2.0 * r / Pi;
    Cy = r / std::sin(p);
    Cp = TwoP + std::sin(TwoP);
}

bool GeneralMollweide::Project(double lat, double dlon, double& x, double& y) const {
    const double theta = 0.5 * SolveKepler(Cp * std::sin(lat), TwoP);
    x = Cx * dlon * std::cos(theta);
    y = Cy * std::sin(theta);
    return true;
}

bool GeneralMollweide::Unproject(double x, double y, double& lat, double& dlon) const {
    const double s = y / Cy;
    if (!(std::fabs(s) <= 1.0))
        return false;
    const double theta = std::asin(s);
    // Wagner IV's poles are lines at theta = p: above them lies nothing.
    if (std::fabs(theta) > 0.5 * TwoP + 1e-12)
        return false;
    const double width = Cx * std::cos(theta);
    // Mollweide's poles are points: only the central meridian reaches them.
    if (width < 1e-15) {
        if (std::fabs(x) > 1e-12)
            return false;
        dlon = 0.0;
    } else {
        dlon = x / width;
    }
    const double t = 2.0 * theta;
    lat = std::asin(std::fmax(-1.0, std::fmin(1.0, (t + std::sin(t)) / Cp)));
    return true;
}

Mollweide::Mollweide() : GeneralMollweide(Pi / 2) {}

WagnerIV::WagnerIV() : GeneralMollweide(Pi / 3) {}

bool Sinusoidal::Project(double lat, double dlon, double& x, double& y) const {
    x = dlon * std::cos(lat);
    y = lat;
    return true;
}

bool Sinusoidal::Unproject(double x, double y, double& lat, double& dlon) const {
    if (!(std::fabs(y) <= Pi / 2))
        return false;
    lat = y;
    const double width = std::cos(y);
    if (width < 1e-15) {
        if (std::fabs(x) > 1e-12)
            return false;
        dlon = 0.0;
        return true;
    }
    dlon = x / width;
    return true;
}

} // namespace korvel
