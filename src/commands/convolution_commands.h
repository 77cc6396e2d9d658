#pragma once
// The convolution commands of the area menu: the fixed blur and sharpen filters, the general
// kernel, and loading and saving that kernel as a .krn file.

#include <cstdint>

namespace korvel {

class CommandTableBuilder;
class Kernel;
class Workspace;

void BindConvolutionCommands(CommandTableBuilder& table);

int32_t RunBlurSome(Workspace& ws);
int32_t RunBlurMore(Workspace& ws);
int32_t RunBlurLots(Workspace& ws);
int32_t RunSharpenSome(Workspace& ws);
int32_t RunSharpenMore(Workspace& ws);
int32_t RunSharpenLots(Workspace& ws);
// With the program-wide kernel.
int32_t RunConvolveGeneral(Workspace& ws);
int32_t RunKernelLoad(Workspace& ws);
int32_t RunKernelSave(Workspace& ws);

// The live Surface convolved with kernel (ConvolveSurface's codes).
int32_t ConvolveWith(Workspace& ws, const Kernel& kernel);
// The .krn file named by the kernel-load / kernel-save settings into or from kernel.
int32_t LoadKernelFile(Workspace& ws, Kernel& kernel);
int32_t SaveKernelFile(Workspace& ws, const Kernel& kernel);

} // namespace korvel
