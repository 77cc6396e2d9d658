#pragma once
// Operations that move elevations to other places of the grid: flips, the toroidal offset, the
// quarter turn and the cosine distortions for sphere maps. Each runs under a progress report and
// returns 0 done or -1 cancelled; other codes are noted. A Surface without a grid is left alone
// and reported as done.

#include "core/status.h"

#include <cstdint>

namespace korvel {

class Surface;
class Progress;

enum AreaStatus : int32_t {
    AreaCancelled = -1, // also when ToroidalOffset's line or Rotate90's grid cannot be had
    AreaNoRowBuffer = -2,
    AreaHeightNotMultipleOf4 = -3,
};
extern const StatusTable AreaTexts;

// Stored in the rows where no elevation is known.
constexpr float NoDataValue = -1e20f;

// A cancelled flip puts back the rows it had already moved, so the grid is as it was.
int32_t FlipVertical(Surface& s, Progress& p);
int32_t FlipHorizontal(Surface& s, Progress& p);
// A half turn: vertical, then horizontal.
int32_t FlipDiagonal(Surface& s, Progress& p);

// row[x] takes the sample dx columns to the right, column[y] the sample dy rows further on,
// wrapping around; offsets of any size or sign are taken modulo the grid's size. -1 also when
// the line buffer cannot be had (the Surface is then untouched). A cancel leaves the lines done.
int32_t ToroidalOffset(Surface& s, Progress& p, int32_t dx, int32_t dy);

// Transposes the grid (new[x][y] = old[y][x]) and swaps Left/Right, Top/Bottom and XRes/YRes;
// twice restores everything. The TextureMap is re-created blank at the new size, the mask (if
// any) empty. -1 cancelled or out of memory, -3 when the height is not a multiple of 4 (it
// would become the width); the Surface is unchanged on every failure.
int32_t Rotate90(Surface& s, Progress& p);

// Each row is resampled so that its centre |cos(phi)| of the width fills the whole row, phi
// spanning the map's latitudes symmetrically about the middle row. Min/Max become the extremes
// of the whole grid, also when cancelled. -2 when no row buffer can be had (nothing changed).
int32_t CosineDistort(Surface& s, Progress& p);
// Undoes CosineDistort row by row. Columns whose source lies beyond the distorted row repeat its
// end samples; a row that the distortion squeezed below one sample holds NoDataValue. Min/Max
// as for CosineDistort, not counting NoDataValue.
int32_t InverseCosineDistort(Surface& s, Progress& p);

} // namespace korvel
