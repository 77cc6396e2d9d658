#include "formats/tga.h"

#include "formats/format_support.h"

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

Bytes MakeHeader(int32_t width, int32_t height) {
    Bytes h(HeaderSize, 0);
    h[2] = TrueColour;
    PutLE(&h[12], static_cast<uint64_t>(width), 2);
    PutLE(&h[14], static_cast<uint64_t>(height), 2);
    h[16] = 24;
    h[17] = TopFirstBit;
    return h;
}

// Writes the header and the rows (top first) that fillRow lays out as blue, green, red.
template <typename FillRow>
int32_t WriteRows(const std::string& path, int32_t width, int32_t height, const std::string& text,
                  Progress& progress, FillRow fillRow) {
    if (width <= 0 || height <= 0 || width > HeaderLimit || height > HeaderLimit)
        return -4;
    AtomicFile file(path);
    if (!file.Open())
        return -1;
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
    progress.ProgressEnd();
    // A cancelled file is incomplete: the temporary goes, the old file stays.
    if (progress.ConsumeCancel())
        return -3;
    return ok && file.Commit() ? 0 : -2;
}

int32_t WriteTexture(const std::string& path, const Image& image, Progress& progress) {
    if (image.IsEmpty())
        return -4;
    return WriteRows(path, image.Width(), image.Height(), "Writing texture map as TARGA file",
                     progress, [&](int32_t y, uint8_t* out) {
                         // The picture's rows are bottom-up.
                         const int32_t row = image.Height() - 1 - y;
                         for (int32_t x = 0; x < image.Width(); ++x, out += 3) {
                             PackedColor c = image.GetPixel(x, row);
                             if (image.BitsPerPixel() == 8)
                                 c = image.Palette[c & 255];
                             out[0] = static_cast<uint8_t>(c >> 16);
                             out[1] = static_cast<uint8_t>(c >> 8);
                             out[2] = static_cast<uint8_t>(c);
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

int32_t ParseTga(const uint8_t* data, size_t size, TgaLayout& layout) {
    if (size < HeaderSize)
        return -3;
    const uint8_t mapType = data[1];
    if (data[2] != TrueColour || data[16] != 24 || mapType > 1)
        return -1;
    // A true-colour file may still carry a colour map; its entries sit before the pixels.
    const uint64_t mapBytes = mapType == 1 ? GetLE(data + 5, 2) * ((data[7] + 7u) / 8u) : 0;
    const uint64_t pixelsAt = HeaderSize + data[0] + mapBytes;
    layout.Width = static_cast<int32_t>(GetLE(data + 12, 2));
    layout.Height = static_cast<int32_t>(GetLE(data + 14, 2));
    if (!SurfaceAcceptsSize(layout.Width, layout.Height))
        return -4;
    const uint64_t pixels =
        3 * static_cast<uint64_t>(layout.Width) * static_cast<uint64_t>(layout.Height);
    if (pixelsAt > size || size - pixelsAt < pixels)
        return -3;
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

// Resizes the Surface to the file and hands each of its cells to put(x, y, pixel); -6 when
// cancelled, with the number of rows done in done.
template <typename Put>
int32_t ReadInto(const uint8_t* data, const TgaLayout& layout, const std::string& text,
                 Workspace& ws, int32_t& done, Put put) {
    Surface& s = ws.TheSurface;
    if (s.Resize(layout.Width, layout.Height, -1) != 0)
        return -5;
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
    return progress.ConsumeCancel() ? -6 : 0;
}

} // namespace

int32_t WriteTgaTexture8(const std::string& path, const Image& image, Progress& progress) {
    if (!image.IsEmpty() && image.BitsPerPixel() != 8)
        return -5;
    return WriteTexture(path, image, progress);
}

int32_t WriteTgaTexture24(const std::string& path, const Image& image, Progress& progress) {
    return WriteTexture(path, image, progress);
}

int32_t WriteFractintTga(const std::string& path, Workspace& ws) {
    const Surface& s = ws.TheSurface;
    if (!s.HasGrid())
        return -4;
    return WriteRows(path, s.XSize, s.YSize, "Writing surface as Fractint TARGA file",
                     ws.TheProgress, [&](int32_t y, uint8_t* out) {
                         for (int32_t x = 0; x < s.XSize; ++x, out += 3) {
                             const int32_t h = FractintHeight(s.Rows[y][x]);
                             out[0] = 0;
                             out[1] = static_cast<uint8_t>(h % 256);
                             out[2] = static_cast<uint8_t>(h / 256);
                         }
                     });
}

int32_t ReadTgaChannelBuffer(const uint8_t* data, size_t size, int32_t channel, Workspace& ws) {
    if (channel < 0 || channel > 2)
        return -1;
    TgaLayout layout;
    if (const int32_t code = ParseTga(data, size, layout); code != 0)
        return code;
    Image& texture = ws.TheSurface.Texture.AsIs();
    const int32_t byte = 2 - channel; // pixels are blue, green, red
    int32_t done = 0;
    return ReadInto(
        data, layout, SizeText("Reading %d x %d TARGA image (channel %d)", layout, channel), ws,
        done, [&](int32_t x, int32_t y, const uint8_t* pixel) {
            // A palette index: a 24-bit map takes the entry's colour.
            const uint8_t index = pixel[byte];
            const int32_t row = texture.Height() - 1 - y;
            texture.SetPixel(x, row, texture.BitsPerPixel() == 8 ? index : texture.Palette[index]);
        });
}

int32_t ReadTgaChannel(const std::string& path, int32_t channel, Workspace& ws) {
    return ReadMappedFile(path, [&](const uint8_t* data, size_t size) {
        return ReadTgaChannelBuffer(data, size, channel, ws);
    });
}

int32_t ReadFractintTgaBuffer(const uint8_t* data, size_t size, Workspace& ws) {
    TgaLayout layout;
    if (const int32_t code = ParseTga(data, size, layout); code != 0)
        return code;
    Surface& s = ws.TheSurface;
    int32_t done = 0;
    const int32_t code =
        ReadInto(data, layout, SizeText("Reading %d x %d Fractint TARGA surface", layout), ws, done,
                 [&](int32_t x, int32_t y, const uint8_t* pixel) {
                     s.Rows[y][x] = static_cast<float>(pixel[2] * 256 + pixel[1]);
                 });
    if (code == -5)
        return code;
    // Resize keeps the old samples when the size is unchanged: rows a cancel left unread must not
    // show the previous surface.
    for (int32_t y = done; y < s.YSize; ++y)
        std::fill_n(s.Rows[y], s.XSize, 0.0f);
    s.FindMinMax(s.Min, s.Max, ws.TheProgress);
    return code;
}

int32_t ReadFractintTga(const std::string& path, Workspace& ws) {
    return ReadMappedFile(path, [&](const uint8_t* data, size_t size) {
        return ReadFractintTgaBuffer(data, size, ws);
    });
}

} // namespace korvel
