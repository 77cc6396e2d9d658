#include "app/qt_host.h"

#include "app/parameter_dialog.h"
#include "app/progress_window.h"
#include "app/session_recorder.h"

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

void QtHost::InvalidateView() {
    if (Invalidate)
        Invalidate();
}

bool QtHost::EditParameters(const std::string& group, const std::string& title,
                            Workspace& workspace) {
    const std::vector<DialogRow> rows = DialogRowsOf(group, Running, workspace);
    if (rows.empty())
        return true;
    std::vector<std::string> shown;
    for (const DialogRow& row : rows)
        shown.push_back(FormatSetting(*row.Setting));
    ParameterDialog dialog(QString::fromStdString(title), rows, MainWindow);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    for (size_t i = 0; Recorder && i < rows.size(); ++i)
        if (const std::string value = FormatSetting(*rows[i].Setting); value != shown[i])
            Recorder->AddSetting(rows[i].Setting->Name(), value);
    return true;
}

} // namespace korvel
