#include "formats/mdr.h"

#include "formats/format_support.h"
#include "formats/height_raster.h"

#include "core/atomic_file.h"
#include "core/file_map.h"
#include "core/host.h"
#include "core/workspace.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <vector>

namespace korvel {

namespace {

constexpr bool LittleEndianHost = std::endian::native == std::endian::little;
static_assert(LittleEndianHost || std::endian::native == std::endian::big,
              "the sample copy assumes a plain byte order");

// Header offsets.
constexpr size_t MagicAt = 0;
constexpr size_t HeaderSizeAt = 4;
constexpr size_t LeftAt = 264;
constexpr size_t RightAt = 272;
constexpr size_t TopAt = 280;
constexpr size_t BottomAt = 288;
constexpr size_t MinAt = 296;
constexpr size_t MaxAt = 304;
constexpr size_t XResAt = 312;
constexpr size_t YResAt = 320;
constexpr size_t HundredAt = 328;
constexpr size_t ScanTypeAt = 332;
constexpr size_t DataTypeAt = 333;
constexpr size_t CompressionAt = 334;
constexpr size_t CodingAt = 335;
constexpr size_t WidthAt = 360;
constexpr size_t HeightAt = 364;
constexpr size_t BaseAt = 368;
constexpr size_t ScaleAt = 372;

constexpr char Magic[4] = {'K', 'R', 'V', 'L'};
constexpr int32_t ProgressStepPercent = 10;
constexpr size_t InPlaceBlockBytes = size_t{64} << 20;
constexpr size_t StagedBlockBytes = size_t{16} << 20;

size_t BytesPerSample(int32_t dataType) {
    return dataType == 0 ? 4 : dataType == 1 ? 2 : 1;
}

void ReadFloatRow(const uint8_t* in, float* out, int32_t columns) {
    if constexpr (LittleEndianHost) {
        std::memcpy(out, in, static_cast<size_t>(columns) * sizeof(float));
    } else {
        for (int32_t x = 0; x < columns; ++x)
            out[x] = GetF32(in + 4 * static_cast<size_t>(x));
    }
}

uint32_t Quantum(const uint8_t* in, size_t bytes, int32_t x) {
    const size_t at = static_cast<size_t>(x) * bytes;
    return bytes == 2 ? GetU16(in + at) : in[at];
}

struct Decoder {
    size_t Bytes;        // per sample
    int32_t FileColumns; // the row stride of the file, in samples
    bool Coded;
    float Scale;
    double Min;
    float Running; // accumulated-difference value, carried from row to row

    void Row(const uint8_t* in, float* out, int32_t columns) {
        if (Bytes == 4) {
            ReadFloatRow(in, out, columns);
        } else if (!Coded) {
            const double levels = Bytes == 2 ? 65535.0 : 255.0;
            for (int32_t x = 0; x < columns; ++x)
                out[x] = static_cast<float>(Quantum(in, Bytes, x) * double(Scale) * (1.0 / levels) +
                                            Min);
        } else {
            // Columns beyond the Surface's width still carry differences.
            for (int32_t x = 0; x < FileColumns; ++x) {
                Running += static_cast<float>(Quantum(in, Bytes, x)) * Scale;
                if (x < columns)
                    out[x] = Running;
            }
        }
    }
};

std::array<uint8_t, MdrHeaderSize> BuildHeader(const Surface& s, const MdrSaveOptions& options,
                                               float scale) {
    std::array<uint8_t, MdrHeaderSize> h{};
    std::memcpy(h.data() + MagicAt, Magic, sizeof Magic);
    PutU32(h.data() + HeaderSizeAt, static_cast<uint32_t>(MdrHeaderSize));
    PutF64(h.data() + LeftAt, s.Left);
    PutF64(h.data() + RightAt, s.Right);
    PutF64(h.data() + TopAt, s.Top);
    PutF64(h.data() + BottomAt, s.Bottom);
    PutF64(h.data() + MinAt, s.Min);
    PutF64(h.data() + MaxAt, s.Max);
    PutF64(h.data() + XResAt, s.XRes);
    PutF64(h.data() + YResAt, s.YRes);
    PutU32(h.data() + HundredAt, 100);
    h[ScanTypeAt] = static_cast<uint8_t>(options.ScanType);
    h[DataTypeAt] = static_cast<uint8_t>(options.DataType);
    h[CompressionAt] = static_cast<uint8_t>(options.Compression);
    h[CodingAt] = static_cast<uint8_t>(options.Coding);
    PutU32(h.data() + WidthAt, static_cast<uint32_t>(s.XSize));
    PutU32(h.data() + HeightAt, static_cast<uint32_t>(s.YSize));
    PutF32(h.data() + BaseAt, s.Rows[0][0]);
    PutF32(h.data() + ScaleAt, scale);
    return h;
}

// Floats byte by byte, or values quantised between Min and Min + scale (the tally learns what
// the reader will make of them).
void EncodeRow(const float* row, int32_t columns, int32_t dataType, double min, float scale,
               float inv, uint8_t* out, RoundingTally& tally) {
    const size_t bytes = BytesPerSample(dataType);
    const double levels = dataType == 1 ? 65535.0 : 255.0;
    for (int32_t x = 0; x < columns; ++x, out += bytes) {
        if (dataType == 0) {
            PutF32(out, row[x]);
            continue;
        }
        double t = (row[x] - min) * inv;
        // NaN fails both tests and would make the conversion undefined; it is stored as Min.
        const bool clipped = !(t >= 0.0) || t > 1.0;
        if (!(t > 0.0))
            t = 0.0;
        else if (t > 1.0)
            t = 1.0;
        const auto code = static_cast<uint32_t>(t * levels);
        PutLE(out, code, static_cast<int>(bytes));
        if (clipped)
            ++tally.Clipped;
        else
            tally.Add(row[x], code * double(scale) * (1.0 / levels) + min);
    }
}

// Rows as the file stores them, gathered into a few large writes that end on multiples of
// blockBytes in the file. Each write call costs a small write ahead of the large one (the stream
// is buffered), and the page cache keeps ranges written in small pieces as small folios, which
// makes mapping and reading the file afterwards several times slower; few, aligned calls keep
// it in large folios.
class RowWriter {
public:
    RowWriter(AtomicFile& file, size_t rowBytes, size_t blockBytes)
        : File(file), RowBytes(rowBytes), BlockBytes(blockBytes) {}

    // Where to convert the next row to; it goes out through Put.
    uint8_t* Slot() {
        if (Block.empty())
            Block.resize(BlockBytes + RowBytes);
        if (PendingBytes == 0) {
            Pending = Block.data();
        } else if (Pending + PendingBytes + RowBytes > Block.data() + Block.size()) {
            std::memmove(Block.data(), Pending, PendingBytes);
            Pending = Block.data();
        }
        return Block.data() + (Pending - Block.data()) + PendingBytes;
    }

    // One row of the file, either a Slot or a row of the grid left in place until Finish: rows
    // adjacent in memory (the grid is one block) leave together without a copy.
    bool Put(const uint8_t* row) {
        if (PendingBytes != 0 && Pending + PendingBytes != row && !Write(PendingBytes))
            return false;
        if (PendingBytes == 0)
            Pending = row;
        PendingBytes += RowBytes;
        const size_t cut = (Offset + PendingBytes) / BlockBytes * BlockBytes;
        return cut <= Offset || Write(cut - Offset);
    }

    bool Finish() { return PendingBytes == 0 || Write(PendingBytes); }

private:
    bool Write(size_t bytes) {
        const bool ok = File.Write(Pending, bytes);
        Pending += bytes;
        PendingBytes -= bytes;
        Offset += bytes;
        return ok;
    }

    AtomicFile& File;
    size_t RowBytes;
    size_t BlockBytes;
    size_t Offset = MdrHeaderSize; // in the file, of Pending
    const uint8_t* Pending = nullptr;
    size_t PendingBytes = 0;
    std::vector<uint8_t> Block;
};

constexpr StatusText ReadTexts[] = {
    {MdrCannotOpen, "MDR file cannot be opened"},
    {MdrCannotMap, "MDR file cannot be mapped"},
    {MdrNotMdr, "not an MDR file"},
    {MdrUnsupported, "MDR file of a kind this version cannot read"},
    {MdrTruncated, "MDR file is shorter than its header promises"},
    {MdrBadSize, "MDR file has a size the Surface cannot take"},
    {MdrOutOfMemory, "out of memory for the Surface of the MDR file"},
};
constexpr StatusText WriteTexts[] = {
    {MdrWriteCancelled, "cancelled"},
    {MdrCannotCreate, "the MDR file cannot be created"},
    {MdrWriteFailed, "the MDR file cannot be written"},
    {MdrBadOptions, "the save options name a kind of MDR file this version cannot write"},
    {MdrNoGrid, "the Surface has no grid to write"},
};

// What a file too short for its header promises: the whole grid when the fields that say so are
// there and sound, else the header itself.
uint64_t Promised(const uint8_t* data, size_t size) {
    if (!data || size < HeightAt + 4 || std::memcmp(data + MagicAt, Magic, sizeof Magic) != 0)
        return MdrHeaderSize;
    const int32_t width = GetI32(data + WidthAt);
    const int32_t height = GetI32(data + HeightAt);
    if (data[DataTypeAt] > 2 || !SurfaceAcceptsSize(width, height))
        return MdrHeaderSize;
    return MdrHeaderSize + static_cast<uint64_t>(width) * static_cast<uint64_t>(height) *
                               BytesPerSample(data[DataTypeAt]);
}

} // namespace

const StatusTable MdrReadTexts{"MDR reading", ReadTexts};
const StatusTable MdrWriteTexts{"MDR writing", WriteTexts};

int32_t ReadMdrBuffer(const uint8_t* data, size_t size, Workspace& ws, const std::string& name,
                      std::string* reason) {
    if (!data || size < MdrHeaderSize)
        return Refuse(reason, MdrReadTexts, MdrTruncated, BytesText(size, Promised(data, size)));
    if (std::memcmp(data + MagicAt, Magic, sizeof Magic) != 0)
        return Refuse(reason, MdrReadTexts, MdrNotMdr, "it does not begin with \"KRVL\"");
    if (const uint32_t headerSize = GetU32(data + HeaderSizeAt); headerSize != MdrHeaderSize)
        return Refuse(reason, MdrReadTexts, MdrNotMdr,
                      "header size " + std::to_string(headerSize) + " instead of 1024");
    const int32_t dataType = data[DataTypeAt];
    if (data[ScanTypeAt] != 0 || data[CompressionAt] != 0 || dataType > 2)
        return Refuse(reason, MdrReadTexts, MdrUnsupported,
                      "scan type " + std::to_string(data[ScanTypeAt]) + ", compression " +
                          std::to_string(data[CompressionAt]) + ", data type " +
                          std::to_string(dataType));
    const int32_t width = GetI32(data + WidthAt);
    const int32_t height = GetI32(data + HeightAt);
    if (!SurfaceAcceptsSize(width, height))
        return Refuse(reason, MdrReadTexts, MdrBadSize, SizeText(width, height));
    const size_t bytes = BytesPerSample(dataType);
    const uint64_t stride = static_cast<uint64_t>(width) * bytes;
    const uint64_t need = MdrHeaderSize + stride * static_cast<uint64_t>(height);
    if (size < need)
        return Refuse(reason, MdrReadTexts, MdrTruncated, BytesText(size, need));

    Surface& s = ws.TheSurface;
    Progress& progress = ws.TheProgress;
    progress.ProgressBegin("Reading MDR File " + name, ProgressStepPercent);
    // The size was checked above, so the only failure left is memory.
    if (s.Resize(width, height, -1) != 0) {
        progress.ProgressEnd();
        return Refuse(reason, MdrReadTexts, MdrOutOfMemory);
    }
    s.Left = GetF64(data + LeftAt);
    s.Right = GetF64(data + RightAt);
    s.Top = GetF64(data + TopAt);
    s.Bottom = GetF64(data + BottomAt);
    s.Min = GetF64(data + MinAt);
    s.Max = GetF64(data + MaxAt);
    s.XRes = GetF64(data + XResAt);
    s.YRes = GetF64(data + YResAt);

    Decoder decoder{
        bytes, width, data[CodingAt] != 0, GetF32(data + ScaleAt), s.Min, GetF32(data + BaseAt)};
    const uint8_t* samples = data + MdrHeaderSize;
    int32_t y = 0;
    for (; y < s.YSize && !progress.CancelRequested(); ++y) {
        decoder.Row(samples + static_cast<size_t>(y) * stride, s.Rows[y], s.XSize);
        progress.ProgressUpdate(y, s.YSize);
        progress.PumpPendingMessage();
    }
    ZeroRowsFrom(s, y);
    progress.ProgressEnd();
    progress.ConsumeCancel();
    return 0;
}

int32_t ReadMdrFile(const std::string& path, Workspace& ws, std::string* reason) {
    return ReadMappedFile(path, reason, [&](const uint8_t* data, size_t size) {
        return ReadMdrBuffer(data, size, ws, path, reason);
    });
}

int32_t WriteMdrFile(const std::string& path, Workspace& ws, std::string* reason) {
    const Surface& s = ws.TheSurface;
    if (!s.HasGrid())
        return Refuse(reason, MdrWriteTexts, MdrNoGrid);
    if (!ws.TheHost.EditParameters("mdr", "Enter MDR File Save Parameters", ws))
        return Refuse(reason, MdrWriteTexts, MdrWriteCancelled);
    const MdrSaveOptions options = ws.MdrSave;
    if (options.DataType < 0 || options.DataType > 2 || options.ScanType != 0 ||
        options.Compression != 0 || options.Coding != 0)
        return Refuse(reason, MdrWriteTexts, MdrBadOptions);
    AtomicFile file(path);
    if (!file.Open())
        return FileFailure(file, MdrCannotCreate, reason);

    const auto scale = static_cast<float>(s.Max - s.Min + 0.00001);
    const float inv = 1.0f / scale;
    const auto header = BuildHeader(s, options, scale);
    const bool inPlace = options.DataType == 0 && LittleEndianHost;
    const size_t rowBytes = static_cast<size_t>(s.XSize) * BytesPerSample(options.DataType);
    // Rows left in place cost no memory however large the block; converted ones are staged.
    const size_t totalBytes = rowBytes * static_cast<size_t>(s.YSize);
    RowWriter rows(file, rowBytes,
                   inPlace ? InPlaceBlockBytes : std::min(StagedBlockBytes, totalBytes));

    RoundingTally tally;
    Progress& progress = ws.TheProgress;
    progress.ProgressBegin("Writing MDR File " + path, ProgressStepPercent);
    bool ok = file.Write(header.data(), header.size());
    for (int32_t y = 0; ok && y < s.YSize && !progress.CancelRequested(); ++y) {
        if (inPlace) {
            ok = rows.Put(reinterpret_cast<const uint8_t*>(s.Rows[y]));
        } else {
            uint8_t* slot = rows.Slot();
            EncodeRow(s.Rows[y], s.XSize, options.DataType, s.Min, scale, inv, slot, tally);
            ok = rows.Put(slot);
        }
        progress.ProgressUpdate(y, s.YSize);
        progress.PumpPendingMessage();
    }
    const int32_t code =
        FinishWrite(file, ok && rows.Finish(), progress, MdrWriteCancelled, MdrWriteFailed, reason);
    if (code == 0 && options.DataType != 0) {
        const int bits = options.DataType == 1 ? 16 : 8;
        ws.FileNotes.push_back(tally.Report(path, bits, scale / ((1 << bits) - 1.0)));
    }
    return code;
}

} // namespace korvel
