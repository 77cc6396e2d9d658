// The vertex walk: every vertex of the output grid once, row by row (OBJ, lon/lat text), and the
// OBJ faces after them.

#include "formats/format_support.h"
#include "formats/mesh_writers.h"
#include "formats/text_sink.h"

namespace korvel {

namespace {

constexpr int32_t ProgressStepPercent = 2;
constexpr int32_t ObjDecimals = 6;

// Vertices are numbered from 1 in row-major order; 64 bits, as a 4096 x 4096 grid's faces
// already pass 2^31 bytes and large grids pass 2^31 vertices.
void ObjFaceRow(TextSink& out, uint64_t row, uint64_t width) {
    for (uint64_t c = 0; c + 1 < width; ++c) {
        const uint64_t a = row * width + c + 1;
        out.Put("f\t");
        out.Integer(a);
        out.Put('\t');
        out.Integer(a + 1);
        out.Put('\t');
        out.Integer(a + width + 1);
        out.Put("\nf\t");
        out.Integer(a);
        out.Put('\t');
        out.Integer(a + width + 1);
        out.Put('\t');
        out.Integer(a + width);
        out.Put('\n');
    }
}

} // namespace

int32_t WriteVertexGrid(MeshKind kind, const std::string& path, const MeshGrid& grid,
                        const MeshLayout& layout, Progress& progress, std::string* reason) {
    const bool obj = kind == MeshKind::Obj;
    const int32_t decimals = obj ? ObjDecimals : grid.Decimals();
    AtomicFile file(path);
    if (!file.Open())
        return FileFailure(file, MeshCannotCreate, reason);
    TextSink out(file);
    progress.ProgressBegin(MeshProgressText(kind), ProgressStepPercent);

    const int32_t width = grid.Width();
    const int32_t height = grid.Height();
    std::vector<double> values(static_cast<size_t>(width));
    for (int32_t i = 0; i < width; ++i)
        values[static_cast<size_t>(i)] = grid.X(i);
    NumberTexts xs;
    xs.Assign(values, decimals);
    NumberTexts zs;
    char y[LongestFixedNumber];
    // Both passes of the OBJ count towards the progress.
    const double total = obj ? 2.0 * height - 1.0 : height;
    if (obj)
        out.Put("g\n");
    int32_t j = 0;
    for (; j < height && out.Good() && !progress.CancelRequested(); ++j) {
        grid.SampleRow(j, values);
        zs.Assign(values, decimals);
        const std::string_view yText(y, static_cast<size_t>(PutFixed(y, grid.Y(j), decimals) - y));
        for (size_t i = 0; i < values.size(); ++i) {
            if (obj) {
                out.Put("v\t");
            } else if (!(values[i] >= layout.ClipLow && values[i] < layout.ClipHigh)) {
                continue;
            }
            const char between = obj ? '\t' : ' ';
            out.Put(xs[i]);
            out.Put(between);
            out.Put(yText);
            out.Put(between);
            out.Put(zs[i]);
            out.Put('\n');
        }
        progress.ProgressUpdate(j + 1, total);
        progress.PumpPendingMessage();
    }
    if (obj && j == height) {
        out.Put("g korsurf\n");
        for (int32_t r = 0; r + 1 < height && out.Good() && !progress.CancelRequested(); ++r) {
            ObjFaceRow(out, static_cast<uint64_t>(r), static_cast<uint64_t>(width));
            progress.ProgressUpdate(height + r + 1, total);
            progress.PumpPendingMessage();
        }
    }
    return FinishWrite(file, out.Finish(), progress, MeshCancelled, MeshWriteFailed, reason);
}

} // namespace korvel
