#pragma once
// "&LOS Mask...": marks in the picture every sample an observer can see, by marching rays out
// over the terrain and keeping the steepest elevation met so far along each one; optionally once
// per slice altitude, each picture saved as a numbered file.

#include "core/status.h"

#include <cstdint>
#include <functional>
#include <string>

namespace korvel {

class Geoid;
class Image;
class Progress;
class Surface;
class Workspace;
struct InterpSettings;
struct LosMaskFields;

enum LineOfSightStatus : int32_t {
    LosDone = 0,
    LosCancelled = -1,
    LosNoPicture = -2,        // the picture could not be had at the Surface's size
    LosNotSaved = -3,         // a slice picture could not be written
    LosSequenceExhausted = -4 // the next picture number would pass the largest int
};
extern const StatusTable LineOfSightTexts;

inline constexpr int32_t LosClearMark = 235;
inline constexpr double LosMaxSupersample = 16.0;

// Writes the current picture to path; 0, or a failure code with message naming the file and
// the reason. The commands hand in the picture writers, which this layer cannot see.
using LosPictureSaver = std::function<int32_t(const std::string& path, std::string& message)>;

// The ray steps per sample the fields ask for: below 0.01 (or not a number) 1, at most
// LosMaxSupersample.
double LosSupersample(double asked);

// One mask into picture (the Surface's size). The observer frame uses geoid's model. With
// sliceAltitude the visibility is that of the point at that altitude above each sample, the
// ground still hiding what lies behind it. LosDone, LosCancelled (the rays cast so far stay
// drawn) or LosNoPicture.
int32_t LineOfSight(const Surface& s, const InterpSettings& interp, Geoid geoid, Image& picture,
                    Progress& p, const LosMaskFields& f, const double* sliceAltitude = nullptr);

// "LOS00007.BMP".
std::string LosPictureName(int32_t number, int32_t sequenceType);

// The command: one mask, or with Slices one per frame from SliceInitial to SliceFinal, each
// drawn on the picture as it stood before and written through save. Failures are shown to the
// person and returned.
int32_t RunLineOfSight(Workspace& ws, const Geoid& geoid, const LosPictureSaver& save);

} // namespace korvel
