#pragma once
// A square convolution kernel. The weights live in an A x A grid, A = max(Size, 7); the kernel
// proper is the Size x Size block centred on grid element (A/2, A/2). Every user of the weights
// (the .krn files, the definition-file block, the dialog and the convolution) addresses them
// through that block, so element (0, 0) of a 3 x 3 kernel is grid element (2, 2).
//
// The grid is held inside the object: at most 33 x 33 floats, so a kernel never fails to
// allocate and copies like a plain value.

#include <array>
#include <cstdint>

namespace korvel {

class Kernel {
public:
    static constexpr int32_t MaxSize = 33;
    static constexpr int32_t MinExtent = 7;
    // Sizes and indices in .krn files are single digits.
    static constexpr int32_t MaxFileSize = 9;

    // Size 7, scale 1.0, every weight 0.
    Kernel() = default;

    // -1 when size is outside 1..33. Otherwise Size = size rounded up to odd, a zero grid with
    // the centre 1.0 (the identity), and the other three fields stored; 0.
    int32_t SetSize(int32_t size, float scale, int32_t symmetry, int32_t mode);
    // Every weight 1.0, Scale = 1/Size^2: a box average.
    void MakeBox();
    // Every weight -1.0, the centre Size^2 + 1, Scale 1.0: the block sums to 2.
    void MakeSharpen();
    // 1 / (sum of the block's weights), or 1.0 when they sum to 0.
    float UnitScale() const;
    void CopyFrom(const Kernel& other) { *this = other; }

    // Every block weight 0 but the centre 1.0 (the identity), keeping Size and the other fields.
    void ClearBlock();

    int32_t Size() const { return KernelSize; }
    // A, the side of the grid.
    int32_t Extent() const { return GridSide; }
    // Element (i, j) of the block, row i and column j counted from 0. Outside the block: reads
    // give 0 and writes are ignored.
    float Weight(int32_t i, int32_t j) const;
    void SetWeight(int32_t i, int32_t j, float weight);
    // The Size weights of row i of the block (0 <= i < Size).
    const float* BlockRow(int32_t i) const;

    float Scale = 1.0f;
    // The dialog's entry aid: 0 None, 1 Horizontal, 2 Vertical, 3 4-way, 4 8-way.
    int32_t Symmetry = 0;
    int32_t Mode = 0;

private:
    bool InBlock(int32_t i, int32_t j) const;
    float& GridAt(int32_t row, int32_t column) { return Grid[row * GridSide + column]; }

    int32_t KernelSize = 7;
    int32_t GridSide = 7;
    // Row-major, GridSide elements a row.
    std::array<float, MaxSize * MaxSize> Grid{};
};

} // namespace korvel
