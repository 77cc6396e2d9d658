#include "geo/geoid.h"

#include "core/dialog_fields.h"

#include <cmath>
#include <cstdio>

namespace korvel {

Geoid::Geoid() {
    LookUpEllipsoid(Wgs84Ellipsoid, Axes_);
    UserAxes = Axes_;
    Recompute();
}

int32_t Geoid::SetModel(int32_t index) {
    if (index == UserEllipsoid) {
        ModelIndex = index;
        Axes_ = UserAxes;
    } else {
        EllipsoidAxes axes;
        if (LookUpEllipsoid(index, axes) != 0)
            return -1;
        ModelIndex = index;
        Axes_ = axes;
    }
    Recompute();
    return 0;
}

int32_t Geoid::SetUser(double a, double b) {
    EllipsoidAxes axes;
    if (EllipsoidFromAxes(a, b, axes) != 0)
        return -1;
    UserAxes = axes;
    return SetModel(UserEllipsoid);
}

void Geoid::SetReference(double latitude, double longitude, double height) {
    Latitude = latitude;
    Longitude = longitude;
    Height = height;
    Recompute();
}

EarthCentred Geoid::ToCartesian(double latitude, double longitude, double height) const {
    const double sinLat = std::sin(latitude);
    const double cosLat = std::cos(latitude);
    const double n = Axes_.A / std::sqrt(1.0 - Axes_.E1Squared * sinLat * sinLat);
    return {(n + height) * cosLat * std::cos(longitude),
            (n + height) * cosLat * std::sin(longitude),
            (n * (1.0 - Axes_.E1Squared) + height) * sinLat};
}

void Geoid::Recompute() {
    const double sinLat = std::sin(Latitude);
    const double cosLat = std::cos(Latitude);
    const double sinLon = std::sin(Longitude);
    const double cosLon = std::cos(Longitude);
    East = {-sinLon, cosLon, 0.0};
    North = {-sinLat * cosLon, -sinLat * sinLon, cosLat};
    Up = {cosLat * cosLon, cosLat * sinLon, sinLat};
    Centre = ToCartesian(Latitude, Longitude, Height);
}

int32_t ApplyGeoidModel(const GeoidFields& f, Geoid& geoid) {
    return f.Model == UserEllipsoid ? geoid.SetUser(f.A, f.B) : geoid.SetModel(f.Model);
}

std::string DescribeGeoidRefusal(const GeoidFields& f) {
    char text[200];
    if (f.Model == UserEllipsoid)
        std::snprintf(
            text, sizeof text,
            "User Model axes a = %.10g, b = %.10g are not finite positive lengths in metres", f.A,
            f.B);
    else
        std::snprintf(text, sizeof text, "Model %d is not one of the models 0 to %d", f.Model,
                      UserEllipsoid);
    return text;
}

} // namespace korvel
