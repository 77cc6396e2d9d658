#include "formats/mat.h"

#include "formats/format_support.h"

#include "core/atomic_file.h"
#include "core/extremes.h"
#include "core/workspace.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace korvel {

namespace {

constexpr size_t TypeAt = 0;
constexpr size_t RowsAt = 4;
constexpr size_t ColumnsAt = 8;
constexpr size_t ImaginaryAt = 12;
constexpr size_t NameLengthAt = 16;

// The type word is 1000 M + 100 O + 10 P + T; with M (byte order), O and T (full matrix) zero
// only the precision digit P is left: 0 double, 1 single.
constexpr int32_t DoubleType = 0;
constexpr int32_t FloatType = 10;
constexpr char Name[] = "AAA"; // with its terminating zero, as the file stores it
constexpr int32_t ProgressStepPercent = 10;

// The extremes start where the format's documentation says, also for floats beyond them.
constexpr float FarExtreme = 1e20f;

float Element(const uint8_t* at, bool doubles) {
    // Doubles beyond the float range become infinities (IEEE conversion), never undefined.
    return doubles ? static_cast<float>(GetF64(at)) : GetF32(at);
}

constexpr StatusText ReadTexts[] = {
    {MatCannotOpen, "MAT file cannot be opened"},
    {MatCannotMap, "MAT file cannot be mapped"},
    {MatUnsupported, "MAT file holds no matrix of floats or doubles"},
    {MatTruncated, "MAT file is shorter than its header promises"},
    {MatBadSize, "MAT file has a size the Surface cannot take"},
    {MatOutOfMemory, "out of memory for the Surface of the MAT file"},
};
constexpr StatusText WriteTexts[] = {
    {MatWriteCancelled, "cancelled"},
    {MatCannotCreate, "the MAT file cannot be created"},
    {MatWriteFailed, "the MAT file cannot be written"},
    {MatNoGrid, "the Surface has no grid to write"},
};

} // namespace

const StatusTable MatReadTexts{"MAT reading", ReadTexts};
const StatusTable MatWriteTexts{"MAT writing", WriteTexts};

int32_t ReadMatBuffer(const uint8_t* data, size_t size, Workspace& ws, const std::string& name,
                      std::string* reason) {
    if (!data || size < MatHeaderSize)
        return Refuse(reason, MatReadTexts, MatTruncated, BytesText(size, MatHeaderSize));
    const int32_t type = GetI32(data + TypeAt);
    if (type != DoubleType && type != FloatType)
        return Refuse(reason, MatReadTexts, MatUnsupported, "type " + std::to_string(type));
    const int32_t rows = GetI32(data + RowsAt);
    const int32_t columns = GetI32(data + ColumnsAt);
    const int32_t nameLength = GetI32(data + NameLengthAt);
    if (!SurfaceAcceptsSize(columns, rows) || nameLength < 0)
        return Refuse(reason, MatReadTexts, MatBadSize,
                      nameLength < 0 ? "name length " + std::to_string(nameLength)
                                     : SizeText(columns, rows));
    const bool doubles = type == DoubleType;
    const size_t bytes = doubles ? 8 : 4;
    const uint64_t start = MatHeaderSize + static_cast<uint64_t>(nameLength);
    // The column stride is the file's row count, whatever width the Surface ends up with.
    const uint64_t stride = static_cast<uint64_t>(rows) * bytes;
    const uint64_t need = start + stride * static_cast<uint64_t>(columns);
    if (size < need)
        return Refuse(reason, MatReadTexts, MatTruncated, BytesText(size, need));

    Surface& s = ws.TheSurface;
    Progress& progress = ws.TheProgress;
    progress.ProgressBegin("Reading MAT File " + name, ProgressStepPercent);
    if (s.Resize(columns, rows, -1) != 0) {
        progress.ProgressEnd();
        return Refuse(reason, MatReadTexts, MatOutOfMemory);
    }
    const uint8_t* elements = data + start;
    Extremes e{FarExtreme, -FarExtreme};
    int32_t x = 0;
    for (; x < s.XSize && !progress.CancelRequested(); ++x) {
        const uint8_t* column = elements + static_cast<size_t>(x) * stride;
        for (int32_t y = 0; y < s.YSize; ++y) {
            const float v = Element(column + static_cast<size_t>(y) * bytes, doubles);
            s.Rows[y][x] = v;
            e.Add(v);
        }
        progress.ProgressUpdate(x, s.XSize);
        progress.PumpPendingMessage();
    }
    // Resize keeps the old samples when the size is unchanged; columns a cancel left unread must
    // not show the previous surface, and their zeros count among the extremes.
    if (x < s.XSize) {
        for (int32_t y = 0; y < s.YSize; ++y)
            std::fill(s.Rows[y] + x, s.Rows[y] + s.XSize, 0.0f);
        e.Add(0.0f);
    }
    // Stored even when every element was NaN: the starting values then stand.
    s.Min = e.Lo;
    s.Max = e.Hi;
    progress.ProgressEnd();
    progress.ConsumeCancel();
    return 0;
}

int32_t ReadMatFile(const std::string& path, Workspace& ws, std::string* reason) {
    return ReadMappedFile(path, reason, [&](const uint8_t* data, size_t size) {
        return ReadMatBuffer(data, size, ws, path, reason);
    });
}

int32_t WriteMatFile(const std::string& path, Workspace& ws, std::string* reason) {
    const Surface& s = ws.TheSurface;
    if (!s.HasGrid())
        return Refuse(reason, MatWriteTexts, MatNoGrid);
    AtomicFile file(path);
    if (!file.Open())
        return FileFailure(file, MatCannotCreate, reason);

    std::array<uint8_t, MatHeaderSize + sizeof Name> header{};
    PutU32(header.data() + TypeAt, FloatType);
    PutU32(header.data() + RowsAt, static_cast<uint32_t>(s.YSize));
    PutU32(header.data() + ColumnsAt, static_cast<uint32_t>(s.XSize));
    PutU32(header.data() + ImaginaryAt, 0);
    PutU32(header.data() + NameLengthAt, sizeof Name);
    std::memcpy(header.data() + MatHeaderSize, Name, sizeof Name);

    Progress& progress = ws.TheProgress;
    progress.ProgressBegin("Writing MAT File " + path, ProgressStepPercent);
    bool ok = file.Write(header.data(), header.size());
    std::vector<uint8_t> column(static_cast<size_t>(s.YSize) * 4);
    for (int32_t x = 0; ok && x < s.XSize && !progress.CancelRequested(); ++x) {
        for (int32_t y = 0; y < s.YSize; ++y)
            PutF32(column.data() + 4 * static_cast<size_t>(y), s.Rows[y][x]);
        ok = file.Write(column.data(), column.size());
        progress.ProgressUpdate(x, s.XSize);
        progress.PumpPendingMessage();
    }
    return FinishWrite(file, ok, progress, MatWriteCancelled, MatWriteFailed, reason);
}

} // namespace korvel
