#pragma once
// The .krn convolution kernel file: "KEY=value" lines (SIZE, SYMM, SCAL, KERNij).

#include <cstdint>
#include <string>

namespace korvel {

class Kernel;

// -1 when the file cannot be opened or read, -2 when it holds no SIZE, SYMM, SCAL or KERN line
// (the kernel is then unchanged), else 0.
int32_t LoadKernelFile(Kernel& kernel, const std::string& path);
// -1 when the file cannot be written, -2 when the size is above Kernel::MaxFileSize (the format
// cannot hold it); the old file survives any failure.
int32_t SaveKernelFile(const Kernel& kernel, const std::string& path);

} // namespace korvel
