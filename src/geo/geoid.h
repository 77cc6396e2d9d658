#pragma once
// The Earth model: a reference ellipsoid, geodetic to Earth-centred coordinates, and the
// east-north-up frame at a reference point. Angles in radians, lengths in metres.

#include "geo/ellipsoids.h"

#include <cstdint>
#include <string>

namespace korvel {

struct GeoidFields;

struct EarthCentred {
    double X = 0.0;
    double Y = 0.0;
    double Z = 0.0;
};

struct EastNorthUp {
    double East = 0.0;
    double North = 0.0;
    double Up = 0.0;
};

class Geoid {
public:
    // WGS-84, the reference point at latitude 0, longitude 0, height 0.
    Geoid();

    // A datum 0 .. 8, or UserEllipsoid with the user axes last set. -1 for any other index (the
    // record is then unchanged).
    int32_t SetModel(int32_t index);
    // The user model from its axes; the eccentricities follow from them. -1 (record unchanged)
    // for axes that are not finite positive numbers.
    int32_t SetUser(double a, double b);
    void SetReference(double latitude, double longitude, double height);

    EarthCentred ToCartesian(double latitude, double longitude, double height) const;
    // Inline: the line of sight calls it for every step of every ray.
    EastNorthUp ToLocal(const EarthCentred& p) const {
        const double dx = p.X - Centre.X;
        const double dy = p.Y - Centre.Y;
        const double dz = p.Z - Centre.Z;
        return {East.X * dx + East.Y * dy + East.Z * dz, North.X * dx + North.Y * dy + North.Z * dz,
                Up.X * dx + Up.Y * dy + Up.Z * dz};
    }

    int32_t Model() const { return ModelIndex; }
    const EllipsoidAxes& Axes() const { return Axes_; }
    // The reference point's up vector in Earth-centred axes, and its Earth-centred position.
    const EarthCentred& UpAxis() const { return Up; }
    const EarthCentred& Origin() const { return Centre; }

private:
    void Recompute();

    int32_t ModelIndex = Wgs84Ellipsoid;
    EllipsoidAxes Axes_;
    EllipsoidAxes UserAxes;
    double Latitude = 0.0;
    double Longitude = 0.0;
    double Height = 0.0;
    EarthCentred East, North, Up;
    EarthCentred Centre;
};

// The model the fields choose: a datum, or the user model from A and B. 0, or -1 (geoid
// unchanged) for an unknown index or user axes that are not finite positive numbers.
int32_t ApplyGeoidModel(const GeoidFields& f, Geoid& geoid);

// "User Model axes a = -1, b = 6356752 are not finite positive lengths in metres", or the index.
std::string DescribeGeoidRefusal(const GeoidFields& f);

} // namespace korvel
