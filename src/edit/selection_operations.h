#pragma once
// Editing the selection mask of a Surface: whole-mask changes, height ranges and feathering.

#include <cstdint>

namespace korvel {

class Surface;
class SelectionMask;
class Progress;

// Switches the mask on (all 0, elevations untouched) or off. 0, or the mask's Create code.
int32_t SetSelectionEnabled(Surface& s, bool on);

// how: SelectionRangeHow, operation: SelectionOperation of dialog_fields.h; limits in either
// order. -1 without a mask or grid, or with an unknown how or operation.
int32_t SelectHeightRange(Surface& s, double minimum, double maximum, int32_t how,
                          int32_t operation);

// Softens the mask edges over radius samples: samples farther than radius from any change of
// value keep it. -1 without a mask, with a negative radius or when cancelled (mask unchanged);
// -2 out of memory.
int32_t FeatherSelection(Surface& s, Progress& p, int32_t radius);

} // namespace korvel
