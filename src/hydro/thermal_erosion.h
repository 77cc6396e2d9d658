#pragma once
// Thermal weathering: wherever the drop from a sample to a neighbour exceeds the talus, part of
// the excess slides down to that neighbour, iteration after iteration, until the slopes rest.

#include "core/status.h"

#include <cstdint>

namespace korvel {

class Progress;
class Surface;

struct ThermalErosionParams {
    int32_t Iterations = 50;
    // The largest drop between edge neighbours that stays where it is; diagonal neighbours may
    // differ by sqrt(2) times as much.
    double Talus = 1.0;
    // The part of the excess moved in one iteration, 0 to 1.
    double Amount = 0.5;
    // Off: nothing crosses the edges, so the total stays. On: what slides over an edge leaves.
    bool EdgesDrain = false;
    // 0: as many as the machine offers; the result is the same for any number.
    int32_t Threads = 0;
};

enum ThermalStatus : int32_t {
    ThermalBadParameters = -2,
    ThermalNoMemory = -3,
};
extern const StatusTable ThermalTexts;

// 0 done, -1 cancelled (the iterations done so far stay), or a ThermalStatus. The selection
// mask, where there is one, weights the change.
int32_t ThermalErode(Surface& s, Progress& p, const ThermalErosionParams& params);

} // namespace korvel
