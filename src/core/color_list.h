#pragma once
// A ramp of colours looked up by a position t in [0, 1]: nearest, linear or Catmull-Rom blending
// between evenly spaced entries, with a gamma applied to t first.

#include "core/image.h"

#include <cstdint>
#include <vector>

namespace korvel {

struct Rgb {
    double Red = 0.0;
    double Green = 0.0;
    double Blue = 0.0;
};

class ColorList {
public:
    static constexpr double GammaLow = 0.00001;
    static constexpr double GammaHigh = 100000.0;

    ColorList() = default;
    // Copies clamp Gamma into [GammaLow, GammaHigh].
    ColorList(const ColorList& other);
    ColorList& operator=(const ColorList& other);

    PackedColor ColorAt(float t) const;
    // ColorAt's channels scaled to 0..1.
    Rgb ColorAtRGB(float t) const;

    void Append(PackedColor color) { Entries.push_back(color); }
    // Before index; an index past the end appends. -1 for a negative index.
    int32_t Insert(int32_t index, PackedColor color);
    // -1 for an index outside the list.
    int32_t Replace(int32_t index, PackedColor color);
    int32_t Remove(int32_t index);
    void Clear() { Entries.clear(); }
    int32_t Count() const { return static_cast<int32_t>(Entries.size()); }
    // Below 0 gives the first entry, past the end the last; an empty list gives 0.
    PackedColor Entry(int32_t index) const;

    // Replaces the entries with count colours of the terrain ramp from t = start to t = end.
    void FillTerrainRamp(double start, double end, int32_t count);

    std::vector<PackedColor> Entries;
    // 0 nearest, 1 linear, 2 (and 3) cubic.
    int32_t Mode = 2;
    double Gamma = 1.0;
    // Seeds the colour chooser next time.
    PackedColor LastColor = 0;
};

// The terrain ramp at t (clamped to [0, 1]): blue through green to white.
PackedColor TerrainRampColor(double t);

} // namespace korvel
