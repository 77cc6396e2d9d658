#pragma once
// The grid model behind "&Fluvial...": rain falls on the water grid W, each step lets water run
// to lower neighbours and carries sediment S with it, and the next states W', S' become the
// current ones after every frame. The elevations are only read. Nothing here bounds the water or
// the sediment: over many frames they may grow without limit, which the pictures allow for.

#include "core/status.h"

#include <cstdint>
#include <vector>

namespace korvel {

class Image;
class Progress;
class Surface;

enum FluvialStatus : int32_t {
    FluvialDone = 0,
    // -11 was the copy of the elevations, which this model reads in place instead.
    FluvialNoWater = -12,
    FluvialNoNextWater = -13,
    FluvialNoSediment = -14,
    FluvialNoNextSediment = -15,
    FluvialCancelledRain = -21,
    FluvialCancelledStep = -31,
    FluvialPictureNotSaved = -40,
};
extern const StatusTable FluvialTexts;

struct FluvialRates {
    double Capacity = 5.0;   // K
    double Deposition = 0.1; // D
};

class FluvialModel {
public:
    // All four grids at 0. FluvialDone or the code of the first grid that could not be had.
    int32_t Allocate(int32_t width, int32_t height);

    // Adds amount to the water of every cell (times its elevation with fraction on, the amount
    // then clamped to -1..1); water never goes below 0. False when cancelled (tested per row).
    bool Rain(const Surface& s, double amount, bool fraction, Progress& p);
    // One sweep over the interior cells into W' and S', then W = W', S = S'. False when
    // cancelled (tested per row; the next states are then not taken).
    bool Step(const Surface& s, const FluvialRates& rates, Progress& p);

    // The worker threads Step uses (0: as many as the machine has, at most 2); the result does
    // not depend on it.
    void SetThreads(int32_t threads) { Threads = threads; }

    int32_t Width() const { return W; }
    int32_t Height() const { return H; }
    const std::vector<float>& Water() const { return Water_; }
    const std::vector<float>& Sediment() const { return Sediment_; }

private:
    // Row y of W' and S' as the sweep leaves them, gathered cell by cell from the cell's own
    // flows and those of its neighbours in the order the sweep makes them.
    void GatherRow(const Surface& s, const FluvialRates& rates, int32_t y);

    int32_t W = 0;
    int32_t H = 0;
    int32_t Threads = 0;
    // True when NextWater holds W' as the last step left it (rain has moved W on since).
    bool NextWaterHeld = false;
    std::vector<float> Water_;
    std::vector<float> NextWater;
    std::vector<float> Sediment_;
    std::vector<float> NextSediment;
};

// The false-colour picture of a grid: index trunc(180 * clamp(v / M, 0, 1) + 48) through the
// picture's palette, M the largest finite value (1 when none is above 0). Values that are not
// finite are drawn at 48.
void DrawFluvialPicture(Image& picture, const std::vector<float>& values, int32_t width,
                        int32_t height);

} // namespace korvel
