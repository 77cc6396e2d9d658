#include "hydro/drainage_areas.h"

#include "core/image.h"
#include "core/neighbour_directions.h"
#include "core/progress.h"
#include "core/surface.h"
#include "shading/gray_maps.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <limits>
#include <new>

namespace korvel {

namespace {

constexpr StatusText DrainageTextList[] = {
    {DrainageCancelled, "cancelled"},
    {DrainageNoMemory, "out of memory for the direction and count grids"},
};

// The row-major offset of each code's step.
std::array<ptrdiff_t, 8> StepOffsets(int32_t width) {
    std::array<ptrdiff_t, 8> offsets{};
    for (size_t k = 0; k < NeighbourSteps.size(); ++k)
        offsets[k] = ptrdiff_t{NeighbourSteps[k].Dy} * width + NeighbourSteps[k].Dx;
    return offsets;
}

template <class Count> uint8_t GreyOf(Count count, Count largest) {
    if (largest == 0)
        return 0;
    const double g = std::trunc(static_cast<double>(count) * 255.0 / static_cast<double>(largest));
    return static_cast<uint8_t>(std::clamp(g, 0.0, 255.0));
}

// The counts into counts (zeroed, one per code). The high nibble of each code counts the children
// whose total has not reached it yet; a sample whose children are all in passes its own total up,
// and so on while that completes the next one. Codes always climb, so there are no cycles and
// every sample is passed up once: leaves first, in O(n).
template <class Count> void CountPaths(std::vector<uint8_t>& codes, int32_t width, Count* counts) {
    constexpr uint8_t Low = 0x0F;
    constexpr uint8_t Child = 0x10;
    const size_t n = codes.size();
    const std::array<ptrdiff_t, 8> step = StepOffsets(width);
    const auto upOf = [&](size_t i) {
        return static_cast<size_t>(static_cast<ptrdiff_t>(i) + step[codes[i] & Low]);
    };
    for (size_t i = 0; i < n; ++i)
        if ((codes[i] & Low) < NoHigherNeighbour)
            codes[upOf(i)] = static_cast<uint8_t>(codes[upOf(i)] + Child);
    for (size_t start = 0; start < n; ++start) {
        if (codes[start] >= Child)
            continue;
        size_t i = start;
        while ((codes[i] & Low) < NoHigherNeighbour) {
            counts[i] += 1; // the path that starts here
            const size_t up = upOf(i);
            counts[up] += counts[i];
            codes[i] = static_cast<uint8_t>(codes[i] | 0xF0); // done: never started from again
            codes[up] = static_cast<uint8_t>(codes[up] - Child);
            if (codes[up] >= Child)
                break;
            i = up;
        }
        if ((codes[i] & Low) >= NoHigherNeighbour)
            counts[i] = 0; // the top of the paths: nothing leaves it
    }
}

template <class Count>
int32_t DrawCounts(const Surface& s, Image& picture, Progress& p, std::vector<uint8_t>& codes) {
    std::vector<Count> counts;
    try {
        counts.assign(codes.size(), 0);
    } catch (const std::bad_alloc&) {
        return DrainageNoMemory;
    }
    p.ProgressBegin("Finding areas", 3);
    CountPaths(codes, s.XSize, counts.data());
    p.ProgressEnd();
    const Count largest = *std::max_element(counts.begin(), counts.end());

    p.ProgressBegin("Computing display", 3);
    InstallGreyPalette(picture);
    std::vector<uint8_t> greys(static_cast<size_t>(s.XSize));
    for (int32_t y = 0; y < s.YSize && !p.CancelRequested(); ++y) {
        const Count* row = counts.data() + static_cast<size_t>(y) * static_cast<size_t>(s.XSize);
        for (int32_t x = 0; x < s.XSize; ++x)
            greys[static_cast<size_t>(x)] = GreyOf(row[x], largest);
        picture.SetIndices(y, 0, greys.data(), s.XSize);
        p.ProgressUpdate(y, s.YSize);
        p.PumpPendingMessage();
    }
    p.ProgressEnd();
    return p.ConsumeCancel() ? DrainageCancelled : DrainageDone;
}

} // namespace

const StatusTable DrainageTexts{"drainage areas", DrainageTextList};

int32_t DrainageCounts(const std::vector<uint8_t>& codes, int32_t width, int32_t height,
                       std::vector<int64_t>& counts) {
    std::vector<uint8_t> marked;
    try {
        marked.assign(codes.begin(), codes.begin() + static_cast<ptrdiff_t>(width) * height);
        counts.assign(marked.size(), 0);
    } catch (const std::bad_alloc&) {
        counts.clear();
        return DrainageNoMemory;
    }
    CountPaths(marked, width, counts.data());
    return DrainageDone;
}

int32_t DrawDrainageAreas(const Surface& s, Image& picture, Progress& p) {
    if (!s.HasGrid())
        return DrainageDone;
    std::vector<uint8_t> codes;
    const int32_t found = FindNeighbourDirections(s, p, codes);
    if (found == -1)
        return DrainageCancelled;
    if (found != 0)
        return DrainageNoMemory;
    // No count exceeds the number of samples: 32 bits suffice below 2^32 of them, and halve the
    // memory of the largest grid.
    if (codes.size() <= std::numeric_limits<uint32_t>::max())
        return DrawCounts<uint32_t>(s, picture, p, codes);
    return DrawCounts<uint64_t>(s, picture, p, codes);
}

} // namespace korvel
