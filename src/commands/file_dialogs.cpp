#include "commands/file_dialog.h"

#include "commands/bryce_commands.h"
#include "commands/contour_export_commands.h"
#include "commands/import_commands.h"
#include "commands/mesh_export_commands.h"
#include "core/host.h"
#include "core/workspace.h"

#include <algorithm>
#include <strings.h>

namespace korvel {

const std::vector<FileDialog>& FileDialogs() {
    static const std::vector<FileDialog> dialogs = {
        MeshExportDialog(), DxfContourDialog(), Cc2ExportDialog(), BinaryImportDialog(),
        MuseReadDialog(),   Bryce2Dialog(),     Bryce3DDialog()};
    return dialogs;
}

const FileDialog* FindFileDialog(int32_t type) {
    for (const FileDialog& dialog : FileDialogs())
        if (std::ranges::find(dialog.Types, type) != dialog.Types.end())
            return &dialog;
    return nullptr;
}

const FileDialog* FindFileDialogByGroup(const std::string& group) {
    for (const FileDialog& dialog : FileDialogs())
        if (strcasecmp(dialog.Group.c_str(), group.c_str()) == 0)
            return &dialog;
    return nullptr;
}

bool AskFileDialog(const FileDialog& dialog, Workspace& ws) {
    if (dialog.Prefill)
        dialog.Prefill(ws);
    return ws.TheHost.EditParameters(dialog.Group, dialog.Title, ws);
}

} // namespace korvel
