#include "hydro/flow_padded_grid.h"

#include "core/surface.h"

#include <algorithm>

namespace korvel {

FlowPaddedGrid::FlowPaddedGrid(const Surface& s, float frame)
    : Width(s.XSize), Height(s.YSize), Stride(s.XSize + 2),
      H(static_cast<size_t>(s.XSize + 2) * static_cast<size_t>(s.YSize + 2), frame) {
    const ptrdiff_t row = Stride;
    Offsets = {-1, 1, -row, row, -row - 1, -row + 1, row - 1, row + 1};
    for (int32_t y = 0; y < Height; ++y)
        std::copy_n(s.Rows[y], Width, H.data() + Index(0, y));
}

} // namespace korvel
