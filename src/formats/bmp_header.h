#pragma once
// The Windows bitmap headers, shared by the picture, surface and selection files: parsing that
// checks every field against the file's size before anything is read, and the headers written.

#include "core/image.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace korvel {

constexpr uint32_t BmpFileHeaderSize = 14;
constexpr uint32_t BmpInfoHeaderSize = 40;
constexpr uint32_t BmpPaletteEntries = 256;

enum class BmpStatus { Ok, NotBmp, Unsupported, Truncated };

struct BmpHeader {
    uint32_t InfoSize = 0;
    int32_t Width = 0;
    int32_t Height = 0; // negative: rows stored from the top
    uint32_t Bits = 0;
    uint32_t Compression = 0;
    uint32_t ColoursUsed = 0;
    uint32_t Offset = 0; // of the pixel rows

    bool HasShape() const { return Width > 0 && Height != 0; }
    bool TopDown() const { return Height < 0; }
    int64_t Rows() const { return Height < 0 ? -static_cast<int64_t>(Height) : Height; }
    uint64_t PaletteAt() const { return BmpFileHeaderSize + uint64_t{InfoSize}; }
    // File row length in bytes: rows are padded to a multiple of 4.
    uint64_t Stride() const {
        return (static_cast<uint64_t>(Width) * (Bits / 8) + 3) & ~uint64_t{3};
    }
};

// Signature, both headers present, an information header of 40 bytes or one of the later
// versions that extend it (the OS/2 12-byte one is Unsupported).
BmpStatus ParseBmpHeader(const uint8_t* data, size_t size, BmpHeader& header);
// The palette entries an 8-bit file carries (ColoursUsed, 0 meaning 256): NotBmp when there are
// more than 256 or the pixel rows start inside them.
BmpStatus CountBmpPalette(const BmpHeader& header, uint32_t& entries);
// Truncated when the rows the header promises run past the end; HasShape must hold.
BmpStatus CheckBmpPixels(const BmpHeader& header, size_t size);
// Row y counted from the bottom line, whichever order the file stores its rows in.
const uint8_t* BmpRow(const uint8_t* data, const BmpHeader& header, int64_t y);

// Both headers for a bottom-up picture of 8 or 24 bits and, for 8 bits, the palette as blue,
// green, red, 0 entries. False when the sizes do not fit the headers' 32-bit fields.
bool MakeBmpHeader(uint32_t width, uint32_t height, uint32_t bits,
                   const std::array<PackedColor, 256>& palette, std::vector<uint8_t>& out);
std::array<PackedColor, 256> GreyPalette();

} // namespace korvel
