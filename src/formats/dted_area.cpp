#include "formats/dted_area.h"

#include "core/extremes.h"
#include "core/host.h"
#include "core/workspace.h"
#include "formats/dted.h"
#include "formats/format_support.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace korvel {

namespace {

bool Exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

std::string Joined(const std::string& root, const std::string& rest) {
    if (root.empty() || root.back() == '/')
        return root + rest;
    return root + "/" + rest;
}

std::string Lowered(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// rest under root as written or in lower case, whichever exists.
std::string OnDisc(const std::string& root, const std::string& rest) {
    const std::string upper = Joined(root, rest);
    if (Exists(upper))
        return upper;
    const std::string lower = Joined(root, Lowered(rest));
    return Exists(lower) ? lower : upper;
}

// lon brought into -180..180, lat into -90..90.
int32_t WrapLon(int32_t lon) {
    while (lon >= 180)
        lon -= 360;
    while (lon < -180)
        lon += 360;
    return lon;
}

bool Covers(const DiscCoverage& c, int32_t lat, int32_t lon) {
    if (!c.Any || lat < c.South || lat >= c.North)
        return false;
    const int32_t offset = ((lon - c.West) % 360 + 360) % 360;
    return offset < c.East - c.West;
}

bool ReadText(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream all;
    all << in.rdbuf();
    text = all.str();
    return true;
}

// The corners of the area as Surface samples: upper left, upper right, lower left, lower right.
struct Corners {
    bool Found[4] = {};
    bool All() const { return Found[0] && Found[1] && Found[2] && Found[3]; }
};

struct Filler {
    Surface& S;
    const DtedArea& Area;
    double StepX, StepY;
    float NoData;
    Extremes Range{1e20f, -1e20f};
    int64_t Filled = 0;

    // Fills the samples of one cell still at NoData; false when the cell cannot be read.
    bool FillCell(const std::string& path) {
        MappedFile file;
        DtedHeader h;
        if (file.Open(path) != MappedFile::Status::Ok ||
            ReadDtedHeader(file.Data(), file.Size(), h) != 0)
            return false;
        const double lonStep = h.LonInterval / 36000.0;
        const double latStep = h.LatInterval / 36000.0;
        const double east = h.OriginLon + (h.Lines - 1) * lonStep;
        const double north = h.OriginLat + (h.Points - 1) * latStep;
        for (int32_t y = 0; y < S.YSize; ++y) {
            const double lat = Area.Bottom + y * StepY;
            if (lat < h.OriginLat || lat > north)
                continue;
            // The last post has none beyond it: the pair before it is used, at fraction 1.
            const double fy = (lat - h.OriginLat) / latStep;
            const int32_t j = std::min(int32_t(fy), h.Points - 2);
            const double ty = fy - j;
            for (int32_t x = 0; x < S.XSize; ++x) {
                if (S.Rows[y][x] != NoData)
                    continue;
                const double lon = Area.Left + x * StepX;
                const double dx =
                    lon - h.OriginLon - 360.0 * std::floor((lon - h.OriginLon) / 360.0);
                if (dx > east - h.OriginLon)
                    continue;
                const double fx = dx / lonStep;
                const int32_t i = std::min(int32_t(fx), h.Lines - 2);
                const double tx = fx - i;
                const uint8_t* d = file.Data();
                const double v =
                    (DtedPost(d, h, i, j) * (1 - tx) + DtedPost(d, h, i + 1, j) * tx) * (1 - ty) +
                    (DtedPost(d, h, i, j + 1) * (1 - tx) + DtedPost(d, h, i + 1, j + 1) * tx) * ty;
                S.Rows[y][x] = static_cast<float>(v);
                Range.Add(S.Rows[y][x]);
                ++Filled;
            }
        }
        return true;
    }

    Corners Found() const {
        const int32_t top = S.YSize - 1;
        const int32_t right = S.XSize - 1;
        Corners c;
        c.Found[0] = S.Rows[top][0] != NoData;
        c.Found[1] = S.Rows[top][right] != NoData;
        c.Found[2] = S.Rows[0][0] != NoData;
        c.Found[3] = S.Rows[0][right] != NoData;
        return c;
    }
};

} // namespace

DtedArea DtedCircleArea(double lat, double lon, double radius, double metresPerDegree,
                        bool correction) {
    const double d = radius / metresPerDegree;
    const double a = std::fabs(lat);
    double z = a < 50 ? 1 : a < 70 ? 2 : a < 75 ? 3 : a < 80 ? 4 : 6;
    if (correction) {
        const double c = std::fabs(std::cos(lat * M_PI / 180.0));
        z *= c < 0.00001 ? 1.0 : 1.0 / c;
    }
    const double w = d * z;
    DtedArea area;
    area.Left = lon - w;
    area.Right = lon + w;
    area.Top = lat + d;
    area.Bottom = lat - d;
    return area;
}

DiscCoverage ParseOncDir(const std::string& text) {
    DiscCoverage c;
    int32_t south = 1000, north = -1000, west = 1000, east = -1000;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        line = line.substr(0, 100);
        if (line.size() >= 12 && line.compare(0, 9, "         ") == 0 &&
            std::isdigit(static_cast<unsigned char>(line[10])) &&
            std::isdigit(static_cast<unsigned char>(line[11]))) {
            const int32_t lat = (line[10] - '0') * 10 + (line[11] - '0');
            const int32_t signedLat = line[9] == 'N' || line[9] == 'n' ? lat : -lat;
            south = std::min(south, signedLat);
            north = std::max(north, signedLat);
        } else if (line.size() >= 6 && line.compare(0, 4, "    ") == 0 &&
                   std::isalpha(static_cast<unsigned char>(line[4]))) {
            const int32_t lon = std::atoi(line.c_str() + 5);
            const int32_t signedLon = line[4] == 'E' || line[4] == 'e' ? lon : -lon;
            west = std::min(west, signedLon);
            east = std::max(east, signedLon);
        }
    }
    if (south <= north && west <= east) {
        c = {south, north + 1, west, east + 1, true};
    }
    return c;
}

std::string DtedCellPath(const std::string& root, int32_t lat, int32_t lon) {
    char name[64];
    std::snprintf(name, sizeof name, "DTED/%c%03d/%c%02d.DT1", lon < 0 ? 'W' : 'E', std::abs(lon),
                  lat < 0 ? 'S' : 'N', std::abs(lat));
    return OnDisc(root, name);
}

int32_t ImportDtedArea(const std::string& root, const DtedArea& area, Workspace& ws) {
    Host& host = ws.TheHost;
    Surface& s = ws.TheSurface;
    if (s.Resize(area.Width, area.Height, -1) != 0)
        return 0;
    s.SetEdges(area.Left, area.Right, area.Top, area.Bottom);
    ws.General.BaseLat = (area.Top + area.Bottom) * 0.5;
    ws.General.BaseLon = (area.Left + area.Right) * 0.5;
    const auto noData =
        static_cast<float>(static_cast<int16_t>(std::clamp(area.NoData, -32768.0, 32767.0)));
    for (int32_t y = 0; y < s.YSize; ++y)
        std::fill_n(s.Rows[y], s.XSize, noData);
    Filler fill{s, area, s.XRes, s.YRes, noData};
    Progress& progress = ws.TheProgress;
    bool cancelled = false;
    for (;;) {
        std::string text;
        if (!ReadText(OnDisc(root, "TEXT/ONC.DIR"), text)) {
            host.ShowMessage("Error opening dted onc.dir text file");
            break;
        }
        const DiscCoverage disc = ParseOncDir(text);
        const int32_t south = int32_t(std::floor(std::max(area.Bottom, -90.0)));
        const int32_t north = int32_t(std::floor(std::min(area.Top, 89.999999)));
        const int32_t west = int32_t(std::floor(area.Left));
        const int32_t east = int32_t(std::floor(area.Right));
        bool onDisc = false;
        for (int32_t lat = south; lat <= north; ++lat)
            for (int32_t lon = west; lon <= east; ++lon)
                onDisc = onDisc || Covers(disc, lat, WrapLon(lon));
        if (!onDisc) {
            host.ShowMessage("Defined area not on this CD-ROM");
            break;
        }
        const int64_t before = fill.Filled;
        progress.ProgressBegin("Importing DTED Image", 1);
        for (int32_t lat = south; lat <= north && !cancelled; ++lat) {
            for (int32_t lon = west; lon <= east && !cancelled; ++lon) {
                if (Covers(disc, lat, WrapLon(lon)))
                    fill.FillCell(DtedCellPath(root, lat, WrapLon(lon)));
                cancelled = progress.CancelRequested();
            }
            progress.ProgressUpdate(lat - south, north - south + 1);
            progress.PumpPendingMessage();
        }
        progress.ProgressEnd();
        cancelled = progress.ConsumeCancel();
        const Corners c = fill.Found();
        if (cancelled || c.All() || fill.Filled == before)
            break;
        auto mark = [&](int i) { return c.Found[i] ? "X" : "O"; };
        char question[256];
        std::snprintf(question, sizeof question,
                      "Not all corners have been found\n%1s %1s  X = data, O = no data\n%1s "
                      "%1s\n\nPlease mount next CD-ROM",
                      mark(0), mark(1), mark(2), mark(3));
        if (!host.AskYesNo(question))
            break;
    }
    if (cancelled)
        return 0;
    fill.Range.StoreIn(s);
    ws.CurrentFile = Joined(root, "CDIMPORT.DTE");
    return 1;
}

} // namespace korvel
