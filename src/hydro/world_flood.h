#pragma once
// "&World Flood...": the sea level swept through a range, one shaded picture per level, each
// optionally written as PIC00000.BMP, PIC00001.BMP ... The sea level is restored afterwards.

#include "core/status.h"

#include <cstdint>
#include <functional>
#include <string>

namespace korvel {

class Workspace;
struct WorldFloodFields;

enum WorldFloodStatus : int32_t {
    WorldFloodDone = 0,
    WorldFloodCancelled = -1,
    WorldFloodNoFrames = -2,       // the range and the count or delta give no frame
    WorldFloodZeroDelta = -3,      // a sea delta of 0 never reaches the end
    WorldFloodTooManyFrames = -4,  // more frames than an int counts, or not a number
    WorldFloodNoPicture = -5,      // the picture could not be computed
    WorldFloodNotSaved = -6,       // a picture file could not be written
    WorldFloodFramesExhausted = -7 // the next frame number would pass the largest int
};
extern const StatusTable WorldFloodTexts;

// Writes the current picture to path; 0, or a failure code with message naming the file and
// the reason. The commands hand in the picture writers, which this layer cannot see.
using PictureSaver = std::function<int32_t(const std::string& path, std::string& message)>;

// The frames and the sea level step the fields give: WorldFloodDone, or the code of a refused
// count, delta or range.
int32_t WorldFloodFrameCount(const WorldFloodFields& f, int32_t& frames, double& delta);

// "PIC00007.BMP".
std::string WorldFloodFileName(int32_t frame, int32_t fileType);

// The sweep. Refusals and a failed save are shown to the person and returned; Escape stops
// between frames (WorldFloodCancelled).
int32_t WorldFlood(Workspace& ws, WorldFloodFields& f, const PictureSaver& save);

} // namespace korvel
