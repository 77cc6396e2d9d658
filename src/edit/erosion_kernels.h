#pragma once
// The physics the whole-map erosion commands and the erosion brushes share: how much material a
// sample gives a lower neighbour beyond the talus, and the path of one drop of rain that picks up
// and lays down sediment.

#include "core/erosion_fields.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace korvel {

// What flows from a sample to a neighbour lower by drop: the part of the drop beyond the talus,
// negative when the neighbour is the higher one. Exactly odd in drop, so what one sample gives
// the other receives to the last bit.
inline float TalusExcess(float drop, float talus) {
    return std::max(drop - talus, 0.0f) + std::min(drop + talus, 0.0f);
}

constexpr int32_t MaxDropRadius = 16;

// The drops, rain, capacity and lifetime not negative, the rates in 0..1, the radius in
// 1..MaxDropRadius.
bool ValidDropParams(const HydraulicFields& p);

// The factor that takes elevations between min and max on a width x height map to the heights the
// drops run on: the relief then spans 1/256 of the larger side in samples, so that the parameters
// act alike on maps of any size and height unit.
double DropScale(int32_t width, int32_t height, double min, double max);

// The samples round a drop that give up sediment: offsets into a grid of the given row width,
// weights falling off with distance and summing to 1.
struct DropBrushCell {
    ptrdiff_t Offset;
    float Weight;
};
std::vector<DropBrushCell> MakeDropBrush(int32_t radius, int32_t width);

// A drop stays in X0 <= x < X1, Y0 <= y < Y1; the box must keep the drop's brush and its 2 x 2
// interpolation cell inside the grid.
struct DropBox {
    float X0, Y0, X1, Y1;
};

// Drops on a row-major grid of heights (already scaled to the relief the parameters expect).
struct DropletModel {
    float* H;
    int32_t Width;
    const HydraulicFields& Params;
    const std::vector<DropBrushCell>& Brush;

    // The height at (x, y), bilinear, and its gradient.
    float HeightAndGradient(float x, float y, float& gx, float& gy) const;
    // One drop from (x, y) until it dries, stops or leaves the box.
    void Drop(float x, float y, const DropBox& box) const;
};

} // namespace korvel
