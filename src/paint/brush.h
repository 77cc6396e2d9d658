#pragma once
// The brush that painting and cloning stamp onto the Surface: a footprint of weights (Data) and
// on/off cells (Mask), built from a round or soft shape or from two expressions, and the rule
// that says how each weighted sample changes the elevation under it.
#include "core/kernel.h"

#include <cstdint>
#include <string>
#include <vector>

namespace korvel {

class Evaluator;

// Bits 0-3 of Type: what the footprint contributes.
enum BrushKind : int32_t {
    BrushPlain = 0,
    BrushConvolve = 1,
    BrushUniformNoise = 2,
    BrushGaussianNoise = 3,
    // Beyond the four kinds of old (4 is the Erode preset's, stamped as a plain brush): the
    // erosion presets weather or rain on the terrain under the footprint.
    BrushThermalErode = 5,
    BrushHydraulicErode = 6,
};

// Bits 4-7 of Type: where the operation applies, by the elevation E and Lo, Hi.
enum BrushCondition : int32_t {
    ApplyAlways = 0,
    ApplyIfAbove = 1,
    ApplyIfBelow = 2,
    ApplyIfBetween = 3,
    ApplyIfNotBetween = 4,
    ApplyIfAboveOrEqual = 5,
    ApplyIfBelowOrEqual = 6,
    ApplyIfBetweenOrEqual = 7,
    ApplyIfNotBetweenOrEqual = 8,
    ApplyNever = 9,
};

// Bits 8-11 of Type: how a weighted value changes the elevation.
enum BrushOperation : int32_t {
    OperationLerp = 0,
    OperationAdd = 1,
    OperationSubtract = 2,
    OperationMultiply = 3,
    OperationDivide = 4,
    OperationMinimum = 5,
    OperationMaximum = 6,
    OperationExponent = 7,
};

constexpr int32_t BrushSoftEdge = 0x1000;
constexpr int32_t BrushRound = 0x2000;
constexpr int32_t BrushWrap = 0x4000;
constexpr int32_t BrushAdvanced = 0x10000;

constexpr int32_t BrushKindOf(int32_t type) {
    return type & 0xF;
}
constexpr int32_t BrushConditionOf(int32_t type) {
    return (type >> 4) & 0xF;
}
constexpr int32_t BrushOperationOf(int32_t type) {
    return (type >> 8) & 0xF;
}
constexpr int32_t WithKind(int32_t type, int32_t kind) {
    return (type & ~0xF) | (kind & 0xF);
}
constexpr int32_t WithOperation(int32_t type, int32_t operation) {
    return (type & ~0xF00) | ((operation & 0xF) << 8);
}

// What a brush reaches at full tablet pressure.
struct PressureMaxima {
    float Bias = 1.0f;
    int32_t XSize = 21;
    int32_t YSize = 21;
    float Value = 20.0f;
};

// Which fields follow the pressure ("Affect &Bias", "Affect &X Size" ...).
struct PressureFlags {
    int32_t Bias = 0;
    int32_t XSize = 0;
    int32_t YSize = 0;
    int32_t Value = 0;
    bool Any() const { return Bias != 0 || XSize != 0 || YSize != 0 || Value != 0; }
};

// The Surface cells under a brush centred on a sample, clipped to the Surface, and the brush
// cell of its first column and row.
struct FootprintRect {
    int32_t X0 = 0;
    int32_t Y0 = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t BrushX0 = 0;
    int32_t BrushY0 = 0;
};

enum FootprintStatus : int32_t {
    FootprintEmptyWidth = -1,
    FootprintEmptyHeight = -2,
};

enum RebuildStatus : int32_t {
    RebuildBadExpression = -1, // the brush fell back to the simple form
    RebuildNoData = -2,
    RebuildNoMask = -3,
    RebuildNoWork = -4,
};

class Brush {
public:
    static constexpr int32_t MinSize = 3;
    // A footprint far larger than any view would cost megabytes a stamp for no purpose.
    static constexpr int32_t MaxSize = 513;

    // The defaults, built in the simple form.
    Brush();

    // |bias| < 0.0001 becomes 0.0001 and bias >= 0.9999 becomes 0.9999; sizes become odd and
    // MinSize..MaxSize; then Rebuild.
    int32_t Set(int32_t xsize, int32_t ysize, int32_t type, float value, float bias, float lo,
                float hi, const std::string& maskExpr, const std::string& dataExpr,
                Evaluator& eval);
    // Data, Mask and Work of XSize x YSize from the shape or the expressions. 0, or a
    // RebuildStatus.
    int32_t Rebuild(Evaluator& eval);
    // A copy of source with the fields its pressure flags name moved fraction p (0..1) of the way
    // to their maxima; sizes stay odd and within MinSize..MaxSize. Then Rebuild.
    int32_t CopyWithPressure(const Brush& source, float p, Evaluator& eval);
    // The cells covered when centred on (x, y) of a width x height Surface: 0, or a
    // FootprintStatus when nothing is covered.
    int32_t Footprint(int32_t x, int32_t y, int32_t width, int32_t height,
                      FootprintRect& rect) const;

    float DataAt(int32_t column, int32_t row) const { return Data[Index(column, row)]; }
    uint8_t MaskAt(int32_t column, int32_t row) const { return Mask[Index(column, row)]; }
    size_t Index(int32_t column, int32_t row) const {
        return static_cast<size_t>(row) * static_cast<size_t>(XSize) + static_cast<size_t>(column);
    }

    // An even size grows by one; the result is within MinSize..MaxSize.
    static int32_t OddSize(int32_t size);
    static float UsableBias(float bias);

    Kernel BrushKernel;
    float Value = 1.0f;
    int32_t XSize = 11;
    int32_t YSize = 11;
    float Bias = 0.5f;
    int32_t Type = BrushSoftEdge | BrushRound | BrushWrap;
    float Lo = -1e30f;
    float Hi = 1e30f;
    // Row-major, XSize weights a row; row 0 is the footprint's lowest Surface row.
    std::vector<float> Data;
    // Scratch for convolution and cloning, as large as Data.
    std::vector<float> Work;
    std::vector<uint8_t> Mask;
    PressureMaxima Maxima;
    PressureFlags Flags;
    std::string MaskExpr = "1-r";
    std::string DataExpr = "1-r";

private:
    int32_t Allocate();
    void ShapeSimple();
    bool ShapeAdvanced(Evaluator& eval);
};

} // namespace korvel
