#include "formats/bmp.h"

#include "formats/format_support.h"

#include "core/atomic_file.h"
#include "core/extremes.h"
#include "core/file_map.h"
#include "core/host.h"
#include "core/workspace.h"
#include "formats/bmp_header.h"
#include "formats/height_raster.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace korvel {

namespace {

constexpr int32_t ImageProgressStep = 10;
constexpr int32_t SurfaceProgressStep = 7;
constexpr int32_t ImageProgressRows = 16;
constexpr int32_t SurfaceWriteProgressRows = 4;
constexpr int32_t SurfaceReadProgressRows = 8;
constexpr int32_t SurfaceMinSize = 4;
constexpr int32_t SurfaceMaxSize = 100000;

constexpr const char* TooSmallText = "File width or height too small (minimum 4 pixels)";
constexpr const char* TooLargeText = "File width or height too large (maximum 100000 pixels)";
constexpr const char* UnsupportedText = "Only 8-bit uncompressed BMP files supported";
constexpr const char* TruncatedText = "The BMP file is truncated";

constexpr StatusText ImageWriteTexts[] = {
    {BmpImageCannotCreate, "the BMP file cannot be created"},
    {BmpImageWriteFailed, "the BMP file cannot be written"},
    {BmpImageWriteCancelled, "cancelled"},
    {BmpImageWriteBadSize, "the picture is empty or too large for a BMP file"},
};
constexpr StatusText ImageReadTexts[] = {
    {BmpImageCannotOpen, "BMP file cannot be opened"},
    {BmpImageUnsupported, "not a BMP file of 8 or 24 uncompressed bits"},
    {BmpImageNoPicture, "BMP file has a size the picture cannot take, or memory ran out"},
    {BmpImageTruncated, "BMP file is shorter than its headers promise"},
};
constexpr StatusText SurfaceWriteTexts[] = {
    {BmpSurfaceCannotCreate, "the BMP file cannot be created"},
    {BmpSurfaceWriteFailed, "the BMP file cannot be written"},
    {BmpSurfaceWriteCancelled, "cancelled"},
    {BmpSurfaceWriteBadSize, "the Surface has no grid or is too large for a BMP file"},
};
constexpr StatusText SurfaceReadTexts[] = {
    {BmpSurfaceCannotOpen, "BMP file cannot be opened"},
    {BmpSurfaceNotBmp, "not a BMP file"},
    {BmpSurfaceUnsupported, UnsupportedText},
    {BmpSurfaceBadSize, "BMP file has a size the Surface cannot take"},
    {BmpSurfaceTruncated, TruncatedText},
    {BmpSurfaceOutOfMemory, "out of memory for the Surface of the BMP file"},
};

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

// Every row goes through here so a cancel or a failed write ends the loop at the same place.
template <typename WriteRow>
int32_t WriteRows(AtomicFile& file, const std::vector<uint8_t>& header, int32_t rows, int32_t every,
                  Progress& progress, std::string* reason, WriteRow writeRow) {
    bool ok = file.Write(header.data(), header.size());
    for (int32_t y = 0; ok && y < rows && !progress.CancelRequested(); ++y) {
        ok = writeRow(y);
        if (y % every == 0) {
            progress.ProgressUpdate(y, rows);
            progress.PumpPendingMessage();
        }
    }
    static_assert(int32_t{BmpSurfaceWriteCancelled} == BmpImageWriteCancelled &&
                  int32_t{BmpSurfaceWriteFailed} == BmpImageWriteFailed);
    return FinishWrite(file, ok, progress, BmpImageWriteCancelled, BmpImageWriteFailed, reason);
}

// Grey index of a height between min and min + 255 / scale. Out-of-range heights (stale
// extremes) and NaN would wrap or be undefined as a byte; they are held to 0..255.
uint8_t GreyIndex(float sample, double min, float scale) {
    const double v = std::trunc((sample - min) * static_cast<double>(scale));
    if (!(v > 0.0))
        return 0;
    return static_cast<uint8_t>(std::min(v, 255.0));
}

} // namespace

const StatusTable BmpImageWriteTexts{"BMP picture writing", ImageWriteTexts};
const StatusTable BmpImageReadTexts{"BMP picture reading", ImageReadTexts};
const StatusTable BmpSurfaceWriteTexts{"BMP surface writing", SurfaceWriteTexts};
const StatusTable BmpSurfaceReadTexts{"BMP surface reading", SurfaceReadTexts};

int32_t WriteBmpImage(const std::string& path, const Image& image, Progress& progress,
                      std::string* reason) {
    std::vector<uint8_t> header;
    if (image.IsEmpty() ||
        !MakeBmpHeader(static_cast<uint32_t>(image.Width()), static_cast<uint32_t>(image.Height()),
                       static_cast<uint32_t>(image.BitsPerPixel()), image.Palette, header))
        return Refuse(reason, BmpImageWriteTexts, BmpImageWriteBadSize);
    AtomicFile file(path);
    if (!file.Open())
        return FileFailure(file, BmpImageCannotCreate, reason);
    progress.CancelFlag = 0;
    progress.ProgressBegin("Writing BMP image", ImageProgressStep);
    // The picture keeps its rows bottom-up and unpadded (its width is a multiple of 4), exactly
    // as the file stores them.
    const auto stride = static_cast<size_t>(image.Stride());
    return WriteRows(file, header, image.Height(), ImageProgressRows, progress, reason,
                     [&](int32_t y) { return file.Write(image.Row(y), stride); });
}

int32_t ViewBmpPixels(const uint8_t* data, size_t size, BmpPixels& pixels, std::string* reason) {
    const auto refuse = [&](int32_t code, const std::string& detail) {
        return Refuse(reason, BmpImageReadTexts, code, detail);
    };
    BmpHeader h;
    switch (ParseBmpHeader(data, size, h)) {
    case BmpStatus::Ok:
        break;
    case BmpStatus::Truncated:
        return refuse(BmpImageTruncated, GroupedNumber(size) + " bytes");
    case BmpStatus::NotBmp:
        return refuse(BmpImageUnsupported, "it does not begin with \"BM\"");
    case BmpStatus::Unsupported:
        return refuse(BmpImageUnsupported, "an old OS/2 header");
    }
    if ((h.Bits != 8 && h.Bits != 24) || h.Compression != 0 || !h.HasShape())
        return refuse(BmpImageUnsupported, std::to_string(h.Bits) + " bits, compression " +
                                               std::to_string(h.Compression) + ", " +
                                               SizeText(h.Width, h.Height));
    uint32_t colours = 0;
    if (h.Bits == 8 && CountBmpPalette(h, colours) != BmpStatus::Ok)
        return refuse(BmpImageUnsupported, "its palette does not fit before the pixels");
    if (CheckBmpPixels(h, size) != BmpStatus::Ok)
        return refuse(BmpImageTruncated, GroupedNumber(size) + " bytes");
    // The picture's width must be a multiple of 4; the columns past it are dropped.
    const int32_t width = h.Width & ~3;
    const int64_t rows = h.Rows();
    if (width == 0 || width >= Surface::SizeLimit || rows >= Surface::SizeLimit)
        return refuse(BmpImageNoPicture, SizeText(h.Width, rows));
    pixels.Width = width;
    pixels.Height = static_cast<int32_t>(rows);
    pixels.Bits = static_cast<int32_t>(h.Bits);
    pixels.Palette.fill(0);
    for (uint32_t i = 0; i < colours; ++i) {
        const uint8_t* entry = data + h.PaletteAt() + 4 * i; // blue, green, red, 0
        pixels.Palette[i] = PackColor(entry[2], entry[1], entry[0]);
    }
    pixels.First = BmpRow(data, h, 0);
    pixels.Step = rows > 1 ? BmpRow(data, h, 1) - pixels.First : 0;
    return 0;
}

int32_t ReadBmpImageBuffer(const uint8_t* data, size_t size, Image& image, Progress& progress,
                           std::string* reason) {
    BmpPixels pixels;
    if (const int32_t status = ViewBmpPixels(data, size, pixels, reason); status != 0)
        return status;
    if (image.Create(pixels.Width, pixels.Height, pixels.Bits) != 0)
        return Refuse(reason, BmpImageReadTexts, BmpImageNoPicture,
                      SizeText(pixels.Width, pixels.Height));
    if (pixels.Bits == 8)
        image.Palette = pixels.Palette;

    progress.ProgressBegin("Reading BMP image", ImageProgressStep);
    const auto stride = static_cast<size_t>(image.Stride());
    for (int32_t y = 0; y < pixels.Height && !progress.CancelRequested(); ++y) {
        std::copy_n(pixels.Row(y), stride, image.Row(y));
        if (y % ImageProgressRows == 0) {
            progress.ProgressUpdate(y, pixels.Height);
            progress.PumpPendingMessage();
        }
    }
    progress.ProgressEnd();
    progress.ConsumeCancel();
    return 0;
}

int32_t ReadBmpImage(const std::string& path, Image& image, Progress& progress,
                     std::string* reason) {
    return ReadMappedFile(
        path, reason,
        [&](const uint8_t* data, size_t size) {
            return ReadBmpImageBuffer(data, size, image, progress, reason);
        },
        BmpImageCannotOpen, BmpImageUnsupported);
}

int32_t WriteBmpSurface(const std::string& path, Workspace& ws, std::string* reason) {
    const Surface& s = ws.TheSurface;
    std::vector<uint8_t> header;
    if (!s.HasGrid() || !MakeBmpHeader(static_cast<uint32_t>(s.XSize),
                                       static_cast<uint32_t>(s.YSize), 8, GreyPalette(), header))
        return Refuse(reason, BmpSurfaceWriteTexts, BmpSurfaceWriteBadSize);
    // The documented message, shown here unless the caller reports it with the reason.
    const auto failed = [&](int32_t code, std::string why) {
        if (!reason)
            ws.TheHost.ShowMessage("Error writing to " + Quoted(path));
        return Refuse(reason, code, std::move(why));
    };
    AtomicFile file(path);
    if (!file.Open())
        return failed(BmpSurfaceCannotCreate, ErrnoText(file.Error()));
    const double range = s.Max - s.Min;
    const float scale = std::fabs(range) >= 0.00001 ? static_cast<float>(255.0 / range) : 1.0f;
    Progress& progress = ws.TheProgress;
    progress.CancelFlag = 0;
    progress.ProgressBegin("Writing 8-bit BMP surface " + path, SurfaceProgressStep);
    // Surface row 0 goes first, which a bottom-up file shows as its bottom line.
    std::vector<uint8_t> row(static_cast<size_t>(s.XSize));
    RoundingTally tally;
    std::string why;
    const int32_t code =
        WriteRows(file, header, s.YSize, SurfaceWriteProgressRows, progress, &why, [&](int32_t y) {
            std::transform(s.Rows[y], s.Rows[y] + s.XSize, row.begin(), [&](float sample) {
                const uint8_t grey = GreyIndex(sample, s.Min, scale);
                const double t = (sample - s.Min) * static_cast<double>(scale);
                if (!(t > -1.0 && t < 256.0))
                    ++tally.Clipped;
                else
                    tally.Add(sample, s.Min + grey / static_cast<double>(scale));
                return grey;
            });
            return file.Write(row.data(), row.size());
        });
    if (code == BmpSurfaceWriteFailed)
        return failed(code, why);
    if (code == 0)
        ws.FileNotes.push_back(tally.Report(path, 8, 1.0 / static_cast<double>(scale)));
    return Refuse(reason, code, why);
}

int32_t ReadBmpSurfaceBuffer(const uint8_t* data, size_t size, Workspace& ws,
                             const std::string& name, std::string* reason) {
    Host& host = ws.TheHost;
    // The documented messages, shown here unless the caller reports them as the reason.
    const auto fail = [&](const std::string& text, int32_t code) {
        if (!reason)
            host.ShowMessage(text);
        return Refuse(reason, code, text);
    };
    BmpHeader h;
    switch (ParseBmpHeader(data, size, h)) {
    case BmpStatus::Ok:
        break;
    case BmpStatus::NotBmp:
        return fail(name + " appears not to be a BMP file", BmpSurfaceNotBmp);
    case BmpStatus::Unsupported:
        return fail(UnsupportedText, BmpSurfaceUnsupported);
    case BmpStatus::Truncated:
        return fail(TruncatedText, BmpSurfaceTruncated);
    }
    if (h.Bits != 8 || h.Compression != 0)
        return fail(UnsupportedText, BmpSurfaceUnsupported);
    // The Surface's width is a multiple of 4; up to 3 columns of the file are dropped.
    const int32_t width = h.Width & ~3;
    const int64_t rows = h.Rows();
    if (width < SurfaceMinSize || rows < SurfaceMinSize)
        return fail(TooSmallText, BmpSurfaceBadSize);
    if (width > SurfaceMaxSize || rows > SurfaceMaxSize)
        return fail(TooLargeText, BmpSurfaceBadSize);
    if (CheckBmpPixels(h, size) != BmpStatus::Ok)
        return fail(TruncatedText, BmpSurfaceTruncated);

    Surface& s = ws.TheSurface;
    Progress& progress = ws.TheProgress;
    progress.ProgressBegin("Reading 8-bit BMP Surface " + name, SurfaceProgressStep);
    // The size was checked above, so the only failure left is memory.
    if (s.Resize(width, static_cast<int32_t>(rows), -1) != 0) {
        progress.ProgressEnd();
        return Refuse(reason, BmpSurfaceReadTexts, BmpSurfaceOutOfMemory);
    }
    // The palette is ignored: the index itself is the height.
    constexpr float unit = 1.0f / 255.0f;
    Extremes e;
    int32_t y = 0;
    for (; y < s.YSize && !progress.CancelRequested(); ++y) {
        const uint8_t* in = BmpRow(data, h, y);
        for (int32_t x = 0; x < s.XSize; ++x) {
            const float v = static_cast<float>(in[x]) * unit;
            s.Rows[y][x] = v;
            e.Add(v);
        }
        if (y % SurfaceReadProgressRows == 0) {
            progress.ProgressUpdate(y, s.YSize);
            progress.PumpPendingMessage();
        }
    }
    // The extremes must cover the zeros put in the rows a cancel left unread.
    if (y < s.YSize) {
        ZeroRowsFrom(s, y);
        e.Add(0.0f);
    }
    e.StoreIn(s);
    progress.ProgressEnd();
    progress.ConsumeCancel();
    return 0;
}

int32_t ReadBmpSurface(const std::string& path, Workspace& ws, std::string* reason) {
    MappedFile file;
    if (file.Open(path) != MappedFile::Status::Ok) {
        if (!reason)
            ws.TheHost.ShowMessage("Error reading from " + Quoted(path));
        return Refuse(reason, BmpSurfaceCannotOpen, ErrnoText(file.Error()));
    }
    return ReadBmpSurfaceBuffer(file.Data(), file.Size(), ws, path, reason);
}

} // namespace korvel
