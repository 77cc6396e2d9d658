// Geometry exports of a 4096 x 4096 terrain against their yardsticks, in one run: the OBJ mesh
// against an fprintf writer of the same bytes (same values, same temporary file, fsync and
// rename), and the DXF contours at a 100 m interval against `gdal_contour -f DXF -i 100` on the
// same elevations (skipped when gdal_contour is missing). Usage: bench_mesh_export [folder]

#include "core/atomic_file.h"
#include "core/headless_host.h"
#include "core/workspace.h"
#include "formats/dxf_contours.h"
#include "formats/mesh_export.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace korvel;

constexpr int32_t Side = 4096;

double Seconds(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The OBJ as printf would write it, value for value what WriteMesh writes.
bool WriteObjWithFprintf(const std::string& path, const Surface& s, const MeshLayout& layout,
                         const InterpSettings& interp) {
    MeshGrid grid;
    if (grid.Lay(s, layout, interp, nullptr) != 0)
        return false;
    const std::string temp = path + ".printf";
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f)
        return false;
    std::fprintf(f, "g\n");
    std::vector<double> z;
    for (int32_t j = 0; j < grid.Height(); ++j) {
        grid.SampleRow(j, z);
        const double y = grid.Y(j);
        for (int32_t i = 0; i < grid.Width(); ++i)
            std::fprintf(f, "v\t%0.6f\t%0.6f\t%0.6f\n", grid.X(i), y, z[static_cast<size_t>(i)]);
    }
    std::fprintf(f, "g korsurf\n");
    const auto w = static_cast<long long>(grid.Width());
    for (long long r = 0; r + 1 < grid.Height(); ++r)
        for (long long c = 0; c + 1 < w; ++c) {
            const long long a = r * w + c + 1;
            std::fprintf(f, "f\t%lld\t%lld\t%lld\n", a, a + 1, a + w + 1);
            std::fprintf(f, "f\t%lld\t%lld\t%lld\n", a, a + w + 1, a + w);
        }
    const bool ok = std::fflush(f) == 0 && fsync(fileno(f)) == 0;
    return std::fclose(f) == 0 && ok && std::rename(temp.c_str(), path.c_str()) == 0;
}

bool SameFiles(const std::string& a, const std::string& b) {
    std::ifstream fa(a, std::ios::binary), fb(b, std::ios::binary);
    std::vector<char> ba(1 << 20), bb(1 << 20);
    while (fa && fb) {
        fa.read(ba.data(), static_cast<std::streamsize>(ba.size()));
        fb.read(bb.data(), static_cast<std::streamsize>(bb.size()));
        if (fa.gcount() != fb.gcount() ||
            !std::equal(ba.begin(), ba.begin() + fa.gcount(), bb.begin()))
            return false;
    }
    return fa.eof() && fb.eof();
}

// ENVI float32 raster of s (top line first), pixel centres on the samples.
void WriteEnvi(const std::string& path, const Surface& s) {
    std::FILE* f = std::fopen((path + ".bil").c_str(), "wb");
    for (int32_t y = s.YSize - 1; f && y >= 0; --y)
        std::fwrite(s.Rows[y], sizeof(float), static_cast<size_t>(s.XSize), f);
    if (f)
        std::fclose(f);
    std::ofstream hdr(path + ".hdr");
    const double dx = (s.Right - s.Left) / s.XSize, dy = (s.Top - s.Bottom) / s.YSize;
    hdr << "ENVI\nsamples = " << s.XSize << "\nlines = " << s.YSize
        << "\nbands = 1\nheader offset = 0\ndata type = 4\ninterleave = bsq\nbyte order = 0\n"
        << "map info = {Arbitrary, 1, 1, " << s.Left - dx / 2 << ", "
        << s.Bottom + dy * (s.YSize - 0.5) << ", " << dx << ", " << dy << "}\n";
}

} // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : "/tmp";
    HeadlessHost host(nullptr);
    Workspace ws(host);
    Surface& s = ws.TheSurface;
    if (s.Resize(Side, Side, 0) != 0)
        return 1;
    for (int32_t y = 0; y < Side; ++y)
        for (int32_t x = 0; x < Side; ++x)
            s.Rows[y][x] = static_cast<float>(1000.0 * std::sin(x * 0.013) * std::cos(y * 0.007) +
                                              ((x * 7919 + y * 104729) % 1000) * 0.01);
    s.FindMinMax(s.Min, s.Max, ws.TheProgress);
    s.Left = 0, s.Right = Side * 30.0, s.Bottom = 0, s.Top = Side * 30.0;

    MeshLayout layout;
    layout.MaxX = 1000, layout.MaxY = 1000, layout.MaxZ = 100;
    const std::string obj = folder + "/korvel_bench_mesh.obj";
    const std::string printfObj = folder + "/korvel_bench_mesh_printf.obj";
    auto start = std::chrono::steady_clock::now();
    std::string reason;
    if (WriteMesh(MeshKind::Obj, obj, s, layout, ws.Interp, ws.TheProgress, &reason) != 0) {
        std::fprintf(stderr, "OBJ export failed: %s\n", reason.c_str());
        return 1;
    }
    const double korvelObj = Seconds(start);
    start = std::chrono::steady_clock::now();
    if (!WriteObjWithFprintf(printfObj, s, layout, ws.Interp))
        return 1;
    const double printfSeconds = Seconds(start);
    struct stat st {};
    stat(obj.c_str(), &st);
    const bool same = SameFiles(obj, printfObj);
    std::printf("OBJ 4096 x 4096 (%.0f MB):  Korvel %.2f s, fprintf %.2f s, ratio %.2fx "
                "(goal: >= 2x, < 5 s); same bytes: %s\n",
                static_cast<double>(st.st_size) / 1e6, korvelObj, printfSeconds,
                printfSeconds / korvelObj, same ? "yes" : "NO");
    unlink(obj.c_str());
    unlink(printfObj.c_str());

    DxfContourOptions options;
    std::string message;
    LevelsBySpacing(s.Min, s.Max, 100.0, options.Levels, message);
    const std::string dxf = folder + "/korvel_bench_contours.dxf";
    int64_t lines = 0;
    start = std::chrono::steady_clock::now();
    if (WriteDxfContourFile(dxf, s, options, ws.TheProgress, lines, &reason) != 0) {
        std::fprintf(stderr, "DXF contours failed: %s\n", reason.c_str());
        return 1;
    }
    const double korvelDxf = Seconds(start);
    std::printf("DXF contours, 100 m (%lld levels, %lld lines):  Korvel %.2f s\n",
                static_cast<long long>(options.Levels.Count), static_cast<long long>(lines),
                korvelDxf);
    unlink(dxf.c_str());
    if (std::system("command -v gdal_contour >/dev/null") != 0) {
        std::printf("gdal_contour not found (Debian gdal-bin): no comparison\n");
        return same ? 0 : 1;
    }
    const std::string grid = folder + "/korvel_bench_grid";
    WriteEnvi(grid, s);
    const std::string gdalDxf = folder + "/korvel_bench_gdal.dxf";
    unlink(gdalDxf.c_str());
    const std::string command =
        "gdal_contour -q -f DXF -i 100 " + grid + ".bil " + gdalDxf + " 2>&1";
    start = std::chrono::steady_clock::now();
    const int status = std::system(command.c_str());
    const double gdalSeconds = Seconds(start);
    std::printf("gdal_contour -f DXF -i 100:  %.2f s%s; Korvel / GDAL %.2f (goal: <= 1)\n",
                gdalSeconds, status == 0 ? "" : " (FAILED)", korvelDxf / gdalSeconds);
    for (const std::string& p : {grid + ".bil", grid + ".hdr", gdalDxf})
        unlink(p.c_str());
    return same && status == 0 ? 0 : 1;
}
