#include "generate/frac_parms_block.h"

#include "core/frac_parms.h"
#include "generate/keywords.h"
#include "generate/parser.h"
#include "generate/token_reader.h"

#include <cstdarg>
#include <cstdio>

namespace korvel {

namespace {

// One value and the comma after it, if there is one.
double Real(TokenReader& reader, Builtins& builtins) {
    const double value = ParseConstant(reader, builtins);
    if (reader.Token() == TokComma)
        reader.Next();
    return value;
}

int32_t Integer(TokenReader& reader, Builtins& builtins) {
    const int32_t value = ParseConstantInt(reader, builtins);
    if (reader.Token() == TokComma)
        reader.Next();
    return value;
}

void Append(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));
void Append(std::string& out, const char* format, ...) {
    char line[4096];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    out += line;
}

std::string Name(int32_t code) {
    return std::string(KeywordName(code));
}

} // namespace

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
            f.Type = Integer(reader, builtins);
            break;
        case KwSeed:
            reader.Next();
            f.Seed = Integer(reader, builtins);
            break;
        case KwFunc:
            if (reader.Next() == TokString) {
                f.Func = reader.Text();
                reader.Next();
            }
            break;
        case KwPlasma:
            reader.Next();
            f.rf = Real(reader, builtins);
            f.irf = Real(reader, builtins);
            break;
        case KwProcedural:
            reader.Next();
            f.H = Real(reader, builtins);
            f.lacunarity = Real(reader, builtins);
            f.octaves = Real(reader, builtins);
            f.offset = Real(reader, builtins);
            f.fgain = Real(reader, builtins);
            f.TexSphere = Integer(reader, builtins) != 0;
            break;
        case KwPosition:
            reader.Next();
            f.xpos = Real(reader, builtins);
            f.ypos = Real(reader, builtins);
            f.zpos = Real(reader, builtins);
            break;
        case KwRange:
            reader.Next();
            f.xrange = Real(reader, builtins);
            f.yrange = Real(reader, builtins);
            f.zrange = Real(reader, builtins);
            break;
        case KwBounds:
            reader.Next();
            f.Top = Real(reader, builtins);
            f.Left = Real(reader, builtins);
            f.Right = Real(reader, builtins);
            f.Bottom = Real(reader, builtins);
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

std::string FormatFracParms(const FracParms& f) {
    std::string out;
    Append(out, "%s\n", Name(KwFracParms).c_str());
    Append(out, "%s %d\n", Name(KwType).c_str(), f.Type);
    Append(out, "%s %d\n", Name(KwSeed).c_str(), f.Seed);
    out += Name(KwFunc) + " \"" + f.Func + "\"\n";
    Append(out, "%s %0.5f, %0.5f\n", Name(KwPlasma).c_str(), f.rf, f.irf);
    Append(out, "%s %0.5f, %0.5f, %0.5f, %0.5f, %0.5f, %d\n", Name(KwProcedural).c_str(), f.H,
           f.lacunarity, f.octaves, f.offset, f.fgain, f.TexSphere ? 1 : 0);
    Append(out, "%s %0.5f, %0.5f, %0.5f\n", Name(KwPosition).c_str(), f.xpos, f.ypos, f.zpos);
    Append(out, "%s %0.5f, %0.5f, %0.5f\n", Name(KwRange).c_str(), f.xrange, f.yrange, f.zrange);
    Append(out, "%s %0.5f, %0.5f, %0.5f, %0.5f\n", Name(KwBounds).c_str(), f.Top, f.Left, f.Right,
           f.Bottom);
    Append(out, "%s\n", Name(KwFracParmsEnd).c_str());
    return out;
}

} // namespace korvel
