#pragma once
// The .krn convolution kernel file: "KEY=value" lines (SIZE, SYMM, SCAL, KERNij).

#include "core/status.h"

#include <cstdint>
#include <string>

namespace korvel {

class Kernel;

enum KernelFileStatus : int32_t {
    KernelFileUnusable = -1, // loading: cannot be opened or read; saving: cannot be written
    KernelFileTooLarge = -2, // saving: the size is above Kernel::MaxFileSize
    KernelFileNoKernel = -3, // loading: no SIZE, SYMM, SCAL or KERN line
};
extern const StatusTable KernelFileTexts;
// 0, KernelFileUnusable or KernelFileNoKernel (the kernel is then unchanged).
int32_t LoadKernelFile(Kernel& kernel, const std::string& path);
// 0, KernelFileUnusable or KernelFileTooLarge (the format cannot hold it); the old file
// survives any failure.
int32_t SaveKernelFile(const Kernel& kernel, const std::string& path);

} // namespace korvel
