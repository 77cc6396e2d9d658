#pragma once
// Stamping a Brush onto the Surface: its own weights (plain and noise brushes), the terrain
// convolved under the footprint, or the terrain under a clone source.
#include "core/erosion_fields.h"
#include "paint/brush.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace korvel {

class Progress;
class RandomStream;
class Surface;

struct StampTarget {
    Surface& S;
    Progress& TheProgress;
    // The noise brushes and the drops of the hydraulic brush draw from it.
    RandomStream& Random;
    // The erosion brushes weather and rain with these.
    ThermalFields Thermal{};
    HydraulicFields Hydraulic{};
};

struct SamplePosition {
    int32_t X = 0;
    int32_t Y = 0;
};

enum StampStatus : int32_t {
    StampDone = 0,
    StampCancelled = -1, // rows done so far stay changed
    StampOutside = 1,    // the footprint (or the clone source's) holds no Surface cell
};

// What a stamp changed: the destination footprint and the extremes of the values written.
struct StampReport {
    FootprintRect Area;
    bool Wrote = false;
    float Lowest = 0.0f;
    float Highest = 0.0f;
};

// Stamps brush centred on (x, y). With a source, the terrain under the footprint centred on the
// source is taken (convolved for a Convolve brush) and applied where both footprints hold
// Surface cells. A StampStatus; the cancel test runs once a footprint row.
int32_t Stamp(Brush& brush, const StampTarget& target, int32_t x, int32_t y,
              std::optional<SamplePosition> source, StampReport& report);

// One elevation through the condition and operation of type: with the brush's weight w and V
// (perCell false) or a per-cell source S (perCell true, operand = S). A result that is not a
// finite number keeps e.
float ApplyOperation(int32_t type, float e, float w, float operand, float lo, float hi,
                     bool perCell);
bool ConditionHolds(int32_t condition, float e, float lo, float hi);

// Widens the report's extremes by a value written.
void NoteWritten(StampReport& report, float value);
// The weight of every cell of area, row-major: the brush data (within 0..1) where the mask, the
// selection and the condition let the cell change, else 0.
std::vector<float> FootprintWeights(const Brush& b, const Surface& s, const FootprintRect& area);

} // namespace korvel
