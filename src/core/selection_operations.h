#pragma once
// Editing the selection mask of a Surface: whole-mask changes, height ranges, feathering and
// grey BMP files.

#include <cstddef>
#include <cstdint>
#include <string>

namespace korvel {

class Surface;
class SelectionMask;
class Progress;

// Switches the mask on (all 0, elevations untouched) or off. 0, or the mask's Create code.
int32_t SetSelectionEnabled(Surface& s, bool on);

// how: SelectionRangeHow, operation: SelectionOperation of dialog_fields.h. -1 without a mask.
int32_t SelectHeightRange(Surface& s, double minimum, double maximum, int32_t how,
                          int32_t operation);

// Softens the mask edges over radius samples. -1 without a mask or when cancelled.
int32_t FeatherSelection(Surface& s, Progress& p, int32_t radius);

// The mask as an 8-bit grey BMP. 0, or -2 when the file cannot be written (the old file kept).
int32_t SaveBmp(const SelectionMask& mask, const std::string& path);
// An 8-bit grey BMP of the mask's size into the mask. 0, or a negative code with message set.
int32_t LoadSelectionBmp(SelectionMask& mask, const std::string& path, std::string& message);
int32_t LoadSelectionBmpBuffer(SelectionMask& mask, const uint8_t* data, size_t size,
                               std::string& message);

} // namespace korvel
