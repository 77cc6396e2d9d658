#include "app/kernel_symmetry.h"

#include <algorithm>

namespace korvel {

std::vector<std::pair<int32_t, int32_t>> MirroredCells(int32_t i, int32_t j, int32_t size,
                                                       int32_t symmetry) {
    std::vector<std::pair<int32_t, int32_t>> cells;
    const auto add = [&](int32_t r, int32_t c) {
        if (std::find(cells.begin(), cells.end(), std::pair{r, c}) == cells.end())
            cells.emplace_back(r, c);
    };
    const int32_t last = size - 1;
    const bool across = symmetry == 1 || symmetry >= 3;
    const bool down = symmetry == 2 || symmetry >= 3;
    for (const auto& [r, c] : {std::pair{i, j}, std::pair{j, i}}) {
        if (symmetry < 4 && (r != i || c != j))
            break;
        add(r, c);
        if (across)
            add(r, last - c);
        if (down)
            add(last - r, c);
        if (across && down)
            add(last - r, last - c);
    }
    return cells;
}

} // namespace korvel
