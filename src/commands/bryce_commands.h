#pragma once
// Writing Bryce terrains through the save dispatch: the "Bryce 2 Surface Size" dialog of each
// kind, then the writer.

#include "commands/file_dialog.h"
#include "formats/bryce.h"

#include <cstdint>
#include <string>

namespace korvel {

class Workspace;

FileDialog Bryce2Dialog();
FileDialog Bryce3DDialog();
// Asks the kind's dialog and writes; message is what the person is shown on failure.
int32_t ExportBryce(Workspace& ws, const std::string& path, BryceKind kind, std::string& message);

} // namespace korvel
