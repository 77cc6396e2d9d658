#pragma once
// The "Two-D Contour Lines" and "CC2 File Export" dialogs and the contour types written
// through them.

#include "commands/file_dialog.h"

#include <cstdint>
#include <string>

namespace korvel {

class Workspace;

FileDialog DxfContourDialog();
FileDialog Cc2ExportDialog();
// Ask the dialog, then write the contours at path. 0 written; otherwise the code with message
// naming the file or value and why.
int32_t ExportDxfContours(Workspace& ws, const std::string& path, std::string& message);
int32_t ExportCc2Contours(Workspace& ws, const std::string& path, std::string& message);

} // namespace korvel
