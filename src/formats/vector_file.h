#pragma once
// The simple vector file: text lines whose first character (either case) is the action and whose
// rest holds up to three numbers: "C r g b" a pen colour (0..1 each, or 0..255 when any is
// above 1), "W w" a pen width in pixels, "M lat lon" moves the pen, "L lat lon" draws a line to
// the position. Other lines, and lines with fewer numbers than their action needs, are skipped.
// The reader only collects the strokes; drawing them is the picture's business.

#include "core/image.h"
#include "core/status.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace korvel {

// A longer line is dropped whole: its tail is not read as a line of its own.
constexpr size_t MaxVectorLineLength = 511;
// A number beyond this (or not a number at all) makes its line rejected: no map is that large,
// and the drawing must never meet an overflow.
constexpr double MaxVectorValue = 1e9;
constexpr int32_t MaxVectorPenWidth = 255;

struct VectorPoint {
    double Lat = 0.0;
    double Lon = 0.0;
};

// Lines drawn one after another with one pen.
struct VectorStroke {
    PackedColor Color = 0;
    int32_t Width = 1;
    std::vector<VectorPoint> Points;
};

struct VectorDrawing {
    std::vector<VectorStroke> Strokes;
    // Lines dropped as too long or for a number that is not finite or beyond the limits.
    int64_t RejectedLines = 0;
    // Why the first of them was dropped, with its line number; empty when none was.
    std::string FirstRejection;
};

enum VectorFileStatus : int32_t {
    VectorFileCannotOpen = -2,
    VectorFileCannotMap = -3,
};
extern const StatusTable VectorFileTexts;

// Starts with a black pen one pixel wide. An "L" before any "M" only sets the pen's position:
// there is no earlier point to draw from.
VectorDrawing ReadVectorBuffer(const uint8_t* data, size_t size);
// 0, or a VectorFileStatus with the reason when reason is given.
int32_t ReadVectorFile(const std::string& path, VectorDrawing& drawing,
                       std::string* reason = nullptr);

} // namespace korvel
