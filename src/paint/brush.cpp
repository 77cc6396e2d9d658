#include "paint/brush.h"

#include "generate/evaluator.h"
#include "generate/parser.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace korvel {

namespace {

// A weight that is not a number would spread through every elevation it touches.
void ClearNonFinite(float& data, uint8_t& mask) {
    if (!std::isfinite(data)) {
        data = 0.0f;
        mask = 0;
    }
}

// Calls cell(i, j, u, v) for every footprint cell: u and v run from -1 at the first column and
// row toward 1, in single precision as the shapes have always been computed.
template <class Cell> void ForEachCell(int32_t xsize, int32_t ysize, Cell cell) {
    const float halfX = static_cast<float>(xsize) * 0.5f;
    const float halfY = static_cast<float>(ysize) * 0.5f;
    for (int32_t j = 0; j < ysize; ++j) {
        const float v = (static_cast<float>(j) - halfY) / halfY;
        for (int32_t i = 0; i < xsize; ++i)
            cell(i, j, (static_cast<float>(i) - halfX) / halfX, v);
    }
}

} // namespace

Brush::Brush() {
    Allocate();
    ShapeSimple();
}

int32_t Brush::OddSize(int32_t size) {
    return std::clamp(size | 1, MinSize, MaxSize);
}

float Brush::UsableBias(float bias) {
    if (std::fabs(bias) < 0.0001f)
        return 0.0001f;
    return bias >= 0.9999f ? 0.9999f : bias;
}

int32_t Brush::Set(int32_t xsize, int32_t ysize, int32_t type, float value, float bias, float lo,
                   float hi, const std::string& maskExpr, const std::string& dataExpr,
                   Evaluator& eval) {
    XSize = OddSize(xsize);
    YSize = OddSize(ysize);
    Type = type;
    Value = value;
    Bias = UsableBias(bias);
    Lo = lo;
    Hi = hi;
    MaskExpr = maskExpr;
    DataExpr = dataExpr;
    return Rebuild(eval);
}

int32_t Brush::Allocate() {
    const size_t cells = static_cast<size_t>(XSize) * static_cast<size_t>(YSize);
    int32_t code = RebuildNoData;
    try {
        Data.assign(cells, 0.0f);
        code = RebuildNoMask;
        Mask.assign(cells, 0);
        code = RebuildNoWork;
        Work.assign(cells, 0.0f);
    } catch (const std::bad_alloc&) {
        return code;
    }
    return 0;
}

int32_t Brush::Rebuild(Evaluator& eval) {
    XSize = OddSize(XSize);
    YSize = OddSize(YSize);
    if (const int32_t code = Allocate(); code != 0)
        return code;
    if ((Type & BrushAdvanced) != 0) {
        if (ShapeAdvanced(eval))
            return 0;
        Type &= ~BrushAdvanced;
        ShapeSimple();
        return RebuildBadExpression;
    }
    ShapeSimple();
    return 0;
}

void Brush::ShapeSimple() {
    const bool round = (Type & BrushRound) != 0;
    const bool soft = (Type & BrushSoftEdge) != 0;
    const float k = std::log(Bias) / std::log(0.5f);
    ForEachCell(XSize, YSize, [&](int32_t i, int32_t j, float u, float v) {
        const float r = std::sqrt(u * u + v * v);
        const size_t at = Index(i, j);
        Mask[at] = round && r > 1.0f ? 0 : 1;
        float data = 1.0f;
        if (soft)
            data = r <= 1.0f ? 1.0f - std::pow(r, k) : 0.0f;
        Data[at] = std::clamp(data, 0.0f, 1.0f);
        ClearNonFinite(Data[at], Mask[at]);
    });
}

bool Brush::ShapeAdvanced(Evaluator& eval) {
    const auto maskTree = ParseExpression(MaskExpr, eval);
    const auto dataTree = ParseExpression(DataExpr, eval);
    if (!maskTree || !dataTree)
        return false;
    ForEachCell(XSize, YSize, [&](int32_t i, int32_t j, float u, float v) {
        const size_t at = Index(i, j);
        Mask[at] = eval.Evaluate(*maskTree, u, v, 0.0) > 0.0 ? 1 : 0;
        Data[at] = static_cast<float>(eval.Evaluate(*dataTree, u, v, 0.0));
        ClearNonFinite(Data[at], Mask[at]);
    });
    return true;
}

int32_t Brush::CopyWithPressure(const Brush& source, float p, Evaluator& eval) {
    *this = source;
    if (Flags.Bias != 0)
        Bias = UsableBias(Bias + (Maxima.Bias - Bias) * p);
    if (Flags.XSize != 0)
        XSize = static_cast<int32_t>(static_cast<float>(XSize) +
                                     static_cast<float>(Maxima.XSize - XSize) * p);
    if (Flags.YSize != 0)
        YSize = static_cast<int32_t>(static_cast<float>(YSize) +
                                     static_cast<float>(Maxima.YSize - YSize) * p);
    if (Flags.Value != 0)
        Value = Value + (Maxima.Value - Value) * p;
    return Rebuild(eval);
}

int32_t Brush::Footprint(int32_t x, int32_t y, int32_t width, int32_t height,
                         FootprintRect& rect) const {
    const int64_t left = static_cast<int64_t>(x) - XSize / 2;
    const int64_t bottom = static_cast<int64_t>(y) - YSize / 2;
    const int64_t x0 = std::max<int64_t>(left, 0);
    const int64_t x1 = std::min<int64_t>(left + XSize, width);
    const int64_t y0 = std::max<int64_t>(bottom, 0);
    const int64_t y1 = std::min<int64_t>(bottom + YSize, height);
    if (x1 <= x0)
        return FootprintEmptyWidth;
    if (y1 <= y0)
        return FootprintEmptyHeight;
    rect = {static_cast<int32_t>(x0),        static_cast<int32_t>(y0),
            static_cast<int32_t>(x1 - x0),   static_cast<int32_t>(y1 - y0),
            static_cast<int32_t>(x0 - left), static_cast<int32_t>(y0 - bottom)};
    return 0;
}

} // namespace korvel
