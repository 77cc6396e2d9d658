#include "core/selection_mask.h"

#include <cstring>

namespace korvel {

int32_t SelectionMask::Create(int32_t width, int32_t height) {
    if (width < 0 || height < 0)
        return -1;
    if (width >= SizeLimit || height >= SizeLimit)
        return -2;
    Release();
    const int32_t w = (width + 3) & ~3;
    const int32_t h = (height + 3) & ~3;
    if (!Bits.Allocate(static_cast<size_t>(w) * static_cast<size_t>(h)))
        return -2;
    W = w;
    H = h;
    return 0;
}

int32_t SelectionMask::Release() {
    if (Bits.empty())
        return -1;
    Bits.Release();
    W = H = 0;
    return 0;
}

int32_t SelectionMask::SelectNone() {
    if (Bits.empty())
        return -1;
    std::memset(Bits.data(), 0, Bits.size());
    return 0;
}

int32_t SelectionMask::SelectAll() {
    if (Bits.empty())
        return -1;
    std::memset(Bits.data(), 255, Bits.size());
    return 0;
}

int32_t SelectionMask::SelectInverse() {
    if (Bits.empty())
        return -1;
    uint8_t* bytes = Bits.data();
    for (size_t i = 0; i < Bits.size(); ++i)
        bytes[i] = static_cast<uint8_t>(255 - bytes[i]);
    return 0;
}

} // namespace korvel
