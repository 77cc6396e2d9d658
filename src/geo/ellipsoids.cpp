#include "geo/ellipsoids.h"

#include <cmath>

namespace korvel {

namespace {

struct Datum {
    const char* Name;
    double A;
    double B;
};

// The semi-minor axes are kept as the program has always stored them, so that the surfaces fitted
// before stay reproducible to the last digit.
constexpr Datum Datums[EllipsoidCount] = {
    {"NAD-27/Clarke 1866", 6378206.4, 6356583.8},
    {"Bessel 1841", 6377397.155, 6356078.962818189},
    {"International", 6378388.0, 6356911.9461279465},
    {"WGS-60", 6378165.0, 6356783.286959437},
    {"WGS-66", 6378145.0, 6356759.769488684},
    {"WGS-72", 6378135.0, 6356750.520016094},
    {"GRS-80", 6378137.0, 6356752.314140348},
    {"NAD-83", 6378137.0, 6356752.314140348},
    {"WGS-84", 6378137.0, 6356752.314245179},
};

} // namespace

int32_t EllipsoidFromAxes(double a, double b, EllipsoidAxes& axes) {
    axes = {};
    // Written so that NaN fails too.
    if (!(a > 0.0 && b > 0.0 && std::isfinite(a) && std::isfinite(b)))
        return -1;
    const double ba = b / a;
    const double ab = a / b;
    const double e1 = 1.0 - ba * ba;
    const double e2 = ab * ab - 1.0;
    if (!std::isfinite(e1) || !std::isfinite(e2))
        return -1;
    axes = {a, b, e1, e2};
    return 0;
}

int32_t LookUpEllipsoid(int32_t index, EllipsoidAxes& axes) {
    if (index < 0 || index >= EllipsoidCount) {
        axes = {};
        return -1;
    }
    return EllipsoidFromAxes(Datums[index].A, Datums[index].B, axes);
}

std::string EllipsoidName(int32_t index) {
    if (index >= 0 && index < EllipsoidCount)
        return Datums[index].Name;
    if (index == UserEllipsoid)
        return "User Model";
    return "Unknown: " + std::to_string(index);
}

} // namespace korvel
