// The selection mask as an 8-bit grey BMP file, and such files (or any 8-bit palette BMP drawn
// in an image program) read back into the mask.

#include "core/atomic_file.h"
#include "core/file_map.h"
#include "core/selection_operations.h"
#include "core/surface.h"

#include <array>
#include <cstdio>
#include <cstring>

namespace korvel {

namespace {

constexpr uint32_t FileHeaderSize = 14;
constexpr uint32_t InfoHeaderSize = 40;
constexpr uint32_t PaletteEntries = 256;
constexpr uint32_t BitsOffset = FileHeaderSize + InfoHeaderSize + PaletteEntries * 4; // 1078

constexpr const char* NotBmpText = "Not a BMP file";
constexpr const char* UnsupportedText =
    "Only 8-bit uncompressed BMP files can be loaded as a selection";
constexpr const char* TruncatedText = "The BMP file is truncated";

void PutU16(uint8_t* at, uint32_t value) {
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

void PutU32(uint8_t* at, uint32_t value) {
    PutU16(at, value);
    PutU16(at + 2, value >> 16);
}

uint32_t GetU16(const uint8_t* at) {
    return static_cast<uint32_t>(at[0] | at[1] << 8);
}

uint32_t GetU32(const uint8_t* at) {
    return GetU16(at) | GetU16(at + 2) << 16;
}

// A file loads when it has the mask's size or the alternative one (not larger than the mask);
// a refusal names the alternative.
struct Target {
    SelectionMask& Mask;
    int32_t AltWidth;
    int32_t AltHeight;
};

int32_t Fail(std::string& message, const char* text, int32_t code) {
    message = text;
    return code;
}

int32_t LoadInto(const Target& t, const uint8_t* data, size_t size, std::string& message) {
    SelectionMask& mask = t.Mask;
    if (!mask.Exists())
        return Fail(message, "There is no selection mask to load into", -1);
    if (size < 2 || data[0] != 'B' || data[1] != 'M')
        return Fail(message, NotBmpText, -3);
    if (size < FileHeaderSize + InfoHeaderSize)
        return Fail(message, TruncatedText, -3);
    // Later header versions (108, 124 bytes) extend the 40-byte one; the OS/2 12-byte one differs.
    const uint64_t infoSize = GetU32(data + 14);
    if (infoSize < InfoHeaderSize)
        return Fail(message, UnsupportedText, -4);
    if (FileHeaderSize + infoSize > size)
        return Fail(message, TruncatedText, -3);
    if (GetU16(data + 28) != 8 || GetU32(data + 30) != 0)
        return Fail(message, UnsupportedText, -4);
    const auto width = static_cast<int32_t>(GetU32(data + 18));
    const auto height = static_cast<int32_t>(GetU32(data + 22));
    if (width <= 0 || height == 0)
        return Fail(message, NotBmpText, -3);
    // A negative height stores the rows from the top.
    const bool topDown = height < 0;
    const int64_t rows = topDown ? -static_cast<int64_t>(height) : height;
    // Like the BMP surface reader, take up to 3 extra columns and drop them: an image of a
    // Surface read from such a file has that width.
    const int32_t columns = width & ~3;
    const bool maskSize = columns == mask.Width() && rows == mask.Height();
    const bool altSize = columns == t.AltWidth && rows == t.AltHeight && columns <= mask.Width() &&
                         rows <= mask.Height();
    if (!maskSize && !altSize) {
        char text[128];
        std::snprintf(text, sizeof text, "Selection file is %d x %lld but the surface is %d x %d",
                      width, static_cast<long long>(rows), t.AltWidth, t.AltHeight);
        return Fail(message, text, -5);
    }
    const uint32_t colours = GetU32(data + 46) == 0 ? PaletteEntries : GetU32(data + 46);
    if (colours > PaletteEntries)
        return Fail(message, NotBmpText, -3);
    const uint64_t paletteAt = FileHeaderSize + infoSize;
    const uint64_t offset = GetU32(data + 10);
    if (offset < paletteAt + uint64_t{4} * colours)
        return Fail(message, NotBmpText, -3);
    const uint64_t stride = (static_cast<uint64_t>(width) + 3) & ~uint64_t{3};
    if (offset + stride * static_cast<uint64_t>(rows) > size)
        return Fail(message, TruncatedText, -3);

    // Indices past a short palette have no colour; they read as unselected, as they draw black.
    std::array<uint8_t, PaletteEntries> grey{};
    for (uint32_t i = 0; i < colours; ++i) {
        const uint8_t* entry = data + paletteAt + 4 * i; // blue, green, red, 0
        const uint32_t luma = 114 * entry[0] + 587 * entry[1] + 299 * entry[2];
        grey[i] = static_cast<uint8_t>((luma + 500) / 1000);
    }
    for (int32_t y = 0; y < rows; ++y) {
        const int64_t fileRow = topDown ? rows - 1 - y : y;
        const uint8_t* in = data + offset + static_cast<uint64_t>(fileRow) * stride;
        uint8_t* out = mask.RowPointer(0, y);
        for (int32_t x = 0; x < columns; ++x)
            out[x] = grey[in[x]];
    }
    message.clear();
    return 0;
}

int32_t LoadFile(const Target& t, const std::string& path, std::string& message) {
    MappedFile file;
    if (file.Open(path) != MappedFile::Status::Ok) {
        message = "Error reading from \"" + path + "\"";
        return -2;
    }
    return LoadInto(t, file.Data(), file.Size(), message);
}

Target MaskOnly(SelectionMask& mask) {
    return {mask, mask.Width(), mask.Height()};
}

Target OfSurface(Surface& s) {
    return {s.Mask, s.XSize, s.YSize};
}

} // namespace

int32_t SaveBmp(const SelectionMask& mask, const std::string& path) {
    if (!mask.Exists())
        return -1;
    const auto width = static_cast<uint32_t>(mask.Width());
    const auto height = static_cast<uint32_t>(mask.Height());
    const uint32_t imageSize = width * height;
    std::array<uint8_t, BitsOffset> header{};
    header[0] = 'B';
    header[1] = 'M';
    PutU32(&header[2], imageSize + BitsOffset);
    PutU32(&header[10], BitsOffset);
    PutU32(&header[14], InfoHeaderSize);
    PutU32(&header[18], width);
    PutU32(&header[22], height);
    PutU16(&header[26], 1);
    PutU16(&header[28], 8);
    PutU32(&header[34], imageSize);
    for (uint32_t i = 0; i < PaletteEntries; ++i)
        std::memset(&header[FileHeaderSize + InfoHeaderSize + 4 * i], static_cast<int>(i), 3);

    // The mask's rows are contiguous from row 0, which is the bottom-up order of a BMP.
    AtomicFile file(path);
    const bool written = file.Open() && file.Write(header.data(), header.size()) &&
                         file.Write(mask.RowPointer(0, 0), imageSize) && file.Commit();
    return written ? 0 : -2;
}

int32_t LoadSelectionBmp(SelectionMask& mask, const std::string& path, std::string& message) {
    return LoadFile(MaskOnly(mask), path, message);
}

int32_t LoadSelectionBmpBuffer(SelectionMask& mask, const uint8_t* data, size_t size,
                               std::string& message) {
    return LoadInto(MaskOnly(mask), data, size, message);
}

int32_t LoadSelectionBmp(Surface& s, const std::string& path, std::string& message) {
    return LoadFile(OfSurface(s), path, message);
}

int32_t LoadSelectionBmpBuffer(Surface& s, const uint8_t* data, size_t size, std::string& message) {
    return LoadInto(OfSurface(s), data, size, message);
}

} // namespace korvel
