#include "formats/bryce.h"

#include "core/workspace.h"
#include "formats/format_support.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <string_view>
#include <vector>

namespace korvel {

namespace {

constexpr std::string_view Signature = "CCmF - Universal";
constexpr size_t SignatureTextLength = 236;
constexpr std::string_view SignatureText =
    "CCmF - Universal composite file, terrain document written by the Korvel height-field "
    "editor";
constexpr std::array<int32_t, 7> Sizes = {16, 32, 64, 128, 256, 512, 1024};

constexpr std::string_view Bryce2Tag = "3dobhfld";
constexpr std::array<uint8_t, 8> Bryce3DTag = {'e', 's', 'a', 'b', 0xF0, 0x13, 0x2A, 0x01};

// Where the grid lies after the start of the tag, and where the size code is.
constexpr size_t Bryce2GridOffset = 720;
constexpr size_t Bryce3DGridOffset = 880;
constexpr size_t Bryce2SizeCodeOffset = 97;
constexpr size_t Bryce3DSizeOffset = 876;

constexpr size_t Bryce2HeadLength = 69919;
constexpr size_t Bryce2TailLength = 20896;
constexpr size_t Bryce3DHeadLength = 39868;
// The terrain record (N, N, grid bytes) at the place of Bryce 2's size block, in both heads.
constexpr size_t TerrainRecordAt = 856;

constexpr int32_t ProgressStep = 5;

constexpr StatusText ReadTexts[] = {
    {BryceCannotOpen, "Bryce file cannot be opened"},
    {BryceCannotMap, "Bryce file cannot be mapped"},
    {BryceNoGrid, "the height grid was not found or does not fit in the Bryce file"},
    {BryceNotBryce, "not a Bryce file (it does not begin with \"CCmF - Universal\")"},
    {BryceOutOfMemory, "out of memory for the Surface of the Bryce file"},
    {BryceReadCancelled, "cancelled"},
};
constexpr StatusText WriteTexts[] = {
    {BryceWriteCancelled, "cancelled"},
    {BryceBadSize, "the grid size is not one of 16, 32, 64, 128, 256, 512 or 1024"},
    {BryceCannotCreate, "the Bryce file cannot be created"},
    {BryceWriteFailed, "the Bryce file cannot be written"},
    {BryceNothingToWrite, "the Surface has no grid to write"},
};

size_t TailLength(BryceKind kind, int32_t n) {
    if (kind == BryceKind::Bryce2)
        return Bryce2TailLength;
    switch (n) {
    case 256:
        return 128272;
    case 512:
        return 128284;
    case 1024:
        return 128332;
    default:
        return 128268;
    }
}

size_t HeadLength(BryceKind kind) {
    return kind == BryceKind::Bryce2 ? Bryce2HeadLength : Bryce3DHeadLength;
}

size_t GridOffset(BryceKind kind) {
    return kind == BryceKind::Bryce2 ? Bryce2GridOffset : Bryce3DGridOffset;
}

std::span<const uint8_t> Tag(BryceKind kind) {
    if (kind == BryceKind::Bryce3D)
        return Bryce3DTag;
    return {reinterpret_cast<const uint8_t*>(Bryce2Tag.data()), Bryce2Tag.size()};
}

// 0x20 for 16 up to 0x80 for 1024.
uint8_t Bryce2SizeCode(int32_t n) {
    return static_cast<uint8_t>(0x10 * (std::countr_zero(static_cast<uint32_t>(n)) - 2));
}

int32_t SizeFromBryce2Code(uint8_t code) {
    for (int32_t n : Sizes)
        if (Bryce2SizeCode(n) == code)
            return n;
    return 0;
}

void PutBE(uint8_t* at, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        at[i] = static_cast<uint8_t>(v >> (8 * (bytes - 1 - i)));
}

// The head with the tag and size code placed where the readers look, so a written file reads
// back for every N.
std::vector<uint8_t> MakeHead(BryceKind kind, int32_t n) {
    std::vector<uint8_t> head(HeadLength(kind), 0);
    std::memcpy(head.data(), SignatureText.data(),
                std::min(SignatureText.size(), SignatureTextLength));
    uint8_t* record = head.data() + TerrainRecordAt;
    PutBE(record, static_cast<uint32_t>(n), 2);
    PutBE(record + 2, static_cast<uint32_t>(n), 2);
    PutBE(record + 4, static_cast<uint32_t>(n) * static_cast<uint32_t>(n) * 2, 4);

    const size_t tagAt = head.size() - GridOffset(kind);
    const std::span<const uint8_t> tag = Tag(kind);
    std::ranges::copy(tag, head.begin() + static_cast<std::ptrdiff_t>(tagAt));
    if (kind == BryceKind::Bryce2)
        head[tagAt + Bryce2SizeCodeOffset] = Bryce2SizeCode(n);
    else
        PutU16(head.data() + tagAt + Bryce3DSizeOffset, static_cast<uint32_t>(n));
    return head;
}

// N from the size code after the tag; 0 when it is not a listed size or lies past the end.
int32_t SizeAfterTag(BryceKind kind, const uint8_t* data, size_t size, size_t tagAt) {
    if (kind == BryceKind::Bryce2) {
        if (size - tagAt <= Bryce2SizeCodeOffset)
            return 0;
        return SizeFromBryce2Code(data[tagAt + Bryce2SizeCodeOffset]);
    }
    if (size - tagAt < Bryce3DSizeOffset + 2)
        return 0;
    const auto n = static_cast<int32_t>(GetU16(data + tagAt + Bryce3DSizeOffset));
    return IsBryceSize(n) ? n : 0;
}

uint16_t ScaledSample(double v, double min, double scale, double top) {
    const double t = (v - min) * scale;
    if (!(t > 0.0)) // NaN too
        return 0;
    return static_cast<uint16_t>(std::min(std::trunc(t), top));
}

} // namespace

const StatusTable BryceReadTexts{"Bryce reading", ReadTexts};
const StatusTable BryceWriteTexts{"Bryce writing", WriteTexts};

std::span<const int32_t> BryceSizes() {
    return Sizes;
}

bool IsBryceSize(int32_t n) {
    return std::ranges::find(Sizes, n) != Sizes.end();
}

size_t BryceFileLength(BryceKind kind, int32_t n) {
    return HeadLength(kind) + static_cast<size_t>(n) * static_cast<size_t>(n) * 2 +
           TailLength(kind, n);
}

int32_t ReadBryceBuffer(BryceKind kind, const uint8_t* data, size_t size, Workspace& ws,
                        const std::string& name, std::string* reason) {
    if (!data || size < Signature.size() ||
        std::memcmp(data, Signature.data(), Signature.size()) != 0)
        return Refuse(reason, BryceReadTexts, BryceNotBryce);
    const std::span<const uint8_t> tag = Tag(kind);
    const uint8_t* end = data + size;
    const uint8_t* found = std::search(data, end, tag.begin(), tag.end());
    if (found == end)
        return Refuse(reason, BryceReadTexts, BryceNoGrid, "no chunk tag");
    const auto tagAt = static_cast<size_t>(found - data);
    const int32_t n = SizeAfterTag(kind, data, size, tagAt);
    if (n == 0)
        return Refuse(reason, BryceReadTexts, BryceNoGrid, "no listed grid size after the tag");
    const size_t gridAt = tagAt + GridOffset(kind);
    const size_t gridBytes = static_cast<size_t>(n) * static_cast<size_t>(n) * 2;
    if (size < gridAt || size - gridAt < gridBytes)
        return Refuse(reason, BryceReadTexts, BryceNoGrid,
                      SizeText(n, n) + " grid, " + BytesText(size, gridAt + gridBytes));

    Surface& s = ws.TheSurface;
    Progress& progress = ws.TheProgress;
    progress.ProgressBegin(std::string(kind == BryceKind::Bryce2 ? "Reading Bryce terrain "
                                                                 : "Reading Bryce 3D terrain ") +
                               name,
                           ProgressStep);
    if (s.Resize(n, n, -1) != 0) {
        progress.ProgressEnd();
        return Refuse(reason, BryceReadTexts, BryceOutOfMemory);
    }
    int32_t k = 0;
    for (; k < n && !progress.CancelRequested(); ++k) {
        const uint8_t* in = data + gridAt + static_cast<size_t>(k) * static_cast<size_t>(n) * 2;
        float* row = s.Rows[n - 1 - k];
        for (int32_t x = 0; x < n; ++x, in += 2)
            row[x] = static_cast<float>((in[0] << 8) | in[1]);
        progress.ProgressUpdate(k, n);
    }
    progress.ProgressEnd();
    if (progress.ConsumeCancel()) {
        for (int32_t y = 0; y < n - k; ++y)
            std::fill_n(s.Rows[y], n, 0.0f);
        return Refuse(reason, BryceReadTexts, BryceReadCancelled);
    }
    s.FindMinMax(s.Min, s.Max, progress);
    return 0;
}

int32_t ReadBryceFile(BryceKind kind, const std::string& path, Workspace& ws, std::string* reason) {
    return ReadMappedFile(
        path, reason,
        [&](const uint8_t* data, size_t size) {
            return ReadBryceBuffer(kind, data, size, ws, path, reason);
        },
        BryceCannotOpen, BryceCannotMap);
}

BryceLayout WholeSurfaceLayout(const Workspace& ws, int32_t n) {
    const Surface& s = ws.TheSurface;
    BryceLayout layout;
    layout.Size = n;
    layout.Top = s.YSize - 1;
    layout.Left = 0.0;
    layout.Right = s.XSize - 1;
    layout.Bottom = 0.0;
    return layout;
}

int32_t WriteBryceFile(BryceKind kind, const std::string& path, const BryceLayout& layout,
                       Workspace& ws, std::string* reason) {
    const Surface& s = ws.TheSurface;
    const int32_t n = layout.Size;
    if (!IsBryceSize(n))
        return Refuse(reason, BryceWriteTexts, BryceBadSize, std::to_string(n));
    if (!s.HasGrid())
        return Refuse(reason, BryceWriteTexts, BryceNothingToWrite);
    const double xHi = s.XSize - 1;
    const double yHi = s.YSize - 1;
    const double top = std::clamp(layout.Top, 0.0, yHi);
    const double bottom = std::clamp(layout.Bottom, 0.0, yHi);
    const double left = std::clamp(layout.Left, 0.0, xHi);
    const double right = std::clamp(layout.Right, 0.0, xHi);

    AtomicFile file(path);
    if (!file.Open())
        return FileFailure(file, BryceCannotCreate, reason);
    const std::vector<uint8_t> head = MakeHead(kind, n);
    const double levels = kind == BryceKind::Bryce3D ? 65534.0 : 2047.0;
    const double scale = levels / (s.Max - s.Min + 0.00001);

    Progress& progress = ws.TheProgress;
    progress.CancelFlag = 0;
    progress.ProgressBegin(
        kind == BryceKind::Bryce2 ? "Writing Bryce 2 File" : "Writing Bryce 3D File", ProgressStep);
    bool ok = file.Write(head.data(), head.size());
    std::vector<uint8_t> row(static_cast<size_t>(n) * 2);
    for (int32_t r = 0; ok && r < n && !progress.CancelRequested(); ++r) {
        const double y = top + (bottom - top) * r / (n - 1);
        for (int32_t c = 0; c < n; ++c) {
            const double x = left + (right - left) * c / (n - 1);
            PutBE(row.data() + 2 * static_cast<size_t>(c),
                  ScaledSample(s.SampleAt(x, y, ws.Interp), s.Min, scale, levels), 2);
        }
        ok = file.Write(row.data(), row.size());
        progress.ProgressUpdate(r, n);
    }
    const std::vector<uint8_t> tail(TailLength(kind, n), 0);
    ok = ok && file.Write(tail.data(), tail.size());
    return FinishWrite(file, ok, progress, BryceWriteCancelled, BryceWriteFailed, reason);
}

} // namespace korvel
