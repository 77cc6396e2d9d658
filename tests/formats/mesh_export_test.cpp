// Meshes of small Surfaces worked out by hand: which cells and triangles each format writes,
// where their corners lie, and what a failed or cancelled export leaves behind.
#include "formats/mesh_export.h"

#include "core/workspace.h"
#include "support/failed_writes.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>

namespace korvel {
namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

size_t Count(const std::vector<std::string>& lines, const std::string& line) {
    return static_cast<size_t>(std::count(lines.begin(), lines.end(), line));
}

// The values after DXF group code code, in file order.
std::vector<double> GroupValues(const std::vector<std::string>& lines, const std::string& code) {
    std::vector<double> values;
    for (size_t i = 0; i + 1 < lines.size(); i += 2)
        if (lines[i] == code)
            values.push_back(std::stod(lines[i + 1]));
    return values;
}

std::vector<std::vector<double>> Rows(const std::string& text) {
    std::vector<std::vector<double>> rows;
    for (const std::string& line : Lines(text)) {
        std::istringstream in(line);
        std::vector<double> row;
        for (double v; in >> v;)
            row.push_back(v);
        rows.push_back(row);
    }
    return rows;
}

class MeshExport : public testing::Test {
public:
    // A Surface of the given rows, row 0 first, with its extremes found.
    void Grid(const std::vector<std::vector<float>>& rows) {
        const auto h = static_cast<int32_t>(rows.size());
        const auto w = static_cast<int32_t>(rows[0].size());
        ASSERT_EQ(ws.TheSurface.Resize(w, h, 0), 0);
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x)
                ws.TheSurface.Rows[y][x] = rows[static_cast<size_t>(y)][static_cast<size_t>(x)];
        ws.TheSurface.FindMinMax(ws.TheSurface.Min, ws.TheSurface.Max, ws.TheProgress);
    }
    std::string Write(MeshKind kind, int32_t* code = nullptr) {
        const std::string path = dir.File("mesh");
        std::string reason;
        const int32_t result =
            WriteMesh(kind, path, ws.TheSurface, layout, ws.Interp, ws.TheProgress, &reason);
        if (code)
            *code = result;
        else
            EXPECT_EQ(result, 0) << reason;
        return result == 0 ? test::ReadFileText(path) : std::string();
    }

    test::RecordingHost host;
    Workspace ws{host};
    test::TempDir dir;
    MeshLayout layout;
};

TEST_F(MeshExport, FourByFourDxfTrianglesCoverExactlyTheGrid) {
    Grid(std::vector<std::vector<float>>(4, {0, 1, 2, 3}));
    layout.Width = 4;
    layout.Height = 4;
    const auto lines = Lines(Write(MeshKind::DxfTriangles));
    // 3 x 3 cells of two triangles; nothing reaches column or row 4.
    EXPECT_EQ(Count(lines, "3DFACE"), 18u);
    for (const char* code : {"10", "11", "12", "13", "20", "21", "22", "23"})
        for (double v : GroupValues(lines, code)) {
            EXPECT_DOUBLE_EQ(v * 4, std::round(v * 4)) << code;
            EXPECT_LE(v, 0.75) << code;
        }
    // The third corner stands again as the fourth.
    EXPECT_EQ(GroupValues(lines, "13"), GroupValues(lines, "12"));
    EXPECT_EQ(GroupValues(lines, "33"), GroupValues(lines, "32"));
    EXPECT_EQ(lines.front(), "0");
    EXPECT_EQ(lines.back(), "EOF");
}

TEST_F(MeshExport, CountsOfEachFormat) {
    // 8 x 3 samples: 7 x 2 cells, 28 triangles; 24 vertices.
    Grid(std::vector<std::vector<float>>(3, {0, 1, 2, 3, 4, 5, 6, 7}));
    const struct {
        const char* Name;
        MeshKind Kind;
        std::string Line; // one per triangle, quad or vertex
        size_t Count;
    } cases[] = {
        {"DXF triangles", MeshKind::DxfTriangles, "3DFACE", 28},
        {"DXF quads", MeshKind::DxfQuads, "3DFACE", 14},
        {"POV", MeshKind::PovMesh, "smooth_triangle {", 28},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Count(Lines(Write(c.Kind)), c.Line), c.Count) << c.Name;
    EXPECT_EQ(Rows(Write(MeshKind::RawTriangles)).size(), 28u);
    EXPECT_EQ(Rows(Write(MeshKind::LonLatText)).size(), 24u);
    size_t faces = 0;
    for (const std::string& line : Lines(Write(MeshKind::RayDream)))
        faces += line.starts_with("ff ");
    EXPECT_EQ(faces, 28u);
}

TEST_F(MeshExport, ObjOfThreeByTwoOutput) {
    Grid({{0, 1, 2, 3}, {4, 5, 6, 7}, {8, 9, 10, 11}});
    layout.Width = 3;
    layout.Height = 2;
    const auto lines = Lines(Write(MeshKind::Obj));
    size_t v = 0, f = 0;
    for (const std::string& line : lines) {
        v += line.starts_with("v\t");
        f += line.starts_with("f\t");
    }
    EXPECT_EQ(v, 6u);
    EXPECT_EQ(f, 4u);
    // Columns 0, 1.5 and 3 of the Surface, rows 0 and 2: X = x / 4, Y = y / 3; the middle
    // column is sampled between 1 and 2, 5 and 6 (linear).
    EXPECT_EQ(lines[1], "v\t0.000000\t0.000000\t0.000000");
    EXPECT_EQ(lines[2], "v\t0.375000\t0.000000\t0.136364");
    EXPECT_EQ(lines[6], "v\t0.750000\t0.666667\t1.000000");
    EXPECT_EQ(lines[7], "g korsurf");
    EXPECT_EQ(lines[8], "f\t1\t2\t5");
    EXPECT_EQ(lines[9], "f\t1\t5\t4");
    EXPECT_EQ(lines[10], "f\t2\t3\t6");
    EXPECT_EQ(lines[11], "f\t2\t6\t5");
}

TEST_F(MeshExport, ClipRangeDropsAndRaisesTriangles) {
    // Z = h - 1 in the box -1..1 (Min 0, Max 2). Cell 0: heights 0,0 / 0,0 map to -1: both
    // triangles dropped. Cell 1: (1,0)=0 (2,0)=2 / (1,1)=0 (2,1)=0: triangle B holds the 2.
    Grid({{0, 0, 2, 0}, {0, 0, 0, 0}});
    layout.MinZ = -1;
    layout.MaxZ = 1;
    layout.ClipLow = 0;
    layout.ClipHigh = 1e20;
    layout.Decimals = 2;
    const auto rows = Rows(Write(MeshKind::RawTriangles));
    // Cell 1 B: (1,0),(2,1),(2,0), raised to 0 but the 1; cell 2: (2,0) is in both
    // triangles, A (2,0),(2,1),(3,1) and B (2,0),(3,1),(3,0).
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], (std::vector<double>{0.25, 0, 0, 0.5, 0.5, 0, 0.5, 0, 1}));
    EXPECT_EQ(rows[1], (std::vector<double>{0.5, 0, 1, 0.5, 0.5, 0, 0.75, 0.5, 0}));
    EXPECT_EQ(rows[2], (std::vector<double>{0.5, 0, 1, 0.75, 0.5, 0, 0.75, 0, 0}));
}

TEST_F(MeshExport, DecimalPlaces) {
    Grid({{0, 0, 0, 0}, {0, 0, 0, 0}});
    const struct {
        int32_t Decimals;
        const char* FirstRow;
    } cases[] = {{2, "0.00 0.00 0.00 0.00 0.50 0.00 0.25 0.50 0.00"},
                 {0, "0 0 0 0 0 0 0 0 0"},
                 {-3, "0 0 0 0 0 0 0 0 0"},
                 {40, "0.0000000000000000 0.0000000000000000 0.0000000000000000 "
                      "0.0000000000000000 0.5000000000000000 0.0000000000000000 "
                      "0.2500000000000000 0.5000000000000000 0.0000000000000000"}};
    for (const auto& c : cases) {
        layout.Decimals = c.Decimals;
        EXPECT_EQ(Lines(Write(MeshKind::RawTriangles))[0], c.FirstRow) << c.Decimals;
    }
}

TEST_F(MeshExport, FlatSurfaceMapsToMinZ) {
    Grid({{7, 7, 7, 7}, {7, 7, 7, 7}});
    layout.MinZ = 3;
    layout.MaxZ = 9;
    for (const auto& row : Rows(Write(MeshKind::LonLatText)))
        EXPECT_EQ(row[2], 3.0);
}

TEST_F(MeshExport, PovNormalsAreUnitAndNeverNaN) {
    // A slope rising by 1 per unit of X leans back at 45 degrees. A box flat in X and Z gives
    // no direction: the normal faces up.
    Grid({{0, 1, 2, 3}, {0, 1, 2, 3}});
    layout.MaxZ = 3; // Z = h
    layout.MaxX = 4; // X = x
    layout.Decimals = 4;
    std::string text = Write(MeshKind::PovMesh);
    EXPECT_NE(text.find("<1.0000,0.0000,1.0000>,<-0.7071,0.0000,0.7071>"), std::string::npos);
    layout.MaxX = 0;
    layout.MaxZ = 0;
    text = Write(MeshKind::PovMesh);
    EXPECT_EQ(text.find("nan"), std::string::npos);
    EXPECT_NE(text.find(",<0.0000,0.0000,1.0000>"), std::string::npos);
    EXPECT_EQ(text.find(",<-0.7071"), std::string::npos);
}

TEST_F(MeshExport, PositionsAreStepMultiplesOnLargeGrids) {
    // 40000 columns in 3 vertices: the last is column 39999 exactly, whatever the rounding.
    ASSERT_EQ(ws.TheSurface.Resize(40000, 2, 0), 0);
    ws.TheSurface.Max = 1;
    layout.Width = 3;
    layout.MaxX = 40000;
    layout.Decimals = 3;
    const auto rows = Rows(Write(MeshKind::LonLatText));
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0][0], 0.0);
    EXPECT_EQ(rows[1][0], 19999.5);
    EXPECT_EQ(rows[2][0], 39999.0);
}

TEST_F(MeshExport, SingleRowOrColumnIsRefused) {
    ASSERT_EQ(ws.TheSurface.Resize(8, 1, 0), 0);
    int32_t code = 0;
    EXPECT_EQ(Write(MeshKind::Obj, &code), "");
    EXPECT_EQ(code, MeshTooNarrow);
    Workspace empty(host);
    std::string reason;
    EXPECT_EQ(WriteMesh(MeshKind::Obj, dir.File("x"), empty.TheSurface, layout, ws.Interp,
                        ws.TheProgress, &reason),
              MeshNoGrid);
    EXPECT_EQ(reason, "the Surface has no grid to write");
}

TEST_F(MeshExport, EveryFormatKeepsTheOldFileWhenItFails) {
    Grid(std::vector<std::vector<float>>(64, std::vector<float>(64, 1.0f)));
    ws.TheSurface.Rows[3][3] = 5;
    ws.TheSurface.Max = 5;
    const MeshKind kinds[] = {MeshKind::DxfTriangles, MeshKind::DxfQuads,  MeshKind::RawTriangles,
                              MeshKind::Tin,          MeshKind::RayDream,  MeshKind::PovMesh,
                              MeshKind::Obj,          MeshKind::LonLatText};
    for (MeshKind kind : kinds) {
        const std::string name = MeshCaption(kind);
        std::string reason;
        EXPECT_EQ(WriteMesh(kind, dir.File("no/such/folder/x"), ws.TheSurface, layout, ws.Interp,
                            ws.TheProgress, &reason),
                  MeshCannotCreate)
            << name;
        EXPECT_EQ(reason, "No such file or directory") << name;
        const test::FailedWriteCodes codes =
            test::TryFailedWrites(host, ws.TheProgress, dir, name, [&](const std::string& path) {
                return WriteMesh(kind, path, ws.TheSurface, layout, ws.Interp, ws.TheProgress);
            });
        EXPECT_EQ(codes.Cancelled, MeshCancelled) << name;
        EXPECT_EQ(codes.DiskFull, MeshWriteFailed) << name;
    }
}

} // namespace
} // namespace korvel
