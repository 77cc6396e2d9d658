#include "core/kernel.h"

namespace korvel {

int32_t Kernel::SetSize(int32_t size, float scale, int32_t symmetry, int32_t mode) {
    if (size < 1 || size > MaxSize)
        return -1;
    KernelSize = size | 1;
    GridSide = KernelSize > MinExtent ? KernelSize : MinExtent;
    Grid.fill(0.0f);
    GridAt(GridSide / 2, GridSide / 2) = 1.0f;
    Scale = scale;
    Symmetry = symmetry;
    Mode = mode;
    return 0;
}

void Kernel::MakeBox() {
    Grid.fill(1.0f);
    Scale = 1.0f / static_cast<float>(KernelSize * KernelSize);
}

void Kernel::MakeSharpen() {
    Grid.fill(-1.0f);
    GridAt(GridSide / 2, GridSide / 2) = static_cast<float>(KernelSize * KernelSize + 1);
    Scale = 1.0f;
}

float Kernel::UnitScale() const {
    double sum = 0.0;
    for (int32_t i = 0; i < KernelSize; ++i)
        for (int32_t j = 0; j < KernelSize; ++j)
            sum += BlockRow(i)[j];
    return sum == 0.0 ? 1.0f : static_cast<float>(1.0 / sum);
}

bool Kernel::InBlock(int32_t i, int32_t j) const {
    return i >= 0 && i < KernelSize && j >= 0 && j < KernelSize;
}

float Kernel::Weight(int32_t i, int32_t j) const {
    return InBlock(i, j) ? BlockRow(i)[j] : 0.0f;
}

void Kernel::SetWeight(int32_t i, int32_t j, float weight) {
    const int32_t corner = GridSide / 2 - KernelSize / 2;
    if (InBlock(i, j))
        GridAt(corner + i, corner + j) = weight;
}

const float* Kernel::BlockRow(int32_t i) const {
    const int32_t corner = GridSide / 2 - KernelSize / 2;
    return Grid.data() + (corner + i) * GridSide + corner;
}

void Kernel::ClearBlock() {
    for (int32_t i = 0; i < KernelSize; ++i)
        for (int32_t j = 0; j < KernelSize; ++j)
            SetWeight(i, j, 0.0f);
    GridAt(GridSide / 2, GridSide / 2) = 1.0f;
}

} // namespace korvel
