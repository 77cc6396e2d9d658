#include "formats/dxf_contours.h"

#include "formats/conrec.h"
#include "formats/format_support.h"
#include "formats/text_sink.h"

#include <cmath>
#include <cstdio>
#include <unistd.h>
#include <unordered_map>
#include <vector>

namespace korvel {

namespace {

constexpr StatusText Texts[] = {
    {DxfContourCancelled, "cancelled"},
    {DxfContourCannotCreate, "the DXF file cannot be created"},
    {DxfContourWriteFailed, "the DXF file cannot be written"},
    {DxfContourRawFailed, "the raw contour segment file failed"},
};

constexpr int32_t ProgressStepPercent = 6;
constexpr int MapDecimals = 6; // "%f"
constexpr size_t RawBlockRecords = 1 << 16;

struct RawSegment {
    float X1, Y1, X2, Y2, Z;
};

// The raw file lives only while the export runs.
class RawFile {
public:
    explicit RawFile(std::string path) : Path(std::move(path)) {}
    ~RawFile() {
        if (Stream)
            std::fclose(Stream);
        unlink(Path.c_str());
    }
    bool Create() {
        Stream = std::fopen(Path.c_str(), "wb");
        return Stream != nullptr;
    }
    bool Append(const ContourSegment& s) {
        uint8_t* at = Block.data() + Used;
        PutU32(at, 0);
        PutF32(at + 4, static_cast<float>(s.X1));
        PutF32(at + 8, static_cast<float>(s.Y1));
        PutF32(at + 12, static_cast<float>(s.X2));
        PutF32(at + 16, static_cast<float>(s.Y2));
        PutF32(at + 20, static_cast<float>(s.Z));
        Used += RawSegmentBytes;
        return Used < Block.size() || Flush();
    }
    // Closes the file; false when any write failed.
    bool Close() {
        bool ok = Flush();
        ok = std::fclose(Stream) == 0 && ok;
        Stream = nullptr;
        return ok;
    }
    const std::string& Name() const { return Path; }

private:
    bool Flush() {
        Ok = Ok && std::fwrite(Block.data(), 1, Used, Stream) == Used;
        Used = 0;
        return Ok;
    }
    std::string Path;
    std::FILE* Stream = nullptr;
    std::vector<uint8_t> Block = std::vector<uint8_t>(RawBlockRecords * RawSegmentBytes);
    size_t Used = 0;
    bool Ok = true;
};

std::vector<RawSegment> ReadSegments(const uint8_t* data, size_t size) {
    std::vector<RawSegment> segments(size / RawSegmentBytes);
    for (size_t i = 0; i < segments.size(); ++i) {
        const uint8_t* at = data + i * RawSegmentBytes;
        segments[i] = {GetF32(at + 4), GetF32(at + 8), GetF32(at + 12), GetF32(at + 16),
                       GetF32(at + 20)};
    }
    return segments;
}

class LineWriter {
public:
    LineWriter(TextSink& out, bool elevations) : Out(out), Elevations(elevations) {}
    void Line(float x1, float y1, float x2, float y2, float z) {
        Out.Put("0\nLINE\n8\n0\n10\n");
        Out.Fixed(x1, MapDecimals);
        Out.Put("\n20\n");
        Out.Fixed(y1, MapDecimals);
        if (Elevations) {
            Out.Put("\n30\n");
            Out.Fixed(z, MapDecimals);
        }
        Out.Put("\n11\n");
        Out.Fixed(x2, MapDecimals);
        Out.Put("\n21\n");
        Out.Fixed(y2, MapDecimals);
        if (Elevations) {
            Out.Put("\n31\n");
            Out.Fixed(z, MapDecimals);
        }
        Out.Put('\n');
        ++Count;
    }
    // One joined chain: a POLYLINE of its corners, closed when it ends where it began.
    void Polyline(std::vector<std::pair<float, float>>& points, float z) {
        const bool closed = points.size() > 2 && points.front() == points.back();
        if (closed)
            points.pop_back();
        Out.Put("0\nPOLYLINE\n8\n0\n66\n1\n10\n0.0\n20\n0.0\n30\n");
        Out.Fixed(Elevations ? z : 0.0f, MapDecimals);
        Out.Put(closed ? "\n70\n1\n" : "\n70\n0\n");
        for (const auto& [x, y] : points) {
            Out.Put("0\nVERTEX\n8\n0\n10\n");
            Out.Fixed(x, MapDecimals);
            Out.Put("\n20\n");
            Out.Fixed(y, MapDecimals);
            Out.Put('\n');
        }
        Out.Put("0\nSEQEND\n8\n0\n");
        ++Count;
    }
    int64_t Count = 0;

private:
    TextSink& Out;
    bool Elevations;
};

// Segments meeting end to end at one level are followed as a chain and written as one
// polyline, a straight run of segments as one side of it. Neighbouring cells compute a shared
// crossing with the same arithmetic, so the ends match exactly.
void WriteMerged(const std::vector<RawSegment>& segments, LineWriter& lines) {
    struct Key {
        float X, Y, Z;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        size_t operator()(const Key& k) const {
            const auto bits = [](float v) { return std::hash<float>()(v); };
            return bits(k.X) * 31 + bits(k.Y) * 17 + bits(k.Z);
        }
    };
    std::unordered_multimap<Key, size_t, KeyHash> ends;
    for (size_t i = 0; i < segments.size(); ++i) {
        const RawSegment& s = segments[i];
        ends.emplace(Key{s.X1, s.Y1, s.Z}, i);
        ends.emplace(Key{s.X2, s.Y2, s.Z}, i);
    }
    std::vector<bool> used(segments.size(), false);
    const auto chain = [&](size_t start, bool reversed) {
        used[start] = true;
        const RawSegment& first = segments[start];
        float runX = reversed ? first.X2 : first.X1, runY = reversed ? first.Y2 : first.Y1;
        float endX = reversed ? first.X1 : first.X2, endY = reversed ? first.Y1 : first.Y2;
        const float z = first.Z;
        std::vector<std::pair<float, float>> corners{{runX, runY}};
        for (;;) {
            const auto [from, to] = ends.equal_range(Key{endX, endY, z});
            size_t next = segments.size();
            for (auto it = from; it != to; ++it)
                if (!used[it->second]) {
                    next = it->second;
                    break;
                }
            if (next == segments.size())
                break;
            used[next] = true;
            const RawSegment& n = segments[next];
            const bool forward = n.X1 == endX && n.Y1 == endY;
            const float nx = forward ? n.X2 : n.X1, ny = forward ? n.Y2 : n.Y1;
            // Straight on: the run grows; a bend ends it.
            const double ax = endX - runX, ay = endY - runY, bx = nx - endX, by = ny - endY;
            const double cross = ax * by - ay * bx;
            const double scale = std::hypot(ax, ay) * std::hypot(bx, by);
            if (!(std::fabs(cross) <= 1e-9 * scale && ax * bx + ay * by > 0.0)) {
                corners.emplace_back(endX, endY);
                runX = endX, runY = endY;
            }
            endX = nx, endY = ny;
        }
        corners.emplace_back(endX, endY);
        lines.Polyline(corners, z);
    };
    // Open chains from their free ends first, so that none is cut in two; then the loops.
    const auto free = [&](float x, float y, float z) { return ends.count(Key{x, y, z}) == 1; };
    for (size_t i = 0; i < segments.size(); ++i) {
        const RawSegment& g = segments[i];
        if (!used[i] && free(g.X1, g.Y1, g.Z))
            chain(i, false);
        else if (!used[i] && free(g.X2, g.Y2, g.Z))
            chain(i, true);
    }
    for (size_t i = 0; i < segments.size(); ++i)
        if (!used[i])
            chain(i, false);
}

} // namespace

const StatusTable DxfContourTexts{"DXF contour writing", Texts};

int32_t WriteDxfContourFile(const std::string& path, const Surface& s,
                            const DxfContourOptions& options, Progress& progress, int64_t& lines,
                            std::string* reason) {
    lines = 0;
    RawFile raw(path + ".$RV");
    if (!raw.Create())
        return Refuse(reason, DxfContourRawFailed,
                      "the raw segment file \"" + raw.Name() +
                          "\" cannot be created: " + ErrnoText(errno));
    progress.ProgressBegin("Generating raw 2D contour file", ProgressStepPercent);
    bool rawOk = true;
    int64_t emitted = 0;
    const bool finished = ContourGrid(s, options.Levels, progress, [&](const ContourSegment& seg) {
        ++emitted;
        rawOk = raw.Append(seg);
        return rawOk;
    });
    progress.ProgressEnd();
    rawOk = raw.Close() && rawOk;
    if (!finished && rawOk) {
        progress.ConsumeCancel();
        return Refuse(reason, DxfContourTexts, DxfContourCancelled);
    }
    if (!rawOk)
        return Refuse(reason, DxfContourRawFailed,
                      "the raw segment file \"" + raw.Name() +
                          "\" cannot be written: " + ErrnoText(errno));

    const auto translate = [&](const uint8_t* data, size_t size) {
        AtomicFile file(path);
        if (!file.Open())
            return FileFailure(file, DxfContourCannotCreate, reason);
        TextSink out(file);
        LineWriter writer(out, options.Elevations);
        progress.ProgressBegin("Translating file to DXF", ProgressStepPercent);
        out.Put("999\nCreated by Korvel\n0\nSECTION\n2\nENTITIES\n");
        const std::vector<RawSegment> segments = ReadSegments(data, size);
        if (options.Merge) {
            WriteMerged(segments, writer);
        } else {
            for (size_t i = 0; i < segments.size() && out.Good(); ++i) {
                const RawSegment& g = segments[i];
                writer.Line(g.X1, g.Y1, g.X2, g.Y2, g.Z);
                if (i % 65536 == 0)
                    progress.ProgressUpdate(static_cast<double>(i),
                                            static_cast<double>(segments.size()));
            }
        }
        out.Put("0\nENDSEC\n0\nEOF\n");
        lines = writer.Count;
        return FinishWrite(file, out.Finish(), progress, DxfContourCancelled, DxfContourWriteFailed,
                           reason);
    };
    // An empty file cannot be mapped; no segment is no reason to fail.
    if (emitted == 0)
        return translate(nullptr, 0);
    return ReadMappedFile(raw.Name(), reason, translate, DxfContourRawFailed, DxfContourRawFailed);
}

} // namespace korvel
