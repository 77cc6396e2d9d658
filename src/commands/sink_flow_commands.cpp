#include "commands/sink_flow_commands.h"

#include "commands/command_table_builder.h"
#include "commands/file_dispatch.h"
#include "core/host.h"
#include "core/workspace.h"
#include "edit/selection_operations.h"
#include "hydro/fill_sinks.h"
#include "hydro/flow_accumulation.h"
#include "shading/texture.h"

#include <algorithm>
#include <cstddef>

namespace korvel {

namespace {

bool FlowFitsSurface(const Workspace& ws) {
    const FlowGrid& f = ws.KeptFlow;
    return !f.Values.empty() && f.Width == ws.TheSurface.XSize && f.Height == ws.TheSurface.YSize;
}

const char* NeedsKeptFlow(const Workspace& ws) {
    return FlowFitsSurface(ws) ? nullptr
                               : "no flow grid of this Surface's size is kept: run "
                                 "`flow-accumulation` with flow-accumulation.Keep=1 first";
}

int32_t RunFillSinks(Workspace& ws) {
    return FillSinks(ws.TheSurface, ws.TheProgress, {ws.FillSinksOptions.DrainFlats});
}

int32_t RunFlowAccumulation(Workspace& ws) {
    FlowGrid flow;
    const auto method = static_cast<FlowMethod>(ws.Flow.Method);
    if (const int32_t code = AccumulateFlow(ws.TheSurface, ws.TheProgress, method, flow))
        return code;
    DrawFlowPicture(flow, TextureToDrawOn(ws));
    if (ws.Flow.Keep)
        ws.KeptFlow = std::move(flow);
    return 0;
}

// The kept grid is written by the same writers as the Surface, through a workspace of its own,
// so the document, its name and its undo steps are untouched.
int32_t RunSaveFlow(Workspace& ws) {
    if (!FlowFitsSurface(ws))
        return -1;
    const Surface& s = ws.TheSurface;
    Workspace grid(ws.TheHost);
    grid.MdrSave = ws.MdrSave;
    grid.RasterSave = ws.RasterSave;
    grid.GreyRange = ws.GreyRange;
    if (const int32_t code = grid.TheSurface.Resize(s.XSize, s.YSize, -1))
        return code;
    grid.TheSurface.SetEdges(s.Left, s.Right, s.Top, s.Bottom);
    const FlowGrid& f = ws.KeptFlow;
    for (int32_t y = 0; y < f.Height; ++y)
        std::copy_n(f.Values.data() + static_cast<size_t>(y) * f.Width, f.Width,
                    grid.TheSurface.Rows[y]);
    grid.TheSurface.FindMinMax(grid.TheSurface.Min, grid.TheSurface.Max, grid.TheProgress);
    std::string message;
    const int32_t code = WriteFileByType(grid, ws.SaveFlow.Path, -1, message);
    if (code != 0)
        ws.TheHost.ShowMessage(
            message.empty() ? "Unable to write the flow grid to " + ws.SaveFlow.Path : message);
    return code;
}

// Like the selection tools, choosing where the flow runs switches the mask on.
int32_t RunSelectFlow(Workspace& ws) {
    if (!FlowFitsSurface(ws))
        return -1;
    if (const int32_t code = SetSelectionEnabled(ws.TheSurface, true); code != 0) {
        ws.TheHost.ShowMessage("Can't create a selection mask of this size");
        return code;
    }
    ws.General.Selection = true;
    return SelectWhereFlowExceeds(ws.TheSurface, ws.KeptFlow, ws.SelectFlow.Threshold,
                                  ws.SelectFlow.Operation);
}

} // namespace

void BindSinkFlowCommands(CommandTableBuilder& table) {
    using W = Workspace;
    Command& fill =
        table.BindDialog(CmdFillSinks, RunFillSinks, nullptr, "fill-sinks",
                         {RunTimeField<&W::FillSinksOptions, &FillSinksFields::DrainFlats>(
                             "fill-sinks.DrainFlats", "Drain Filled Flats")});
    fill.Effect = "Raises every pit and closed hollow to the height where it spills, so that "
                  "water can run off the map from every sample; with DrainFlats the filled "
                  "flats slope minutely towards their outlet.";
    fill.Codes = &FillSinksTexts;

    Command& flow = table.BindDialog(
        CmdFlowAccumulation, RunFlowAccumulation, nullptr, "flow-accumulation",
        {RunTimeField<&W::Flow, &FlowFields::Method>(
             "flow-accumulation.Method", "Method:", 0, 1,
             {{FlowD8, "D8 (steepest neighbour)"}, {FlowMultiple, "Multiple directions"}}),
         RunTimeField<&W::Flow, &FlowFields::Keep>("flow-accumulation.Keep", "Keep Flow Grid")});
    flow.Effect = "Draws how many samples drain through each sample, log-scaled from black to "
                  "white, into the picture; the elevations stay. Keep holds the grid for "
                  "`save-flow` and `select-flow`.";
    flow.Codes = &FlowTexts;

    table
        .BindDialog(CmdSaveFlow, RunSaveFlow, nullptr, "save-flow",
                    {RunTimeField<&W::SaveFlow, &FileFields::Path>("save-flow.Path", "File")})
        .Enabled = NeedsKeptFlow;
    table.At(CmdSaveFlow).Effect = "Writes the kept flow grid as a surface file of the type its "
                                   "extension names (`.tif`, `.mdr` ...), on the map's edges.";

    Command& select = table.BindDialog(CmdSelectFlow, RunSelectFlow, nullptr, "select-flow",
                                       {RunTimeField<&W::SelectFlow, &SelectFlowFields::Threshold>(
                                            "select-flow.Threshold", "Flow Above:"),
                                        RunTimeField<&W::SelectFlow, &SelectFlowFields::Operation>(
                                            "select-flow.Operation", "Operation:", 0, 2,
                                            {{SelectionReplace, "Select"},
                                             {SelectionAdd, "Add"},
                                             {SelectionSubtract, "Subtract"}})});
    select.Enabled = NeedsKeptFlow;
    select.Effect = "Selects the samples whose kept flow exceeds the threshold (the rivers), "
                    "switching the selection mask on; the elevations stay.";
}

} // namespace korvel
