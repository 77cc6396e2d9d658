#include "formats/tga.h"

#include "formats/format_support.h"
#include "formats/height_raster.h"

#include "core/atomic_file.h"
#include "core/workspace.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <vector>

namespace korvel {

namespace {

constexpr int32_t ProgressStep = 10;
constexpr size_t HeaderSize = 18;
constexpr uint8_t TrueColour = 2;
constexpr uint8_t TopFirstBit = 0x20;
constexpr uint8_t RightToLeftBit = 0x10;
constexpr int32_t HeaderLimit = 65535;

using Bytes = std::vector<uint8_t>;

constexpr StatusText WriteTexts[] = {
    {TgaCannotCreate, "the TGA file cannot be created"},
    {TgaWriteFailed, "the TGA file cannot be written"},
    {TgaWriteCancelled, "cancelled"},
    {TgaWriteBadSize, "the picture is empty or larger than a TGA file holds (65535 x 65535)"},
    {TgaNoPalette, "a 24-bit picture has no palette for an 8-bit TGA file"},
};
constexpr StatusText ReadTexts[] = {
    {TgaUnsupported, "not an uncompressed 24-bit TGA file"},
    {TgaCannotOpen, "TGA file cannot be opened"},
    {TgaTruncated, "TGA file is shorter than its header promises"},
    {TgaBadReadSize, "TGA file has a size the Surface cannot take"},
    {TgaOutOfMemory, "out of memory for the Surface of the TGA file"},
    {TgaReadCancelled, "cancelled"},
};

Bytes MakeHeader(int32_t width, int32_t height) {
    Bytes h(HeaderSize, 0);
    h[2] = TrueColour;
    PutU16(&h[12], static_cast<uint32_t>(width));
    PutU16(&h[14], static_cast<uint32_t>(height));
    h[16] = 24;
    h[17] = TopFirstBit;
    return h;
}

// Writes the header and the rows (top first) that fillRow lays out as blue, green, red.
template <typename FillRow>
int32_t WriteRows(const std::string& path, int32_t width, int32_t height, const std::string& text,
                  Progress& progress, std::string* reason, FillRow fillRow) {
    if (width <= 0 || height <= 0 || width > HeaderLimit || height > HeaderLimit)
        return Refuse(reason, TgaWriteTexts, TgaWriteBadSize);
    AtomicFile file(path);
    if (!file.Open())
        return FileFailure(file, TgaCannotCreate, reason);
    progress.CancelFlag = 0;
    progress.ProgressBegin(text, ProgressStep);
    const Bytes header = MakeHeader(width, height);
    bool ok = file.Write(header.data(), header.size());
    Bytes row(3 * static_cast<size_t>(width));
    for (int32_t y = 0; ok && y < height && !progress.CancelRequested(); ++y) {
        fillRow(y, row.data());
        ok = file.Write(row.data(), row.size());
        progress.ProgressUpdate(y, height);
        progress.PumpPendingMessage();
    }
    return FinishWrite(file, ok, progress, TgaWriteCancelled, TgaWriteFailed, reason);
}

int32_t WriteTexture(const std::string& path, const Image& image, Progress& progress,
                     std::string* reason) {
    if (image.IsEmpty())
        return Refuse(reason, TgaWriteTexts, TgaWriteBadSize);
    return WriteRows(path, image.Width(), image.Height(), "Writing texture map as TARGA file",
                     progress, reason, [&](int32_t y, uint8_t* out) {
                         // The picture's rows are bottom-up.
                         const int32_t row = image.Height() - 1 - y;
                         for (int32_t x = 0; x < image.Width(); ++x, out += 3) {
                             PackedColor c = image.GetPixel(x, row);
                             if (image.BitsPerPixel() == 8)
                                 c = image.Palette[c & 255];
                             PutBgr(out, c);
                         }
                     });
}

// Fractint's height: truncated toward zero; NaN and values past the int range are held to it so
// the conversion is defined.
int32_t FractintHeight(float sample) {
    const double t = std::trunc(static_cast<double>(sample));
    if (std::isnan(t))
        return 0;
    return static_cast<int32_t>(std::clamp(t, double{INT_MIN}, double{INT_MAX}));
}

struct TgaLayout {
    int32_t Width = 0;
    int32_t Height = 0;
    size_t PixelsAt = 0;
    bool TopFirst = false;
    bool RightToLeft = false;

    // The pixel at column x of row y counted from the top, wherever the file's origin lies.
    const uint8_t* Pixel(const uint8_t* data, int32_t x, int32_t y) const {
        const auto row = static_cast<size_t>(TopFirst ? y : Height - 1 - y);
        const auto column = static_cast<size_t>(RightToLeft ? Width - 1 - x : x);
        return data + PixelsAt + 3 * (row * static_cast<size_t>(Width) + column);
    }
};

int32_t ParseTga(const uint8_t* data, size_t size, TgaLayout& layout, std::string* reason) {
    if (size < HeaderSize)
        return Refuse(reason, TgaReadTexts, TgaTruncated, BytesText(size, HeaderSize));
    const uint8_t mapType = data[1];
    if (data[2] != TrueColour || data[16] != 24 || mapType > 1)
        return Refuse(reason, TgaReadTexts, TgaUnsupported,
                      "image type " + std::to_string(data[2]) + ", " + std::to_string(data[16]) +
                          " bits, colour map type " + std::to_string(mapType));
    // A true-colour file may still carry a colour map; its entries sit before the pixels.
    const uint64_t mapBytes = mapType == 1 ? GetU16(data + 5) * ((data[7] + 7u) / 8u) : 0;
    const uint64_t pixelsAt = HeaderSize + data[0] + mapBytes;
    layout.Width = static_cast<int32_t>(GetU16(data + 12));
    layout.Height = static_cast<int32_t>(GetU16(data + 14));
    if (!SurfaceAcceptsSize(layout.Width, layout.Height))
        return Refuse(reason, TgaReadTexts, TgaBadReadSize, SizeText(layout.Width, layout.Height));
    const uint64_t pixels =
        3 * static_cast<uint64_t>(layout.Width) * static_cast<uint64_t>(layout.Height);
    if (pixelsAt > size || size - pixelsAt < pixels)
        return Refuse(reason, TgaReadTexts, TgaTruncated, BytesText(size, pixelsAt + pixels));
    layout.PixelsAt = static_cast<size_t>(pixelsAt);
    layout.TopFirst = (data[17] & TopFirstBit) != 0;
    layout.RightToLeft = (data[17] & RightToLeftBit) != 0;
    return 0;
}

std::string SizeText(const char* format, const TgaLayout& layout, int32_t channel = 0) {
    char text[96];
    std::snprintf(text, sizeof text, format, layout.Width, layout.Height, channel);
    return text;
}

// Resizes the Surface to the file and hands each of its cells to put(x, y, pixel); cancelled
// with the number of rows done in done.
template <typename Put>
int32_t ReadInto(const uint8_t* data, const TgaLayout& layout, const std::string& text,
                 Workspace& ws, int32_t& done, std::string* reason, Put put) {
    Surface& s = ws.TheSurface;
    if (s.Resize(layout.Width, layout.Height, -1) != 0)
        return Refuse(reason, TgaReadTexts, TgaOutOfMemory);
    Progress& progress = ws.TheProgress;
    progress.CancelFlag = 0;
    progress.ProgressBegin(text, ProgressStep);
    for (done = 0; done < s.YSize && !progress.CancelRequested(); ++done) {
        for (int32_t x = 0; x < s.XSize; ++x)
            put(x, done, layout.Pixel(data, x, done));
        progress.ProgressUpdate(done, s.YSize);
        progress.PumpPendingMessage();
    }
    progress.ProgressEnd();
    return progress.ConsumeCancel() ? Refuse(reason, TgaReadTexts, TgaReadCancelled) : 0;
}

} // namespace

const StatusTable TgaWriteTexts{"TGA writing", WriteTexts};
const StatusTable TgaReadTexts{"TGA reading", ReadTexts};

int32_t WriteTgaTexture8(const std::string& path, const Image& image, Progress& progress,
                         std::string* reason) {
    if (!image.IsEmpty() && image.BitsPerPixel() != 8)
        return Refuse(reason, TgaWriteTexts, TgaNoPalette);
    return WriteTexture(path, image, progress, reason);
}

int32_t WriteTgaTexture24(const std::string& path, const Image& image, Progress& progress,
                          std::string* reason) {
    return WriteTexture(path, image, progress, reason);
}

int32_t WriteFractintTga(const std::string& path, Workspace& ws, std::string* reason) {
    const Surface& s = ws.TheSurface;
    if (!s.HasGrid())
        return Refuse(reason, TgaWriteTexts, TgaWriteBadSize);
    // Heights outside 0..65535 come back as other heights (only the low bytes are kept).
    RoundingTally tally;
    const int32_t code = WriteRows(path, s.XSize, s.YSize, "Writing surface as Fractint TARGA file",
                                   ws.TheProgress, reason, [&](int32_t y, uint8_t* out) {
                                       for (int32_t x = 0; x < s.XSize; ++x, out += 3) {
                                           const float sample = s.Rows[y][x];
                                           const int32_t h = FractintHeight(sample);
                                           if (!(sample > -1.0f && sample < 65536.0f))
                                               ++tally.Clipped;
                                           else
                                               tally.Add(sample, h);
                                           out[0] = 0;
                                           out[1] = static_cast<uint8_t>(h % 256);
                                           out[2] = static_cast<uint8_t>(h / 256);
                                       }
                                   });
    if (code == 0)
        ws.FileNotes.push_back(tally.Report(path, 16, 1.0));
    return code;
}

int32_t ReadTgaChannelBuffer(const uint8_t* data, size_t size, int32_t channel, Workspace& ws,
                             std::string* reason) {
    if (channel < 0 || channel > 2)
        return Refuse(reason, TgaReadTexts, TgaUnsupported, "channel " + std::to_string(channel));
    TgaLayout layout;
    if (const int32_t code = ParseTga(data, size, layout, reason); code != 0)
        return code;
    Image& texture = ws.TheSurface.Texture.AsIs();
    const int32_t byte = 2 - channel; // pixels are blue, green, red
    int32_t done = 0;
    return ReadInto(
        data, layout, SizeText("Reading %d x %d TARGA image (channel %d)", layout, channel), ws,
        done, reason, [&](int32_t x, int32_t y, const uint8_t* pixel) {
            // A palette index: a 24-bit map takes the entry's colour.
            const uint8_t index = pixel[byte];
            const int32_t row = texture.Height() - 1 - y;
            texture.SetPixel(x, row, texture.BitsPerPixel() == 8 ? index : texture.Palette[index]);
        });
}

int32_t ReadTgaChannel(const std::string& path, int32_t channel, Workspace& ws,
                       std::string* reason) {
    return ReadMappedFile(
        path, reason,
        [&](const uint8_t* data, size_t size) {
            return ReadTgaChannelBuffer(data, size, channel, ws, reason);
        },
        TgaCannotOpen, TgaCannotOpen);
}

int32_t ReadFractintTgaBuffer(const uint8_t* data, size_t size, Workspace& ws,
                              std::string* reason) {
    TgaLayout layout;
    if (const int32_t code = ParseTga(data, size, layout, reason); code != 0)
        return code;
    Surface& s = ws.TheSurface;
    int32_t done = 0;
    const int32_t code =
        ReadInto(data, layout, SizeText("Reading %d x %d Fractint TARGA surface", layout), ws, done,
                 reason, [&](int32_t x, int32_t y, const uint8_t* pixel) {
                     s.Rows[y][x] = static_cast<float>(pixel[2] * 256 + pixel[1]);
                 });
    if (code == TgaOutOfMemory)
        return code;
    ZeroRowsFrom(s, done);
    s.FindMinMax(s.Min, s.Max, ws.TheProgress);
    return code;
}

int32_t ReadFractintTga(const std::string& path, Workspace& ws, std::string* reason) {
    return ReadMappedFile(
        path, reason,
        [&](const uint8_t* data, size_t size) {
            return ReadFractintTgaBuffer(data, size, ws, reason);
        },
        TgaCannotOpen, TgaCannotOpen);
}

} // namespace korvel
