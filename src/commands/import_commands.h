#pragma once
// The elevation imports: the dialogs asked before reading a binary grid, a MUSE DTED file or a
// DTED cell, and the commands "DTED Image...", "Image Subsection...", "GTOPO30 Section..." and
// "TerrainBase Backfill...".

#include "commands/command_table_builder.h"
#include "commands/file_dialog.h"

#include <cstdint>
#include <string>

namespace korvel {

class Workspace;

// "Binary File Import" (group "binary") and the read window of MUSE DTED files and DTED cells
// (group "muse", shown while "ReadInfo" is non-zero).
FileDialog BinaryImportDialog();
FileDialog MuseReadDialog();

// Readers for the open dispatch, with their dialogs: the documented dispatch codes (-103/-106,
// -104/-107) on failure or cancel, reason saying why.
int32_t OpenMuseDted(Workspace& ws, const std::string& path, std::string* reason);
int32_t OpenDtedCell(Workspace& ws, const std::string& path, std::string* reason);
// The binary import into a Surface sized to the block, after the dialog and the BIL header.
int32_t OpenBinarySurface(Workspace& ws, const std::string& path, std::string* reason);

void BindImportCommands(CommandTableBuilder& table);

} // namespace korvel
