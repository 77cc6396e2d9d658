#pragma once
// What every reader and writer of a binary format shares: little-endian fields, the Surface's
// size limits checked before anything is read, and mapping a file for a buffer reader.

#include "core/file_map.h"
#include "core/surface.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>

namespace korvel {

inline uint64_t GetLE(const uint8_t* at, int bytes) {
    uint64_t bits = 0;
    for (int i = bytes - 1; i >= 0; --i)
        bits = (bits << 8) | at[i];
    return bits;
}
inline void PutLE(uint8_t* at, uint64_t bits, int bytes) {
    for (int i = 0; i < bytes; ++i)
        at[i] = static_cast<uint8_t>(bits >> (8 * i));
}
inline uint32_t GetU32(const uint8_t* at) {
    return static_cast<uint32_t>(GetLE(at, 4));
}
inline int32_t GetI32(const uint8_t* at) {
    return static_cast<int32_t>(GetU32(at));
}
inline float GetF32(const uint8_t* at) {
    return std::bit_cast<float>(GetU32(at));
}
inline double GetF64(const uint8_t* at) {
    return std::bit_cast<double>(GetLE(at, 8));
}
inline void PutU32(uint8_t* at, uint32_t v) {
    PutLE(at, v, 4);
}
inline void PutF32(uint8_t* at, float v) {
    PutLE(at, std::bit_cast<uint32_t>(v), 4);
}
inline void PutF64(uint8_t* at, double v) {
    PutLE(at, std::bit_cast<uint64_t>(v), 8);
}

// The limits of Surface::Resize: a refused size must be caught before rows are read at some
// other width.
inline bool SurfaceAcceptsSize(int32_t width, int32_t height) {
    return width > 0 && height > 0 && width < Surface::SizeLimit && height < Surface::SizeLimit &&
           (width & ~3) > 0;
}

// Maps path and hands its bytes to read(data, size); -2 when it cannot be opened, -3 when it
// cannot be mapped.
template <class Reader> int32_t ReadMappedFile(const std::string& path, Reader read) {
    MappedFile file;
    switch (file.Open(path)) {
    case MappedFile::Status::Ok:
        break;
    case MappedFile::Status::CannotOpen:
        return -2;
    case MappedFile::Status::CannotMap:
        return -3;
    }
    return read(file.Data(), file.Size());
}

} // namespace korvel
