#include "commands/command_runner.h"

#include "core/host.h"
#include "core/workspace.h"
#include "shading/texture.h"

namespace korvel {

namespace {

// The dialog title: the menu text without its mnemonic, ellipsis and accelerator.
std::string PlainTitle(const std::string& menuText) {
    std::string title;
    for (char c : menuText.substr(0, menuText.find('\t')))
        if (c != '&')
            title += c;
    while (!title.empty() && title.back() == '.')
        title.pop_back();
    return title;
}

// "12,345".
std::string GroupedDigits(int64_t n) {
    std::string digits = std::to_string(n);
    for (auto at = static_cast<ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<size_t>(at), ",");
    return digits;
}

// An operation that made NaN or infinite samples says so; the extremes are taken again over
// the finite ones, which the shading and the next scaling need.
void ReportNonFinite(Workspace& ws) {
    Surface& s = ws.TheSurface;
    const int64_t count = s.CountNonFinite();
    if (count == 0)
        return;
    ws.TheHost.ShowMessage(count == 1 ? "1 sample is not a number"
                                      : GroupedDigits(count) + " samples are not numbers");
    s.FindMinMax(s.Min, s.Max, ws.TheProgress);
}

void RedrawViews(Workspace& ws) {
    ws.TheHost.InvalidateView();
    ws.TheHost.RepaintAltitudeKey();
}

// The picture follows the elevations and the lighting (computed when the views or a save read
// it), then the views.
void Reshade(Workspace& ws) {
    MarkTextureStale(ws);
    RedrawViews(ws);
}

} // namespace

void RefreshAfterEdit(Workspace& ws) {
    ws.TheProgress.CancelFlag = 0;
    ReportNonFinite(ws);
    Reshade(ws);
    ws.TheProgress.CancelFlag = 0;
}

const char* DisabledReason(const Command& command, const Workspace& ws) {
    return command.Enabled ? command.Enabled(ws) : nullptr;
}

bool IsCommandEnabled(const Command& command, const Workspace& ws) {
    return DisabledReason(command, ws) == nullptr;
}

RunResult RunCommand(const Command& command, Workspace& ws) {
    if (!command.Available())
        return {RunStatus::Unavailable, 0};
    if (const char* reason = DisabledReason(command, ws))
        return {RunStatus::Disabled, 0, reason};
    if (command.HasDialog()) {
        if (command.Prefill)
            command.Prefill(ws);
        const std::string& group = command.Group.empty() ? command.CliName : command.Group;
        const std::string title =
            command.DialogTitle.empty() ? PlainTitle(command.MenuText) : command.DialogTitle;
        if (!ws.TheHost.EditParameters(group, title, ws))
            return {RunStatus::Declined, 0};
    }
    if (!command.SnapshotName.empty() && ws.General.Undo > 0)
        ws.Undo.Snapshot(command.SnapshotName, -1, -1, -1, -1);
    const int32_t code = command.Run(ws);
    switch (command.After) {
    case Refresh::Full:
        RefreshAfterEdit(ws);
        break;
    case Refresh::OnSuccess:
        if (code == 0)
            RefreshAfterEdit(ws);
        break;
    case Refresh::Texture:
        Reshade(ws);
        break;
    case Refresh::View:
        RedrawViews(ws);
        break;
    case Refresh::None:
        break;
    }
    return {code == 0 ? RunStatus::Done : RunStatus::Failed, code};
}

std::string DescribeRunResult(const Command& command, const RunResult& result) {
    const std::string name = "\"" + command.CliName + "\"";
    switch (result.Status) {
    case RunStatus::Done:
        return {};
    case RunStatus::Unavailable:
        return name + " is not available in this version";
    case RunStatus::Disabled:
        return command.CliName + ": " + (result.Reason ? result.Reason : "cannot be used now");
    case RunStatus::Declined:
        return name + " was cancelled";
    case RunStatus::Failed:
        if (command.Codes)
            return name + " failed: " + DescribeStatus(*command.Codes, result.Code);
        if (result.Code == -1)
            return name + " was cancelled or refused";
        return name + " failed with code " + std::to_string(result.Code);
    }
    return {};
}

std::string CurrentMenuText(const Command& command, const Workspace& ws) {
    if (command.Id == CmdUndo)
        return "Undo " + ws.Undo.UndoName() + "\tCtrl+Z";
    if (command.Id == CmdRedo)
        return "Redo " + ws.Undo.RedoName() + "\tCtrl+Y";
    return command.MenuText;
}

} // namespace korvel
