#include "generate/plasma.h"

#include "core/progress.h"
#include "core/random.h"
#include "core/surface.h"

#include <string>

namespace korvel {

namespace {

// Recursion depth stays logarithmic: a line recurses only into its upper half and loops over
// the lower one; a rectangle recurses only into its lower half and loops over the upper one.
// Both orders fix the sequence of draws, so they must not change.
class Plasma {
public:
    Plasma(Surface& s, Progress& p, RandomStream& random, double rf, double irf, bool showProgress)
        : Rows(s.Rows), P(p), Random(random), Rf(static_cast<float>(rf)),
          Irf(static_cast<float>(irf)), ShowProgress(showProgress),
          Total(int64_t{s.XSize} * s.YSize) {}

    double SignedDraw() { return 2.0 * (Random.RandomUniform() - 0.5); }

    void PlasmaLineRow(int32_t a, int32_t b, int32_t row) {
        float* const line = Rows[row];
        Line(a, b, [line](int32_t i) -> float& { return line[i]; });
    }

    void PlasmaLineColumn(int32_t a, int32_t b, int32_t column) {
        float** const rows = Rows;
        Line(a, b, [rows, column](int32_t i) -> float& { return rows[i][column]; });
    }

    // Fills the interior of a rectangle whose four sides are already set.
    void PlasmaRectangle(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
        for (;;) {
            // Escape reaches the cancel flag only through this pump.
            P.PumpPendingMessage();
            if (P.CancelRequested()) {
                Cancelled = true;
                return;
            }
            if (ShowProgress)
                P.ProgressUpdate(static_cast<double>(Done), static_cast<double>(Total));
            const int32_t w = x1 - x0;
            const int32_t h = y1 - y0;
            if (w < 2 || h < 2)
                return;
            if (w <= h) {
                const int32_t ym = (y0 + y1 + 1) / 2;
                PlasmaLineRow(x0, x1, ym);
                PlasmaRectangle(x0, y0, x1, ym);
                y0 = ym;
            } else {
                const int32_t xm = (x0 + x1 + 1) / 2;
                PlasmaLineColumn(y0, y1, xm);
                PlasmaRectangle(x0, y0, xm, y1);
                x0 = xm;
            }
        }
    }

    bool Cancelled = false;

private:
    // Fills the samples strictly between a and b; at(i) is the sample at index i of the line.
    template <class At> void Line(int32_t a, int32_t b, At at) {
        while (b - a >= 2) {
            const int32_t m = (a + b + 1) / 2;
            const double d1 = SignedDraw();
            const double d2 = SignedDraw();
            double v = (d1 * (b - a) + d2 * Irf) / Rf +
                       (static_cast<double>(at(b)) + static_cast<double>(at(a))) * 0.5;
            // Written so that a NaN (rf or irf of 0, infinite or NaN) becomes -1.
            if (!(v >= -1.0))
                v = -1.0;
            else if (v > 1.0)
                v = 1.0;
            at(m) = static_cast<float>(v);
            ++Done;
            Line(m, b, at);
            b = m;
        }
    }

    float** const Rows;
    Progress& P;
    RandomStream& Random;
    const float Rf;
    const float Irf;
    const bool ShowProgress;
    // 64 bits: the largest Surface has more samples than an int32 counts.
    int64_t Done = 0;
    const int64_t Total;
};

} // namespace

int32_t GeneratePlasma(Surface& s, Progress& p, RandomStream& random, int32_t seed, double rf,
                       double irf, bool showProgress) {
    if (!s.HasGrid() || s.XSize < 1 || s.YSize < 1)
        return 0;
    Plasma plasma(s, p, random, rf, irf, showProgress);
    random.SeedRandom(seed);
    if (showProgress)
        p.ProgressBegin("Generating plasma surface " + std::to_string(seed), 10);

    const int32_t right = s.XSize - 1;
    const int32_t top = s.YSize - 1;
    // Corners are neither clamped nor counted as done.
    s.Rows[0][0] = static_cast<float>(plasma.SignedDraw());
    s.Rows[0][right] = static_cast<float>(plasma.SignedDraw());
    s.Rows[top][0] = static_cast<float>(plasma.SignedDraw());
    s.Rows[top][right] = static_cast<float>(plasma.SignedDraw());

    plasma.PlasmaLineRow(0, right, 0);
    plasma.PlasmaLineColumn(0, top, right);
    plasma.PlasmaLineRow(0, right, top);
    plasma.PlasmaLineColumn(0, top, 0);
    plasma.PlasmaRectangle(0, 0, right, top);

    if (showProgress)
        p.ProgressEnd();
    return plasma.Cancelled ? PlasmaCancelled : 0;
}

} // namespace korvel
