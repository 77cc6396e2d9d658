#include "edit/selection_operations.h"

#include "core/dialog_fields.h"
#include "core/progress.h"
#include "core/surface.h"
#include "core/zero_buffer.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace korvel {

int32_t SetSelectionEnabled(Surface& s, bool on) {
    if (!on) {
        s.Mask.Release();
        s.Flags &= ~Surface::SurfaceHasSelection;
        return 0;
    }
    // Switching on twice keeps the selection the user has made.
    if ((s.Flags & Surface::SurfaceHasSelection) && s.Mask.Exists())
        return 0;
    // Not through Resize: that would discard the elevations.
    const int32_t code = s.Mask.Create(s.XSize, s.YSize);
    if (code != 0) {
        s.Flags &= ~Surface::SurfaceHasSelection;
        return code;
    }
    s.Flags |= Surface::SurfaceHasSelection;
    return 0;
}

int32_t SelectHeightRange(Surface& s, double minimum, double maximum, int32_t how,
                          int32_t operation) {
    if (!s.Mask.Exists() || !s.Rows)
        return -1;
    if (how != RangeBetween && how != RangeNotBetween)
        return -1;
    if (operation != SelectionReplace && operation != SelectionAdd &&
        operation != SelectionSubtract)
        return -1;
    if (minimum > maximum)
        std::swap(minimum, maximum);
    const bool outside = how == RangeNotBetween;
    const int32_t columns = std::min(s.XSize, s.Mask.Width());
    const int32_t rows = std::min(s.YSize, s.Mask.Height());
    for (int32_t y = 0; y < rows; ++y) {
        const float* heights = s.Rows[y];
        uint8_t* bytes = s.Mask.RowPointer(0, y);
        for (int32_t x = 0; x < columns; ++x) {
            const double h = heights[x];
            // Written so that a NaN elevation is outside every range.
            const bool chosen = (minimum <= h && h <= maximum) != outside;
            if (operation == SelectionReplace)
                bytes[x] = chosen ? 255 : 0;
            else if (chosen)
                bytes[x] = operation == SelectionAdd ? 255 : 0;
        }
    }
    return 0;
}

namespace {

// Beyond the largest mask a wider kernel only adds weight to the clamped border values; the cap
// keeps every window sum well inside 32 bits.
constexpr int32_t MaxFeatherRadius = SelectionMask::SizeLimit;

// Sums of row[x - r .. x + r] for every x, indices clamped into the row, by a running sum.
void WindowSums(const uint8_t* row, int32_t n, int32_t r, int32_t* sums) {
    int32_t sum = (r + 1) * row[0];
    for (int32_t k = 1; k <= std::min(r, n - 1); ++k)
        sum += row[k];
    if (r > n - 1)
        sum += (r - (n - 1)) * row[n - 1];
    for (int32_t x = 0; x < n; ++x) {
        sums[x] = sum;
        sum += row[std::min(x + r + 1, n - 1)] - row[std::max(x - r, 0)];
    }
}

} // namespace

int32_t FeatherSelection(Surface& s, Progress& p, int32_t radius) {
    if (!s.Mask.Exists() || radius < 0)
        return -1;
    if (radius == 0)
        return 0;
    const int32_t r = std::min(radius, MaxFeatherRadius);
    const int32_t columns = std::min(s.XSize, s.Mask.Width());
    const int32_t rows = std::min(s.YSize, s.Mask.Height());
    if (columns <= 0 || rows <= 0)
        return 0;

    // The result goes to a copy so that a cancel leaves the mask as it was.
    ZeroBuffer result;
    if (!result.Allocate(static_cast<size_t>(columns) * rows))
        return -2;
    std::vector<int32_t> entering(columns);
    std::vector<int32_t> leaving(columns);
    std::vector<int64_t> box(columns);

    // The vertical window of row 0, rows clamped like the columns.
    const auto rowSums = [&](int32_t y, std::vector<int32_t>& sums) {
        WindowSums(s.Mask.RowPointer(0, y), columns, r, sums.data());
    };
    rowSums(0, entering);
    for (int32_t x = 0; x < columns; ++x)
        box[x] = static_cast<int64_t>(r + 1) * entering[x];
    for (int32_t k = 1; k <= std::min(r, rows - 1); ++k) {
        rowSums(k, entering);
        for (int32_t x = 0; x < columns; ++x)
            box[x] += entering[x];
    }
    if (r > rows - 1) {
        rowSums(rows - 1, entering);
        for (int32_t x = 0; x < columns; ++x)
            box[x] += static_cast<int64_t>(r - (rows - 1)) * entering[x];
    }

    const int64_t area = static_cast<int64_t>(2 * r + 1) * (2 * r + 1);
    p.ProgressBegin("Feathering selection", 10);
    int32_t y = 0;
    for (; y < rows && !p.CancelRequested(); ++y) {
        uint8_t* out = result.data() + static_cast<size_t>(y) * columns;
        for (int32_t x = 0; x < columns; ++x)
            out[x] = static_cast<uint8_t>((box[x] + area / 2) / area);
        rowSums(std::min(y + r + 1, rows - 1), entering);
        rowSums(std::max(y - r, 0), leaving);
        for (int32_t x = 0; x < columns; ++x)
            box[x] += entering[x] - leaving[x];
        if (y % 8 == 0) {
            p.ProgressUpdate(y, rows);
            p.PumpPendingMessage();
        }
    }
    p.ProgressEnd();
    if (p.ConsumeCancel() || y < rows)
        return -1;
    for (int32_t row = 0; row < rows; ++row)
        std::memcpy(s.Mask.RowPointer(0, row), result.data() + static_cast<size_t>(row) * columns,
                    static_cast<size_t>(columns));
    return 0;
}

} // namespace korvel
