#include "formats/pcx.h"

#include "formats/format_support.h"

#include "core/atomic_file.h"
#include "core/extremes.h"
#include "core/workspace.h"
#include "formats/bmp_header.h"

#include <algorithm>
#include <vector>

namespace korvel {

namespace {

constexpr int32_t ProgressStep = 10;
constexpr size_t HeaderSize = 128;
constexpr size_t PaletteBytes = 768;
constexpr uint8_t PaletteMarker = 12;
constexpr size_t MaxRun = 63;
constexpr uint8_t RunFlag = 0xC0;
constexpr int32_t HeaderLimit = 65535;

using Bytes = std::vector<uint8_t>;

Bytes MakeHeader(int32_t width, int32_t height, uint8_t planes) {
    Bytes h(HeaderSize, 0);
    h[0] = 10; // manufacturer
    h[1] = 5;  // version
    h[2] = 1;  // run-length coded
    h[3] = 8;  // bits per pixel per plane
    PutLE(&h[8], static_cast<uint64_t>(width - 1), 2);
    PutLE(&h[10], static_cast<uint64_t>(height - 1), 2);
    PutLE(&h[12], static_cast<uint64_t>(width), 2);
    PutLE(&h[14], static_cast<uint64_t>(height), 2);
    h[65] = planes;
    PutLE(&h[66], static_cast<uint64_t>(width), 2);
    h[68] = planes == 3 ? 1 : 0;
    return h;
}

// One plane of one row. A lone byte of 192 or more needs a run of 1, or it would read as a run.
void EncodePlane(const uint8_t* in, size_t count, Bytes& out) {
    for (size_t i = 0; i < count;) {
        const uint8_t v = in[i];
        size_t n = 1;
        while (i + n < count && n < MaxRun && in[i + n] == v)
            ++n;
        if (n > 1 || v >= RunFlag)
            out.push_back(static_cast<uint8_t>(RunFlag | n));
        out.push_back(v);
        i += n;
    }
}

constexpr StatusText WriteTexts[] = {
    {PcxCannotCreate, "the PCX file cannot be created"},
    {PcxWriteFailed, "the PCX file cannot be written"},
    {PcxWriteCancelled, "cancelled"},
    {PcxBadSize, "the picture is empty or larger than a PCX file holds (65535 x 65535)"},
    {PcxNoPalette, "a 24-bit picture has no palette for a 256-colour PCX file"},
};
constexpr StatusText ReadTexts[] = {
    {PcxUnsupported, "not a PCX file Korvel reads (8 bits a plane, 1 or 3 planes)"},
    {PcxCannotOpen, "PCX file cannot be opened"},
    {PcxTruncated, "PCX file is shorter than its header promises"},
    {PcxBadReadSize, "PCX file has a size the Surface cannot take"},
    {PcxOutOfMemory, "out of memory for the picture of the PCX file"},
    {PcxReadCancelled, "cancelled"},
};

// Writes the header, the rows encoded by encodeRow (top first) and the trailer.
template <typename EncodeRow>
int32_t WriteEncoded(const std::string& path, const Bytes& header, int32_t rows,
                     const std::string& text, Progress& progress, std::string* reason,
                     EncodeRow encodeRow, const Bytes& trailer) {
    AtomicFile file(path);
    if (!file.Open())
        return FileFailure(file, PcxCannotCreate, reason);
    progress.CancelFlag = 0;
    progress.ProgressBegin(text, ProgressStep);
    bool ok = file.Write(header.data(), header.size());
    Bytes out;
    for (int32_t y = 0; ok && y < rows && !progress.CancelRequested(); ++y) {
        out.clear();
        encodeRow(y, out);
        ok = file.Write(out.data(), out.size());
        progress.ProgressUpdate(y, rows);
        progress.PumpPendingMessage();
    }
    ok = ok && (trailer.empty() || file.Write(trailer.data(), trailer.size()));
    return FinishWrite(file, ok, progress, PcxWriteCancelled, PcxWriteFailed, reason);
}

bool FitsHeader(const Image& image) {
    return !image.IsEmpty() && image.Width() <= HeaderLimit && image.Height() <= HeaderLimit;
}

// The picture's rows are bottom-up; the file's (and the TextureMap's) are top first.
int32_t BottomUp(const Image& image, int32_t y) {
    return image.Height() - 1 - y;
}

PackedColor ColourAt(const Image& image, int32_t x, int32_t row) {
    const PackedColor pixel = image.GetPixel(x, row);
    return image.BitsPerPixel() == 8 ? image.Palette[pixel & 255] : pixel;
}

struct PcxLayout {
    int32_t Width = 0;
    int32_t Height = 0;
    size_t BytesPerLine = 0; // of one plane
    size_t Planes = 1;       // 3: red, green and blue planes one after the other in each row
    size_t RowsEnd = 0;      // just past the last row's codes

    size_t RowBytes() const { return BytesPerLine * Planes; }
};

// Decodes one row of bytesPerLine bytes starting at at, keeping its first keep bytes in out
// (when out is given). Returns the position after the row, or 0 when the data end first.
size_t DecodeRow(const uint8_t* data, size_t size, size_t at, size_t bytesPerLine, uint8_t* out,
                 size_t keep) {
    size_t filled = 0;
    while (filled < bytesPerLine) {
        if (at >= size)
            return 0;
        uint8_t v = data[at++];
        size_t n = 1;
        if ((v & RunFlag) == RunFlag) {
            if (at >= size)
                return 0;
            n = v & 0x3Fu;
            v = data[at++];
        }
        n = std::min(n, bytesPerLine - filled);
        if (out && filled < keep)
            std::fill_n(out + filled, std::min(n, keep - filled), v);
        filled += n;
    }
    return at;
}

// Checks the header and that every row decodes within the data, before anything is changed.
// threePlanes admits the 24-bit layout besides the 256-colour one.
int32_t ParsePcx(const uint8_t* data, size_t size, PcxLayout& layout, std::string* reason,
                 bool threePlanes = false) {
    if (size < HeaderSize)
        return Refuse(reason, PcxReadTexts, PcxTruncated, BytesText(size, HeaderSize));
    if (data[0] != 10)
        return Refuse(reason, PcxReadTexts, PcxUnsupported, "it does not begin with 10");
    const bool planesKnown = data[65] == 1 || (threePlanes && data[65] == 3);
    if (data[1] != 5 || data[2] != 1 || data[3] != 8 || !planesKnown)
        return Refuse(reason, PcxReadTexts, PcxUnsupported,
                      "version " + std::to_string(data[1]) + ", encoding " +
                          std::to_string(data[2]) + ", " + std::to_string(data[3]) +
                          " bits, planes " + std::to_string(data[65]));
    layout.Planes = data[65];
    const auto xmin = static_cast<int32_t>(GetU16(data + 4));
    const auto ymin = static_cast<int32_t>(GetU16(data + 6));
    const auto xmax = static_cast<int32_t>(GetU16(data + 8));
    const auto ymax = static_cast<int32_t>(GetU16(data + 10));
    layout.Width = xmax - xmin + 1;
    layout.Height = ymax - ymin + 1;
    layout.BytesPerLine = GetU16(data + 66);
    if (layout.Width <= 0 || layout.Height <= 0 ||
        layout.BytesPerLine < static_cast<size_t>(layout.Width))
        return Refuse(reason, PcxReadTexts, PcxUnsupported,
                      SizeText(layout.Width, layout.Height) + " with " +
                          std::to_string(layout.BytesPerLine) + " bytes a line");
    if (!SurfaceAcceptsSize(layout.Width, layout.Height))
        return Refuse(reason, PcxReadTexts, PcxBadReadSize, SizeText(layout.Width, layout.Height));
    size_t at = HeaderSize;
    for (int32_t y = 0; y < layout.Height; ++y) {
        at = DecodeRow(data, size, at, layout.RowBytes(), nullptr, 0);
        if (at == 0)
            return Refuse(reason, PcxReadTexts, PcxTruncated,
                          "the rows end at row " + std::to_string(y) + " of " +
                              std::to_string(layout.Height));
    }
    layout.RowsEnd = at;
    return 0;
}

// Decodes the rows top first into put(y, row) until done or cancelled.
template <typename PutRow>
int32_t DecodeRows(const uint8_t* data, size_t size, const PcxLayout& layout, size_t keep,
                   const std::string& text, Progress& progress, std::string* reason, PutRow put) {
    progress.CancelFlag = 0;
    progress.ProgressBegin(text, ProgressStep);
    Bytes row(keep);
    size_t at = HeaderSize;
    for (int32_t y = 0; y < layout.Height && !progress.CancelRequested(); ++y) {
        at = DecodeRow(data, size, at, layout.RowBytes(), row.data(), keep);
        put(y, row.data());
        progress.ProgressUpdate(y, layout.Height);
        progress.PumpPendingMessage();
    }
    progress.ProgressEnd();
    return progress.ConsumeCancel() ? Refuse(reason, PcxReadTexts, PcxReadCancelled) : 0;
}

// The three planes of each row become the blue, green and red bytes of a 24-bit picture.
int32_t ReadPcx24(const uint8_t* data, size_t size, const PcxLayout& layout, Image& image,
                  Progress& progress, const std::string& name, std::string* reason) {
    if (image.Create(layout.Width & ~3, layout.Height, 24) != 0)
        return Refuse(reason, PcxReadTexts, PcxOutOfMemory);
    const auto width = static_cast<size_t>(image.Width());
    const size_t plane = layout.BytesPerLine;
    return DecodeRows(data, size, layout, layout.RowBytes(), "Reading 24-bit PCX texture " + name,
                      progress, reason, [&](int32_t y, const uint8_t* row) {
                          uint8_t* out = image.Row(BottomUp(image, y));
                          for (size_t x = 0; x < width; ++x, out += 3) {
                              out[0] = row[2 * plane + x];
                              out[1] = row[plane + x];
                              out[2] = row[x];
                          }
                      });
}

} // namespace

const StatusTable PcxWriteTexts{"PCX writing", WriteTexts};
const StatusTable PcxReadTexts{"PCX reading", ReadTexts};

int32_t WritePcx256(const std::string& path, const Image& image, Progress& progress,
                    std::string* reason) {
    if (!FitsHeader(image))
        return Refuse(reason, PcxWriteTexts, PcxBadSize);
    if (image.BitsPerPixel() != 8)
        return Refuse(reason, PcxWriteTexts, PcxNoPalette);
    Bytes trailer{PaletteMarker};
    for (const PackedColor c : image.Palette)
        for (int shift : {0, 8, 16})
            trailer.push_back(static_cast<uint8_t>(c >> shift));
    const auto width = static_cast<size_t>(image.Width());
    return WriteEncoded(
        path, MakeHeader(image.Width(), image.Height(), 1), image.Height(),
        "Writing 256 color PCX File " + path, progress, reason,
        [&](int32_t y, Bytes& out) { EncodePlane(image.Row(BottomUp(image, y)), width, out); },
        trailer);
}

int32_t WritePcx24(const std::string& path, const Image& image, Progress& progress,
                   std::string* reason) {
    if (!FitsHeader(image))
        return Refuse(reason, PcxWriteTexts, PcxBadSize);
    Bytes plane(static_cast<size_t>(image.Width()));
    return WriteEncoded(
        path, MakeHeader(image.Width(), image.Height(), 3), image.Height(),
        "Writing 24-bit PCX File " + path, progress, reason,
        [&](int32_t y, Bytes& out) {
            const int32_t row = BottomUp(image, y);
            for (int shift : {0, 8, 16}) { // red, green, blue
                for (int32_t x = 0; x < image.Width(); ++x)
                    plane[static_cast<size_t>(x)] =
                        static_cast<uint8_t>(ColourAt(image, x, row) >> shift);
                EncodePlane(plane.data(), plane.size(), out);
            }
        },
        Bytes());
}

int32_t ReadPcxTextureBuffer(const uint8_t* data, size_t size, Image& image, Progress& progress,
                             const std::string& name, std::string* reason) {
    PcxLayout layout;
    if (const int32_t code = ParsePcx(data, size, layout, reason, true); code != 0)
        return code;
    if (layout.Planes == 3)
        return ReadPcx24(data, size, layout, image, progress, name, reason);
    // The picture's width must be a multiple of 4; the columns past it are dropped.
    if (image.Create(layout.Width & ~3, layout.Height, 8) != 0)
        return Refuse(reason, PcxReadTexts, PcxOutOfMemory);
    const size_t paletteAt = size >= PaletteBytes + 1 ? size - PaletteBytes - 1 : 0;
    if (paletteAt >= layout.RowsEnd && data[paletteAt] == PaletteMarker) {
        for (size_t i = 0; i < 256; ++i) {
            const uint8_t* rgb = data + paletteAt + 1 + 3 * i;
            image.Palette[i] = PackColor(rgb[0], rgb[1], rgb[2]);
        }
    } else {
        image.Palette = GreyPalette();
    }
    const auto width = static_cast<size_t>(image.Width());
    return DecodeRows(data, size, layout, width, "Reading 256 color PCX texture " + name, progress,
                      reason, [&](int32_t y, const uint8_t* row) {
                          std::copy_n(row, width, image.Row(BottomUp(image, y)));
                      });
}

int32_t ReadPcxTexture(const std::string& path, Image& image, Progress& progress,
                       std::string* reason) {
    return ReadMappedFile(
        path, reason,
        [&](const uint8_t* data, size_t size) {
            return ReadPcxTextureBuffer(data, size, image, progress, path, reason);
        },
        PcxCannotOpen, PcxCannotOpen);
}

int32_t ReadPcxSurfaceBuffer(const uint8_t* data, size_t size, Workspace& ws,
                             const std::string& name, std::string* reason) {
    PcxLayout layout;
    if (const int32_t code = ParsePcx(data, size, layout, reason); code != 0)
        return code;
    Surface& s = ws.TheSurface;
    if (s.Resize(layout.Width, layout.Height, -1) != 0)
        return Refuse(reason, PcxReadTexts, PcxOutOfMemory);
    Extremes e;
    int32_t done = 0;
    const int32_t code = DecodeRows(
        data, size, layout, static_cast<size_t>(s.XSize), "Reading 256 color PCX surface " + name,
        ws.TheProgress, reason, [&](int32_t y, const uint8_t* row) {
            std::transform(row, row + s.XSize, s.Rows[y],
                           [](uint8_t v) { return static_cast<float>(v); });
            e.AddEach(s.Rows[y], s.XSize);
            done = y + 1;
        });
    // The extremes must cover the zeros put in the rows a cancel left unread.
    if (done < s.YSize) {
        ZeroRowsFrom(s, done);
        e.Add(0.0f);
    }
    e.StoreIn(s);
    return code;
}

int32_t ReadPcxSurface(const std::string& path, Workspace& ws, std::string* reason) {
    return ReadMappedFile(
        path, reason,
        [&](const uint8_t* data, size_t size) {
            return ReadPcxSurfaceBuffer(data, size, ws, path, reason);
        },
        PcxCannotOpen, PcxCannotOpen);
}

} // namespace korvel
