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

uint8_t GreyOf(int64_t count, int64_t largest) {
    if (largest <= 0)
        return 0;
    const double g = std::trunc(static_cast<double>(count) * 255.0 / static_cast<double>(largest));
    return static_cast<uint8_t>(std::clamp(g, 0.0, 255.0));
}

} // namespace

const StatusTable DrainageTexts{"drainage areas", DrainageTextList};

int32_t DrainageCounts(const std::vector<uint8_t>& codes, int32_t width, int32_t height,
                       std::vector<int64_t>& counts) {
    const size_t n = static_cast<size_t>(width) * static_cast<size_t>(height);
    std::vector<uint8_t> pending; // children whose count has not reached the sample yet
    try {
        counts.assign(n, 0);
        pending.assign(n, 0);
    } catch (const std::bad_alloc&) {
        counts.clear();
        return DrainageNoMemory;
    }
    const std::array<ptrdiff_t, 8> step = StepOffsets(width);
    for (size_t i = 0; i < n; ++i)
        if (codes[i] < NoHigherNeighbour)
            ++pending[static_cast<size_t>(static_cast<ptrdiff_t>(i) + step[codes[i]])];
    // counts holds the paths that reached each sample so far (from its children); a sample whose
    // children are all in passes its own total up, and so on while that completes the next one.
    // Codes always climb, so there are no cycles and every sample is passed up once.
    for (size_t start = 0; start < n; ++start) {
        if (pending[start] != 0)
            continue;
        size_t i = start;
        while (codes[i] < NoHigherNeighbour) {
            counts[i] += 1; // the path that starts here
            const auto up = static_cast<size_t>(static_cast<ptrdiff_t>(i) + step[codes[i]]);
            counts[up] += counts[i];
            pending[i] = 1; // done: never started from again
            if (--pending[up] != 0)
                break;
            i = up;
        }
        if (codes[i] >= NoHigherNeighbour)
            counts[i] = 0; // the top of the paths: nothing leaves it
    }
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
    std::vector<int64_t> counts;
    p.ProgressBegin("Finding areas", 3);
    const int32_t counted = DrainageCounts(codes, s.XSize, s.YSize, counts);
    p.ProgressEnd();
    if (counted != DrainageDone)
        return counted;
    const int64_t largest = *std::max_element(counts.begin(), counts.end());

    p.ProgressBegin("Computing display", 3);
    InstallGreyPalette(picture);
    std::vector<uint8_t> greys(static_cast<size_t>(s.XSize));
    for (int32_t y = 0; y < s.YSize && !p.CancelRequested(); ++y) {
        const int64_t* row = counts.data() + static_cast<size_t>(y) * static_cast<size_t>(s.XSize);
        for (int32_t x = 0; x < s.XSize; ++x)
            greys[static_cast<size_t>(x)] = GreyOf(row[x], largest);
        picture.SetIndices(y, 0, greys.data(), s.XSize);
        p.ProgressUpdate(y, s.YSize);
        p.PumpPendingMessage();
    }
    p.ProgressEnd();
    return p.ConsumeCancel() ? DrainageCancelled : DrainageDone;
}

} // namespace korvel
