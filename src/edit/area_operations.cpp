#include "edit/area_operations.h"

#include "core/extremes.h"
#include "core/grid.h"
#include "core/progress.h"
#include "core/surface.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <new>
#include <numbers>
#include <utility>

namespace korvel {

namespace {

constexpr int32_t Step = 9;

void SwapWithMirrorRow(Surface& s, int32_t y) {
    float* row = s.Rows[y];
    std::swap_ranges(row, row + s.XSize, s.Rows[s.YSize - 1 - y]);
}

void ReverseRow(Surface& s, int32_t y) {
    std::reverse(s.Rows[y], s.Rows[y] + s.XSize);
}

// Runs change(y) for lines 0..count-1 under a progress report with an update after every line.
// Both flips are their own inverse, so a cancel runs change again over the lines already done.
template <class Change>
int32_t FlipLines(Surface& s, Progress& p, const char* text, int32_t count, Change change) {
    if (!s.HasGrid())
        return 0;
    p.ProgressBegin(text, Step);
    int32_t done = 0;
    for (; done < count && !p.CancelRequested(); ++done) {
        change(s, done);
        p.ProgressUpdate(done, count);
        p.PumpPendingMessage();
    }
    p.ProgressEnd();
    if (!p.ConsumeCancel())
        return 0;
    for (int32_t y = 0; y < done; ++y)
        change(s, y);
    return AreaCancelled;
}

// d reduced into 0..n-1.
int32_t WrapOffset(int32_t d, int32_t n) {
    const int32_t r = d % n;
    return r < 0 ? r + n : r;
}

// The no-data marker is not an elevation.
void AddElevations(Extremes& e, const float* row, int32_t width) {
    for (int32_t x = 0; x < width; ++x)
        if (row[x] != NoDataValue)
            e.Add(row[x]);
}

std::unique_ptr<float[]> LineBuffer(int32_t length) {
    return std::unique_ptr<float[]>(new (std::nothrow) float[static_cast<size_t>(length)]);
}

// NaN edges fall to the south pole rather than into the trigonometry.
double ClampLatitude(double v) {
    return v >= -90.0 ? (v <= 90.0 ? v : 90.0) : -90.0;
}

// |cos(phi)| of row y, phi running over the map's latitude span centred on the middle row.
class RowSqueeze {
public:
    explicit RowSqueeze(const Surface& s) : Rows(s.YSize) {
        double a = ClampLatitude(s.Bottom);
        double b = ClampLatitude(s.Top);
        if (a > b)
            std::swap(a, b);
        Span = b - a;
    }
    double At(int32_t y) const {
        const double phi = static_cast<double>(y) / Rows * Span - Span / 2.0;
        return std::fabs(std::cos(phi * std::numbers::pi / 180.0));
    }

private:
    int32_t Rows;
    double Span = 0.0;
};

// Linear interpolation in line at position t, indices clamped into the line. The upper index is
// the lower one plus 1: trunc(t + 1) rounds up to i0 + 2 when t lies just below a whole number.
float Interpolate(const float* line, int32_t width, double t) {
    const auto i0 =
        static_cast<int32_t>(std::clamp(std::trunc(t), 0.0, static_cast<double>(width - 1)));
    const int32_t i1 = std::min(i0 + 1, width - 1);
    return static_cast<float>(line[i0] + (line[i1] - line[i0]) * (t - i0));
}

// Output sample x comes from position x k + off of the original, off centring the band.
void StretchCentre(float* row, const float* copy, int32_t width, double k) {
    const double off = (width - k * width) / 2.0;
    for (int32_t x = 0; x < width; ++x)
        row[x] = Interpolate(copy, width, x * k + off);
}

// The inverse of StretchCentre: original column u lay at (u - off)/k of the stretched row.
void SqueezeBack(float* row, const float* copy, int32_t width, double k) {
    const double c = k * width;
    // Narrower than one sample: the stretch kept nothing of this row to give back.
    if (c < 1.0) {
        std::fill_n(row, width, NoDataValue);
        return;
    }
    const double off = (width - c) / 2.0;
    const double last = width - 1;
    for (int32_t u = 0; u < width; ++u)
        row[u] = Interpolate(copy, width, std::clamp((u - off) / k, 0.0, last));
}

// The row loop shared by both distortions. Min/Max cover the whole grid, rows left unprocessed
// by a cancel included, so the shading of a partial result still spans every elevation.
int32_t DistortRows(Surface& s, Progress& p, const char* text,
                    void (*rowChange)(float*, const float*, int32_t, double)) {
    if (!s.HasGrid() || s.YSize <= 0 || s.XSize <= 0)
        return 0;
    const std::unique_ptr<float[]> copy = LineBuffer(s.XSize);
    if (!copy)
        return AreaNoRowBuffer;
    const RowSqueeze squeeze(s);
    p.ProgressBegin(text, Step);
    Extremes e;
    int32_t y = 0;
    for (; y < s.YSize && !p.CancelRequested(); ++y) {
        float* row = s.Rows[y];
        std::copy_n(row, s.XSize, copy.get());
        rowChange(row, copy.get(), s.XSize, squeeze.At(y));
        AddElevations(e, row, s.XSize);
        if (y % 8 == 0) {
            p.ProgressUpdate(y, s.YSize);
            p.PumpPendingMessage();
        }
    }
    for (int32_t rest = y; rest < s.YSize; ++rest)
        AddElevations(e, s.Rows[rest], s.XSize);
    p.ProgressEnd();
    e.StoreIn(s);
    return p.ConsumeCancel() ? -1 : 0;
}

constexpr StatusText AreaTextList[] = {
    {AreaCancelled, "cancelled, or out of memory"},
    {AreaNoRowBuffer, "out of memory for a row"},
    {AreaHeightNotMultipleOf4, "the height is not a multiple of 4, so it cannot become the width"},
};

} // namespace

const StatusTable AreaTexts{"the area operation", AreaTextList};

int32_t FlipVertical(Surface& s, Progress& p) {
    return FlipLines(s, p, "Flipping surface vertically", s.YSize / 2, SwapWithMirrorRow);
}

int32_t FlipHorizontal(Surface& s, Progress& p) {
    return FlipLines(s, p, "Flipping surface horizontally", s.YSize, ReverseRow);
}

int32_t FlipDiagonal(Surface& s, Progress& p) {
    const int32_t code = FlipVertical(s, p);
    if (code != 0)
        return code;
    if (FlipHorizontal(s, p) == 0)
        return 0;
    // The horizontal half put its rows back; the vertical half is undone here, unreported.
    for (int32_t y = 0; y < s.YSize / 2; ++y)
        SwapWithMirrorRow(s, y);
    return AreaCancelled;
}

int32_t ToroidalOffset(Surface& s, Progress& p, int32_t dx, int32_t dy) {
    if (!s.HasGrid() || s.XSize <= 0 || s.YSize <= 0)
        return 0;
    char text[64];
    std::snprintf(text, sizeof text, "Toroidal rotation by %d, %d (Y)", dx, dy);
    p.ProgressBegin(text, Step);
    const int32_t shiftX = WrapOffset(dx, s.XSize);
    const int32_t shiftY = WrapOffset(dy, s.YSize);
    const std::unique_ptr<float[]> line = LineBuffer(std::max(s.XSize, s.YSize));
    if (!line) {
        p.ProgressEnd();
        p.CancelFlag = 0;
        return AreaCancelled;
    }
    for (int32_t y = 0; shiftX != 0 && y < s.YSize && !p.CancelRequested(); ++y) {
        float* row = s.Rows[y];
        std::copy_n(row, s.XSize, line.get());
        // row[x] = old[x + shiftX], wrapping once.
        std::copy(line.get() + shiftX, line.get() + s.XSize, row);
        std::copy_n(line.get(), shiftX, row + s.XSize - shiftX);
        if (y % 8 == 0) {
            p.ProgressUpdate(y, 2.0 * s.YSize);
            p.PumpPendingMessage();
        }
    }
    for (int32_t x = 0; shiftY != 0 && x < s.XSize && !p.CancelRequested(); ++x) {
        for (int32_t y = 0; y < s.YSize; ++y)
            line[y] = s.Rows[y][x];
        for (int32_t y = 0; y < s.YSize; ++y) {
            const int32_t from = y + shiftY;
            s.Rows[y][x] = line[from < s.YSize ? from : from - s.YSize];
        }
        if (x % 8 == 0) {
            p.ProgressUpdate(x + s.XSize, 2.0 * s.XSize);
            p.PumpPendingMessage();
        }
    }
    p.ProgressEnd();
    return p.ConsumeCancel() ? -1 : 0;
}

int32_t Rotate90(Surface& s, Progress& p) {
    if (!s.HasGrid())
        return 0;
    // The height becomes the width, which must stay a multiple of 4.
    if (s.YSize % 4 != 0)
        return AreaHeightNotMultipleOf4;
    const int32_t oldX = s.XSize;
    const int32_t oldY = s.YSize;
    p.ProgressBegin("Rotate 90 degrees", Step);
    // Everything of the new shape is had before anything changes, so a failure changes nothing.
    float** turned = GridAllocOf<float>(oldY, oldX);
    Image texture;
    SelectionMask mask;
    Image aux24;
    Image aux8;
    bool ok = turned != nullptr && texture.Create(oldY, oldX, 24) == 0;
    if (ok && s.Mask.Exists())
        ok = mask.Create(oldY, oldX) == 0;
    if (ok && !s.AuxImage24.IsEmpty())
        ok = aux24.Create(oldY, oldX, 24) == 0 && aux8.Create(oldY, oldX, 8) == 0;
    if (!ok) {
        GridFreeOf(turned);
        p.ProgressEnd();
        return AreaCancelled;
    }
    for (int32_t y = 0; y < oldY && !p.CancelRequested(); ++y) {
        const float* row = s.Rows[y];
        for (int32_t x = 0; x < oldX; ++x)
            turned[x][y] = row[x];
        if (y % 8 == 0) {
            p.ProgressUpdate(y, oldY);
            p.PumpPendingMessage();
        }
    }
    p.ProgressEnd();
    if (p.ConsumeCancel()) {
        GridFreeOf(turned);
        return AreaCancelled;
    }
    GridFreeOf(s.Rows);
    s.Rows = turned;
    std::swap(s.XSize, s.YSize);
    std::swap(s.Left, s.Right);
    std::swap(s.Top, s.Bottom);
    std::swap(s.XRes, s.YRes);
    s.Texture.Adopt(std::move(texture));
    if (s.Mask.Exists())
        s.Mask = std::move(mask);
    if (!s.AuxImage24.IsEmpty()) {
        s.AuxImage24 = std::move(aux24);
        s.AuxImage8 = std::move(aux8);
    }
    return 0;
}

int32_t CosineDistort(Surface& s, Progress& p) {
    return DistortRows(s, p, "Distorting surface for sphere map", StretchCentre);
}

int32_t InverseCosineDistort(Surface& s, Progress& p) {
    return DistortRows(s, p, "Undistorting surface from sphere map", SqueezeBack);
}

} // namespace korvel
