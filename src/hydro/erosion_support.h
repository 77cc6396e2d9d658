#pragma once
// What the erosion, sink filling and flow operations share: a fixed division of work over a
// thread or two, and the selection mask weighting a change after the fact.

#include "core/parallel.h"

#include <cstdint>
#include <vector>

namespace korvel {

class Surface;
class Progress;

// The worker threads to use for requested (0: as many as the machine has, at most 2).
int32_t ErosionThreads(int32_t requested);

// The elevations as they were before an operation, kept only when a selection mask will weight
// the change.
class MaskedChange {
public:
    explicit MaskedChange(const Surface& s);
    // Every sample becomes before + weight * (now - before); then Min/Max are found anew.
    void Apply(Surface& s, Progress& p) const;

private:
    std::vector<float> Before;
};

} // namespace korvel
