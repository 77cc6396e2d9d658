#include "paint/brush_stamp.h"

#include "core/progress.h"
#include "core/random.h"
#include "core/surface.h"
#include "edit/convolution.h"
#include "paint/erosion_stamp.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace korvel {

namespace {

constexpr float DivideLimit = 1e10f;

float Operate(int32_t operation, float e, float w, float operand, bool perCell) {
    // A plain brush's operand is the weighted value; a per-cell source is taken as it is and
    // only Lerp weighs it.
    const float v = perCell ? operand : w * operand;
    switch (operation) {
    case OperationLerp:
        return e + (operand - e) * w;
    case OperationAdd:
        return e + v;
    case OperationSubtract:
        return e - v;
    case OperationMultiply:
        return e * v;
    case OperationDivide:
        if (!(v > -DivideLimit && v < DivideLimit))
            return 1.0f;
        return perCell ? e / v : e / (v * operand);
    case OperationMinimum:
        return std::min(e, v);
    case OperationMaximum:
        return std::max(e, v);
    case OperationExponent:
        return std::pow(e, v);
    default:
        return e;
    }
}

float FiniteOr(float e, float result) {
    return std::isfinite(result) ? result : e;
}

bool Selected(const Surface& s, int32_t x, int32_t y) {
    const SelectionMask& mask = s.Mask;
    if (!mask.Exists())
        return true;
    return x < mask.Width() && y < mask.Height() && mask.IsSelected(x, y) != 0;
}

// Brush cells [from, to) of one axis that both footprints cover.
struct Span {
    int32_t From;
    int32_t To;
};

Span Common(int32_t aStart, int32_t aCount, int32_t bStart, int32_t bCount) {
    return {std::max(aStart, bStart), std::min(aStart + aCount, bStart + bCount)};
}

class Applier {
public:
    Applier(Brush& brush, const StampTarget& target, StampReport& report)
        : B(brush), T(target), Report(report) {}

    // weightAt(index) gives the cell's weight, operandAt(index) the operand (V or S).
    template <class Weight, class Operand>
    int32_t Run(const FootprintRect& area, bool perCell, Weight weightAt, Operand operandAt) {
        Surface& s = T.S;
        const int32_t type = B.Type;
        const int32_t condition = BrushConditionOf(type);
        for (int32_t r = 0; r < area.Height; ++r) {
            if (T.TheProgress.CancelRequested())
                return StampCancelled;
            if (r % 4 == 3)
                T.TheProgress.PumpPendingMessage();
            const int32_t y = area.Y0 + r;
            float* row = s.Rows[y];
            for (int32_t c = 0; c < area.Width; ++c) {
                const int32_t x = area.X0 + c;
                const size_t at = B.Index(area.BrushX0 + c, area.BrushY0 + r);
                if (B.Mask[at] == 0 || !Selected(s, x, y))
                    continue;
                const float e = row[x];
                if (!ConditionHolds(condition, e, B.Lo, B.Hi))
                    continue;
                const float result = FiniteOr(
                    e, Operate(BrushOperationOf(type), e, weightAt(at), operandAt(at), perCell));
                row[x] = result;
                NoteWritten(Report, result);
            }
        }
        return StampDone;
    }

private:
    Brush& B;
    const StampTarget& T;
    StampReport& Report;
};

// The destination area narrowed to the brush cells whose clone source lies on the Surface.
FootprintRect SharedArea(const FootprintRect& dst, const FootprintRect& src) {
    const Span xs = Common(dst.BrushX0, dst.Width, src.BrushX0, src.Width);
    const Span ys = Common(dst.BrushY0, dst.Height, src.BrushY0, src.Height);
    FootprintRect area;
    area.BrushX0 = xs.From;
    area.BrushY0 = ys.From;
    area.Width = std::max(0, xs.To - xs.From);
    area.Height = std::max(0, ys.To - ys.From);
    area.X0 = dst.X0 + (xs.From - dst.BrushX0);
    area.Y0 = dst.Y0 + (ys.From - dst.BrushY0);
    return area;
}

// The brush's Work grid: the terrain of the area at (x0, y0), convolved with the brush kernel
// or copied, stored at the area's brush cells.
int32_t FillWork(Brush& b, const StampTarget& t, int32_t x0, int32_t y0,
                 const FootprintRect& area) {
    std::fill(b.Work.begin(), b.Work.end(), 0.0f);
    Surface& s = t.S;
    if (BrushKindOf(b.Type) != BrushConvolve) {
        for (int32_t r = 0; r < area.Height; ++r)
            std::copy_n(s.Rows[y0 + r] + x0, area.Width,
                        b.Work.data() + b.Index(area.BrushX0, area.BrushY0 + r));
        return StampDone;
    }
    std::vector<float*> rows(static_cast<size_t>(area.Height));
    for (int32_t r = 0; r < area.Height; ++r)
        rows[static_cast<size_t>(r)] = b.Work.data() + b.Index(area.BrushX0, area.BrushY0 + r);
    const ConvolutionSource source{s.Rows, s.XSize, s.YSize};
    return KernelApply(b.BrushKernel, x0, y0, area.Width, area.Height, source, rows.data(),
                       t.TheProgress, {}, false) == 0
               ? StampDone
               : StampCancelled;
}

} // namespace

void NoteWritten(StampReport& report, float value) {
    if (!report.Wrote) {
        report.Wrote = true;
        report.Lowest = report.Highest = value;
        return;
    }
    report.Lowest = std::min(report.Lowest, value);
    report.Highest = std::max(report.Highest, value);
}

std::vector<float> FootprintWeights(const Brush& b, const Surface& s, const FootprintRect& area) {
    std::vector<float> weights(static_cast<size_t>(area.Width) * static_cast<size_t>(area.Height));
    const int32_t condition = BrushConditionOf(b.Type);
    for (int32_t r = 0; r < area.Height; ++r)
        for (int32_t c = 0; c < area.Width; ++c) {
            const int32_t x = area.X0 + c;
            const int32_t y = area.Y0 + r;
            const size_t at = b.Index(area.BrushX0 + c, area.BrushY0 + r);
            if (b.Mask[at] != 0 && Selected(s, x, y) &&
                ConditionHolds(condition, s.Rows[y][x], b.Lo, b.Hi))
                weights[static_cast<size_t>(r) * area.Width + c] =
                    std::clamp(b.Data[at], 0.0f, 1.0f);
        }
    return weights;
}

bool ConditionHolds(int32_t condition, float e, float lo, float hi) {
    switch (condition) {
    case ApplyAlways:
        return true;
    case ApplyIfAbove:
        return e > lo;
    case ApplyIfBelow:
        return e < lo;
    case ApplyIfBetween:
        return lo < e && e < hi;
    case ApplyIfNotBetween:
        return e < lo || e > hi;
    case ApplyIfAboveOrEqual:
        return e >= lo;
    case ApplyIfBelowOrEqual:
        return e <= lo;
    case ApplyIfBetweenOrEqual:
        return lo <= e && e <= hi;
    case ApplyIfNotBetweenOrEqual:
        return e <= lo || e >= hi;
    default:
        // "Never" and the codes no dialog offers.
        return false;
    }
}

float ApplyOperation(int32_t type, float e, float w, float operand, float lo, float hi,
                     bool perCell) {
    if (!ConditionHolds(BrushConditionOf(type), e, lo, hi))
        return e;
    return FiniteOr(e, Operate(BrushOperationOf(type), e, w, operand, perCell));
}

int32_t Stamp(Brush& brush, const StampTarget& target, int32_t x, int32_t y,
              std::optional<SamplePosition> source, StampReport& report) {
    Surface& s = target.S;
    report = {};
    if (!s.HasGrid() || BrushConditionOf(brush.Type) == ApplyNever)
        return StampOutside;
    FootprintRect dst;
    if (brush.Footprint(x, y, s.XSize, s.YSize, dst) != 0)
        return StampOutside;
    Applier applier(brush, target, report);
    const float* data = brush.Data.data();
    const float* work = brush.Work.data();
    auto weight = [data](size_t at) { return data[at]; };
    auto fromWork = [work](size_t at) { return work[at]; };
    auto value = [v = brush.Value](size_t) { return v; };
    if (source) {
        FootprintRect src;
        if (brush.Footprint(source->X, source->Y, s.XSize, s.YSize, src) != 0)
            return StampOutside;
        const FootprintRect area = SharedArea(dst, src);
        if (area.Width == 0 || area.Height == 0)
            return StampOutside;
        report.Area = area;
        const int32_t sx0 = src.X0 + (area.BrushX0 - src.BrushX0);
        const int32_t sy0 = src.Y0 + (area.BrushY0 - src.BrushY0);
        if (FillWork(brush, target, sx0, sy0, area) != StampDone)
            return StampCancelled;
        return applier.Run(area, true, weight, fromWork);
    }
    report.Area = dst;
    switch (BrushKindOf(brush.Type)) {
    case BrushConvolve:
        if (FillWork(brush, target, dst.X0, dst.Y0, dst) != StampDone)
            return StampCancelled;
        return applier.Run(dst, true, weight, fromWork);
    case BrushUniformNoise:
    case BrushGaussianNoise: {
        RandomStream& random = target.Random;
        const auto draw = BrushKindOf(brush.Type) == BrushUniformNoise
                              ? &RandomStream::RandomUniform
                              : &RandomStream::RandomGaussian;
        return applier.Run(
            dst, false,
            [data, &random, draw](size_t at) {
                return data[at] * static_cast<float>((random.*draw)());
            },
            value);
    }
    case BrushThermalErode:
        return ThermalStamp(brush, target, dst, report);
    case BrushHydraulicErode:
        return HydraulicStamp(brush, target, dst, report);
    default:
        // Plain brushes and the erode preset's kind 4 apply their own weights.
        return applier.Run(dst, false, weight, value);
    }
}

} // namespace korvel
