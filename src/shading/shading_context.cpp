#include "shading/shading_context.h"

#include "core/noise.h"
#include "shading/palette.h"
#include "shading/surface_normals.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace korvel {

namespace {

constexpr double DegToRad = std::numbers::pi / 180.0;

// NaN (from NaN samples or a zero-length normal) lands on 0, so that it never reaches an integer
// conversion.
double Clamp01(double v) {
    return v > 0.0 ? (v < 1.0 ? v : 1.0) : 0.0;
}

int32_t Channel(PackedColor c, int32_t shift) {
    return static_cast<int32_t>((c >> shift) & 0xFF);
}

// As ColorList::ColorAtRGB scales the channels.
Rgb RgbOf(PackedColor c) {
    constexpr double k = 0.00392156862745098;
    return {Channel(c, 0) * k, Channel(c, 8) * k, Channel(c, 16) * k};
}

PackedColor PackUnit(double r, double g, double b) {
    return PackColor(static_cast<uint8_t>(255.0 * Clamp01(r)),
                     static_cast<uint8_t>(255.0 * Clamp01(g)),
                     static_cast<uint8_t>(255.0 * Clamp01(b)));
}

// trunc(255 * clamp(sum / 255, 0, 1)) without the division. The quotient times 255 lies within
// a few ulps of sum, which moves the truncation only for a sum within 1e-9 of an integer; whole
// sums 0..255 come back unchanged (checked for all of them), the rest near one take the formula.
int32_t BlendChannel(double sum) {
    if (!(sum > 0.0))
        return 0;
    if (sum >= 255.0)
        return 255;
    const auto whole = static_cast<int32_t>(sum);
    const double fraction = sum - whole;
    if (fraction == 0.0 || (fraction > 1e-9 && fraction < 1.0 - 1e-9))
        return whole;
    return static_cast<int32_t>(255.0 * Clamp01(sum / 255.0));
}

// The light's (dx, dy): the Corner-weighted differences across the cell, in single precision.
inline std::array<float, 2> Gradient(int32_t xm, int32_t x, int32_t xp, const float* below,
                                     const float* row, const float* above, float w, float scale) {
    return {((above[xm] + below[xm]) * w + row[xm] - (above[xp] + below[xp]) * w - row[xp]) * scale,
            ((below[xp] + below[xm]) * w + below[x] - (above[xp] + above[xm]) * w - above[x]) *
                scale};
}

// max(0, n . light) for the normal (dx, dy, dz) / length. One division stands for three; the
// difference is an ulp, far below one step of a channel. NaN gives 0.
inline float LitDot(int32_t xm, int32_t x, int32_t xp, const float* below, const float* row,
                    const float* above, float w, float scale, float dz,
                    const std::array<float, 3>& light) {
    const auto [dx, dy] = Gradient(xm, x, xp, below, row, above, w, scale);
    const float length = std::sqrt(dx * dx + dy * dy + dz * dz);
    const float i = (dx * light[0] + dy * light[1] + dz * light[2]) / length;
    return i > 0.0f ? i : 0.0f;
}

} // namespace

void PrepareColourNoise(const LightParms& lp, NoiseBasis& noise) {
    if (!ColoursUseNoise(lp))
        return;
    const FracParms& f = lp.FbmParms;
    noise.Fbm(0.0, 0.0, 0.0, f.H, f.lacunarity, f.octaves);
}

void PowerCurve::Build(double gamma) {
    Gamma = static_cast<float>(gamma);
    Base.assign(Steps, 0.0f);
    Slope.assign(Steps, 0.0f);
    Smooth.assign(Steps, 0);
    constexpr double Tolerance = 0.25 / 255.0;
    const auto exact = [this](double i) {
        return static_cast<double>(std::pow(static_cast<float>(i), Gamma));
    };
    double next = exact(0.0);
    for (int32_t k = 0; k < Steps; ++k) {
        const double low = next;
        next = exact(static_cast<double>(k + 1) / Steps);
        const auto at = static_cast<size_t>(k);
        Base[at] = static_cast<float>(low);
        Slope[at] = static_cast<float>(next - low);
        bool smooth = true;
        for (const double f : {0.25, 0.5, 0.75}) {
            const double error = low + (next - low) * f - exact((k + f) / Steps);
            // NaN (a negative gamma at 0) fails too.
            smooth = smooth && std::fabs(error) <= Tolerance;
        }
        Smooth[at] = smooth ? 1 : 0;
    }
}

ShadingContext::ShadingContext(const Surface& s, NoiseBasis& noise, double metresPerDegree)
    : S(s), Lp(s.Lighting), Noise(noise), MetresPerDegree(metresPerDegree),
      NeighbourScale(NeighbourHeightScale(s.Min, s.Max)), AltTable(s.Lighting.AltColor),
      SeaTable(s.Lighting.SeaColor), LatTable(s.Lighting.LatColor),
      SlopeTable(s.Lighting.SlopeColor), NorthTable(s.Lighting.NorthColor),
      SouthTable(s.Lighting.SouthColor) {
    XMax = std::max(s.XSize - 1, 0);
    YMax = std::max(s.YSize - 1, 0);
    AltitudeRange(Lp, s.Min, s.Max, AltLow, AltHigh);
    // The blend is then 0 * w + alt * 1 + 0 * w + 0 * w per channel, which is alt itself.
    AltitudeOnly = Lp.BlendAlt != 0 && Lp.BlendAltVal == 1.0 && Lp.BlendLat == 0 &&
                   Lp.BlendSlope == 0 && Lp.BlendFacing == 0 && std::isfinite(Lp.BlendLatVal) &&
                   std::isfinite(Lp.BlendSlopeVal) && std::isfinite(Lp.BlendFacingVal);
    PlainLand = AltitudeOnly && Lp.BlendLat == 0;
    LandOpacity = Clamp01(Lp.LandOpacity);
}

void ShadingContext::PrepareLighting() {
    LightVector = LightVectorFor(Lp.Az, Lp.El);
    // Magnitudes: an edge record running east to west or north to south gives a negative
    // resolution, and the spacing is a distance.
    double spacing =
        Lp.Unit != 0 ? 0.1 : (std::fabs(S.XRes) + std::fabs(S.YRes)) * MetresPerDegree * 0.5;
    if (Lp.VertExag > 0.0)
        spacing /= Lp.VertExag;
    GridSpacing = static_cast<float>(spacing);
    HeightScale = 1.0f;
    if (Lp.Unit != 0 && std::fabs(S.Max - S.Min) > 0.0001)
        HeightScale = static_cast<float>(1.0 / std::max(std::fabs(S.Max), std::fabs(S.Min)));
    Corner = static_cast<float>(Lp.Corner);
    Power.Build(Lp.Gamma);
}

void ShadingContext::BuildColourTables() {
    // By the extremes a Surface all land or all sea needs only one of the two; extremes gone
    // stale cost speed only, since a table not built is ColorAt itself.
    if (!(S.Min > Lp.SeaLevel))
        SeaTable.Build();
    if (Lp.BlendAlt != 0 && !(S.Max <= Lp.SeaLevel))
        AltTable.Build();
    if (Lp.BlendLat != 0)
        LatTable.Build();
    if (Lp.BlendSlope != 0)
        SlopeTable.Build();
    if (Lp.BlendFacing != 0) {
        NorthTable.Build();
        SouthTable.Build();
    }
}

void ShadingContext::PrepareColumns(int32_t x0, int32_t x1) {
    LonCos.clear();
    LonSin.clear();
    ColumnsFrom = x0;
    if (!Spherical() || x1 < x0)
        return;
    const FracParms& f = Lp.FbmParms;
    LonCos.resize(static_cast<size_t>(x1 - x0) + 1);
    LonSin.resize(LonCos.size());
    for (int32_t x = x0; x <= x1; ++x) {
        const double lon = (f.Left + (f.Right - f.Left) * x / S.XSize) * DegToRad;
        LonCos[static_cast<size_t>(x - x0)] = std::cos(lon);
        LonSin[static_cast<size_t>(x - x0)] = std::sin(lon);
    }
}

void ShadingContext::PrepareRow(int32_t y) {
    PreparedRow = y;
    const double f = static_cast<double>(y) / S.YSize;
    RowLatitude = S.Bottom + (S.Top - S.Bottom) * f;
    Southern = RowLatitude < 0.0;
    LatitudeFraction = std::fabs(std::fmod(RowLatitude, 90.0)) / 90.0;
    const FracParms& fp = Lp.FbmParms;
    FbmRow = fp.Bottom + (fp.Top - fp.Bottom) * f;
    if (Spherical()) {
        FbmRowCos = std::cos(FbmRow * DegToRad);
        FbmRowSin = std::sin(FbmRow * DegToRad);
    }
}

std::array<float, 3> ShadingContext::SurfaceNormal(int32_t x, int32_t y) const {
    x = std::clamp(x, 0, XMax);
    y = std::clamp(y, 0, YMax);
    const float* below = S.Rows[std::max(y - 1, 0)];
    const float* row = S.Rows[y];
    const float* above = S.Rows[std::min(y + 1, YMax)];
    const auto [dx, dy] = Gradient(std::max(x - 1, 0), x, std::min(x + 1, XMax), below, row, above,
                                   Corner, HeightScale);
    const float dz = GridSpacing;
    const float length = std::sqrt(dx * dx + dy * dy + dz * dz);
    return {dx / length, dy / length, dz / length};
}

double ShadingContext::IntensityAt(int32_t x, int32_t y) const {
    const std::array<float, 3> n = SurfaceNormal(x, y);
    const double i = static_cast<double>(n[0]) * LightVector[0] +
                     static_cast<double>(n[1]) * LightVector[1] +
                     static_cast<double>(n[2]) * LightVector[2];
    return i > 0.0 ? i : 0.0;
}

double ShadingContext::Latitude(int32_t x) {
    if (Lp.BlendLat == 0)
        return 0.0;
    double lambda = LatitudeFraction;
    if (Lp.FbmStrength > 0.0) {
        const FracParms& f = Lp.FbmParms;
        double px, py, pz;
        if (f.TexSphere) {
            const auto i = static_cast<size_t>(x - ColumnsFrom);
            px = LonCos[i] * f.xrange * FbmRowCos + f.xpos;
            py = LonSin[i] * f.yrange * FbmRowCos + f.ypos;
            pz = FbmRowSin * f.zrange + f.zpos;
        } else {
            px = f.Left + (f.Right - f.Left) * x / S.XSize;
            py = FbmRow;
            pz = f.zpos;
        }
        lambda += Lp.FbmStrength * Noise.Fbm(px, py, pz, f.H, f.lacunarity, f.octaves);
    }
    return lambda;
}

PackedColor ShadingContext::Color(int32_t x, const float* row) {
    const double h = row[x];
    const double lambda = Latitude(x);
    // Without latitude blending there are no caps, whatever the thresholds say.
    if (Lp.BlendLat != 0 && lambda > (Southern ? Lp.IceSouth : Lp.IceNorth)) {
        SampleOpacity = Lp.IceOpacity;
        // trunc(255 * (c / 255)) gives c back for every channel value.
        return static_cast<PackedColor>(Lp.IceColor) & 0xFFFFFF;
    }
    if (h <= Lp.SeaLevel) {
        // At the sea surface t is 1 even when SeaLowest equals SeaLevel (0 / 0 otherwise).
        const double depth = Lp.SeaLevel - h;
        const double t = depth == 0.0 ? 1.0 : Clamp01(1.0 - depth / (Lp.SeaLevel - Lp.SeaLowest));
        const auto st = static_cast<float>(t);
        const Rgb c = RgbOf(SeaTable.At(st));
        const double lift = Lp.SeaSatMin + (Lp.SeaSatMax - Lp.SeaSatMin) * t;
        SampleOpacity = Clamp01(Lp.SeaOpacity);
        return PackUnit(c.Red + lift, c.Green + lift, c.Blue + lift);
    }
    const double t = LandPosition(h);
    SampleOpacity = LandOpacity;

    PackedColor alt = 0;
    if (Lp.BlendAlt != 0) {
        const auto at = static_cast<float>(t);
        alt = AltTable.At(at);
    }
    const PackedColor lat = Lp.BlendLat != 0 ? LatTable.At(static_cast<float>(lambda)) : 0;
    if (AltitudeOnly)
        return alt;
    PackedColor slope = 0, facing = 0;
    if (Lp.BlendSlope != 0 || Lp.BlendFacing != 0) {
        const Normal n = NeighbourNormal(S, x, PreparedRow, NeighbourScale);
        const double across = std::sqrt(n.X * n.X + n.Y * n.Y);
        if (Lp.BlendSlope != 0) {
            // The normal's elevation is pi/2 on flat ground and 0 on a wall: 0 flat, 1 vertical.
            const double s = 1.0 - std::atan2(n.Z, across) / (std::numbers::pi / 2.0);
            slope = SlopeTable.At(static_cast<float>(s));
        }
        if (Lp.BlendFacing != 0) {
            // n.X grows with the fall toward increasing column (east), n.Y with the rise toward
            // increasing row (north), so ground faces (east, north) = (n.X, -n.Y). Clockwise from
            // north: north 0, east 0.25, south 0.5, west 0.75; flat ground counts as north.
            double phi = across > 0.0 ? std::atan2(n.X, -n.Y) / (2.0 * std::numbers::pi) : 0.0;
            if (phi < 0.0)
                phi += 1.0;
            facing = (Southern ? SouthTable : NorthTable).At(static_cast<float>(phi));
        }
    }
    PackedColor packed = 0;
    for (int32_t shift = 0; shift <= 16; shift += 8) {
        const double sum =
            Channel(lat, shift) * Lp.BlendLatVal + Channel(alt, shift) * Lp.BlendAltVal +
            Channel(facing, shift) * Lp.BlendFacingVal + Channel(slope, shift) * Lp.BlendSlopeVal;
        packed |= static_cast<PackedColor>(BlendChannel(sum)) << shift;
    }
    return packed;
}

PackedColor ShadingContext::BaseColor(int32_t x, int32_t y) {
    x = std::clamp(x, 0, XMax);
    y = std::clamp(y, 0, YMax);
    if (y != PreparedRow)
        PrepareRow(y);
    if (Spherical() && (x < ColumnsFrom || x - ColumnsFrom >= static_cast<int32_t>(LonCos.size())))
        PrepareColumns(x, x);
    return Color(x, S.Rows[y]);
}

void ShadingContext::RowIntensities(int32_t y, int32_t x0, int32_t n) {
    Intensities.resize(static_cast<size_t>(n));
    float* out = Intensities.data() - x0;
    const float* below = S.Rows[std::max(y - 1, 0)];
    const float* row = S.Rows[y];
    const float* above = S.Rows[std::min(y + 1, YMax)];
    const auto at = [&](int32_t x, int32_t xm, int32_t xp) {
        out[x] =
            LitDot(xm, x, xp, below, row, above, Corner, HeightScale, GridSpacing, LightVector);
    };
    // The inner columns need no clamping, which leaves a loop the compiler vectorises.
    const int32_t last = x0 + n - 1;
    const int32_t innerFrom = std::max(x0, 1), innerTo = std::min(last, XMax - 1);
    for (int32_t x = x0; x < innerFrom && x <= last; ++x)
        at(x, std::max(x - 1, 0), std::min(x + 1, XMax));
    for (int32_t x = innerFrom; x <= innerTo; ++x)
        at(x, x - 1, x + 1);
    for (int32_t x = std::max(innerTo + 1, innerFrom); x <= last; ++x)
        at(x, std::max(x - 1, 0), std::min(x + 1, XMax));
}

void ShadingContext::ShadedRow(int32_t y, int32_t x0, int32_t n, PackedColor* out) {
    PrepareRow(y);
    RowIntensities(y, x0, n);
    Shades.resize(static_cast<size_t>(n));
    const float* row = S.Rows[y];
    const double ambient = Lp.Ambient;
    for (int32_t i = 0; i < n; ++i) {
        const auto at = static_cast<size_t>(i);
        const double v = Clamp01(static_cast<double>(Power(Intensities[at])) + ambient);
        double opacity = 0.0;
        out[i] = ColorAndOpacity(x0 + i, row, opacity);
        Shades[at] = Clamp01(v + (1.0 - v) * opacity);
    }
    // Apart from the lookups, so that the compiler can vectorise the products.
    const double* shades = Shades.data();
    for (int32_t i = 0; i < n; ++i) {
        const PackedColor c = out[i];
        const double v = shades[i];
        out[i] = PackColor(static_cast<uint8_t>(Channel(c, 0) * v),
                           static_cast<uint8_t>(Channel(c, 8) * v),
                           static_cast<uint8_t>(Channel(c, 16) * v));
    }
}

void ShadingContext::CodedRow(int32_t y, int32_t x0, int32_t n, PackedColor* out) {
    PrepareRow(y);
    const float* row = S.Rows[y];
    double opacity = 0.0;
    for (int32_t i = 0; i < n; ++i)
        out[i] = ColorAndOpacity(x0 + i, row, opacity);
}

} // namespace korvel
