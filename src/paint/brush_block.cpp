#include "paint/brush_block.h"

#include "generate/block_values.h"
#include "generate/evaluator.h"
#include "generate/kernel_block.h"
#include "generate/keywords.h"
#include "generate/token_reader.h"
#include "paint/brush.h"

#include <cmath>
#include <vector>

namespace korvel {

namespace {

// Where a short Data or Mask list ends: the next item of the block, or the end of the input.
bool EndsList(int32_t token) {
    return token == TokEnd || token == KwBias || token == KwXsize || token == KwYsize ||
           (token >= KwKernel && token <= KwBrushEnd);
}

// A grid list as read, with the sizes in force when it was read.
struct GridList {
    bool Read = false;
    int32_t XSize = 0;
    int32_t YSize = 0;
    std::vector<float> Values;

    bool Fits(const Brush& b) const {
        return Read && XSize == b.XSize && YSize == b.YSize && Brush::OddSize(XSize) == XSize &&
               Brush::OddSize(YSize) == YSize &&
               Values.size() == static_cast<size_t>(XSize) * static_cast<size_t>(YSize);
    }
};

void ReadList(GridList& list, const Brush& b, TokenReader& reader, Evaluator& eval) {
    list = {true, b.XSize, b.YSize, {}};
    // Sizes that no brush takes are not worth reading into memory; the values are skipped.
    const bool usable = Brush::OddSize(b.XSize) == b.XSize && Brush::OddSize(b.YSize) == b.YSize;
    const int64_t count = static_cast<int64_t>(b.XSize) * b.YSize;
    for (int64_t n = 0; n < count && !EndsList(reader.Token()); ++n) {
        const int32_t line = reader.Line();
        const size_t column = reader.Column();
        const auto value = static_cast<float>(ReadBlockReal(reader, eval));
        if (usable)
            list.Values.push_back(value);
        // A token that cannot start a number is not consumed by the constant reader: without
        // this the count of a huge declared size would be spent on it.
        if (reader.Line() == line && reader.Column() == column)
            reader.Next();
    }
}

std::string StringItem(TokenReader& reader, const std::string& old) {
    if (reader.Next() != TokString)
        return old;
    std::string text = reader.Text();
    reader.Next();
    return text;
}

// The grids as read when they fit the fields, else the shape the fields describe.
void Finish(Brush& b, const GridList& data, const GridList& mask, Evaluator& eval) {
    if (!data.Fits(b) || !mask.Fits(b)) {
        b.Set(b.XSize, b.YSize, b.Type, b.Value, b.Bias, b.Lo, b.Hi, b.MaskExpr, b.DataExpr, eval);
        return;
    }
    b.Bias = Brush::UsableBias(b.Bias);
    b.Data = data.Values;
    b.Mask.assign(b.Data.size(), 0);
    b.Work.assign(b.Data.size(), 0.0f);
    for (size_t i = 0; i < b.Data.size(); ++i) {
        b.Mask[i] = mask.Values[i] != 0.0f ? 1 : 0;
        if (!std::isfinite(b.Data[i])) {
            b.Data[i] = 0.0f;
            b.Mask[i] = 0;
        }
    }
}

} // namespace

int32_t ReadBrush(Brush& b, TokenReader& reader, Evaluator& eval) {
    reader.SkipInsignificant();
    if (reader.Token() == KwBrush)
        reader.Next();
    GridList data;
    GridList mask;
    for (;;) {
        switch (reader.Token()) {
        case TokEnd:
            // What was read stays, with grids that match it.
            Finish(b, data, mask, eval);
            return -1;
        case KwValue:
            reader.Next();
            b.Value = static_cast<float>(ReadBlockReal(reader, eval));
            break;
        case KwBias:
            reader.Next();
            b.Bias = static_cast<float>(ReadBlockReal(reader, eval));
            break;
        case KwLo:
            reader.Next();
            b.Lo = static_cast<float>(ReadBlockReal(reader, eval));
            break;
        case KwHi:
            reader.Next();
            b.Hi = static_cast<float>(ReadBlockReal(reader, eval));
            break;
        case KwXsize:
            reader.Next();
            b.XSize = ReadBlockInt(reader, eval);
            break;
        case KwYsize:
            reader.Next();
            b.YSize = ReadBlockInt(reader, eval);
            break;
        case KwType:
            reader.Next();
            b.Type = ReadBlockInt(reader, eval);
            break;
        case KwMaskExpr:
            b.MaskExpr = StringItem(reader, b.MaskExpr);
            break;
        case KwDataExpr:
            b.DataExpr = StringItem(reader, b.DataExpr);
            break;
        case KwKernel:
            // At the end of the input the next turn of the loop finishes the brush.
            ReadKernel(b.BrushKernel, reader, eval);
            break;
        case KwData:
            reader.Next();
            ReadList(data, b, reader, eval);
            break;
        case KwMask:
            reader.Next();
            ReadList(mask, b, reader, eval);
            break;
        case KwBrushEnd:
            reader.Next();
            Finish(b, data, mask, eval);
            return 0;
        default:
            reader.Next();
            break;
        }
    }
}

std::string FormatBrush(const Brush& b) {
    std::string out;
    const auto real = [&out](int32_t code, float value) {
        AppendFormat(out, "%s %0.5f\n", KeywordText(code).c_str(), static_cast<double>(value));
    };
    const auto whole = [&out](int32_t code, int32_t value) {
        AppendFormat(out, "%s %d\n", KeywordText(code).c_str(), value);
    };
    AppendFormat(out, "%s\n", KeywordText(KwBrush).c_str());
    real(KwValue, b.Value);
    whole(KwXsize, b.XSize);
    whole(KwYsize, b.YSize);
    real(KwBias, b.Bias);
    whole(KwType, b.Type);
    real(KwLo, b.Lo);
    real(KwHi, b.Hi);
    AppendFormat(out, "%s \"%s\"\n", KeywordText(KwMaskExpr).c_str(), b.MaskExpr.c_str());
    AppendFormat(out, "%s \"%s\"\n", KeywordText(KwDataExpr).c_str(), b.DataExpr.c_str());
    AppendFormat(out, "%s\n", KeywordText(KwData).c_str());
    for (int32_t j = 0; j < b.YSize; ++j) {
        for (int32_t i = 0; i < b.XSize; ++i)
            AppendFormat(out, "%10.5f, ", static_cast<double>(b.DataAt(i, j)));
        out += "\n";
    }
    AppendFormat(out, "%s\n", KeywordText(KwMask).c_str());
    for (int32_t j = 0; j < b.YSize; ++j) {
        for (int32_t i = 0; i < b.XSize; ++i)
            AppendFormat(out, "%5d, ", b.MaskAt(i, j));
        out += "\n";
    }
    out += FormatKernel(b.BrushKernel);
    AppendFormat(out, "%s\n", KeywordText(KwBrushEnd).c_str());
    return out;
}

} // namespace korvel
