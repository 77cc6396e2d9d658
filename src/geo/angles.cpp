#include "geo/angles.h"

#include <cmath>

namespace korvel {

double WrapLongitude(double radians) {
    // std::remainder is exact, so a longitude a whole number of turns away lands on the same
    // value, however far it lay.
    return std::remainder(radians, 2.0 * Pi);
}

double WrapLongitudeDegrees(double degrees) {
    return std::remainder(degrees, 360.0);
}

} // namespace korvel
