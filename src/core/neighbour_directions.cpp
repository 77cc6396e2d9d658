#include "core/neighbour_directions.h"

#include "core/progress.h"
#include "core/surface.h"

#include <algorithm>
#include <cstddef>
#include <new>

namespace korvel {

void NeighbourDirectionsOfRow(const Surface& s, int32_t y, uint8_t* codes) {
    const int32_t width = s.XSize;
    std::fill_n(codes, width, NoHigherNeighbour);
    if (y <= 0 || y >= s.YSize - 1)
        return;
    for (int32_t x = 1; x < width - 1; ++x) {
        const float h = s.Rows[y][x];
        float best = 0.0f;
        uint8_t code = NoHigherNeighbour;
        for (uint8_t k = 0; k < NeighbourSteps.size(); ++k) {
            const NeighbourStep& n = NeighbourSteps[k];
            // A NaN on either side never compares below best, so it is never chosen.
            const float d = h - s.Rows[y + n.Dy][x + n.Dx];
            if (d < best) {
                code = k;
                best = d;
            }
        }
        codes[x] = code;
    }
}

int32_t FindNeighbourDirections(const Surface& s, Progress& p, std::vector<uint8_t>& codes) {
    const int32_t width = s.HasGrid() ? s.XSize : 0;
    const int32_t height = s.HasGrid() ? s.YSize : 0;
    try {
        codes.assign(static_cast<size_t>(width) * static_cast<size_t>(height), NoHigherNeighbour);
    } catch (const std::bad_alloc&) {
        codes.clear();
        return -2;
    }
    p.ProgressBegin(FindingNeighborsText, 5);
    for (int32_t y = 0; y < height && !p.CancelRequested(); ++y) {
        NeighbourDirectionsOfRow(
            s, y, codes.data() + static_cast<size_t>(y) * static_cast<size_t>(width));
        p.ProgressUpdate(y, height);
        p.PumpPendingMessage();
    }
    p.ProgressEnd();
    return p.ConsumeCancel() ? -1 : 0;
}

} // namespace korvel
