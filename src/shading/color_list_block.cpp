#include "shading/color_list_block.h"

#include "core/color_list.h"
#include "generate/block_values.h"
#include "generate/keywords.h"
#include "generate/token_reader.h"

#include <array>

namespace korvel {

namespace {

// Tokens a number can start with; anything else inside Data is passed over so that the loop
// always moves on.
bool StartsNumber(int32_t token) {
    return token == TokNumber || token == TokMinus || token == TokPlus || token == TokLeftParen;
}

// Numbers up to ColorListEnd, three to a colour; an incomplete last colour is dropped.
void ReadData(ColorList& list, TokenReader& reader, Builtins& builtins) {
    list.Clear();
    std::array<PackedColor, 3> rgb{};
    size_t have = 0;
    while (reader.Token() != TokEnd && reader.Token() != KwColorListEnd) {
        if (!StartsNumber(reader.Token())) {
            reader.Next();
            continue;
        }
        rgb[have++] = static_cast<PackedColor>(ReadBlockInt(reader, builtins)) & 0xFF;
        if (have == rgb.size()) {
            list.Append(rgb[0] | (rgb[1] << 8) | (rgb[2] << 16));
            have = 0;
        }
    }
}

} // namespace

int32_t ReadColorList(ColorList& list, TokenReader& reader, Builtins& builtins) {
    reader.SkipInsignificant();
    if (reader.Token() == KwColorList)
        reader.Next();
    for (;;) {
        switch (reader.Token()) {
        case TokEnd:
            return -1;
        case KwGamma:
            reader.Next();
            list.Gamma = ReadBlockReal(reader, builtins);
            break;
        case KwMode:
            reader.Next();
            list.Mode = ReadBlockInt(reader, builtins) & 3;
            break;
        case KwData:
            reader.Next();
            ReadData(list, reader, builtins);
            break;
        case KwColorListEnd:
            reader.Next();
            return 0;
        default:
            reader.Next();
            break;
        }
    }
}

std::string FormatColorList(const ColorList& list, RealDigits digits) {
    std::string out;
    AppendFormat(out, "%s\n", KeywordText(KwColorList).c_str());
    out += KeywordText(KwGamma) + " " + RealText(list.Gamma, digits) + "\n";
    AppendFormat(out, "%s %d\n", KeywordText(KwMode).c_str(), list.Mode);
    AppendFormat(out, "%s\n", KeywordText(KwData).c_str());
    for (const PackedColor c : list.Entries)
        AppendFormat(out, "%4d,%4d,%4d,\n", static_cast<int>(c & 0xFF),
                     static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF));
    AppendFormat(out, "%s\n", KeywordText(KwColorListEnd).c_str());
    return out;
}

std::string FixedText(double value) {
    return RealText(value, RealDigits::Five);
}

} // namespace korvel
