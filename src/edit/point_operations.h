#pragma once
// Operations that change every elevation by a rule looking at that one sample. Each walks the
// rows under a progress report, blends through the selection mask when the Surface has one, and
// records the new extremes in Min/Max. 0 done, -1 cancelled; other codes are noted.

#include "core/status.h"

#include <cstdint>

namespace korvel {

class Surface;
class Progress;

enum PointStatus : int32_t {
    PointCancelled = -1,
    PointFlat = -2,     // ScaleHeightsToRange: a flat surface has no range to stretch
    PointNoLevels = -3, // ThresholdLevels: levels not positive
};
extern const StatusTable PointTexts;

int32_t ClipHeights(Surface& s, Progress& p, double lo, double hi);
// With preserve, a side of the sea level that spans 0 (sea level at Min or Max) is left as it is.
int32_t RaiseHeights(Surface& s, Progress& p, double landExp, double seaExp, bool preserve,
                     double seaLevel);
int32_t ScaleHeights(Surface& s, Progress& p, double factor, bool showProgress);
int32_t ScaleHeightsBroken(Surface& s, Progress& p, double hi, double lo, double breakValue,
                           bool showProgress);
// PointFlat when the surface is flat.
int32_t ScaleHeightsToRange(Surface& s, Progress& p, double lo, double hi, bool showProgress);
// By type: 1 broken, 2 to range, anything else single (by hi).
int32_t ApplyMapScale(Surface& s, Progress& p, int32_t type, double hi, double breakValue,
                      double lo, bool showProgress);
int32_t OffsetHeights(Surface& s, Progress& p, double amount);
int32_t ReplaceHeights(Surface& s, Progress& p, double base, double variance, double newValue);
// A negative interval gives the bins of its magnitude; 0 or a non-finite one changes nothing.
int32_t ThresholdHeights(Surface& s, Progress& p, double interval);
// PointNoLevels when levels is not positive.
int32_t ThresholdLevels(Surface& s, Progress& p, int32_t levels);

} // namespace korvel
