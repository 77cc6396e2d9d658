#pragma once
// What every reader and writer of a file format shares: little-endian fields, the Surface's size
// limits checked before anything is read, mapping a file for a buffer reader, and the endings of
// the row loops (rows a cancel left unread, a writer's cancel or failed commit).

#include "core/atomic_file.h"
#include "core/file_map.h"
#include "core/progress.h"
#include "core/status.h"
#include "core/surface.h"

#include <algorithm>

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
inline uint32_t GetU16(const uint8_t* at) {
    return static_cast<uint32_t>(GetLE(at, 2));
}
inline int16_t GetI16(const uint8_t* at) {
    return static_cast<int16_t>(GetLE(at, 2));
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
inline void PutU16(uint8_t* at, uint32_t v) {
    PutLE(at, v, 2);
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

// Particulars of a refusal: "1,024 of 1,088 bytes" a file has of what it promises, "8 x 3" a size.
inline std::string BytesText(uint64_t have, uint64_t need) {
    return GroupedNumber(have) + " of " + GroupedNumber(need) + " bytes";
}
inline std::string SizeText(int64_t width, int64_t height) {
    return std::to_string(width) + " x " + std::to_string(height);
}

// Maps path and hands its bytes to read(data, size). A file that cannot be opened or mapped
// gives cannotOpen or cannotMap, with the system's reason.
template <class Reader>
int32_t ReadMappedFile(const std::string& path, std::string* reason, Reader read,
                       int32_t cannotOpen = -2, int32_t cannotMap = -3) {
    MappedFile file;
    switch (file.Open(path)) {
    case MappedFile::Status::Ok:
        break;
    case MappedFile::Status::CannotOpen:
        return Refuse(reason, cannotOpen, ErrnoText(file.Error()));
    case MappedFile::Status::CannotMap:
        return Refuse(reason, cannotMap, "cannot map it: " + ErrnoText(file.Error()));
    }
    return read(file.Data(), file.Size());
}

// Resize keeps the old samples when the size is unchanged: rows from y on, which a cancel left
// unread, must not show the previous surface.
inline void ZeroRowsFrom(Surface& s, int32_t y) {
    for (; y < s.YSize; ++y)
        std::fill_n(s.Rows[y], s.XSize, 0.0f);
}

// code with the system's reason for the file's failure (create, write or rename).
inline int32_t FileFailure(const AtomicFile& file, int32_t code, std::string* reason) {
    return Refuse(reason, code, ErrnoText(file.Error()));
}

// The end of every writer's row loop: progress closed, then a cancelled file abandoned (the
// temporary goes, the old file stays), else the file put in place. ok: every write succeeded.
inline int32_t FinishWrite(AtomicFile& file, bool ok, Progress& progress, int32_t cancelled,
                           int32_t failed, std::string* reason) {
    progress.ProgressEnd();
    if (progress.ConsumeCancel())
        return Refuse(reason, cancelled, "cancelled");
    if (ok && file.Commit())
        return 0;
    return FileFailure(file, failed, reason);
}

// A height as a signed 16-bit sample: truncated toward zero, clamped to the type's range, NaN as 0.
inline int16_t ShortOfHeight(float v) {
    if (!(v == v))
        return 0;
    if (v <= -32768.0f)
        return -32768;
    if (v >= 32767.0f)
        return 32767;
    return static_cast<int16_t>(v);
}

} // namespace korvel
