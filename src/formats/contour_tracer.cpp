#include "formats/contour_tracer.h"

#include <cstdint>

namespace korvel {

namespace {

// Corners clockwise from (r, c): 0 (r, c), 1 (r, c + 1), 2 (r + 1, c + 1), 3 (r + 1, c); edge e
// joins corner e and corner e + 1.
constexpr int CornerRow[4] = {0, 0, 1, 1};
constexpr int CornerColumn[4] = {0, 1, 1, 0};
// Across edge e: the neighbour's row and column offsets and the edge it is entered by.
constexpr int NextRow[4] = {-1, 0, 1, 0};
constexpr int NextColumn[4] = {0, 1, 0, -1};

class Tracer {
public:
    Tracer(const Surface& s, double level)
        : S(s), L(level), Cells(static_cast<size_t>(s.XSize - 1) * (s.YSize - 1), 0) {}

    int32_t Run(const std::function<int32_t(const std::vector<TracePoint>&, bool)>& write) {
        for (int32_t r = 0; r + 1 < S.YSize; ++r)
            for (int32_t c = 0; c + 1 < S.XSize; ++c) {
                if (Visits(r, c) != 0)
                    continue;
                const int first = FirstCrossed(r, c);
                if (first < 0)
                    continue;
                const bool closed = Follow(r, c, first);
                if (const int32_t code = write(Points, closed); code < 0)
                    return code;
            }
        return 0;
    }

private:
    double Corner(int32_t r, int32_t c, int k) const {
        return S.Rows[r + CornerRow[k]][c + CornerColumn[k]];
    }
    bool Crossed(int32_t r, int32_t c, int e) const {
        const double a = Corner(r, c, e), b = Corner(r, c, (e + 1) % 4);
        return (a <= L && b > L) || (b <= L && a > L);
    }
    int FirstCrossed(int32_t r, int32_t c) const {
        for (int e = 0; e < 4; ++e)
            if (Crossed(r, c, e))
                return e;
        return -1;
    }
    uint8_t& Visits(int32_t r, int32_t c) {
        return Cells[static_cast<size_t>(r) * (S.XSize - 1) + c];
    }
    TracePoint Crossing(int32_t r, int32_t c, int e) const {
        const double a = Corner(r, c, e), b = Corner(r, c, (e + 1) % 4);
        const double t = a == b ? 1.0 : (L - a) / (b - a);
        switch (e) {
        case 0:
            return {static_cast<float>(c + t), static_cast<float>(r)};
        case 1:
            return {static_cast<float>(c + 1), static_cast<float>(r + t)};
        case 2:
            return {static_cast<float>(c + 1 - t), static_cast<float>(r + 1)};
        default:
            return {static_cast<float>(c), static_cast<float>(r + 1 - t)};
        }
    }
    int Exit(int32_t r, int32_t c, int entry) const {
        int crossed[4];
        int n = 0;
        for (int e = 0; e < 4; ++e)
            if (Crossed(r, c, e))
                crossed[n++] = e;
        if (n == 2)
            return crossed[0] == entry ? crossed[1] : crossed[0];
        // A saddle: the mean of the corners decides which pair of edges belongs together.
        double mean = 0.0;
        for (int k = 0; k < 4; ++k)
            mean += Corner(r, c, k) / 4.0;
        const double atEntry = Corner(r, c, entry);
        const bool back = L < mean ? L >= atEntry : L < atEntry;
        return back ? (entry + 3) % 4 : (entry + 1) % 4;
    }
    // The polyline from cell (r, c), entered by edge entry; true when it closed.
    bool Follow(int32_t r, int32_t c, int entry) {
        Points.clear();
        Points.push_back(Crossing(r, c, entry));
        const int32_t startRow = r, startColumn = c;
        while (Points.size() < MaxTracePoints) {
            const int exit = Exit(r, c, entry);
            Points.push_back(Crossing(r, c, exit));
            if (Visits(r, c) < UINT8_MAX)
                ++Visits(r, c);
            r += NextRow[exit];
            c += NextColumn[exit];
            entry = (exit + 2) % 4;
            if (r == startRow && c == startColumn)
                return true;
            if (r < 0 || c < 0 || r + 1 >= S.YSize || c + 1 >= S.XSize)
                return false;
        }
        return false;
    }

    const Surface& S;
    double L;
    std::vector<uint8_t> Cells;
    std::vector<TracePoint> Points;
};

} // namespace

int32_t TraceContours(const Surface& s, double level,
                      const std::function<int32_t(const std::vector<TracePoint>&, bool)>& write) {
    if (s.XSize < 2 || s.YSize < 2)
        return 0;
    return Tracer(s, level).Run(write);
}

} // namespace korvel
