#pragma once
// The dialogs a form of fields cannot be, found by the group of settings their command edits.
// QtHost::EditParameters shows one of these instead of the generic dialog.

#include <string>

class QWidget;

namespace korvel {

class Workspace;

struct RichDialog {
    const char* Group;
    // Fills the dialog from the records and writes them back on OK; true when accepted.
    bool (*Run)(Workspace& ws, QWidget* parent);
};

// The row of group; nullptr when its command uses the generic dialog.
const RichDialog* FindRichDialog(const std::string& group);

} // namespace korvel
