#include "generate/frac_parms_block.h"

#include "core/frac_parms.h"
#include "generate/block_values.h"
#include "generate/keywords.h"
#include "generate/parser.h"
#include "generate/token_reader.h"

#include <cstdio>
#include <initializer_list>

namespace korvel {

namespace {} // namespace

int32_t ReadFracParms(FracParms& f, TokenReader& reader, Builtins& builtins) {
    reader.SkipInsignificant();
    if (reader.Token() == KwFracParms)
        reader.Next();
    for (;;) {
        switch (reader.Token()) {
        case TokEnd:
            return -1;
        case KwType:
            reader.Next();
            f.Type = ReadBlockInt(reader, builtins);
            break;
        case KwSeed:
            reader.Next();
            f.Seed = ReadBlockInt(reader, builtins);
            break;
        case KwFunc:
            if (reader.Next() == TokString) {
                f.Func = reader.Text();
                reader.Next();
            }
            break;
        case KwPlasma:
            reader.Next();
            f.rf = ReadBlockReal(reader, builtins);
            f.irf = ReadBlockReal(reader, builtins);
            break;
        case KwProcedural:
            reader.Next();
            f.H = ReadBlockReal(reader, builtins);
            f.lacunarity = ReadBlockReal(reader, builtins);
            f.octaves = ReadBlockReal(reader, builtins);
            f.offset = ReadBlockReal(reader, builtins);
            f.fgain = ReadBlockReal(reader, builtins);
            f.TexSphere = ReadBlockInt(reader, builtins) != 0;
            break;
        case KwPosition:
            reader.Next();
            f.xpos = ReadBlockReal(reader, builtins);
            f.ypos = ReadBlockReal(reader, builtins);
            f.zpos = ReadBlockReal(reader, builtins);
            break;
        case KwRange:
            reader.Next();
            f.xrange = ReadBlockReal(reader, builtins);
            f.yrange = ReadBlockReal(reader, builtins);
            f.zrange = ReadBlockReal(reader, builtins);
            break;
        case KwBounds:
            reader.Next();
            f.Top = ReadBlockReal(reader, builtins);
            f.Left = ReadBlockReal(reader, builtins);
            f.Right = ReadBlockReal(reader, builtins);
            f.Bottom = ReadBlockReal(reader, builtins);
            break;
        case KwFracParmsEnd:
            reader.Next();
            return 0;
        default:
            reader.Next();
            break;
        }
    }
}

namespace {

// "a, b, c" with the reals spelled as digits says.
std::string RealList(std::initializer_list<double> values, RealDigits digits) {
    std::string out;
    for (const double v : values)
        out += (out.empty() ? "" : ", ") + RealText(v, digits);
    return out;
}

} // namespace

std::string FormatFracParms(const FracParms& f, RealDigits digits) {
    std::string out;
    AppendFormat(out, "%s\n", KeywordText(KwFracParms).c_str());
    AppendFormat(out, "%s %d\n", KeywordText(KwType).c_str(), f.Type);
    AppendFormat(out, "%s %d\n", KeywordText(KwSeed).c_str(), f.Seed);
    out += KeywordText(KwFunc) + " \"" + f.Func + "\"\n";
    out += KeywordText(KwPlasma) + " " + RealList({f.rf, f.irf}, digits) + "\n";
    out += KeywordText(KwProcedural) + " " +
           RealList({f.H, f.lacunarity, f.octaves, f.offset, f.fgain}, digits) +
           (f.TexSphere ? ", 1\n" : ", 0\n");
    out += KeywordText(KwPosition) + " " + RealList({f.xpos, f.ypos, f.zpos}, digits) + "\n";
    out += KeywordText(KwRange) + " " + RealList({f.xrange, f.yrange, f.zrange}, digits) + "\n";
    out +=
        KeywordText(KwBounds) + " " + RealList({f.Top, f.Left, f.Right, f.Bottom}, digits) + "\n";
    AppendFormat(out, "%s\n", KeywordText(KwFracParmsEnd).c_str());
    return out;
}

} // namespace korvel
