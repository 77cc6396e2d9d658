#pragma once
// The azimuthal projections: the sphere seen from one centre point, distances or areas or
// directions kept about it. They differ only in how the angular distance c from the centre maps
// to the plane radius.

#include "geo/projection.h"

namespace korvel {

class Azimuthal : public Projection {
protected:
    bool Project(double lat, double dlon, double& x, double& y) const final;
    bool Unproject(double x, double y, double& lat, double& dlon) const final;
    // The plane radius for angular distance c (cosC and sinC given); false where the point has no
    // place on the map.
    virtual bool RadiusAt(double c, double cosC, double sinC, double& rho) const = 0;
    // The angular distance at plane radius rho; false beyond the map's edge.
    virtual bool AngleAt(double rho, double& c) const = 0;
};

class AzimuthalEquidistant final : public Azimuthal {
public:
    const char* Name() const override { return "Azimuthal Equidistant"; }

protected:
    bool RadiusAt(double c, double cosC, double sinC, double& rho) const override;
    bool AngleAt(double rho, double& c) const override;
};

class Gnomonic final : public Azimuthal {
public:
    const char* Name() const override { return "Gnomonic"; }

protected:
    bool RadiusAt(double c, double cosC, double sinC, double& rho) const override;
    bool AngleAt(double rho, double& c) const override;
};

class LambertAzimuthalEqualArea final : public Azimuthal {
public:
    const char* Name() const override { return "Lambert Azimuthal Equal-Area"; }

protected:
    bool RadiusAt(double c, double cosC, double sinC, double& rho) const override;
    bool AngleAt(double rho, double& c) const override;
};

class Orthographic final : public Azimuthal {
public:
    const char* Name() const override { return "Orthographic"; }

protected:
    bool RadiusAt(double c, double cosC, double sinC, double& rho) const override;
    bool AngleAt(double rho, double& c) const override;
};

class Stereographic final : public Azimuthal {
public:
    const char* Name() const override { return "Stereographic"; }

protected:
    bool RadiusAt(double c, double cosC, double sinC, double& rho) const override;
    bool AngleAt(double rho, double& c) const override;
};

// Scale true at the pole (PROJ stere +lat_0=90 or -90, k_0 = 1); the central meridian points
// down from the north pole, up from the south pole.
class PolarStereographic final : public Projection {
public:
    const char* Name() const override { return "Polar Stereographic"; }

protected:
    bool Project(double lat, double dlon, double& x, double& y) const override;
    bool Unproject(double x, double y, double& lat, double& dlon) const override;

private:
    bool North() const { return Lat0 >= 0.0; }
};

} // namespace korvel
