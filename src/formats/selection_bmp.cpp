// The selection mask as an 8-bit grey BMP file, and such files (or any 8-bit palette BMP drawn
// in an image program) read back into the mask.

#include "formats/selection_bmp.h"

#include "core/atomic_file.h"
#include "core/file_map.h"
#include "core/surface.h"
#include "formats/bmp_header.h"

#include <array>
#include <cstdio>
#include <vector>

namespace korvel {

namespace {

constexpr const char* NotBmpText = "Not a BMP file";
constexpr const char* UnsupportedText =
    "Only 8-bit uncompressed BMP files can be loaded as a selection";
constexpr const char* TruncatedText = "The BMP file is truncated";

constexpr StatusText SelectionTextList[] = {
    {SelectionNoMask, "there is no selection mask"},
    {SelectionUnusableFile, "the selection file cannot be read or written"},
    {SelectionNotBmp, NotBmpText},
    {SelectionUnsupported, UnsupportedText},
    {SelectionWrongSize, "the selection file's size is not the mask's"},
};

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
        return Fail(message, "There is no selection mask to load into", SelectionNoMask);
    BmpHeader h;
    switch (ParseBmpHeader(data, size, h)) {
    case BmpStatus::Ok:
        break;
    case BmpStatus::NotBmp:
        return Fail(message, NotBmpText, SelectionNotBmp);
    case BmpStatus::Unsupported:
        return Fail(message, UnsupportedText, SelectionUnsupported);
    case BmpStatus::Truncated:
        return Fail(message, TruncatedText, SelectionNotBmp);
    }
    if (h.Bits != 8 || h.Compression != 0)
        return Fail(message, UnsupportedText, SelectionUnsupported);
    if (!h.HasShape())
        return Fail(message, NotBmpText, SelectionNotBmp);
    const int64_t rows = h.Rows();
    // Like the BMP surface reader, take up to 3 extra columns and drop them: an image of a
    // Surface read from such a file has that width.
    const int32_t columns = h.Width & ~3;
    const bool maskSize = columns == mask.Width() && rows == mask.Height();
    const bool altSize = columns == t.AltWidth && rows == t.AltHeight && columns <= mask.Width() &&
                         rows <= mask.Height();
    if (!maskSize && !altSize) {
        char text[128];
        std::snprintf(text, sizeof text, "Selection file is %d x %lld but the surface is %d x %d",
                      h.Width, static_cast<long long>(rows), t.AltWidth, t.AltHeight);
        return Fail(message, text, SelectionWrongSize);
    }
    uint32_t colours = 0;
    if (CountBmpPalette(h, colours) != BmpStatus::Ok)
        return Fail(message, NotBmpText, SelectionNotBmp);
    if (CheckBmpPixels(h, size) != BmpStatus::Ok)
        return Fail(message, TruncatedText, SelectionNotBmp);

    // Indices past a short palette have no colour; they read as unselected, as they draw black.
    std::array<uint8_t, BmpPaletteEntries> grey{};
    for (uint32_t i = 0; i < colours; ++i) {
        const uint8_t* entry = data + h.PaletteAt() + 4 * i; // blue, green, red, 0
        const uint32_t luma = 114 * entry[0] + 587 * entry[1] + 299 * entry[2];
        grey[i] = static_cast<uint8_t>((luma + 500) / 1000);
    }
    for (int32_t y = 0; y < rows; ++y) {
        const uint8_t* in = BmpRow(data, h, y);
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
        message = "Error reading from \"" + path + "\": " + ErrnoText(file.Error());
        return SelectionUnusableFile;
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

const StatusTable SelectionFileTexts{"selection file", SelectionTextList};

int32_t SaveBmp(const SelectionMask& mask, const std::string& path) {
    if (!mask.Exists())
        return SelectionNoMask;
    const auto width = static_cast<uint32_t>(mask.Width());
    const auto height = static_cast<uint32_t>(mask.Height());
    const uint32_t imageSize = width * height;
    std::vector<uint8_t> header;
    // The mask's rows are contiguous from row 0, which is the bottom-up order of a BMP.
    AtomicFile file(path);
    const bool written = file.Open() && MakeBmpHeader(width, height, 8, GreyPalette(), header) &&
                         file.Write(header.data(), header.size()) &&
                         file.Write(mask.RowPointer(0, 0), imageSize) && file.Commit();
    return written ? 0 : SelectionUnusableFile;
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
