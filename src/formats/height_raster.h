#pragma once
// What the readers and writers of the GIS and image height rasters share: files store rows from
// north to south while Surface row 0 is the southern edge; widths are cut to a multiple of 4 with
// a note; no-data samples become NaN; integer samples are rounded with a report of the cost.
//
// Georeferencing: the Surface's edges are the outline of its cells (the rule of Resize and of the
// view's readout), so a sample stands for the area around it and the edges of a world map are
// -180 and 180 exactly; a file whose samples are points has its edges half a cell outside them.

#include "core/progress.h"
#include "core/surface.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace korvel {

// The row of the Surface that holds row fileRow of a file of height rows.
inline float* RowOfFileRow(Surface& s, int32_t fileRow, bool southFirst) {
    return s.Rows[southFirst ? fileRow : s.YSize - 1 - fileRow];
}
inline const float* RowOfFileRow(const Surface& s, int32_t fileRow, bool southFirst) {
    return s.Rows[southFirst ? fileRow : s.YSize - 1 - fileRow];
}

// "width 1025 cut to 1024: the editor's widths are multiples of 4" when width is not one; else
// nothing is added.
void NoteWidthCut(std::vector<std::string>& notes, const std::string& path, int32_t width);

// Edges and resolutions from the north-western corner of the outline and the size of a cell, for
// a grid of the Surface's size.
void SetOutline(Surface& s, double west, double north, double cellWidth, double cellHeight);
// The size of a cell the edges give.
double CellWidth(const Surface& s);
double CellHeight(const Surface& s);

// Counts the NaN samples (the no-data ones) and sets Min and Max from the others; a note names
// how many there were.
void FinishHeights(Surface& s, Progress& progress, std::vector<std::string>& notes,
                   const std::string& path);

// What storing heights as integers cost: the worst difference between a height and what is
// stored for it, and how many heights lay outside the range (NaN among them).
struct RoundingTally {
    double WorstError = 0.0;
    int64_t Clipped = 0;

    void Add(double height, double stored) {
        WorstError = std::max(WorstError, std::fabs(height - stored));
    }
    // "heights.png: 16-bit, step 0.153 m, worst error 0.076 m, 0 clipped"
    std::string Report(const std::string& path, int bits, double step) const;
};

// Heights to the nearest of the integers 0..top, low mapping to 0 and high to top.
class Quantizer {
public:
    Quantizer(double low, double high, uint32_t top, int bits);
    uint32_t Encode(float height);
    std::string Report(const std::string& path) const { return Tally.Report(path, Bits, StepSize); }

private:
    double Low;
    double StepSize;
    uint32_t Top;
    int Bits;
    RoundingTally Tally;
};

// Game engines take square grids of 2^n + 1 samples a side (a 1024 x 1024 Surface becomes a
// 1025 x 1025 file), chosen on writing.
enum EngineSize : int32_t {
    EngineSizeAsIs = 0,
    // Grown east and south by repeating the last column and row: every sample is kept exactly,
    // so a 2^n grid comes back unchanged once the extra column and row are cut.
    EngineSizeExtended = 1,
    // Bilinear over the whole grid with the corner samples kept: the map outline stays.
    EngineSizeResampled = 2,
};
// The smallest 2^n + 1 that is at least side.
int32_t EngineSide(int32_t side);

// The samples a height raster writer stores, row by row as the file holds them: the Surface
// itself, or the Surface at an engine size.
class StoredGrid {
public:
    StoredGrid(const Surface& s, int32_t engineSize);
    // Row fileRow of the file, counted from its first row; valid until the next call.
    const float* Row(int32_t fileRow, bool southFirst);
    // "h.png: written as 1025 x 1025, edge-extended from 1024 x 1024"; empty at the Surface's size.
    std::string Note(const std::string& path) const;

    int32_t Width = 0;
    int32_t Height = 0;
    // The outline of the stored cells, for world files and headers.
    double Left = 0.0;
    double Top = 0.0;
    double CellWidth = 0.0;
    double CellHeight = 0.0;

private:
    const Surface& S;
    int32_t Mode;
    std::vector<int32_t> Column;     // the Surface's column at or left of each stored one
    std::vector<double> ColumnShare; // the weight of the column right of it
    std::vector<float> Buffer;
};

// The name of a path without its folders, for notes.
std::string FileNameOf(const std::string& path);

} // namespace korvel
