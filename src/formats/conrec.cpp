#include "formats/conrec.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace korvel {

namespace {

// Which segment a triangle gives, by the side of the level each of its vertices (corner m1,
// the centre, corner m3) is on: below, on, above.
constexpr int CaseTable[3][3][3] = {{{0, 0, 8}, {0, 2, 5}, {7, 6, 9}},
                                    {{0, 3, 4}, {1, 3, 1}, {4, 3, 0}},
                                    {{9, 6, 7}, {5, 2, 0}, {8, 0, 0}}};
constexpr int CornerColumn[4] = {0, 1, 1, 0};
constexpr int CornerRow[4] = {0, 0, 1, 1};

struct Cell {
    double H[5]; // relative to the level: the centre, then the corners
    double X[5];
    double Y[5];
    int Side[5];

    double CrossX(int a, int b) const { return (H[b] * X[a] - H[a] * X[b]) / (H[b] - H[a]); }
    double CrossY(int a, int b) const { return (H[b] * Y[a] - H[a] * Y[b]) / (H[b] - H[a]); }
};

// The segment of the triangle (m1, centre, m3) in cell c; false when it gives none.
bool TriangleSegment(const Cell& c, int m1, int m3, ContourSegment& seg) {
    const int m2 = 0;
    const auto point = [&](int a, int b, double& x, double& y) {
        if (b < 0) {
            x = c.X[a];
            y = c.Y[a];
        } else {
            x = c.CrossX(a, b);
            y = c.CrossY(a, b);
        }
    };
    int a1 = 0, b1 = -1, a2 = 0, b2 = -1;
    switch (CaseTable[c.Side[m1] + 1][c.Side[m2] + 1][c.Side[m3] + 1]) {
    case 1: // the line through vertices 1 and 2
        a1 = m1, a2 = m2;
        break;
    case 2: // vertices 2 and 3
        a1 = m2, a2 = m3;
        break;
    case 3: // vertices 3 and 1
        a1 = m3, a2 = m1;
        break;
    case 4: // vertex 1 and side 2-3
        a1 = m1, a2 = m2, b2 = m3;
        break;
    case 5: // vertex 2 and side 3-1
        a1 = m2, a2 = m3, b2 = m1;
        break;
    case 6: // vertex 3 and side 1-2
        a1 = m3, a2 = m1, b2 = m2;
        break;
    case 7: // sides 1-2 and 2-3
        a1 = m1, b1 = m2, a2 = m2, b2 = m3;
        break;
    case 8: // sides 2-3 and 3-1
        a1 = m2, b1 = m3, a2 = m3, b2 = m1;
        break;
    case 9: // sides 3-1 and 1-2
        a1 = m3, b1 = m1, a2 = m1, b2 = m2;
        break;
    default:
        return false;
    }
    point(a1, b1, seg.X1, seg.Y1);
    point(a2, b2, seg.X2, seg.Y2);
    return true;
}

int SideOf(double h) {
    return h > 0.0 ? 1 : h < 0.0 ? -1 : 0;
}

} // namespace

bool ContourGrid(const Surface& s, const ContourLevels& levels, Progress& progress,
                 const std::function<bool(const ContourSegment&)>& emit) {
    if (levels.Count <= 0 || s.XSize < 2 || s.YSize < 2)
        return true;
    std::vector<double> xs(static_cast<size_t>(s.XSize));
    for (int32_t i = 0; i < s.XSize; ++i)
        xs[static_cast<size_t>(i)] = s.Left + (s.Right - s.Left) * i / s.XSize;
    const double lastLevel = levels.Level(levels.Count - 1);
    for (int32_t j = 0; j + 1 < s.YSize; ++j) {
        if (progress.CancelRequested())
            return false;
        const double y0 = s.Bottom + (s.Top - s.Bottom) * j / s.YSize;
        const double y1 = s.Bottom + (s.Top - s.Bottom) * (j + 1) / s.YSize;
        const float* rows[2] = {s.Rows[j], s.Rows[j + 1]};
        for (int32_t i = 0; i + 1 < s.XSize; ++i) {
            double d[4];
            for (int m = 0; m < 4; ++m)
                d[m] = rows[CornerRow[m]][i + CornerColumn[m]];
            const double low = std::min({d[0], d[1], d[2], d[3]});
            const double high = std::max({d[0], d[1], d[2], d[3]});
            if (!std::isfinite(low) || !std::isfinite(high) || high < levels.First ||
                low > lastLevel)
                continue;
            // Only the levels between the cell's lowest and highest corner can cross it.
            const auto first = static_cast<int64_t>(
                std::max(0.0, std::ceil((low - levels.First) / levels.Spacing)));
            const auto last =
                std::min(levels.Count - 1,
                         static_cast<int64_t>(std::floor((high - levels.First) / levels.Spacing)));
            Cell c{};
            c.X[0] = 0.5 * (xs[static_cast<size_t>(i)] + xs[static_cast<size_t>(i) + 1]);
            c.Y[0] = 0.5 * (y0 + y1);
            for (int m = 1; m <= 4; ++m) {
                c.X[m] = xs[static_cast<size_t>(i + CornerColumn[m - 1])];
                c.Y[m] = CornerRow[m - 1] ? y1 : y0;
            }
            for (int64_t k = first; k <= last; ++k) {
                const double z = levels.Level(k);
                if (z < low || z > high)
                    continue;
                for (int m = 1; m <= 4; ++m)
                    c.H[m] = d[m - 1] - z;
                c.H[0] = 0.25 * (c.H[1] + c.H[2] + c.H[3] + c.H[4]);
                for (int m = 0; m <= 4; ++m)
                    c.Side[m] = SideOf(c.H[m]);
                for (int m = 1; m <= 4; ++m) {
                    ContourSegment seg{};
                    seg.Z = z;
                    if (TriangleSegment(c, m, m == 4 ? 1 : m + 1, seg) && !emit(seg))
                        return false;
                }
            }
        }
        progress.ProgressUpdate(j + 1, s.YSize - 1);
        progress.PumpPendingMessage();
    }
    return !progress.CancelRequested();
}

} // namespace korvel
