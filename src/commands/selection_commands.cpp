#include "commands/selection_commands.h"

#include "commands/command_table_builder.h"
#include "core/host.h"
#include "core/workspace.h"
#include "edit/selection_operations.h"
#include "formats/selection_bmp.h"

namespace korvel {

namespace {

const char* NeedsSelectionMask(const Workspace& ws) {
    return HasSelectionMask(ws) ? nullptr
                                : "turn the selection mask on first with `set Selection=1`";
}

// The handlers do nothing without a mask, whatever called them.
int32_t RunSelectNone(Workspace& ws) {
    return HasSelectionMask(ws) ? ws.TheSurface.Mask.SelectNone() : -1;
}

int32_t RunSelectAll(Workspace& ws) {
    return HasSelectionMask(ws) ? ws.TheSurface.Mask.SelectAll() : -1;
}

int32_t RunSelectInverse(Workspace& ws) {
    return HasSelectionMask(ws) ? ws.TheSurface.Mask.SelectInverse() : -1;
}

int32_t RunSelectHeightRange(Workspace& ws) {
    const HeightRangeFields& h = ws.HeightRange;
    return SelectHeightRange(ws.TheSurface, h.Minimum, h.Maximum, h.How, h.Operation);
}

int32_t RunFeather(Workspace& ws) {
    return FeatherSelection(ws.TheSurface, ws.TheProgress, ws.Feather.Radius);
}

int32_t RunLoadSelection(Workspace& ws) {
    if (!HasSelectionMask(ws))
        return -1;
    std::string message;
    const int32_t code = LoadSelectionBmp(ws.TheSurface, ws.LoadSelection.Path, message);
    if (code != 0)
        ws.TheHost.ShowMessage(message);
    return code;
}

int32_t RunSaveSelection(Workspace& ws) {
    if (!HasSelectionMask(ws))
        return -1;
    const int32_t code = SaveBmp(ws.TheSurface.Mask, ws.SaveSelection.Path);
    if (code != 0)
        ws.TheHost.ShowMessage("Unable to write selection file " + ws.SaveSelection.Path);
    return code;
}

int32_t RunOptions(Workspace& ws) {
    Surface& s = ws.TheSurface;
    if (ws.General.Selection == HasSelectionMask(ws))
        return 0;
    const int32_t code = SetSelectionEnabled(s, ws.General.Selection);
    if (code != 0) {
        ws.General.Selection = false;
        ws.TheHost.ShowMessage("Can't create a selection mask of this size");
    }
    return code;
}

} // namespace

bool HasSelectionMask(const Workspace& ws) {
    const Surface& s = ws.TheSurface;
    return (s.GetFlags() & Surface::SurfaceHasSelection) != 0 && s.Mask.Exists();
}

void BindSelectionCommands(CommandTableBuilder& table) {
    table.Bind(CmdSelectNone, RunSelectNone, NeedsSelectionMask).Effect =
        "Deselects every sample; the elevations stay.";
    table.Bind(CmdSelectAll, RunSelectAll, NeedsSelectionMask).Effect =
        "Selects every sample fully; the elevations stay.";
    table.Bind(CmdSelectInverse, RunSelectInverse, NeedsSelectionMask).Effect =
        "Inverts every selection weight; the elevations stay.";
    table
        .BindDialog(CmdSelectHeightRange, RunSelectHeightRange, nullptr, "select-height-range",
                    {RunTimeField<&Workspace::HeightRange, &HeightRangeFields::How>(
                         "select-height-range.How", "How:", 0, 1,
                         {{RangeBetween, "Between"}, {RangeNotBetween, "Not Between"}}),
                     RunTimeField<&Workspace::HeightRange, &HeightRangeFields::Operation>(
                         "select-height-range.Operation", "Operation:", 0, 2,
                         {{SelectionReplace, "Select"},
                          {SelectionAdd, "Add"},
                          {SelectionSubtract, "Subtract"}}),
                     RunTimeField<&Workspace::HeightRange, &HeightRangeFields::Minimum>(
                         "select-height-range.Minimum", "Minimum:"),
                     RunTimeField<&Workspace::HeightRange, &HeightRangeFields::Maximum>(
                         "select-height-range.Maximum", "Maximum:")})
        .Enabled = NeedsSelectionMask;
    table
        .BindDialog(CmdFeather, RunFeather, nullptr, "feather",
                    {RunTimeField<&Workspace::Feather, &FeatherFields::Radius>("feather.Radius",
                                                                               "Radius", 0, 1000)})
        .Enabled = NeedsSelectionMask;
    table
        .BindDialog(CmdLoadSelection, RunLoadSelection, nullptr, "load-selection",
                    {RunTimeField<&Workspace::LoadSelection, &FileFields::Path>(
                        "load-selection.Path", "File")})
        .Enabled = NeedsSelectionMask;
    table
        .BindDialog(CmdSaveSelection, RunSaveSelection, nullptr, "save-selection",
                    {RunTimeField<&Workspace::SaveSelection, &FileFields::Path>(
                        "save-selection.Path", "File")})
        .Enabled = NeedsSelectionMask;

    table
        .BindDialog(CmdOptions, RunOptions, nullptr, "",
                    {{"Muse/ReadInfo", "Prompt for trim on DTE read", 0, 1, OffOnChoices()},
                     {"ShowTimeCount", "Show time for operations"},
                     {"Selection", "Enable Selection Mask"},
                     {"PreciseCursor", "Use Precision Cursors"},
                     {"DispPosn",
                      "Display Mouse:",
                      0,
                      3,
                      {{0, "Do Not Display"},
                       {1, "Decimal Degrees"},
                       {2, "Deg, Min, Sec"},
                       {3, "Pixel Position"}}},
                     {"Undo", "Undo Levels:"},
                     {"UseTablet", "Enable Tablet"},
                     {"AutosaveMinutes", "Autosave after (minutes, 0 never):", 0, 1440}})
        .Effect = "Stores the options; switching Selection on or off creates or drops the "
                  "selection mask.";
}

} // namespace korvel
