#include "app/qt_host.h"

#include "app/parameter_dialog.h"
#include "app/progress_window.h"
#include "app/rich_dialogs.h"
#include "app/session_recorder.h"
#include "app/status_window.h"
#include "core/workspace.h"

#include <QApplication>
#include <QMessageBox>

namespace korvel {

QtHost::QtHost() = default;
QtHost::~QtHost() = default;

void QtHost::ShowMessage(const std::string& text) {
    QMessageBox::information(MainWindow, "Korvel", QString::fromStdString(text));
}

bool QtHost::AskYesNo(const std::string& text) {
    return QMessageBox::question(MainWindow, "Korvel", QString::fromStdString(text),
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

bool QtHost::OpenProgressWindow(const std::string& text, bool restorePlacement) {
    if (!CancelFlag)
        return false;
    Window =
        std::make_unique<ProgressWindow>(QString::fromStdString(text), *CancelFlag, MainWindow);
    if (restorePlacement && HasPlace)
        Window->move(LastPlace);
    // No events yet: the caller clears CancelFlag after this returns, and a key handled now would
    // be lost.
    Window->show();
    return true;
}

void QtHost::SetProgressBar(int position) {
    QCoreApplication::processEvents();
    if (Window)
        Window->SetPosition(position);
}

void QtHost::SetProgressLabel(const std::string& label) {
    if (Window)
        Window->SetPercentText(QString::fromStdString(label));
}

void QtHost::CloseProgressWindow(bool) {
    if (!Window)
        return;
    LastPlace = Window->pos();
    HasPlace = true;
    Window.reset();
}

void QtHost::PumpPendingMessage() {
    QCoreApplication::processEvents();
}

void QtHost::ShowStatusWindow(const std::string& title, const std::vector<std::string>& lines) {
    if (!StatusBox) {
        StatusBox = std::make_unique<StatusWindow>(QString::fromStdString(title), MainWindow);
        StatusBox->show();
    }
    StatusBox->SetLines(lines);
}

bool QtHost::StatusWindowStopped() {
    return StatusBox && StatusBox->Stopped();
}

void QtHost::CloseStatusWindow() {
    StatusBox.reset();
}

void QtHost::InvalidateView() {
    if (Invalidate)
        Invalidate();
}

void QtHost::RepaintAltitudeKey() {
    if (RepaintKey)
        RepaintKey();
}

namespace {

std::vector<std::string> ShownValues(const std::vector<DialogRow>& rows) {
    std::vector<std::string> values;
    for (const DialogRow& row : rows)
        values.push_back(FormatSetting(*row.Setting));
    return values;
}

} // namespace

bool QtHost::EditParameters(const std::string& group, const std::string& title,
                            Workspace& workspace) {
    const std::vector<DialogRow> rows = DialogRowsOf(group, Running, workspace);
    if (const RichDialog* rich = FindRichDialog(group)) {
        const std::vector<std::string> shown = ShownValues(rows);
        const bool accepted = rich->Run(workspace, MainWindow);
        if (accepted)
            RecordChanges(rows, shown);
        return accepted;
    }
    if (rows.empty())
        return true;
    std::vector<DialogRow> interpolation;
    if (Running && Running->Id == CmdOptions)
        for (const DialogField& field : InterpolationFields())
            if (const SettingDescriptor* s = FindSetting(workspace.Settings, field.Setting))
                interpolation.push_back({field, s});
    const std::vector<std::string> shown = ShownValues(rows);
    const std::vector<std::string> shownInterpolation = ShownValues(interpolation);
    ParameterDialog dialog(QString::fromStdString(title), rows, MainWindow);
    for (const DialogButton& button : DialogButtonsOf(group, Running))
        dialog.AddValueButton(button.Name, button.Label,
                              [press = button.Press, &workspace] { press(workspace); });
    if (!interpolation.empty())
        dialog.AddSubDialog("&Interpolation Scheme...", "Data Interpolation Setup", interpolation);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    // The interpolation dialog stored its values on its own OK, whatever became of this one.
    RecordChanges(interpolation, shownInterpolation);
    if (accepted)
        RecordChanges(rows, shown);
    return accepted;
}

void QtHost::RecordChanges(const std::vector<DialogRow>& rows,
                           const std::vector<std::string>& shown) {
    for (size_t i = 0; Recorder && i < rows.size(); ++i)
        if (const std::string value = FormatSetting(*rows[i].Setting); value != shown[i])
            Recorder->AddSetting(rows[i].Setting->Name(), value);
}

} // namespace korvel
