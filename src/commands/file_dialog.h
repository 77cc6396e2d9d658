#pragma once
// Dialogs a file type shows before it is written (the mesh export, the two contour exports):
// like a command's dialog, a group of run-time fields the editor builds its form from and the
// CLI sets as group.Field.

#include "commands/command.h"

#include <cstdint>
#include <string>
#include <vector>

namespace korvel {

struct FileDialog {
    std::vector<int32_t> Types; // the file types that ask it
    bool AskedOnOpen = false;   // before reading (the binary import, the MUSE read window)
    std::string Group;
    std::string Title;
    std::vector<DialogField> Fields;
    std::vector<DialogButton> Buttons;
    // Copies the Surface's own values into the fields that start from them; nullptr for none.
    void (*Prefill)(Workspace&) = nullptr;
};

const std::vector<FileDialog>& FileDialogs();
// The dialog asked before writing type, or the one of group (without regard to case); nullptr
// for none.
const FileDialog* FindFileDialog(int32_t type);
const FileDialog* FindFileDialogByGroup(const std::string& group);
// Prefills the fields and shows the dialog; false when the person cancelled it.
bool AskFileDialog(const FileDialog& dialog, Workspace& ws);

} // namespace korvel
