#include "commands/operations.h"

#include "core/host.h"
#include "core/workspace.h"
#include "edit/selection_operations.h"
#include "formats/selection_bmp.h"

namespace korvel {

namespace {

bool NeedsMask(Workspace& ws) {
    return HasSelectionMask(ws);
}

} // namespace

int32_t RunSelectNone(Workspace& ws) {
    return NeedsMask(ws) ? ws.TheSurface.Mask.SelectNone() : -1;
}

int32_t RunSelectAll(Workspace& ws) {
    return NeedsMask(ws) ? ws.TheSurface.Mask.SelectAll() : -1;
}

int32_t RunSelectInverse(Workspace& ws) {
    return NeedsMask(ws) ? ws.TheSurface.Mask.SelectInverse() : -1;
}

int32_t RunSelectHeightRange(Workspace& ws) {
    const HeightRangeFields& h = ws.HeightRange;
    return SelectHeightRange(ws.TheSurface, h.Minimum, h.Maximum, h.How, h.Operation);
}

int32_t RunFeather(Workspace& ws) {
    return FeatherSelection(ws.TheSurface, ws.TheProgress, ws.Feather.Radius);
}

int32_t RunLoadSelection(Workspace& ws) {
    if (!NeedsMask(ws))
        return -1;
    std::string message;
    const int32_t code = LoadSelectionBmp(ws.TheSurface, ws.LoadSelection.Path, message);
    if (code != 0)
        ws.TheHost.ShowMessage(message);
    return code;
}

int32_t RunSaveSelection(Workspace& ws) {
    if (!NeedsMask(ws))
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

} // namespace korvel
