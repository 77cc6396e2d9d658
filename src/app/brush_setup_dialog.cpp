#include "app/brush_setup_dialog.h"

#include "core/workspace.h"
#include "paint/brush_file.h"
#include "paint/paint_state.h"

#include <QFileDialog>
#include <QMessageBox>

namespace korvel {

namespace {

constexpr const char* BrushFilter = "Brush Definition Files (*.brs)";

} // namespace

BrushSetupDialog::BrushSetupDialog(Workspace& ws, QWidget* parent)
    : ParameterDialog("Brush Setup", DialogRowsOf("brush", nullptr, ws), parent), Ws(ws) {
    AddButton("&Load...", [this] {
        const QString path = QFileDialog::getOpenFileName(this, "Load Brush", {}, BrushFilter);
        if (!path.isEmpty())
            LoadFile(path);
    });
    AddButton("&Save...", [this] {
        QFileDialog chooser(this, "Save Brush", {}, BrushFilter);
        chooser.setAcceptMode(QFileDialog::AcceptSave);
        chooser.setDefaultSuffix("brs");
        if (chooser.exec() == QDialog::Accepted && !chooser.selectedFiles().isEmpty())
            SaveFile(chooser.selectedFiles().first());
    });
}

bool BrushSetupDialog::LoadFile(const QString& path) {
    std::string message;
    if (ReadBrushDefinitionFile(path.toStdString(), Ws, message) != 0) {
        QMessageBox::warning(this, windowTitle(), QString::fromStdString(message));
        return false;
    }
    FillBrushSetup(Ws);
    ShowStoredValues();
    return true;
}

bool BrushSetupDialog::SaveFile(const QString& path) {
    if (!StoreValues())
        return false;
    ApplyBrushSetup(Ws);
    std::string message;
    if (WriteBrushDefinitionFile(path.toStdString(), Ws, message) != 0) {
        QMessageBox::warning(this, windowTitle(), QString::fromStdString(message));
        return false;
    }
    return true;
}

bool RunBrushSetupDialog(Workspace& ws, QWidget* parent) {
    PaintState& state = PaintStateOf(ws);
    const Brush brush = state.Brushes.Current;
    const BrushSetupFields fields = state.Setup;
    BrushSetupDialog dialog(ws, parent);
    if (dialog.exec() == QDialog::Accepted)
        return true;
    state.Brushes.Current = brush;
    state.Brushes.CurrentChanged();
    state.Setup = fields;
    return false;
}

} // namespace korvel
