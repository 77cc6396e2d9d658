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

int32_t EngineSide(int32_t side) {
    int32_t cells = 1;
    while (cells + 1 < side)
        cells *= 2;
    return cells + 1;
}

namespace {

// Position p of n stored samples on a line of `samples` Surface samples, the ends kept.
double Stretched(int32_t p, int32_t n, int32_t samples) {
    return n > 1 ? double(p) * (samples - 1) / (n - 1) : 0.0;
}

// Blends a and b; a weight of 0 gives a exactly, even when b is not finite.
float Blend(float a, float b, double share) {
    return share == 0.0 ? a : static_cast<float>(a + (double(b) - a) * share);
}

} // namespace

StoredGrid::StoredGrid(const Surface& s, int32_t engineSize)
    : Width(s.XSize), Height(s.YSize), Left(s.Left), Top(s.Top), CellWidth(korvel::CellWidth(s)),
      CellHeight(korvel::CellHeight(s)), S(s),
      Mode(engineSize == EngineSizeExtended || engineSize == EngineSizeResampled ? engineSize
                                                                                 : EngineSizeAsIs) {
    if (Mode == EngineSizeAsIs)
        return;
    const int32_t side = EngineSide(std::max(s.XSize, s.YSize));
    Width = Height = side;
    Buffer.resize(size_t(side));
    Column.resize(size_t(side));
    ColumnShare.resize(size_t(side));
    for (int32_t x = 0; x < side; ++x) {
        if (Mode == EngineSizeExtended) {
            Column[size_t(x)] = std::min(x, s.XSize - 1);
            continue;
        }
        const double u = Stretched(x, side, s.XSize);
        Column[size_t(x)] = std::min(static_cast<int32_t>(u), s.XSize - 1);
        ColumnShare[size_t(x)] = u - Column[size_t(x)];
    }
    if (Mode == EngineSizeResampled) {
        // The first and last samples stay where they were; the cells between them shrink.
        // A single row has no second sample to keep: its cells keep their height.
        const double newWidth = CellWidth * (s.XSize - 1) / (side - 1);
        const double newHeight = s.YSize > 1 ? CellHeight * (s.YSize - 1) / (side - 1) : CellHeight;
        Left += (CellWidth - newWidth) / 2;
        Top -= (CellHeight - newHeight) / 2;
        CellWidth = newWidth;
        CellHeight = newHeight;
    }
}

const float* StoredGrid::Row(int32_t fileRow, bool southFirst) {
    const int32_t fromNorth = southFirst ? Height - 1 - fileRow : fileRow;
    if (Mode == EngineSizeAsIs)
        return S.Rows[S.YSize - 1 - fromNorth];
    const auto blendColumns = [&](const float* row, size_t x) {
        const int32_t c = Column[x];
        return Blend(row[c], row[std::min(c + 1, S.XSize - 1)], ColumnShare[x]);
    };
    if (Mode == EngineSizeExtended) {
        const float* row = S.Rows[S.YSize - 1 - std::min(fromNorth, S.YSize - 1)];
        for (size_t x = 0; x < Buffer.size(); ++x)
            Buffer[x] = row[Column[x]];
        return Buffer.data();
    }
    const double v = Stretched(fromNorth, Height, S.YSize);
    const int32_t north = std::min(static_cast<int32_t>(v), S.YSize - 1);
    const double share = v - north;
    const float* upper = S.Rows[S.YSize - 1 - north];
    const float* lower = S.Rows[S.YSize - 1 - std::min(north + 1, S.YSize - 1)];
    for (size_t x = 0; x < Buffer.size(); ++x)
        Buffer[x] = Blend(blendColumns(upper, x), blendColumns(lower, x), share);
    return Buffer.data();
}

std::string StoredGrid::Note(const std::string& path) const {
    if (Mode == EngineSizeAsIs)
        return {};
    char text[160];
    std::snprintf(text, sizeof text, "written as %d x %d, %s from %d x %d", Width, Height,
                  Mode == EngineSizeExtended ? "edge-extended" : "resampled", S.XSize, S.YSize);
    return FileNameOf(path) + ": " + text;
}

std::string RoundingTally::Report(const std::string& path, int bits, double step) const {
    char text[160];
    std::snprintf(text, sizeof text, "%d-bit, step %.3g m, worst error %.3g m, %lld clipped", bits,
                  step, WorstError, static_cast<long long>(Clipped));
    return FileNameOf(path) + ": " + text;
}

} // namespace korvel
