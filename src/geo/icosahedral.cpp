#include "geo/icosahedral.h"

#include "core/progress.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace korvel {

namespace {

// One picture row as whole pixels of bytesPerPixel bytes.
class PixelRow {
public:
    PixelRow(uint8_t* data, int32_t width, int32_t bytesPerPixel)
        : Data(data), Width(width), Bytes(bytesPerPixel) {}

    // Destinations outside the row are dropped.
    void Put(int32_t x, const uint8_t* pixel) const {
        if (x >= 0 && x < Width)
            std::memcpy(Data + static_cast<ptrdiff_t>(x) * Bytes, pixel,
                        static_cast<size_t>(Bytes));
    }

private:
    uint8_t* Data;
    int32_t Width;
    int32_t Bytes;
};

// The row's samples of the net: n evenly spaced pixels of the source row.
class NetSamples {
public:
    NetSamples(int32_t n, int32_t bytesPerPixel)
        : N(n), Bytes(bytesPerPixel), Samples(static_cast<size_t>(n) * bytesPerPixel) {}

    void Read(const uint8_t* row, int32_t width) {
        for (int32_t i = 0; i < N; ++i) {
            const auto source = static_cast<int32_t>(static_cast<int64_t>(i) * width / N);
            std::memcpy(&Samples[static_cast<size_t>(i) * Bytes],
                        row + static_cast<ptrdiff_t>(source) * Bytes, static_cast<size_t>(Bytes));
        }
    }

    // Sample i taken round the net's width, so every index lands inside.
    const uint8_t* At(int64_t i) const {
        const auto wrapped = static_cast<size_t>(((i % N) + N) % N);
        return &Samples[wrapped * Bytes];
    }

private:
    int32_t N;
    int32_t Bytes;
    std::vector<uint8_t> Samples;
};

// A triangle row: half-width hw pixels either side of column centre, filled from one unit of
// samples either side of sample source.
void DrawTriangleRow(const PixelRow& out, const NetSamples& net, int32_t centre, int64_t source,
                     double hw, double unit) {
    const auto half = static_cast<int32_t>(hw);
    if (half <= 0)
        return;
    const double squeeze = unit / hw;
    for (int32_t j = 0; j < half; ++j) {
        const auto offset = static_cast<int64_t>(j * squeeze);
        out.Put(centre + j, net.At(source + offset));
        out.Put(centre - 1 - j, net.At(source - 1 - offset));
    }
}

} // namespace

int32_t IcosahedralResample(Image& picture, int32_t width, int32_t height, PackedColor background,
                            Progress& progress) {
    width = std::min(width, picture.Width());
    height = std::min(height, picture.Height());
    const double unit = width / 11.0;
    const auto n = static_cast<int32_t>(10.0 * unit);
    if (height < 3 || n < 1)
        return 0;
    const int32_t bytes = picture.BitsPerPixel() / 8;
    uint8_t fill[3] = {0, 0, 0};
    if (bytes == 3)
        PutBgr(fill, background);
    const double band = height / 3.0;
    const auto u = [unit](int32_t k) { return static_cast<int32_t>(k * unit); };
    NetSamples net(n, bytes);
    progress.ProgressBegin("Processing Icosahedral Projection", 3);
    for (int32_t t = 0; t < height; ++t) {
        if (progress.ConsumeCancel()) {
            progress.ProgressEnd();
            return -1;
        }
        // t counts from the top of the picture: the apexes of the top band point north.
        uint8_t* row = picture.Row(height - 1 - t);
        net.Read(row, width);
        const PixelRow out(row, width, bytes);
        for (int32_t x = 0; x < width; ++x)
            out.Put(x, fill);
        if (t < band) {
            const double hw = (t + 1) / band * unit;
            for (int32_t k = 1; k <= 9; k += 2)
                DrawTriangleRow(out, net, u(k), u(k), hw, unit);
        } else if (t < 2 * band) {
            // The middle strip leans one unit to the east over the band's height; each column
            // keeps the longitude it had above.
            const auto d = static_cast<int32_t>((t + 1 - band) / band * unit);
            for (int32_t i = 0; i < n; ++i)
                out.Put(d + i, net.At(d + i));
        } else {
            const double hw = (1.0 - (t + 1 - 2 * band) / band) * unit;
            for (int32_t k = 2; k <= 10; k += 2)
                DrawTriangleRow(out, net, u(k), u(k), hw, unit);
        }
        progress.ProgressUpdate(t + 1, height);
        progress.PumpPendingMessage();
    }
    progress.ProgressEnd();
    return 0;
}

} // namespace korvel
