#include "generate/kernel_block.h"

#include "core/kernel.h"
#include "generate/block_values.h"
#include "generate/keywords.h"
#include "generate/parser.h"
#include "generate/token_reader.h"

#include <cstdio>

namespace korvel {

namespace {

// Where a short Data list ends: the next item of the block, or the end of the input.
bool EndsData(int32_t token) {
    return token == TokEnd || (token >= KwKernel && token <= KwKernelEnd);
}

void ReadData(Kernel& kernel, TokenReader& reader, Builtins& builtins) {
    for (int32_t i = 0; i < kernel.Size(); ++i) {
        for (int32_t j = 0; j < kernel.Size(); ++j) {
            if (EndsData(reader.Token()))
                return;
            kernel.SetWeight(i, j, static_cast<float>(ReadBlockReal(reader, builtins)));
        }
    }
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
            const int32_t n = ReadBlockInt(reader, builtins);
            if (n < MinBlockSize || n > MaxBlockSize) {
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
            kernel.Scale = static_cast<float>(ReadBlockReal(reader, builtins));
            break;
        case KwSymmetry: {
            reader.Next();
            // Low two bits, except that 4 (8-way) is a choice of its own.
            const int32_t v = ReadBlockInt(reader, builtins);
            kernel.Symmetry = v == 4 ? 4 : (v & 3);
            break;
        }
        case KwWrap:
            reader.Next();
            kernel.Mode = ReadBlockInt(reader, builtins) & 3;
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
    AppendFormat(out, "%s\n", KeywordText(KwKernel).c_str());
    AppendFormat(out, "%s %d\n", KeywordText(KwSize).c_str(), kernel.Size());
    AppendFormat(out, "%s %0.5f\n", KeywordText(KwScale).c_str(),
                 static_cast<double>(kernel.Scale));
    AppendFormat(out, "%s %d\n", KeywordText(KwSymmetry).c_str(), kernel.Symmetry);
    AppendFormat(out, "%s %d\n", KeywordText(KwWrap).c_str(), kernel.Mode);
    AppendFormat(out, "%s\n", KeywordText(KwData).c_str());
    for (int32_t i = 0; i < kernel.Size(); ++i) {
        for (int32_t j = 0; j < kernel.Size(); ++j)
            AppendFormat(out, " %10.5f,", static_cast<double>(kernel.Weight(i, j)));
        out += "\n";
    }
    AppendFormat(out, "%s\n", KeywordText(KwKernelEnd).c_str());
    return out;
}

} // namespace korvel
