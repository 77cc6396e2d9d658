#pragma once
// For every cell, the direction of the neighbour that rises most above it: the grid behind the
// 8-way neighbour picture and the drainage areas.

#include <array>
#include <cstdint>
#include <vector>

namespace korvel {

class Surface;
class Progress;

struct NeighbourStep {
    int32_t Dx;
    int32_t Dy;
};

// Code k leads from (x, y) to (x + Dx, y + Dy); the order decides ties.
inline constexpr std::array<NeighbourStep, 8> NeighbourSteps{
    {{-1, -1}, {0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}}};

// Border cells, and cells with no higher neighbour.
inline constexpr uint8_t NoHigherNeighbour = 8;

inline constexpr const char* FindingNeighborsText = "Finding neighbors";

// The codes of row y into codes[0 .. XSize).
void NeighbourDirectionsOfRow(const Surface& s, int32_t y, uint8_t* codes);

// The whole grid, row-major XSize x YSize, under a progress report. 0 done, -1 cancelled (rows
// not reached hold NoHigherNeighbour), -2 when the grid cannot be had.
int32_t FindNeighbourDirections(const Surface& s, Progress& p, std::vector<uint8_t>& codes);

} // namespace korvel
