#pragma once
// The dialogs that a form of fields cannot be (a property sheet with a picture, a list editor, a
// wizard): QtHost::EditParameters opens these instead of the generic ParameterDialog.

#include <string>

class QWidget;

namespace korvel {

class Workspace;

struct RichDialog {
    // The settings group (or dialog name) EditParameters receives for the command.
    const char* Group;
    // Runs the dialog over the records of ws; true when it was accepted and written back.
    bool (*Run)(Workspace& ws, QWidget* parent);
};

// nullptr when the group has no rich dialog.
const RichDialog* FindRichDialog(const std::string& group);

} // namespace korvel
