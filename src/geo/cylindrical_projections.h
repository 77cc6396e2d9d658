#pragma once
// The cylindrical projections, all true to scale along the equator on the unit sphere (PROJ eqc,
// merc and mill with lat_ts = 0 and k_0 = 1). The centre latitude slides the map so that it lies
// at the plane origin.

#include "geo/projection.h"

namespace korvel {

class Equirectangular final : public SlidingProjection {
public:
    const char* Name() const override { return "Equirectangular"; }

protected:
    bool Project(double lat, double dlon, double& x, double& y) const override;
    bool Unproject(double x, double y, double& lat, double& dlon) const override;
};

class Mercator final : public SlidingProjection {
public:
    const char* Name() const override { return "Mercator"; }

protected:
    bool Project(double lat, double dlon, double& x, double& y) const override;
    bool Unproject(double x, double y, double& lat, double& dlon) const override;
};

class MillerCylindrical final : public SlidingProjection {
public:
    const char* Name() const override { return "Miller Cylindrical"; }

protected:
    bool Project(double lat, double dlon, double& x, double& y) const override;
    bool Unproject(double x, double y, double& lat, double& dlon) const override;
};

} // namespace korvel
