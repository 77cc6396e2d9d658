#include "formats/height_raster.h"

#include <cmath>
#include <cstdio>

namespace korvel {

std::string FileNameOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void NoteWidthCut(std::vector<std::string>& notes, const std::string& path, int32_t width) {
    if (width % 4 == 0)
        return;
    notes.push_back(FileNameOf(path) + ": width " + std::to_string(width) + " cut to " +
                    std::to_string(width & ~3) + ": the editor's widths are multiples of 4");
}

void SetOutline(Surface& s, double west, double north, double cellWidth, double cellHeight) {
    s.Left = west;
    s.Top = north;
    s.Right = west + cellWidth * s.XSize;
    s.Bottom = north - cellHeight * s.YSize;
    s.XRes = cellWidth;
    s.YRes = cellHeight;
}

double CellWidth(const Surface& s) {
    return (s.Right - s.Left) / std::max(s.XSize, 1);
}
double CellHeight(const Surface& s) {
    return (s.Top - s.Bottom) / std::max(s.YSize, 1);
}

void FinishHeights(Surface& s, Progress& progress, std::vector<std::string>& notes,
                   const std::string& path) {
    progress.ProgressSuppressNext();
    s.FindMinMax(s.Min, s.Max, progress);
    if (const int64_t voids = s.CountNonFinite(); voids > 0)
        notes.push_back(FileNameOf(path) + ": " + std::to_string(voids) +
                        " no-data samples, read as NaN");
}

Quantizer::Quantizer(double low, double high, uint32_t top, int bits)
    : Low(low), StepSize(high > low ? (high - low) / top : 1.0), Top(top), Bits(bits) {}

uint32_t Quantizer::Encode(float height) {
    const double t = (height - Low) / StepSize;
    // NaN fails both tests and is clipped to 0 like heights below the range.
    if (!(t >= -0.5)) {
        ++Tally.Clipped;
        return 0;
    }
    if (t > Top + 0.5) {
        ++Tally.Clipped;
        return Top;
    }
    const auto code = static_cast<uint32_t>(std::min(std::floor(t + 0.5), double(Top)));
    Tally.Add(height, Low + code * StepSize);
    return code;
}

std::string RoundingTally::Report(const std::string& path, int bits, double step) const {
    char text[160];
    std::snprintf(text, sizeof text, "%d-bit, step %.3g m, worst error %.3g m, %lld clipped", bits,
                  step, WorstError, static_cast<long long>(Clipped));
    return FileNameOf(path) + ": " + text;
}

} // namespace korvel
