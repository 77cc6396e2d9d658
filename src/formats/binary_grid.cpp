#include "formats/binary_grid.h"

#include "core/dialog_fields.h"
#include "core/workspace.h"
#include "formats/format_support.h"
#include "formats/height_raster.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <strings.h>
#include <vector>

namespace korvel {

namespace {

constexpr int32_t ProgressStepPercent = 10;

constexpr StatusText ReadTexts[] = {
    {BinaryEmptyBlock, "the memory block lies outside the Surface"},
    {BinaryCannotOpen, "binary file cannot be opened"},
    {BinaryCannotMap, "binary file cannot be mapped"},
    {BinaryTooShort, "binary file is shorter than the file block needs"},
    {BinaryBadLayout, "binary file's layout is not usable"},
    {BinaryBadSize, "binary file's block has a size the Surface cannot take"},
    {BinaryOutOfMemory, "out of memory for the Surface of the binary file"},
    {BinaryCancelled, "cancelled"},
};
constexpr StatusText WriteTexts[] = {
    {BinaryWriteCancelled, "cancelled"},
    {BinaryCannotCreate, "the binary file cannot be created"},
    {BinaryWriteFailed, "the binary file cannot be written"},
    {BinaryNoGrid, "the Surface has no grid to write"},
};

int32_t SampleBytes(int32_t type) {
    return type == BinaryByte ? 1 : type == BinaryShort ? 2 : 4;
}

// Decodes the samples at row + column[j] * Bytes for j < count.
template <int Bytes, bool Float, bool Signed, bool Lsb>
void DecodeRow(const uint8_t* row, const int64_t* column, int32_t count, float* out) {
    for (int32_t j = 0; j < count; ++j) {
        const uint8_t* at = row + column[j] * Bytes;
        uint32_t bits = 0;
        for (int i = 0; i < Bytes; ++i)
            bits = Lsb ? bits | uint32_t(at[i]) << (8 * i) : (bits << 8) | at[i];
        if constexpr (Float) {
            out[j] = std::bit_cast<float>(bits);
        } else if constexpr (Signed) {
            constexpr int Shift = 32 - 8 * Bytes;
            out[j] = float(static_cast<int32_t>(bits << Shift) >> Shift);
        } else {
            out[j] = float(bits);
        }
    }
}

using RowDecoder = void (*)(const uint8_t*, const int64_t*, int32_t, float*);

template <bool Signed, bool Lsb> RowDecoder DecoderFor(int32_t type) {
    switch (type) {
    case BinaryByte:
        return DecodeRow<1, false, Signed, Lsb>;
    case BinaryShort:
        return DecodeRow<2, false, Signed, Lsb>;
    case BinaryLong:
        return DecodeRow<4, false, Signed, Lsb>;
    default:
        return DecodeRow<4, true, Signed, Lsb>;
    }
}
RowDecoder DecoderFor(const BinaryImportFields& f) {
    if (f.Signed)
        return f.LsbFirst ? DecoderFor<true, true>(f.SampleType)
                          : DecoderFor<true, false>(f.SampleType);
    return f.LsbFirst ? DecoderFor<false, true>(f.SampleType)
                      : DecoderFor<false, false>(f.SampleType);
}

// The file block with its defaults filled in: widths from the line, heights from the file.
struct FileBlock {
    int64_t X, Y, Width, Height, LineWidth, Header, Bytes;
};

int32_t FindFileBlock(const BinaryImportFields& f, size_t size, FileBlock& b, std::string* reason) {
    if (f.SampleType < BinaryByte || f.SampleType > BinaryFloat)
        return Refuse(reason, BinaryReadTexts, BinaryBadLayout,
                      "sample type " + std::to_string(f.SampleType));
    b = {f.FileXStart,
         f.FileYStart,
         f.FileWidth,
         f.FileHeight,
         f.LineWidth,
         f.HeaderLength,
         SampleBytes(f.SampleType)};
    if (b.X < 0 || b.Y < 0 || b.Width < 0 || b.Height < 0 || b.LineWidth < 0 || b.Header < 0)
        return Refuse(reason, BinaryReadTexts, BinaryBadLayout, "a negative start or size");
    if (b.LineWidth == 0)
        b.LineWidth = b.X + b.Width;
    if (b.Width == 0)
        b.Width = b.LineWidth - b.X;
    if (b.Width <= 0 || b.X + b.Width > b.LineWidth)
        return Refuse(reason, BinaryReadTexts, BinaryBadLayout,
                      "columns " + std::to_string(b.X) + ".." + std::to_string(b.X + b.Width) +
                          " of a line of " + std::to_string(b.LineWidth) +
                          " samples; give binary.LineWidth");
    const uint64_t rowBytes = uint64_t(b.LineWidth) * uint64_t(b.Bytes);
    const uint64_t body = size > uint64_t(b.Header) ? size - uint64_t(b.Header) : 0;
    if (b.Height == 0)
        b.Height = int64_t(body / rowBytes) - b.Y;
    if (b.Height <= 0)
        return Refuse(reason, BinaryReadTexts, BinaryTooShort,
                      "no row from row " + std::to_string(b.Y) + " on");
    // Rows of a line and its block up to the block's last sample; in long double so that huge
    // starts cannot wrap around.
    const long double need =
        (long double)b.Header +
        ((long double)(b.Y + b.Height - 1) * b.LineWidth + b.X + b.Width) * b.Bytes;
    if (need > (long double)size)
        return Refuse(reason, BinaryReadTexts, BinaryTooShort,
                      GroupedNumber(size) + " bytes where the block ends at byte " +
                          GroupedNumber(uint64_t(std::min(need, 1.8e19L))));
    return 0;
}

// The memory block, clipped to the Surface (Subsection) or sizing it (WholeSurface).
struct MemoryBlock {
    int64_t X, Y, Width, Height;
};

int32_t PlaceBlock(const BinaryImportFields& f, const FileBlock& b, BinaryTarget target, Surface& s,
                   MemoryBlock& m, std::string* reason) {
    if (target == BinaryTarget::WholeSurface) {
        m = {0, 0, f.MemWidth > 0 ? f.MemWidth : b.Width, f.MemHeight > 0 ? f.MemHeight : b.Height};
        if (!SurfaceAcceptsSize(int32_t(std::min<int64_t>(m.Width, INT32_MAX)),
                                int32_t(std::min<int64_t>(m.Height, INT32_MAX))))
            return Refuse(reason, BinaryReadTexts, BinaryBadSize, SizeText(m.Width, m.Height));
        if (s.Resize(int32_t(m.Width), int32_t(m.Height), -1) != 0)
            return Refuse(reason, BinaryReadTexts, BinaryOutOfMemory);
        return 0;
    }
    m = {std::max(f.MemXStart, 0), std::max(f.MemYStart, 0), f.MemWidth, f.MemHeight};
    if (m.Width <= 0)
        m.Width = s.XSize - m.X;
    if (m.Height <= 0)
        m.Height = s.YSize - m.Y;
    m.Width = std::min<int64_t>(m.Width, s.XSize - m.X);
    m.Height = std::min<int64_t>(m.Height, s.YSize - m.Y);
    if (m.Width <= 0 || m.Height <= 0 || !s.HasGrid())
        return Refuse(reason, BinaryReadTexts, BinaryEmptyBlock,
                      "at " + SizeText(f.MemXStart, f.MemYStart) + " in a Surface of " +
                          SizeText(s.XSize, s.YSize));
    return 0;
}

std::string ValueAfter(const std::string& line, size_t keyword) {
    size_t at = keyword;
    while (at < line.size() && std::isspace(static_cast<unsigned char>(line[at])))
        ++at;
    size_t end = line.size();
    while (end > at && std::isspace(static_cast<unsigned char>(line[end - 1])))
        --end;
    return line.substr(at, end - at);
}

bool StartsWithKeyword(const std::string& line, const char* keyword) {
    const size_t n = std::strlen(keyword);
    return line.size() >= n && strncasecmp(line.c_str(), keyword, n) == 0 &&
           (line.size() == n || std::isspace(static_cast<unsigned char>(line[n])));
}

} // namespace

const StatusTable BinaryReadTexts{"binary import", ReadTexts};
const StatusTable BinaryWriteTexts{"binary export", WriteTexts};

int32_t ImportBinaryBuffer(const uint8_t* data, size_t size, const BinaryImportFields& f,
                           BinaryTarget target, Workspace& ws, const std::string& name,
                           std::string* reason) {
    FileBlock b;
    if (const int32_t code = FindFileBlock(f, data ? size : 0, b, reason); code != 0)
        return code;
    Surface& s = ws.TheSurface;
    MemoryBlock m;
    if (const int32_t code = PlaceBlock(f, b, target, s, m, reason); code != 0)
        return code;
    // The Surface may be narrower than the block (widths are multiples of 4): the block keeps its
    // scale and loses its last columns.
    const int64_t columns = std::min<int64_t>(m.Width, s.XSize - m.X);
    std::vector<int64_t> column(static_cast<size_t>(columns));
    for (int64_t j = 0; j < columns; ++j)
        column[size_t(j)] = b.X + j * b.Width / m.Width;
    const RowDecoder decode = DecoderFor(f);
    const uint64_t rowBytes = uint64_t(b.LineWidth) * uint64_t(b.Bytes);
    Progress& progress = ws.TheProgress;
    progress.ProgressBegin("Importing Binary File " + name, ProgressStepPercent);
    int64_t k = 0;
    for (; k < m.Height && !progress.CancelRequested(); ++k) {
        const int64_t fileRow = b.Y + k * b.Height / m.Height;
        const uint8_t* row = data + uint64_t(b.Header) + uint64_t(fileRow) * rowBytes;
        decode(row, column.data(), int32_t(columns), s.Rows[s.YSize - 1 - (m.Y + k)] + m.X);
        if (k % 16 == 0) {
            progress.ProgressUpdate(int32_t(k), int32_t(m.Height));
            progress.PumpPendingMessage();
        }
    }
    progress.ProgressEnd();
    const bool cancelled = progress.ConsumeCancel();
    if (cancelled && target == BinaryTarget::WholeSurface) {
        // Rows from the top down were read: the ones below are zeroed, not left over.
        for (int64_t y = 0; y < s.YSize - k; ++y)
            std::fill_n(s.Rows[y], s.XSize, 0.0f);
    }
    if (target == BinaryTarget::WholeSurface) {
        const double cellWidth = (f.Right - f.Left) / double(m.Width);
        const double cellHeight = (f.Top - f.Bottom) / double(m.Height);
        SetOutline(s, f.Left, f.Top, cellWidth, cellHeight);
        NoteWidthCut(ws.FileNotes, name, int32_t(m.Width));
    }
    progress.ProgressSuppressNext();
    s.FindMinMax(s.Min, s.Max, progress);
    return cancelled ? Refuse(reason, BinaryReadTexts, BinaryCancelled) : 0;
}

int32_t ImportBinaryFile(const std::string& path, const BinaryImportFields& layout,
                         BinaryTarget target, Workspace& ws, std::string* reason) {
    return ReadMappedFile(
        path, reason,
        [&](const uint8_t* data, size_t size) {
            return ImportBinaryBuffer(data, size, layout, target, ws, path, reason);
        },
        BinaryCannotOpen, BinaryCannotMap);
}

int32_t ReadBilHeaderText(const std::string& text, BinaryImportFields& f, std::string* reason) {
    BinaryImportFields r = f;
    r.Signed = true;
    r.FileXStart = 0;
    r.FileYStart = 0;
    r.HeaderLength = 0;
    r.SampleType = BinaryByte;
    int64_t lineBytes = 0; // unknown
    int64_t bytes = 1;
    bool isFloat = false;
    double xdim = f.FileWidth > 0 ? (f.Right - f.Left) / f.FileWidth : 0.0;
    double ydim = f.FileHeight > 0 ? (f.Top - f.Bottom) / f.FileHeight : 0.0;
    // ULXMAP and ULYMAP are the centre of the upper-left cell; the edges are its outline.
    double ulx = f.Left + xdim / 2;
    double uly = f.Top - ydim / 2;
    std::istringstream lines(text);
    std::string line;
    auto number = [&](const char* keyword, double& value) {
        if (!StartsWithKeyword(line, keyword))
            return false;
        const std::string v = ValueAfter(line, std::strlen(keyword));
        char* end = nullptr;
        const double parsed = std::strtod(v.c_str(), &end);
        if (end != v.c_str() && std::isfinite(parsed))
            value = parsed;
        return true;
    };
    while (std::getline(lines, line)) {
        double value = 0.0;
        if (number("BYTEORDER", value)) {
            const std::string v = ValueAfter(line, 9);
            if (!v.empty())
                r.LsbFirst = std::toupper(static_cast<unsigned char>(v[0])) != 'M';
        } else if (number("NROWS", value) && value > 0 && value < INT32_MAX) {
            r.FileHeight = int32_t(value);
        } else if (number("NCOLS", value) && value > 0 && value < INT32_MAX) {
            r.FileWidth = int32_t(value);
        } else if (StartsWithKeyword(line, "NBITS")) {
            const std::string v = ValueAfter(line, 5);
            if (v == "8" || v == "16" || v == "32") {
                bytes = std::stoi(v) / 8;
            } else {
                return Refuse(reason, -1, "Unknown size parameter in " + v);
            }
        } else if (number("TOTALROWBYTES", value) && value > 0 && value < INT32_MAX) {
            lineBytes = int64_t(value);
        } else if (number("SKIPBYTES", value) && value >= 0 && value < INT32_MAX) {
            r.HeaderLength = int32_t(value);
        } else if (StartsWithKeyword(line, "PIXELTYPE")) {
            const std::string v = ValueAfter(line, 9);
            isFloat = strncasecmp(v.c_str(), "FLOAT", 5) == 0;
            if (strncasecmp(v.c_str(), "UNSIGNED", 8) == 0)
                r.Signed = false;
        } else if (number("ULXMAP", ulx) || number("ULYMAP", uly) || number("XDIM", xdim) ||
                   number("YDIM", ydim)) {
        }
    }
    r.Left = ulx - xdim / 2;
    r.Top = uly + ydim / 2;
    r.Right = r.Left + r.FileWidth * xdim;
    r.Bottom = r.Top - r.FileHeight * ydim;
    if (lineBytes == 0)
        lineBytes = int64_t(r.FileWidth) * bytes;
    r.LineWidth = int32_t(lineBytes / bytes);
    r.SampleType = bytes == 1   ? BinaryByte
                   : bytes == 2 ? BinaryShort
                   : isFloat    ? BinaryFloat
                                : BinaryLong;
    f = r;
    return 0;
}

int32_t ReadBilHeaderFile(const std::string& path, BinaryImportFields& layout,
                          std::string* reason) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return Refuse(reason, -1, "cannot open BIL header \"" + path + "\": " + ErrnoText(errno));
    std::ostringstream text;
    text << in.rdbuf();
    const int32_t code = ReadBilHeaderText(text.str(), layout, reason);
    if (code != 0 && reason)
        *reason = "BIL header \"" + path + "\": " + *reason;
    return code;
}

int32_t ExportBinaryFile(const std::string& path, Workspace& ws, std::string* reason) {
    const Surface& s = ws.TheSurface;
    if (!s.HasGrid())
        return Refuse(reason, BinaryWriteTexts, BinaryNoGrid);
    AtomicFile file(path);
    if (!file.Open())
        return FileFailure(file, BinaryCannotCreate, reason);
    std::vector<uint8_t> line(size_t(s.XSize) * 2);
    Progress& progress = ws.TheProgress;
    progress.ProgressBegin("Exporting Binary Image", ProgressStepPercent);
    bool ok = true;
    for (int32_t row = 0; ok && row < s.YSize && !progress.CancelRequested(); ++row) {
        const float* heights = RowOfFileRow(s, row, false);
        for (int32_t x = 0; x < s.XSize; ++x) {
            PutU16(line.data() + 2 * size_t(x), uint16_t(ShortOfHeight(heights[x])));
        }
        ok = file.Write(line.data(), line.size());
        progress.ProgressUpdate(row, s.YSize);
        progress.PumpPendingMessage();
    }
    return FinishWrite(file, ok, progress, BinaryWriteCancelled, BinaryWriteFailed, reason);
}

} // namespace korvel
