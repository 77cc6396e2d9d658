#pragma once
// The pseudo-cylindrical projections: straight parallels, curved meridians, an outline that the
// longitude test trims. The centre latitude slides the map so that it lies at the plane origin.

#include "geo/projection.h"

namespace korvel {

// Mollweide's construction with the pole line at auxiliary angle p (pi/2: Mollweide, pi/3:
// Wagner IV), as PROJ's moll and wag4.
class GeneralMollweide : public SlidingProjection {
protected:
    explicit GeneralMollweide(double p);
    bool Project(double lat, double dlon, double& x, double& y) const final;
    bool Unproject(double x, double y, double& lat, double& dlon) const final;

private:
    double TwoP;
    double Cx;
    double Cy;
    double Cp;
};

class Mollweide final : public GeneralMollweide {
public:
    Mollweide();
    const char* Name() const override { return "Mollweide"; }
};

class WagnerIV final : public GeneralMollweide {
public:
    WagnerIV();
    const char* Name() const override { return "Wagner IV"; }
};

class Sinusoidal final : public SlidingProjection {
public:
    const char* Name() const override { return "Sinusoidal"; }

protected:
    bool Project(double lat, double dlon, double& x, double& y) const override;
    bool Unproject(double x, double y, double& lat, double& dlon) const override;
};

} // namespace korvel
