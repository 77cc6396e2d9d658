#pragma once
// The projections that show the whole world in one closed outline (an ellipse, a circle, a
// lens): Hammer, Van der Grinten and Wagner VII. The centre latitude slides the map so that it
// lies at the plane origin.

#include "geo/projection.h"

namespace korvel {

// The equatorial Lambert azimuthal stretched to twice its width (PROJ hammer, W = 0.5, M = 1).
class Hammer final : public SlidingProjection {
public:
    const char* Name() const override { return "Hammer"; }

protected:
    bool Project(double lat, double dlon, double& x, double& y) const override;
    bool Unproject(double x, double y, double& lat, double& dlon) const override;
};

// The whole world in a circle of radius pi (Snyder's formulas, PROJ vandg).
class VanDerGrinten final : public SlidingProjection {
public:
    const char* Name() const override { return "Van Der Grinten"; }

protected:
    bool Project(double lat, double dlon, double& x, double& y) const override;
    bool Unproject(double x, double y, double& lat, double& dlon) const override;
};

// Hammer-Wagner: 65 degrees of the sphere's latitude and a third of its longitude, through the
// equatorial Lambert azimuthal (PROJ wag7's constants).
class WagnerVII final : public SlidingProjection {
public:
    const char* Name() const override { return "Wagner VII"; }

protected:
    bool Project(double lat, double dlon, double& x, double& y) const override;
    bool Unproject(double x, double y, double& lat, double& dlon) const override;
};

} // namespace korvel
