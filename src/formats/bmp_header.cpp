#include "formats/bmp_header.h"

#include "formats/format_support.h"

#include <limits>

namespace korvel {

BmpStatus ParseBmpHeader(const uint8_t* data, size_t size, BmpHeader& header) {
    if (size < 2 || data[0] != 'B' || data[1] != 'M')
        return BmpStatus::NotBmp;
    if (size < BmpFileHeaderSize + BmpInfoHeaderSize)
        return BmpStatus::Truncated;
    BmpHeader h;
    h.InfoSize = GetU32(data + 14);
    if (h.InfoSize < BmpInfoHeaderSize)
        return BmpStatus::Unsupported;
    if (h.PaletteAt() > size)
        return BmpStatus::Truncated;
    h.Offset = GetU32(data + 10);
    h.Width = static_cast<int32_t>(GetU32(data + 18));
    h.Height = static_cast<int32_t>(GetU32(data + 22));
    h.Bits = GetU16(data + 28);
    h.Compression = GetU32(data + 30);
    h.ColoursUsed = GetU32(data + 46);
    header = h;
    return BmpStatus::Ok;
}

BmpStatus CountBmpPalette(const BmpHeader& header, uint32_t& entries) {
    const uint32_t colours = header.ColoursUsed == 0 ? BmpPaletteEntries : header.ColoursUsed;
    if (colours > BmpPaletteEntries || header.Offset < header.PaletteAt() + uint64_t{4} * colours)
        return BmpStatus::NotBmp;
    entries = colours;
    return BmpStatus::Ok;
}

BmpStatus CheckBmpPixels(const BmpHeader& header, size_t size) {
    // Both factors stay below 2^34 and 2^31, so the product cannot wrap.
    const uint64_t end = header.Offset + header.Stride() * static_cast<uint64_t>(header.Rows());
    return end > size ? BmpStatus::Truncated : BmpStatus::Ok;
}

const uint8_t* BmpRow(const uint8_t* data, const BmpHeader& header, int64_t y) {
    const int64_t fileRow = header.TopDown() ? header.Rows() - 1 - y : y;
    return data + header.Offset + static_cast<uint64_t>(fileRow) * header.Stride();
}

bool MakeBmpHeader(uint32_t width, uint32_t height, uint32_t bits,
                   const std::array<PackedColor, 256>& palette, std::vector<uint8_t>& out) {
    const uint32_t paletteBytes = bits == 8 ? 4 * BmpPaletteEntries : 0;
    const uint32_t offset = BmpFileHeaderSize + BmpInfoHeaderSize + paletteBytes;
    const uint64_t imageSize = uint64_t{width} * height * (bits / 8);
    if (imageSize + offset > std::numeric_limits<uint32_t>::max() ||
        height > uint32_t{std::numeric_limits<int32_t>::max()})
        return false;
    out.assign(offset, 0);
    out[0] = 'B';
    out[1] = 'M';
    PutU32(&out[2], static_cast<uint32_t>(imageSize) + offset);
    PutU32(&out[10], offset);
    PutU32(&out[14], BmpInfoHeaderSize);
    PutU32(&out[18], width);
    PutU32(&out[22], height);
    PutU16(&out[26], 1);
    PutU16(&out[28], bits);
    PutU32(&out[34], static_cast<uint32_t>(imageSize));
    for (uint32_t i = 0; i < paletteBytes / 4; ++i)
        PutBgr(&out[BmpFileHeaderSize + BmpInfoHeaderSize + 4 * i], palette[i]);
    return true;
}

std::array<PackedColor, 256> GreyPalette() {
    std::array<PackedColor, 256> grey{};
    for (uint32_t i = 0; i < grey.size(); ++i) {
        const auto level = static_cast<uint8_t>(i);
        grey[i] = PackColor(level, level, level);
    }
    return grey;
}

} // namespace korvel
