#include "edit/resample.h"

#include "core/extremes.h"
#include "core/grid.h"
#include "core/host.h"
#include "core/interpolation.h"
#include "core/progress.h"
#include "core/surface.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace korvel {

namespace {

constexpr const char* AllocFailureText = "Unable to allocate surface for resample";

// The arithmetic below repeats InterpolateGrid's, operation for operation and in the same
// order, so that a resampled value is bit for bit what SampleAt gives at that position once the
// position is clamped into the grid.

enum class Kind { Nearest, Linear, Cubic };

struct Method {
    Kind Type = Kind::Nearest;
    CubicBasis Basis{};
};

// Built once per resample; unknown types fall back to nearest, as in SampleAt.
Method MethodFor(const InterpSettings& interp) {
    Method m;
    if (interp.Type == InterpLinear)
        m.Type = Kind::Linear;
    else if (CubicBasisFor(interp, m.Basis))
        m.Type = Kind::Cubic;
    return m;
}

// CubicBasis::Evaluate, inlined.
inline double Reduce(const CubicBasis& b, const double p[4], double t) {
    double c[4];
    for (int i = 0; i < 4; ++i)
        c[i] = b.M[i][0] * p[0] + b.M[i][1] * p[1] + b.M[i][2] * p[2] + b.M[i][3] * p[3];
    return b.Scale * (((c[0] * t + c[1]) * t + c[2]) * t + c[3]);
}

struct OldGrid {
    float* const* Rows;
    int32_t Columns;
    int32_t Height;
};

OldGrid OldGridOf(const Surface& s) {
    return s.Rows ? OldGrid{s.Rows, s.XSize, s.YSize} : OldGrid{nullptr, 0, 0};
}

// Where a coordinate falls along one axis of count samples: outside (no grid to sample), on the
// last sample (the stored value is taken without interpolating) or inside.
enum class Place { Outside, Last, Inside };

struct Position {
    Place Where = Place::Outside;
    int32_t Index = 0;
    double Fraction = 0.0;
};

// Positions are clamped into the grid: a new edge row or column that falls a step past the old
// grid (the /YSize spacing after a generation puts row 0 at YSize) repeats the edge samples
// instead of bringing in zeros. NaN counts as 0.
Position Locate(double v, int32_t count) {
    if (count < 1)
        return {};
    if (!(v > 0.0))
        v = 0.0;
    if (v >= count - 1)
        return {Place::Last, count - 1, 0.0};
    const auto index = static_cast<int32_t>(v);
    return {Place::Inside, index, v - index};
}

// SampleAt at one arbitrary position, for one interpolation kind.
template <Kind K>
inline float SampleOne(const OldGrid& g, const CubicBasis& basis, double x, double y) {
    const Position px = Locate(x, g.Columns);
    const Position py = Locate(y, g.Height);
    if (px.Where == Place::Outside || py.Where == Place::Outside)
        return 0.0f;
    const int32_t xi = px.Index;
    const int32_t yi = py.Index;
    const float* row = g.Rows[yi];
    if (K == Kind::Nearest || px.Where == Place::Last || py.Where == Place::Last)
        return row[xi];
    const double fx = px.Fraction;
    if constexpr (K == Kind::Linear) {
        const float* next = g.Rows[yi + 1];
        const double lower = row[xi] + fx * (row[xi + 1] - row[xi]);
        const double upper = next[xi] + fx * (next[xi + 1] - next[xi]);
        return static_cast<float>(lower + py.Fraction * (upper - lower));
    } else {
        double reduced[4];
        for (int j = 0; j < 4; ++j) {
            const float* r = g.Rows[std::clamp(yi - 1 + j, 0, g.Height - 1)];
            double p[4];
            for (int i = 0; i < 4; ++i)
                p[i] = r[std::clamp(xi - 1 + i, 0, g.Columns - 1)];
            reduced[j] = Reduce(basis, p, fx);
        }
        return static_cast<float>(Reduce(basis, reduced, py.Fraction));
    }
}

struct Span {
    int32_t Begin;
    int32_t End;
};

// The new columns of a rectangular resample: where each falls in the old grid is the same for
// every row, so it is worked out once. The places are monotonic in the column, so each list of
// runs normally holds one run.
struct ColumnPlan {
    std::vector<int32_t> Index;
    std::vector<double> Fraction;
    std::vector<int32_t> Taps; // cubic: the four clamped old columns of each inside column
    std::vector<Span> Inside;  // interpolated on inside rows
    std::vector<Span> Known;   // not outside: the stored sample on the last row, and nearest
    std::vector<int32_t> Last; // on the last old column: the stored sample on inside rows
};

void AddToRuns(std::vector<Span>& runs, int32_t column) {
    if (!runs.empty() && runs.back().End == column)
        ++runs.back().End;
    else
        runs.push_back({column, column + 1});
}

ColumnPlan PlanColumns(const Surface& s, const OldGrid& g, double left, double dLon, int32_t width,
                       bool cubic) {
    ColumnPlan plan;
    plan.Index.resize(width);
    plan.Fraction.resize(width);
    if (cubic)
        plan.Taps.resize(size_t{4} * width);
    for (int32_t j = 0; j < width; ++j) {
        double x;
        double unusedY;
        s.LatLonToXY(s.Top, left + j * dLon, x, unusedY);
        const Position pos = Locate(x, g.Columns);
        plan.Index[j] = pos.Index;
        plan.Fraction[j] = pos.Fraction;
        if (pos.Where == Place::Outside)
            continue;
        AddToRuns(plan.Known, j);
        if (pos.Where == Place::Last) {
            plan.Last.push_back(j);
            continue;
        }
        AddToRuns(plan.Inside, j);
        for (int32_t i = 0; cubic && i < 4; ++i)
            plan.Taps[size_t{4} * j + i] = std::clamp(pos.Index - 1 + i, 0, g.Columns - 1);
    }
    return plan;
}

// Old rows reduced along x at every inside column: the first stage of the bilinear and bicubic
// interpolation. A new row combines two or four of them, and neighbouring new rows mostly share
// them, so each is computed once while it stays in use.
class ReducedRows {
public:
    static constexpr int32_t MaxSlots = 4;

    ReducedRows(const OldGrid& g, const ColumnPlan& plan, const Method& m, int32_t width)
        : Grid(g), Plan(plan), Way(m), Slots(m.Type == Kind::Cubic ? 4 : 2) {
        for (int32_t k = 0; k < Slots; ++k)
            Data[k].resize(width);
    }

    // The reduced rows of the old rows wanted[0..n), n <= the slot count.
    void Fetch(const int32_t* wanted, int32_t n, const double** out) {
        bool held[MaxSlots] = {};
        for (int32_t w = 0; w < n; ++w) {
            out[w] = nullptr;
            for (int32_t k = 0; k < Slots; ++k) {
                if (Keys[k] == wanted[w]) {
                    held[k] = true;
                    out[w] = Data[k].data();
                }
            }
        }
        for (int32_t w = 0; w < n; ++w) {
            for (int32_t k = 0; k < Slots && !out[w]; ++k)
                if (Keys[k] == wanted[w])
                    out[w] = Data[k].data();
            for (int32_t k = 0; k < Slots && !out[w]; ++k) {
                if (held[k])
                    continue;
                Compute(wanted[w], Data[k].data());
                Keys[k] = wanted[w];
                held[k] = true;
                out[w] = Data[k].data();
            }
        }
    }

private:
    void Compute(int32_t oldRow, double* to) const {
        const float* row = Grid.Rows[oldRow];
        const double* fraction = Plan.Fraction.data();
        const int32_t* index = Plan.Index.data();
        if (Way.Type == Kind::Linear) {
            for (const Span& span : Plan.Inside) {
                for (int32_t j = span.Begin; j < span.End; ++j) {
                    const int32_t k = index[j];
                    to[j] = row[k] + fraction[j] * (row[k + 1] - row[k]);
                }
            }
            return;
        }
        const int32_t* taps = Plan.Taps.data();
        for (const Span& span : Plan.Inside) {
            for (int32_t j = span.Begin; j < span.End; ++j) {
                const int32_t* t = taps + size_t{4} * j;
                const double p[4] = {row[t[0]], row[t[1]], row[t[2]], row[t[3]]};
                to[j] = Reduce(Way.Basis, p, fraction[j]);
            }
        }
    }

    const OldGrid& Grid;
    const ColumnPlan& Plan;
    const Method& Way;
    const int32_t Slots;
    int32_t Keys[MaxSlots] = {-1, -1, -1, -1};
    std::vector<double> Data[MaxSlots];
};

void CopyStored(const float* row, const ColumnPlan& plan, float* out) {
    for (const Span& span : plan.Known)
        for (int32_t j = span.Begin; j < span.End; ++j)
            out[j] = row[plan.Index[j]];
}

[[gnu::target_clones("avx2", "default")]] void
CombineLinear(const double* lower, const double* upper, double fy, const Span& span, float* out) {
    for (int32_t j = span.Begin; j < span.End; ++j)
        out[j] = static_cast<float>(lower[j] + fy * (upper[j] - lower[j]));
}

[[gnu::target_clones("avx2", "default")]] void CombineCubic(const double* const* rows,
                                                            const CubicBasis& basis, double fy,
                                                            const Span& span, float* out) {
    const double* r0 = rows[0];
    const double* r1 = rows[1];
    const double* r2 = rows[2];
    const double* r3 = rows[3];
    for (int32_t j = span.Begin; j < span.End; ++j) {
        const double p[4] = {r0[j], r1[j], r2[j], r3[j]};
        out[j] = static_cast<float>(Reduce(basis, p, fy));
    }
}

// One new row of a rectangular resample at old row position y.
void FillRectRow(const OldGrid& g, const ColumnPlan& plan, const Method& m, ReducedRows& reduced,
                 double y, float* out) {
    const Position py = Locate(y, g.Height);
    if (py.Where == Place::Outside)
        return; // the new grid starts at 0
    const int32_t yi = py.Index;
    if (m.Type == Kind::Nearest || py.Where == Place::Last) {
        CopyStored(g.Rows[yi], plan, out);
        return;
    }
    for (const int32_t j : plan.Last)
        out[j] = g.Rows[yi][plan.Index[j]];
    if (m.Type == Kind::Linear) {
        const int32_t wanted[2] = {yi, yi + 1};
        const double* rows[2];
        reduced.Fetch(wanted, 2, rows);
        for (const Span& span : plan.Inside)
            CombineLinear(rows[0], rows[1], py.Fraction, span, out);
        return;
    }
    int32_t wanted[4];
    for (int32_t k = 0; k < 4; ++k)
        wanted[k] = std::clamp(yi - 1 + k, 0, g.Height - 1);
    const double* rows[4];
    reduced.Fetch(wanted, 4, rows);
    for (const Span& span : plan.Inside)
        CombineCubic(rows, m.Basis, py.Fraction, span, out);
}

template <Kind K>
void FillQuadRowOf(const OldGrid& g, const CubicBasis& basis, QuadPoint a, QuadPoint b,
                   const std::vector<double>& along, float* out) {
    const double dp = b.P - a.P;
    const double dq = b.Q - a.Q;
    const auto width = static_cast<int32_t>(along.size());
    for (int32_t k = 0; k < width; ++k)
        out[k] = SampleOne<K>(g, basis, a.Q + dq * along[k], a.P + dp * along[k]);
}

void FillQuadRow(const OldGrid& g, const Method& m, QuadPoint a, QuadPoint b,
                 const std::vector<double>& along, float* out) {
    switch (m.Type) {
    case Kind::Nearest:
        return FillQuadRowOf<Kind::Nearest>(g, m.Basis, a, b, along, out);
    case Kind::Linear:
        return FillQuadRowOf<Kind::Linear>(g, m.Basis, a, b, along, out);
    case Kind::Cubic:
        return FillQuadRowOf<Kind::Cubic>(g, m.Basis, a, b, along, out);
    }
}

// The new grid, or nullptr after telling the user.
float** NewGrid(Host& host, int32_t width, int32_t height) {
    float** grid = nullptr;
    if (width > 0 && width < Surface::SizeLimit && height > 0 && height < Surface::SizeLimit)
        grid = GridAllocOf<float>(width, height);
    if (!grid)
        host.ShowMessage(AllocFailureText);
    return grid;
}

// Built for AVX2 where the processor has it: the generic build of the eight-lane compares spills
// to the stack and costs more than the interpolation.
[[gnu::target_clones("avx2", "default")]] Extremes AddRow(Extremes e, const float* row,
                                                          int32_t width) {
    e.AddRow(row, width);
    return e;
}

// Computes row i = 0 .. height-1 into new row height-1-i with fill(i, row) under the progress
// report. -1 when cancelled, with the new grid released.
template <class Fill>
int32_t ComputeRows(Progress& progress, float** grid, int32_t width, int32_t height,
                    Extremes& extremes, Fill fill) {
    char text[80];
    std::snprintf(text, sizeof text, "Resampling to %d x %d samples", width, height);
    progress.ProgressBegin(text, 5);
    progress.CancelFlag = 0;
    for (int32_t i = 0; i < height && !progress.CancelRequested(); ++i) {
        float* out = grid[height - 1 - i];
        fill(i, out);
        extremes = AddRow(extremes, out, width);
        progress.ProgressUpdate(i, height);
        progress.PumpPendingMessage();
    }
    progress.ProgressEnd();
    if (!progress.ConsumeCancel())
        return 0;
    GridFreeOf(grid);
    return -1;
}

// Resize to the new shape, then the new grid takes the place of the zero grid Resize made.
int32_t Install(Surface& s, float** grid, int32_t width, int32_t height, Extremes extremes) {
    const int32_t code = s.Resize(width, height, -1);
    if (code != 0) {
        GridFreeOf(grid);
        return code;
    }
    GridFreeOf(s.Rows);
    s.Rows = grid;
    s.Min = extremes.Lo;
    s.Max = extremes.Hi;
    return 0;
}

} // namespace

int32_t Resample(Surface& s, Progress& progress, Host& host, const InterpSettings& interp,
                 double left, double right, double top, double bottom, int32_t xsize,
                 int32_t ysize) {
    // Widths of 65536 and more are kept, up to what Resize takes.
    const int32_t width = xsize & ~3;
    float** grid = NewGrid(host, width, ysize);
    if (!grid)
        return -1;
    const Method m = MethodFor(interp);
    const OldGrid g = OldGridOf(s);
    const double dLat = (top - bottom) / ysize;
    const double dLon = (right - left) / width;
    const ColumnPlan plan = PlanColumns(s, g, left, dLon, width, m.Type == Kind::Cubic);
    ReducedRows reduced(g, plan, m, m.Type == Kind::Nearest ? 0 : width);
    Extremes extremes;
    const int32_t code =
        ComputeRows(progress, grid, width, ysize, extremes, [&](int32_t i, float* out) {
            double unusedX;
            double y;
            s.LatLonToXY(bottom + i * dLat, s.Left, unusedX, y);
            FillRectRow(g, plan, m, reduced, y, out);
        });
    if (code != 0)
        return code;
    const int32_t installed = Install(s, grid, width, ysize, extremes);
    if (installed == 0)
        s.SetEdges(left, right, top, bottom);
    return installed;
}

int32_t QuadResample(Surface& s, Progress& progress, Host& host, const InterpSettings& interp,
                     const std::array<QuadPoint, 4>& corners, int32_t xsize, int32_t ysize) {
    const int32_t width = xsize & ~3;
    float** grid = NewGrid(host, width, ysize);
    if (!grid)
        return -1;
    const Method m = MethodFor(interp);
    const OldGrid g = OldGridOf(s);
    std::vector<double> along(width);
    for (int32_t k = 0; k < width; ++k)
        along[k] = static_cast<double>(k) / width;
    const auto between = [](QuadPoint from, QuadPoint to, double t) {
        return QuadPoint{from.P + (to.P - from.P) * t, from.Q + (to.Q - from.Q) * t};
    };
    Extremes extremes;
    const int32_t code =
        ComputeRows(progress, grid, width, ysize, extremes, [&](int32_t r, float* out) {
            const double t = static_cast<double>(r) / ysize;
            FillQuadRow(g, m, between(corners[0], corners[1], t),
                        between(corners[2], corners[3], t), along, out);
        });
    if (code != 0)
        return code;
    return Install(s, grid, width, ysize, extremes);
}

} // namespace korvel
