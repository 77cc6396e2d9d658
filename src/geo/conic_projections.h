#pragma once
// The conic projections with two standard parallels (Top and Bottom in the dialog). A cone needs
// its parallels on one side of the equator or at least not mirror images, and neither at a pole:
// Init refuses those with a reason instead of dividing by zero.

#include "geo/projection.h"

#include <string>

namespace korvel {

class Conic : public Projection {
protected:
    bool Project(double lat, double dlon, double& x, double& y) const final;
    bool Unproject(double x, double y, double& lat, double& dlon) const final;
    std::string Prepare() final;
    // Sets N and the constants of the cone from Lat1 and Lat2 (already checked).
    virtual void SetCone() = 0;
    // The signed radius of the parallel at lat (the sign of N); false where it is infinite.
    virtual bool RadiusOf(double lat, double& rho) const = 0;
    // The latitude of the parallel of signed radius rho; false beyond the cone's rim.
    virtual bool LatitudeOf(double rho, double& lat) const = 0;

    // The cone constant.
    double N = 1.0;

private:
    double Rho0 = 0.0;
};

class AlbersEqualArea final : public Conic {
public:
    const char* Name() const override { return "Albers Equal-Area Conic"; }

protected:
    void SetCone() override;
    bool RadiusOf(double lat, double& rho) const override;
    bool LatitudeOf(double rho, double& lat) const override;

private:
    double C = 1.0;
};

class EquidistantConic final : public Conic {
public:
    const char* Name() const override { return "Equidistant Conic"; }

protected:
    void SetCone() override;
    bool RadiusOf(double lat, double& rho) const override;
    bool LatitudeOf(double rho, double& lat) const override;

private:
    double G = 1.0;
};

class LambertConformalConic final : public Conic {
public:
    const char* Name() const override { return "Lambert Conformal Conic"; }

protected:
    void SetCone() override;
    bool RadiusOf(double lat, double& rho) const override;
    bool LatitudeOf(double rho, double& lat) const override;

private:
    double F = 1.0;
};

} // namespace korvel
