#pragma once

// Angles on the sphere: the degree and radian factors every projection and the geoid use, and
// longitude wrapping done in one step rather than by repeated additions of a full turn.

namespace korvel {

inline constexpr double Pi = 3.14159265358979323846;
inline constexpr double DegreesToRadians = 0.017453292519943295;
inline constexpr double RadiansToDegrees = 57.29577951308232;

// Brings a longitude in radians into [-pi, pi]; NaN and infinities give NaN.
double WrapLongitude(double radians);

// Brings a longitude in degrees into [-180, 180]; NaN and infinities give NaN.
double WrapLongitudeDegrees(double degrees);

} // namespace korvel
