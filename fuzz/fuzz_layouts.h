#pragma once
// What the first bytes of a fuzz input pick, shared by the fuzz targets and the corpus replay.
//
// The read window of a DTED cell or a MUSE file, from one byte: bits 0-1 SkipX, bits 2-3 SkipY,
// bits 4-5 XSize / 4, bits 6-7 YSize / 4.
//
// The layout of a binary grid: byte 0 bits 0-1 the sample type, bit 2 least significant first,
// bit 3 signed, bit 5 a subsection (the target's); byte 1 the line width; byte 2 the header
// length; byte 3 the file block's X start (low nibble) and Y start (high nibble); bytes 4 and 5
// the memory block's width and height (0: the file block's).

#include "core/dialog_fields.h"
#include "core/workspace.h"

#include <cstddef>
#include <cstdint>

namespace korvel::fuzz {

inline MuseSettings ReadWindowOf(uint8_t b) {
    return {0, b & 3, (b >> 2) & 3, ((b >> 4) & 3) * 4, ((b >> 6) & 3) * 4};
}

constexpr size_t BinaryLayoutBytes = 6;

inline BinaryImportFields BinaryLayoutOf(const uint8_t* b) {
    BinaryImportFields f;
    f.SampleType = b[0] & 3;
    f.LsbFirst = (b[0] & 4) != 0;
    f.Signed = (b[0] & 8) != 0;
    f.LineWidth = b[1];
    f.HeaderLength = b[2];
    f.FileXStart = b[3] & 15;
    f.FileYStart = b[3] >> 4;
    f.MemWidth = b[4];
    f.MemHeight = b[5];
    f.Left = 0;
    f.Right = 1;
    f.Top = 1;
    f.Bottom = 0;
    return f;
}

} // namespace korvel::fuzz
