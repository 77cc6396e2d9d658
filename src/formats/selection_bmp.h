#pragma once
// The selection mask as a grey 8-bit BMP file.

#include "core/status.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace korvel {

class Surface;
class SelectionMask;

enum SelectionFileStatus : int32_t {
    SelectionNoMask = -1,
    SelectionUnusableFile = -2, // saving: cannot be written (the old file kept); loading: opened
    SelectionNotBmp = -3,       // not a BMP, or truncated
    SelectionUnsupported = -4,  // not 8-bit uncompressed
    SelectionWrongSize = -5,
};
extern const StatusTable SelectionFileTexts;
// The mask as an 8-bit grey BMP: 0, SelectionNoMask or SelectionUnusableFile.
int32_t SaveBmp(const SelectionMask& mask, const std::string& path);
// An 8-bit BMP of the mask's size into the mask, each pixel the grey of its palette entry; a
// file up to 3 columns wider gives its first columns, as the BMP surface reader does.
// 0, or a SelectionFileStatus with message set. The mask is unchanged on every failure.
int32_t LoadSelectionBmp(SelectionMask& mask, const std::string& path, std::string& message);
int32_t LoadSelectionBmpBuffer(SelectionMask& mask, const uint8_t* data, size_t size,
                               std::string& message);
// The same into the Surface's mask, which also takes a file of the Surface's own size (the
// mask's height is rounded up, so such a file can be shorter than the mask).
int32_t LoadSelectionBmp(Surface& s, const std::string& path, std::string& message);
int32_t LoadSelectionBmpBuffer(Surface& s, const uint8_t* data, size_t size, std::string& message);

} // namespace korvel
