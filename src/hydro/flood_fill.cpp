#include "hydro/flood_fill.h"

#include "core/extremes.h"
#include "core/surface.h"

#include <cmath>
#include <cstddef>
#include <new>
#include <vector>

namespace korvel {

namespace {

constexpr StatusText FloodFillTextList[] = {
    {FloodFillOutside, "the start lies outside the Surface"},
    {FloodFillNoMemory, "out of memory for the map of visited samples"},
};

class VisitedMap {
public:
    VisitedMap(int32_t width, int32_t height)
        : Width(static_cast<size_t>(width)),
          Bits((static_cast<size_t>(width) * static_cast<size_t>(height) + 63) / 64, 0) {}
    bool Test(int32_t x, int32_t y) const {
        const size_t i = Index(x, y);
        return (Bits[i >> 6] >> (i & 63)) & 1u;
    }
    void Set(int32_t x, int32_t y) {
        const size_t i = Index(x, y);
        Bits[i >> 6] |= uint64_t{1} << (i & 63);
    }

private:
    size_t Index(int32_t x, int32_t y) const {
        return static_cast<size_t>(y) * Width + static_cast<size_t>(x);
    }
    size_t Width;
    std::vector<uint64_t> Bits;
};

struct Seed {
    int32_t X;
    int32_t Y;
};

class SpanFill {
public:
    SpanFill(Surface& s, float low, float high, float newValue)
        : S(s), Low(low), High(high), NewValue(newValue), Visited(s.XSize, s.YSize) {}

    int64_t Run(int32_t column, int32_t row) {
        Seeds.push_back({column, row});
        while (!Seeds.empty()) {
            const Seed seed = Seeds.back();
            Seeds.pop_back();
            if (Qualifies(seed.X, seed.Y))
                FillSpan(seed.X, seed.Y);
        }
        return Filled;
    }

private:
    bool Qualifies(int32_t x, int32_t y) const {
        const float e = S.Rows[y][x];
        return Low <= e && e <= High && !Visited.Test(x, y);
    }

    void FillSpan(int32_t x, int32_t y) {
        int32_t left = x;
        while (left > 0 && Qualifies(left - 1, y))
            --left;
        int32_t right = x;
        while (right < S.XSize - 1 && Qualifies(right + 1, y))
            ++right;
        for (int32_t i = left; i <= right; ++i) {
            Visited.Set(i, y);
            S.Rows[y][i] = NewValue;
        }
        Filled += right - left + 1;
        if (y > 0)
            SeedRuns(left, right, y - 1);
        if (y < S.YSize - 1)
            SeedRuns(left, right, y + 1);
    }

    // One seed per run of qualifying samples of row y under left..right.
    void SeedRuns(int32_t left, int32_t right, int32_t y) {
        bool inRun = false;
        for (int32_t x = left; x <= right; ++x) {
            const bool q = Qualifies(x, y);
            if (q && !inRun)
                Seeds.push_back({x, y});
            inRun = q;
        }
    }

    Surface& S;
    float Low;
    float High;
    float NewValue;
    VisitedMap Visited;
    std::vector<Seed> Seeds;
    int64_t Filled = 0;
};

} // namespace

const StatusTable FloodFillTexts{"flood fill", FloodFillTextList};

bool FloodFillStart(const Surface& s, double x, double y, bool byLonLat, int32_t& column,
                    int32_t& row) {
    if (byLonLat) {
        double fx = 0.0, fy = 0.0;
        s.LatLonToXY(y, x, fx, fy);
        x = fx;
        y = fy;
    }
    // Compared as doubles before any conversion: NaN and huge values fail here.
    if (!(x >= 0.0 && x < s.XSize && y >= 0.0 && y < s.YSize))
        return false;
    column = static_cast<int32_t>(x);
    row = static_cast<int32_t>(y);
    return true;
}

int32_t FloodFill(Surface& s, int32_t column, int32_t row, float low, float high, float newValue,
                  int64_t* filled) {
    if (filled)
        *filled = 0;
    if (!s.HasGrid() || column < 0 || row < 0 || column >= s.XSize || row >= s.YSize)
        return FloodFillOutside;
    int64_t count = 0;
    try {
        SpanFill fill(s, low, high, newValue);
        count = fill.Run(column, row);
    } catch (const std::bad_alloc&) {
        // The samples set so far keep the new value, as a cancelled edit keeps its rows.
        count = -1;
    }
    if (count != 0) {
        Extremes range;
        for (int32_t y = 0; y < s.YSize; ++y)
            range.AddFinite(s.Rows[y], s.XSize);
        range.StoreIn(s);
    }
    if (count < 0)
        return FloodFillNoMemory;
    if (filled)
        *filled = count;
    return FloodFillDone;
}

} // namespace korvel
