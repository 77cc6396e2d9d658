#pragma once
// The kernel dialog's entry aid: a weight typed into one cell of the block is copied into the
// cells its symmetry mirrors it to.

#include <cstdint>
#include <utility>
#include <vector>

namespace korvel {

// The cells (row, column) of a size x size block that share the weight of cell (i, j) under
// symmetry (0 None, 1 Horizontal: mirrored left to right, 2 Vertical: mirrored top to bottom,
// 3 4-way: both, 4 8-way: both and across the diagonal), (i, j) first, each cell once.
std::vector<std::pair<int32_t, int32_t>> MirroredCells(int32_t i, int32_t j, int32_t size,
                                                       int32_t symmetry);

} // namespace korvel
