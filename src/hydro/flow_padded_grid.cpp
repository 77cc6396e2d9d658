#include "hydro/flow_padded_grid.h"

#include "core/surface.h"

#include <algorithm>

namespace korvel {

FlowPaddedGrid::FlowPaddedGrid(const Surface& s, float frame)
    : Width(s.XSize), Height(s.YSize), Stride(s.XSize + 2) {
    const ptrdiff_t row = Stride;
    Offsets = {-1, 1, -row, row, -row - 1, -row + 1, row - 1, row + 1};
    // Built row by row: each sample is written once, not filled with the frame first.
    H.reserve(static_cast<size_t>(Stride) * static_cast<size_t>(Height + 2));
    H.insert(H.end(), static_cast<size_t>(Stride), frame);
    for (int32_t y = 0; y < Height; ++y) {
        H.push_back(frame);
        H.insert(H.end(), s.Rows[y], s.Rows[y] + Width);
        H.push_back(frame);
    }
    H.insert(H.end(), static_cast<size_t>(Stride), frame);
}

} // namespace korvel
