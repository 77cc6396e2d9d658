#include "edit/point_operations.h"

#include "edit/point_loop.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <string>

namespace korvel {

namespace {

// Most loops report every 8 rows; the exponent's pow is slow enough to report every row.
constexpr int32_t ReportEvery = 8;

__attribute__((format(printf, 1, 2))) std::string Text(const char* format, ...) {
    char buf[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buf, sizeof buf, format, args);
    va_end(args);
    return buf;
}

float Stored(double v) {
    return static_cast<float>(v);
}

constexpr StatusText PointTextList[] = {
    {PointCancelled, "cancelled"},
    {PointFlat, "the surface is flat, so it has no range to scale"},
    {PointNoLevels, "the number of levels is not positive"},
};

} // namespace

const StatusTable PointTexts{"the point operation", PointTextList};

int32_t ClipHeights(Surface& s, Progress& p, double lo, double hi) {
    // Rounding to float keeps the order with any float sample, so clamping in float is exact.
    const float flo = Stored(lo);
    const float fhi = Stored(hi);
    return ForEachSample(s, p, Text("Clipping elevations to between %0.2f and %0.2f", lo, hi), true,
                         ReportEvery, [flo, fhi](float h) {
                             const float v = h < flo ? flo : h;
                             return v > fhi ? fhi : v;
                         });
}

int32_t RaiseHeights(Surface& s, Progress& p, double landExp, double seaExp, bool preserve,
                     double seaLevel) {
    const double dLow = std::fabs(s.Min - seaLevel);
    const double dHigh = std::fabs(s.Max - seaLevel);
    const std::string text = Text("Raising surface to %0.2f (< %0.2f) or %0.2f (> %0.2f)", seaExp,
                                  seaLevel, landExp, seaLevel);
    return ForEachSample(s, p, text, true, 1, [=](float h) {
        double t = h;
        if (preserve) {
            const double d = h - seaLevel < 0.0 ? dLow : dHigh;
            // A sea level at Min or Max leaves nothing to normalise on that side.
            if (d == 0.0)
                return h;
            t = (h - seaLevel) / d;
        }
        if (t > 0.0001)
            t = std::pow(t, landExp);
        else if (t < -0.0001)
            t = -std::pow(-t, seaExp);
        if (preserve)
            return Stored(t * (t < 0.0 ? dLow : dHigh) + seaLevel);
        return Stored(t);
    });
}

int32_t ScaleHeights(Surface& s, Progress& p, double factor, bool showProgress) {
    return ForEachSample(s, p, Text("Scaling surface by %0.2f ", factor), showProgress, ReportEvery,
                         [factor](float h) { return Stored(h * factor); });
}

int32_t ScaleHeightsBroken(Surface& s, Progress& p, double hi, double lo, double breakValue,
                           bool showProgress) {
    const float fhi = Stored(hi);
    float flo = Stored(lo);
    const float fbreak = Stored(breakValue);
    if (std::fabs(flo) < 1e-7f)
        flo = fhi;
    if (std::fabs(fhi - 1.0f) < 1e-6f && std::fabs(flo - 1.0f) < 1e-6f)
        return 0;
    const std::string text = Text("Scaling surface by %0.2f (,) or %0.2f (>0)",
                                  static_cast<double>(flo), static_cast<double>(fhi));
    return ForEachSample(s, p, text, showProgress, ReportEvery,
                         [=](float h) { return h >= fbreak ? h * fhi : h * flo; });
}

int32_t ScaleHeightsToRange(Surface& s, Progress& p, double lo, double hi, bool showProgress) {
    const double min = s.Min;
    const double span = std::fabs(s.Max - min);
    // Also refuses NaN extremes, which would otherwise fill the grid with NaN.
    if (!(span >= 1e-5))
        return PointFlat;
    const float flo = Stored(lo);
    const float range = Stored(hi) - flo;
    const double inverse = 1.0 / span;
    return ForEachSample(s, p, Text("Scaling surface to [%0.4f, %0.4f]", lo, hi), showProgress,
                         ReportEvery,
                         [=](float h) { return Stored((h - min) * inverse * range + flo); });
}

int32_t ApplyMapScale(Surface& s, Progress& p, int32_t type, double hi, double breakValue,
                      double lo, bool showProgress) {
    switch (type) {
    case 1:
        return ScaleHeightsBroken(s, p, hi, lo, breakValue, showProgress);
    case 2:
        return ScaleHeightsToRange(s, p, lo, hi, showProgress);
    default:
        return ScaleHeights(s, p, hi, showProgress);
    }
}

int32_t OffsetHeights(Surface& s, Progress& p, double amount) {
    if (std::fabs(amount) < 1e-6)
        return 0;
    return ForEachSample(s, p, Text("Adding %0.2f to surface", amount), true, ReportEvery,
                         [amount](float h) { return Stored(h + amount); });
}

int32_t ReplaceHeights(Surface& s, Progress& p, double base, double variance, double newValue) {
    const double a = std::fabs(variance);
    const double below = base - a;
    const double above = base + a;
    const float replacement = Stored(newValue);
    const std::string text =
        Text("Replacing %0.1f with %0.1f (+/- %0.1f)", base, newValue, variance);
    return ForEachSample(s, p, text, true, ReportEvery,
                         [=](float h) { return below <= h && h <= above ? replacement : h; });
}

int32_t ThresholdHeights(Surface& s, Progress& p, double interval) {
    // A negative interval means the same bins; an infinite one would turn every sample to NaN.
    const double step = std::fabs(interval);
    if (step == 0.0 || !std::isfinite(step))
        return 0;
    const double half = step * 0.5;
    const std::string text = Text("Thresholding surface into %0.2f high bins", interval);
    return ForEachSample(s, p, text, true, ReportEvery, [=](float h) {
        const double q = std::trunc((h >= 0.0f ? h + half : h - half) / step);
        return Stored(q * step);
    });
}

int32_t ThresholdLevels(Surface& s, Progress& p, int32_t levels) {
    if (levels <= 0)
        return PointNoLevels;
    return ThresholdHeights(s, p, (s.Max - s.Min) / levels);
}

} // namespace korvel
