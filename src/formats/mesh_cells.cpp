// The cell walk: each cell of the output grid as two triangles (DXF, RAW, TIN, Ray Dream, POV)
// or as one quad (DXF quads).

#include "formats/format_support.h"
#include "formats/mesh_writers.h"
#include "formats/ray_dream_scene.h"
#include "formats/text_sink.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace korvel {

namespace {

constexpr const char* DxfHeader = "0\nSECTION\n2\nHEADER\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n";
constexpr const char* DxfFooter = "0\nENDSEC\n0\nEOF\n";
constexpr const char* PovFooter = "texture { pigment {color Green} finish {Dull} }\n}\n";
constexpr int32_t ProgressStepPercent = 2;
constexpr int32_t TinDecimals = 6;

struct Corner {
    std::string_view X, Y, Z;
    std::string_view NX, NY, NZ; // the unit normal, POV only
};

// The numbers of the sampled rows a few rows around the current one: the POV normals look one
// row beyond the two a row of cells joins.
class RowWindow {
public:
    explicit RowWindow(const MeshGrid& grid) : Grid(grid) { Tags.fill(-1); }
    const std::vector<double>& Row(int32_t j) {
        j = std::clamp(j, 0, Grid.Height() - 1);
        const size_t slot = static_cast<size_t>(j) % Slots.size();
        if (Tags[slot] != j) {
            Grid.SampleRow(j, Slots[slot]);
            Tags[slot] = j;
        }
        return Slots[slot];
    }

private:
    const MeshGrid& Grid;
    std::array<std::vector<double>, 4> Slots;
    std::array<int32_t, 4> Tags{};
};

// One row of vertices as the cells use it.
struct VertexRow {
    std::vector<double> Z; // as mapped, for the clip tests
    NumberTexts ZText;     // clamped into the clip range
    NumberTexts Normals;   // nx, ny, nz of each vertex
    std::string YText;
};

class CellWalk {
public:
    CellWalk(MeshKind kind, const MeshGrid& grid, const MeshLayout& layout, TextSink& out)
        : Kind(kind), Grid(grid), Out(out), Window(grid), Low(layout.ClipLow),
          High(layout.ClipHigh), Decimals(kind == MeshKind::Tin ? TinDecimals : grid.Decimals()) {
        std::vector<double> xs(static_cast<size_t>(grid.Width()));
        for (int32_t i = 0; i < grid.Width(); ++i)
            xs[static_cast<size_t>(i)] = grid.X(i);
        XText.Assign(xs, Decimals);
    }

    void Header();
    void Footer();
    void Start() { Fill(Below, 0); }
    // Row j of cells, between vertex rows j and j + 1.
    void CellRow(int32_t j);

private:
    void Fill(VertexRow& row, int32_t j);
    Corner At(const VertexRow& row, size_t i) const;
    bool InRange(double z) const { return z >= Low && z < High; }
    bool TriangleShown(double a, double b, double c) const {
        return std::isfinite(a) && std::isfinite(b) && std::isfinite(c) &&
               (InRange(a) || InRange(b) || InRange(c));
    }
    void Triangle(const Corner& a, const Corner& b, const Corner& c);
    void Quad(const Corner& c00, const Corner& c10, const Corner& c11, const Corner& c01);
    void DxfCorner(char index, const Corner& c);
    void Separated(const Corner& c, char between);

    MeshKind Kind;
    const MeshGrid& Grid;
    TextSink& Out;
    RowWindow Window;
    double Low, High;
    int32_t Decimals;
    NumberTexts XText;
    VertexRow Below, Above;
    std::vector<double> Clamped;
    std::vector<double> NormalValues;
};

void CellWalk::Header() {
    switch (Kind) {
    case MeshKind::DxfTriangles:
    case MeshKind::DxfQuads:
        Out.Put(DxfHeader);
        break;
    case MeshKind::RayDream:
        Out.Put(RayDreamSceneHeader());
        break;
    case MeshKind::PovMesh:
        Out.Put("mesh {\n");
        break;
    default:
        break;
    }
}

void CellWalk::Footer() {
    switch (Kind) {
    case MeshKind::DxfTriangles:
    case MeshKind::DxfQuads:
        Out.Put(DxfFooter);
        break;
    case MeshKind::RayDream:
        Out.Put(RayDreamSceneFooter());
        break;
    case MeshKind::PovMesh:
        Out.Put(PovFooter);
        break;
    default:
        break;
    }
}

void CellWalk::Fill(VertexRow& row, int32_t j) {
    row.Z = Window.Row(j);
    Clamped.resize(row.Z.size());
    for (size_t i = 0; i < row.Z.size(); ++i)
        Clamped[i] = std::clamp(row.Z[i], Low, High);
    row.ZText.Assign(Clamped, Decimals);
    char y[LongestFixedNumber];
    row.YText.assign(y, PutFixed(y, Grid.Y(j), Decimals));
    if (Kind != MeshKind::PovMesh)
        return;
    // The cross product of the differences across the vertex in X and in Y; a flat box or a
    // NaN gives no direction, and POV-Ray refuses a zero normal: such vertices face up.
    const std::vector<double>& down = Window.Row(j - 1);
    const std::vector<double>& up = Window.Row(j + 1);
    const double dy = Grid.Y(std::min(j + 1, Grid.Height() - 1)) - Grid.Y(std::max(j - 1, 0));
    const int32_t last = Grid.Width() - 1;
    NormalValues.resize(3 * row.Z.size());
    for (int32_t i = 0; i <= last; ++i) {
        const auto left = static_cast<size_t>(std::max(i - 1, 0));
        const auto right = static_cast<size_t>(std::min(i + 1, last));
        const auto at = static_cast<size_t>(i);
        const double dx = Grid.X(static_cast<int32_t>(right)) - Grid.X(static_cast<int32_t>(left));
        const double dzx = row.Z[right] - row.Z[left];
        const double dzy = up[at] - down[at];
        double n[3] = {-dzx * dy, -dx * dzy, dx * dy};
        const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        if (length > 0.0 && std::isfinite(length)) {
            for (double& v : n)
                v = v / length + 0.0; // no "-0.0000
        } else {
            n[0] = n[1] = 0.0;
            n[2] = 1.0;
        }
        std::copy(n, n + 3, NormalValues.begin() + static_cast<std::ptrdiff_t>(3 * at));
    }
    row.Normals.Assign(NormalValues, Decimals);
}

Corner CellWalk::At(const VertexRow& row, size_t i) const {
    Corner c{XText[i], row.YText, row.ZText[i], {}, {}, {}};
    if (Kind == MeshKind::PovMesh) {
        c.NX = row.Normals[3 * i];
        c.NY = row.Normals[3 * i + 1];
        c.NZ = row.Normals[3 * i + 2];
    }
    return c;
}

void CellWalk::CellRow(int32_t j) {
    Fill(Above, j + 1);
    const auto cells = static_cast<size_t>(Grid.Width() - 1);
    for (size_t i = 0; i < cells; ++i) {
        const double z00 = Below.Z[i], z10 = Below.Z[i + 1];
        const double z01 = Above.Z[i], z11 = Above.Z[i + 1];
        const Corner c00 = At(Below, i), c10 = At(Below, i + 1);
        const Corner c01 = At(Above, i), c11 = At(Above, i + 1);
        if (Kind == MeshKind::DxfQuads) {
            // Every corner inside the range, high end included; nothing is clamped.
            const auto inside = [&](double z) { return z >= Low && z <= High; };
            if (inside(z00) && inside(z10) && inside(z11) && inside(z01))
                Quad(c00, c10, c11, c01);
            continue;
        }
        if (TriangleShown(z00, z01, z11))
            Triangle(c00, c01, c11);
        if (TriangleShown(z00, z11, z10))
            Triangle(c00, c11, c10);
    }
    std::swap(Below, Above);
}

void CellWalk::DxfCorner(char index, const Corner& c) {
    const char codes[] = {'1', index, '\n', '\0'};
    Out.Put(codes);
    Out.Put(c.X);
    Out.Put("\n2");
    Out.Put(index);
    Out.Put('\n');
    Out.Put(c.Y);
    Out.Put("\n3");
    Out.Put(index);
    Out.Put('\n');
    Out.Put(c.Z);
    Out.Put('\n');
}

void CellWalk::Separated(const Corner& c, char between) {
    Out.Put(c.X);
    Out.Put(between);
    Out.Put(c.Y);
    Out.Put(between);
    Out.Put(c.Z);
}

void CellWalk::Triangle(const Corner& a, const Corner& b, const Corner& c) {
    switch (Kind) {
    case MeshKind::DxfTriangles:
        // A fourth corner left out is read as the origin: the third is repeated.
        Out.Put("0\n3DFACE\n8\n0\n62\n1\n");
        DxfCorner('0', a);
        DxfCorner('1', b);
        DxfCorner('2', c);
        DxfCorner('3', c);
        break;
    case MeshKind::RawTriangles:
        Separated(a, ' ');
        Out.Put(' ');
        Separated(b, ' ');
        Out.Put(' ');
        Separated(c, ' ');
        Out.Put('\n');
        break;
    case MeshKind::Tin:
        Out.Put("t ");
        Separated(a, ' ');
        Out.Put("    ");
        Separated(b, ' ');
        Out.Put("    ");
        Separated(c, ' ');
        Out.Put('\n');
        break;
    case MeshKind::RayDream:
        Out.Put("ff ");
        Separated(a, ',');
        Out.Put(',');
        Separated(b, ',');
        Out.Put(',');
        Separated(c, ',');
        Out.Put('\n');
        break;
    case MeshKind::PovMesh:
        Out.Put("smooth_triangle {\n");
        for (const Corner* v : {&a, &b, &c}) {
            Out.Put('<');
            Separated(*v, ',');
            Out.Put(">,<");
            Out.Put(v->NX);
            Out.Put(',');
            Out.Put(v->NY);
            Out.Put(',');
            Out.Put(v->NZ);
            Out.Put(v == &c ? ">\n" : ">,\n");
        }
        Out.Put("}\n");
        break;
    default:
        break;
    }
}

void CellWalk::Quad(const Corner& c00, const Corner& c10, const Corner& c11, const Corner& c01) {
    Out.Put("0\n3DFACE\n8\n0\n62\n1\n");
    DxfCorner('0', c00);
    DxfCorner('1', c10);
    DxfCorner('2', c11);
    DxfCorner('3', c01);
}

} // namespace

int32_t WriteCellWalk(MeshKind kind, const std::string& path, const MeshGrid& grid,
                      const MeshLayout& layout, Progress& progress, std::string* reason) {
    AtomicFile file(path);
    if (!file.Open())
        return FileFailure(file, MeshCannotCreate, reason);
    TextSink out(file);
    CellWalk walk(kind, grid, layout, out);
    progress.ProgressBegin(MeshProgressText(kind), ProgressStepPercent);
    walk.Header();
    walk.Start();
    const int32_t cellRows = grid.Height() - 1;
    for (int32_t j = 0; j < cellRows && out.Good() && !progress.CancelRequested(); ++j) {
        walk.CellRow(j);
        progress.ProgressUpdate(j + 1, cellRows);
        progress.PumpPendingMessage();
    }
    walk.Footer();
    return FinishWrite(file, out.Finish(), progress, MeshCancelled, MeshWriteFailed, reason);
}

} // namespace korvel
