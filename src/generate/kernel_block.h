#pragma once
// The Kernel block of definition files (nested in Brush blocks): a kernel as text.

#include <cstdint>
#include <string>

namespace korvel {

class Kernel;
class TokenReader;
class Builtins;

// The sizes a Size item may give; an even one is rounded up to odd by Kernel::SetSize.
constexpr int32_t MinBlockSize = 3;
constexpr int32_t MaxBlockSize = 32;

// 0 when KernelEnd was read (and consumed), -1 when the input ended first, -2 when a Size
// outside MinBlockSize..MaxBlockSize was met: the rest of the block, through its KernelEnd, is
// then skipped so that its items cannot be taken for the enclosing block's. Items read before
// the end stay.
int32_t ReadKernel(Kernel& kernel, TokenReader& reader, Builtins& builtins);
// The block as the writer lays it out, one item a line and one line per row of weights.
std::string FormatKernel(const Kernel& kernel);

} // namespace korvel
