#pragma once
// The map projections of the "Map Projection" dialog: each maps latitude and longitude on a sphere
// to plane coordinates and back. All share one contract, kept here so that no projection can
// claim a point it did not compute: the wrappers refuse non-finite input and output, wrap the
// longitude in one step and trim whatever lies beyond half a turn from the central meridian.

#include <cstdint>
#include <memory>
#include <string>

namespace korvel {

enum ProjectionResult : int32_t {
    ProjectionInside = 0,
    // The point has no place on the map (far hemisphere, beyond the outline, NaN); the outputs
    // are left alone.
    ProjectionOutside = 1,
};

enum ProjectionInitResult : int32_t {
    ProjectionReady = 0,
    ProjectionRefused = -1, // Refusal() says why
};

// What the centre latitude means, per projection (the longitude is always the central meridian):
//
// | Projection                                      | centre latitude                         |
// |-------------------------------------------------|-----------------------------------------|
// | Albers, Equidistant Conic, Lambert Conformal    | origin of the cone (PROJ lat_0)          |
// | Azimuthal Eq., Gnomonic, Lambert Az., Ortho,    | centre of the azimuthal view (lat_0)     |
// | Stereographic                                   |                                          |
// | Polar Stereographic                             | picks the pole: north when >= 0          |
// | Equirectangular, Mercator, Miller               | placed at the plane origin (the map is   |
// | Mollweide, Sinusoidal, Wagner IV, Hammer,       | slid along the central meridian: PROJ    |
// | Van der Grinten, Wagner VII                     | y_0 = -y(lat_0)); true scale unchanged   |
//
// The cylinders and whole-world maps have no centre of their own; sliding them lets a drag of the
// preview pan north and south as it pans east and west.
class Projection {
public:
    virtual ~Projection() = default;
    virtual const char* Name() const = 0;

    // Angles in radians. The sphere has radius rMajor (rMinor is not used: every projection here
    // is spherical). ProjectionReady, or ProjectionRefused with Refusal() saying why; a refused
    // projection reports every point outside.
    int32_t Init(double lat0, double lon0, double falseEasting, double falseNorthing, double rMajor,
                 double rMinor, double lat1, double lat2);
    const std::string& Refusal() const { return Why; }

    // Plane coordinates to latitude and longitude (longitude in [-pi, pi]); ProjectionInside or
    // ProjectionOutside.
    int32_t Inverse(double x, double y, double& lat, double& lon) const;
    // Latitude and longitude to plane coordinates; ProjectionInside or ProjectionOutside.
    int32_t Forward(double lat, double lon, double& x, double& y) const;

protected:
    // On the unit sphere about the central meridian: lat in [-pi/2, pi/2], dlon in [-pi, pi].
    // False when the point has no place on the map.
    virtual bool Project(double lat, double dlon, double& x, double& y) const = 0;
    // False when the plane point is off the map; dlon may come back beyond half a turn, which the
    // caller trims.
    virtual bool Unproject(double x, double y, double& lat, double& dlon) const = 0;
    // The constants of the projection from the parameters; empty when usable, else why not.
    virtual std::string Prepare() { return {}; }
    virtual bool SlidesToCentreLatitude() const { return false; }

    double Lat0 = 0.0;
    double Lon0 = 0.0;
    double SinLat0 = 0.0;
    double CosLat0 = 1.0;
    double Lat1 = 0.0;
    double Lat2 = 0.0;

private:
    double FalseEasting = 0.0;
    double FalseNorthing = 0.0;
    double Radius = 1.0;
    double ShiftY = 0.0;
    bool Ready = false;
    std::string Why = "the projection has not been set up";
};

// The cylinders, pseudo-cylinders and whole-world maps: no centre of their own, so the centre
// latitude slides the map along its central meridian to the plane origin.
class SlidingProjection : public Projection {
protected:
    bool SlidesToCentreLatitude() const final { return true; }
};

constexpr int32_t ProjectionCount = 18;

// The projection at index (the dialog's list order), or nullptr outside 0..ProjectionCount-1.
std::unique_ptr<Projection> CreateProjection(int32_t index);
// The display name at index; "" outside the list.
const char* ProjectionName(int32_t index);

} // namespace korvel
