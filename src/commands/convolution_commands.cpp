#include "commands/convolution_commands.h"

#include "commands/command_table_builder.h"

#include "core/kernel.h"
#include "core/workspace.h"
#include "edit/convolution.h"
#include "formats/krn.h"

#include <string>

namespace korvel {

namespace {

int32_t Blur(Workspace& ws, int32_t size) {
    Kernel kernel;
    kernel.SetSize(size, 1.0f, 0, 0);
    kernel.MakeBox();
    return ConvolveWith(ws, kernel);
}

int32_t Sharpen(Workspace& ws, int32_t size) {
    Kernel kernel;
    kernel.SetSize(size, 1.0f, 0, 0);
    kernel.MakeSharpen();
    return ConvolveWith(ws, kernel);
}

} // namespace

int32_t RunBlurSome(Workspace& ws) {
    return Blur(ws, 3);
}

int32_t RunBlurMore(Workspace& ws) {
    return Blur(ws, 5);
}

int32_t RunBlurLots(Workspace& ws) {
    return Blur(ws, 7);
}

int32_t RunSharpenSome(Workspace& ws) {
    return Sharpen(ws, 3);
}

int32_t RunSharpenMore(Workspace& ws) {
    return Sharpen(ws, 5);
}

int32_t RunSharpenLots(Workspace& ws) {
    return Sharpen(ws, 7);
}

int32_t ConvolveWith(Workspace& ws, const Kernel& kernel) {
    return ConvolveSurface(ws.TheSurface, ws.TheProgress, kernel, std::string());
}

int32_t LoadKernelFile(Workspace& ws, Kernel& kernel) {
    return LoadKernelFile(kernel, ws.KernelLoad.Path);
}

int32_t SaveKernelFile(Workspace& ws, const Kernel& kernel) {
    return SaveKernelFile(kernel, ws.KernelSave.Path);
}

int32_t RunConvolveGeneral(Workspace& ws) {
    return ConvolveWith(ws, ws.GeneralKernel);
}
int32_t RunKernelLoad(Workspace& ws) {
    return LoadKernelFile(ws, ws.GeneralKernel);
}
int32_t RunKernelSave(Workspace& ws) {
    return SaveKernelFile(ws, ws.GeneralKernel);
}

void BindConvolutionCommands(CommandTableBuilder& table) {
    table.Bind(CmdBlurSome, RunBlurSome).Effect = "Averages each elevation over 3 x 3 samples.";
    table.Bind(CmdBlurMore, RunBlurMore).Effect = "Averages each elevation over 5 x 5 samples.";
    table.Bind(CmdBlurLots, RunBlurLots).Effect = "Averages each elevation over 7 x 7 samples.";
    table.Bind(CmdSharpenSome, RunSharpenSome).Effect = "Sharpens with a 3 x 3 kernel.";
    table.Bind(CmdSharpenMore, RunSharpenMore).Effect = "Sharpens with a 5 x 5 kernel.";
    table.Bind(CmdSharpenLots, RunSharpenLots).Effect = "Sharpens with a 7 x 7 kernel.";
    table.Bind(CmdConvolve, RunConvolveGeneral).Effect =
        "Convolves the elevations with the kernel read by `kernel-load`.";
    // The operation's own codes say why a run failed.
    for (const CommandId id : {CmdBlurSome, CmdBlurMore, CmdBlurLots, CmdSharpenSome,
                               CmdSharpenMore, CmdSharpenLots, CmdConvolve})
        table.At(id).Codes = &ConvolveTexts;
}

} // namespace korvel
