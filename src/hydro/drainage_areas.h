#pragma once
// "&Drainage Areas...": for every sample, how many uphill paths pass through it. A path starts at
// every sample and climbs, neighbour by neighbour, to the one that rises most above it, until it
// reaches a sample with no higher neighbour (or the border); each sample it leaves counts one.

#include "core/status.h"

#include <cstdint>
#include <vector>

namespace korvel {

class Image;
class Progress;
class Surface;

enum DrainageStatus : int32_t {
    DrainageDone = 0,
    DrainageCancelled = -1,
    DrainageNoMemory = -2,
};
extern const StatusTable DrainageTexts;

// The counts from the direction codes of a width x height grid (row-major, as
// FindNeighbourDirections gives them): a sample with code 8 counts 0, any other 1 + the counts of
// the samples whose codes lead to it. Worked leaves first, so each sample is met once.
// DrainageDone or DrainageNoMemory (counts then empty). The picture counts in 32 bits where the
// number of samples allows.
int32_t DrainageCounts(const std::vector<uint8_t>& codes, int32_t width, int32_t height,
                       std::vector<int64_t>& counts);

// Directions, counts and the picture: grey trunc(K * 255 / largest) per sample, black when no
// sample counts (an 8-bit picture gets the grey palette). The elevations stay.
int32_t DrawDrainageAreas(const Surface& s, Image& picture, Progress& p);

} // namespace korvel
