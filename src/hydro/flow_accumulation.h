#pragma once
// Flow accumulation: how many samples' worth of rain passes through each sample when every
// sample sends its water downhill, either all of it to its steepest lower neighbour (D8,
// O'Callaghan and Mark 1984) or shared among all its lower neighbours by slope and contour
// length (multiple flow directions, Quinn et al. 1991).

#include "core/erosion_fields.h"
#include "core/status.h"

#include <cstdint>

namespace korvel {

class Image;
class Progress;
class Surface;

enum FlowMethod : int32_t {
    FlowD8 = 0,
    FlowMultiple = 1,
};

enum FlowStatus : int32_t {
    FlowBadMethod = -2,
    FlowNoMemory = -3,
};
extern const StatusTable FlowTexts;

// Each sample counts 1 for its own rain. A sample with no lower neighbour (a pit, level ground,
// or a border sample whose neighbours on the map are all as high) keeps what reaches it: water
// leaves the map only there. 0 done or a FlowStatus (flow is then left as it was).
int32_t AccumulateFlow(const Surface& s, Progress& p, FlowMethod method, FlowGrid& flow);

// The selection mask from the flow: samples whose flow exceeds threshold are selected (replace),
// added to the selection or taken from it, as in SelectionOperation. -1 without a mask, with a
// flow grid of another size than the Surface or an unknown operation.
int32_t SelectWhereFlowExceeds(Surface& s, const FlowGrid& flow, double threshold,
                               int32_t operation);

// log(1 + flow) spread over the grey ramp, the largest flow white.
void DrawFlowPicture(const FlowGrid& flow, Image& picture);

} // namespace korvel
