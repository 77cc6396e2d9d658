#pragma once
// The working state of one shading pass: the light, the normal weights, the altitude range and
// the geography of the current row, and the colour and light of single samples. Kept apart from
// LightParms so that the record stays plain data and each thread of a pass has its own copy.

#include "core/image.h"
#include "core/light_parms.h"
#include "core/surface.h"
#include "shading/color_table.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

namespace korvel {

class NoiseBasis;

// True when the 24-bit colours draw on the fBm noise.
inline bool ColoursUseNoise(const LightParms& lp) {
    return lp.BlendLat != 0 && lp.FbmStrength > 0.0;
}
// The noise tables are drawn from the shared random stream on first use and the octave weights
// are cached: makes both where the first noisy sample of a pass would, so that the threads of
// the pass only read them and the stream is drawn on at the same point.
void PrepareColourNoise(const LightParms& lp, NoiseBasis& noise);

// I^gamma for I in [0, 1], interpolated between 4096 steps. Every step is checked at three
// inner points against the exact power; one that strays by more than a quarter of a channel
// step (near 0 for small gammas, near 1 for large ones) calls powf instead. The shade then stays
// within one step of trunc(c * v) with the exact power, at a fraction of powf's cost.
class PowerCurve {
public:
    static constexpr int32_t Steps = 4096;

    void Build(double gamma);
    float operator()(float i) const {
        const float position = i * static_cast<float>(Steps);
        // Outside the table (NaN too): the exact power.
        if (!(position >= 0.0f && position < static_cast<float>(Steps)))
            return std::pow(i, Gamma);
        // Through int32_t: the range is checked, and the conversion is one instruction.
        const auto whole = static_cast<int32_t>(position);
        const auto k = static_cast<size_t>(whole);
        if (Smooth[k] == 0)
            return std::pow(i, Gamma);
        return Base[k] + Slope[k] * (position - static_cast<float>(whole));
    }

private:
    float Gamma = 1.0f;
    std::vector<float> Base;
    std::vector<float> Slope;
    std::vector<uint8_t> Smooth;
};

class ShadingContext {
public:
    // s and noise must outlive the context; metresPerDegree turns XRes/YRes into metres when
    // unit lighting is off. The altitude range is taken from s at once; call PrepareLighting
    // before the normals and intensities.
    ShadingContext(const Surface& s, NoiseBasis& noise, double metresPerDegree);

    void PrepareLighting();
    // Tables for the colour lists the blend uses: for large passes, where they pay.
    void BuildColourTables();
    // The fBm longitudes of columns x0..x1 (spherical fBm noise only).
    void PrepareColumns(int32_t x0, int32_t x1);
    // Latitude, hemisphere and fBm row coordinate of row y.
    void PrepareRow(int32_t y);

    // Unit normal with the Corner weight; x, y are clamped to the Surface.
    std::array<float, 3> SurfaceNormal(int32_t x, int32_t y) const;
    // max(0, normal . light) in double precision, as the shaded palette picture uses it.
    double IntensityAt(int32_t x, int32_t y) const;
    // Colour of the sample before the light; sets SampleOpacity. Prepares its row (and column
    // when needed) itself; x, y are clamped to the Surface.
    PackedColor BaseColor(int32_t x, int32_t y);

    // Columns x0..x0+n-1 of row y of the 24-bit picture: lit (Type 0) or height code (Type 1).
    // The columns must have been prepared; n must be at least 1.
    void ShadedRow(int32_t y, int32_t x0, int32_t n, PackedColor* out);
    void CodedRow(int32_t y, int32_t x0, int32_t n, PackedColor* out);

    // True when the colours draw on the fBm noise (which then must exist before any thread
    // starts: its tables are built from the shared random stream on first use).
    bool UsesNoise() const { return ColoursUseNoise(Lp); }

    // x toward increasing column, y toward increasing row, z up.
    std::array<float, 3> LightVector{0.0f, 0.0f, 1.0f};
    float GridSpacing = 0.1f;
    float HeightScale = 1.0f;
    float Corner = 0.0f;
    int32_t XMax = 0;
    int32_t YMax = 0;
    double AltLow = 0.0;
    double AltHigh = 1.0;

    double RowLatitude = 0.0;
    bool Southern = false;
    // |fmod(RowLatitude, 90)| / 90.
    double LatitudeFraction = 0.0;
    double FbmRow = 0.0;
    double FbmRowCos = 1.0;
    double FbmRowSin = 0.0;
    // Indexed by column - ColumnsFrom.
    std::vector<double> LonCos;
    std::vector<double> LonSin;
    int32_t ColumnsFrom = 0;

    // The shaded pass's I^Gamma.
    PowerCurve Power;

    // The opacity that belongs to the base colour last computed.
    double SampleOpacity = 0.0;

private:
    bool Spherical() const { return UsesNoise() && Lp.FbmParms.TexSphere; }
    double Latitude(int32_t x);
    // max(0, normal . light) of columns x0..x0+n-1 of row y into Intensities.
    void RowIntensities(int32_t y, int32_t x0, int32_t n);
    PackedColor Color(int32_t x, const float* row);
    // Color with its opacity, the land of a plain blend without the call.
    PackedColor ColorAndOpacity(int32_t x, const float* row, double& opacity) {
        const double h = row[x];
        if (PlainLand && !(h <= Lp.SeaLevel)) {
            opacity = LandOpacity;
            return AltTable.At(static_cast<float>(LandPosition(h)));
        }
        const PackedColor c = Color(x, row);
        opacity = SampleOpacity;
        return c;
    }
    // The altitude list position of land at h.
    double LandPosition(double h) const {
        if (Lp.SeaFloat != 0)
            h -= Lp.SeaLevel;
        if (h >= AltHigh)
            return 1.0;
        if (h >= AltLow)
            return (h - AltLow) / (AltHigh - AltLow);
        return 0.0;
    }

    const Surface& S;
    const LightParms& Lp;
    NoiseBasis& Noise;
    double MetresPerDegree;
    double NeighbourScale;
    // Only the altitude colour at full weight takes part in the land blend.
    bool AltitudeOnly = false;
    // Besides, no latitude (so no ice either): land is its altitude colour at LandOpacity.
    bool PlainLand = false;
    double LandOpacity = 0.0;
    ColorTable AltTable;
    ColorTable SeaTable;
    ColorTable LatTable;
    ColorTable SlopeTable;
    ColorTable NorthTable;
    ColorTable SouthTable;
    int32_t PreparedRow = -1;
    std::vector<float> Intensities;
    // The shade of each sample of the row, light and opacity together.
    std::vector<double> Shades;
};

} // namespace korvel
