#pragma once
// "&Find Lakes...": water spread over the Surface settles into its hollows by relaxation, and the
// depth is drawn into the picture. The elevations stay.

#include "core/status.h"

#include <array>
#include <cstdint>
#include <vector>

namespace korvel {

class Image;
class Surface;
class Workspace;
struct LakeFields;

enum LakeStatus : int32_t {
    LakesDone = 0,
    LakesNoMemory = -2,
};
extern const StatusTable LakeTexts;

// Sink edges hold this much water, so whatever reaches them runs off.
inline constexpr float LakeSinkWater = -1e18f;

// The two water grids and one relaxation step from the current grid to the next.
class LakeRelaxation {
public:
    // Allocates and fills both grids: the sheet level everywhere, or the depth up to the initial
    // level; then the sink edges. False when the grids cannot be had.
    bool Start(const Surface& s, const LakeFields& f);

    // Every source (water above 0) gives delta to its downhill neighbours, shared by how far each
    // lies below its water level; cells visited from (1, 1) to (XSize - 2, YSize - 2), or every
    // cell with the columns wrapping when spherical. largest receives the deepest source. True
    // when any water moved.
    bool Relax(float& largest);

    // The worker threads Relax uses (0: as many as the machine has, at most 2); the result does
    // not depend on it.
    void SetThreads(int32_t threads) { Threads = threads; }

    // The water after the last step, row-major.
    const std::vector<float>& Water() const { return Now; }

private:
    // Without wrapping: rows y0 .. y1 - 1 of the next grid gathered from their sources.
    void GatherRows(int32_t y0, int32_t y1, float& largest, bool& moved);
    void RelaxWrappingRow(int32_t y, float& largest, bool& moved);
    // Elevation plus water of a row of the current grid, kept for the three rows in use.
    const float* LevelsOf(int32_t row);
    // One source's share to its downhill neighbours, columns wrapping (level holds rows
    // y - 1 .. y + 1, nullptr for a row outside the Surface); false when none lies below it.
    bool SpreadAnywhere(int32_t x, int32_t y, const float* const level[3]);

    const Surface* S = nullptr;
    float Delta = 1.0f;
    bool Spherical = false;
    int32_t Threads = 0;
    std::vector<float> Now;
    std::vector<float> Next;
    std::vector<float> Levels;
    std::array<int32_t, 3> LevelRows{-1, -1, -1};
};

// The water picture at scale k: k <= 0 black and white by the display threshold; otherwise grey
// index clamp(trunc((236 / k) * W), 10, 235), water that is not a number at 10. The palette is
// installed first, so a 24-bit picture shows the same greys.
void DrawLakeWater(Image& picture, const std::vector<float>& water, int32_t width, int32_t height,
                   float k, float threshold);

// The command: bounds applied to f, iterations under progress with a picture every few, and the
// question whether to mark the lakes on the shaded picture.
int32_t FindLakes(Workspace& ws, LakeFields& f);

} // namespace korvel
