#pragma once
// "Brush Setup": the brush's fields with "&Load..." and "&Save..." of .brs Brush Definition
// files. A loaded brush shows in the fields and becomes the brush on OK; Cancel puts back the
// brush and the fields as they were before the dialog, whatever was loaded or saved.

#include "app/parameter_dialog.h"

namespace korvel {

class BrushSetupDialog : public ParameterDialog {
    Q_OBJECT

public:
    BrushSetupDialog(Workspace& ws, QWidget* parent);

    // The buttons once a file is chosen; false after saying why it failed.
    bool LoadFile(const QString& path);
    // Writes the brush as the fields show it.
    bool SaveFile(const QString& path);

private:
    Workspace& Ws;
};

// Runs the dialog over the current brush; true when OK stored the fields.
bool RunBrushSetupDialog(Workspace& ws, QWidget* parent);

} // namespace korvel
