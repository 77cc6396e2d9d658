#pragma once
// Four floats side by side for the water models' row loops, loaded and stored at any alignment.

#include <cstdint>
#include <cstring>

namespace korvel {

using Float4 = float __attribute__((vector_size(16)));
using Int4 = int32_t __attribute__((vector_size(16)));

inline Float4 Load4(const float* p) {
    Float4 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

inline void Store4(float* p, Float4 v) {
    std::memcpy(p, &v, sizeof v);
}

} // namespace korvel
