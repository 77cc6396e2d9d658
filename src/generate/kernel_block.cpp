#include "generate/kernel_block.h"

#include "core/kernel.h"
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

// Where a short Data list ends: the next item of the block, or the end of the input.
bool EndsData(int32_t token) {
    return token == TokEnd || (token >= KwKernel && token <= KwKernelEnd);
}

void ReadData(Kernel& kernel, TokenReader& reader, Builtins& builtins) {
    for (int32_t i = 0; i < kernel.Size(); ++i) {
        for (int32_t j = 0; j < kernel.Size(); ++j) {
            if (EndsData(reader.Token()))
                return;
            kernel.SetWeight(i, j, static_cast<float>(Real(reader, builtins)));
        }
    }
}

void Append(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));
void Append(std::string& out, const char* format, ...) {
    char line[128];
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

int32_t ReadKernel(Kernel& kernel, TokenReader& reader, Builtins& builtins) {
    reader.SkipInsignificant();
    if (reader.Token() == KwKernel)
        reader.Next();
    for (;;) {
        switch (reader.Token()) {
        case TokEnd:
            return -1;
        case KwSize: {
            reader.Next();
            const int32_t n = Integer(reader, builtins);
            if (n < 1 || n > Kernel::MaxSize) {
                while (reader.Token() != TokEnd && reader.Token() != KwKernelEnd)
                    reader.Next();
                if (reader.Token() == KwKernelEnd)
                    reader.Next();
                return -2;
            }
            if (n != kernel.Size())
                kernel.SetSize(n, kernel.Scale, kernel.Symmetry, kernel.Mode);
            break;
        }
        case KwScale:
            reader.Next();
            kernel.Scale = static_cast<float>(Real(reader, builtins));
            break;
        case KwSymmetry: {
            reader.Next();
            // Low two bits, except that 4 (8-way) is a choice of its own.
            const int32_t v = Integer(reader, builtins);
            kernel.Symmetry = v == 4 ? 4 : (v & 3);
            break;
        }
        case KwWrap:
            reader.Next();
            kernel.Mode = Integer(reader, builtins) & 3;
            break;
        case KwData:
            reader.Next();
            ReadData(kernel, reader, builtins);
            break;
        case KwKernelEnd:
            reader.Next();
            return 0;
        default:
            reader.Next();
            break;
        }
    }
}

std::string FormatKernel(const Kernel& kernel) {
    std::string out;
    Append(out, "%s\n", Name(KwKernel).c_str());
    Append(out, "%s %d\n", Name(KwSize).c_str(), kernel.Size());
    Append(out, "%s %0.5f\n", Name(KwScale).c_str(), static_cast<double>(kernel.Scale));
    Append(out, "%s %d\n", Name(KwSymmetry).c_str(), kernel.Symmetry);
    Append(out, "%s %d\n", Name(KwWrap).c_str(), kernel.Mode);
    Append(out, "%s\n", Name(KwData).c_str());
    for (int32_t i = 0; i < kernel.Size(); ++i) {
        for (int32_t j = 0; j < kernel.Size(); ++j)
            Append(out, " %10.5f,", static_cast<double>(kernel.Weight(i, j)));
        out += "\n";
    }
    Append(out, "%s\n", Name(KwKernelEnd).c_str());
    return out;
}

} // namespace korvel
