#pragma once
// Filling sinks: every sample that water could not leave (a pit, or the floor of a closed
// hollow) is raised to the level at which it spills, so that from every sample a path that
// never climbs leads off the map (Priority-Flood, Barnes, Lehman and Mulla 2014; samples reached
// uphill skip the priority queue as in Zhou, Sun and Fu 2016).

#include "core/status.h"

#include <cstdint>

namespace korvel {

class Progress;
class Surface;

struct FillSinksParams {
    // Off: a filled hollow is level at its spill height. On: each filled sample is raised the
    // smallest float step above the one it drains to, so that even filled flats slope towards
    // their outlet.
    bool DrainFlats = false;
};

enum FillSinksStatus : int32_t {
    FillSinksNoMemory = -3,
};
extern const StatusTable FillSinksTexts;

// 0 done, -1 cancelled (the Surface is left as it was), or FillSinksNoMemory. The selection
// mask, where there is one, weights the change.
int32_t FillSinks(Surface& s, Progress& p, const FillSinksParams& params);

} // namespace korvel
