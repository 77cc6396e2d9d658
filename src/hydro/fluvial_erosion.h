#pragma once
// "&Fluvial...": the frames of the fluvial model over the Surface, then the water and the
// sediment shown as false-colour pictures, then the shaded picture with the cells whose water
// passed the threshold marked in palette entry 0. The elevations stay as they were.

#include "hydro/world_flood.h"

#include <cstdint>
#include <vector>

namespace korvel {

class FluvialModel;
class Workspace;
struct ErosionFields;

// The frames: rain on frames 0, f, 2f ..., one step each, the view redrawn every Redraw frames,
// under the progress "Calculating Erosion Frame". FluvialDone, or the cancel code of rain or
// step (the cancel is cleared and the frames end).
int32_t RunFluvialFrames(Workspace& ws, FluvialModel& model, const ErosionFields& f);

// 1 where the water is above threshold, else 0; row-major.
std::vector<uint8_t> WaterMarks(const FluvialModel& model, double threshold);

// The whole command. save writes the picture shown to a file named by WaterFile or
// SedimentFile; a failed write is shown and returned as FluvialPictureNotSaved once the command
// has ended as usual.
int32_t FluvialErosion(Workspace& ws, const ErosionFields& f, const PictureSaver& save);

} // namespace korvel
