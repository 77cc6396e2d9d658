#pragma once
// The editor's Host: message boxes, Yes/No questions, the progress window and the parameter
// dialogs, all over the main window.

#include "core/host.h"

#include <QPoint>
#include <QPointer>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QWidget;

namespace korvel {

struct Command;
struct DialogRow;
class ProgressWindow;
class StatusWindow;
class SessionRecorder;

class QtHost : public Host {
public:
    QtHost();
    ~QtHost() override;

    // The window the host's windows stand over, and what redraws the view and the key.
    void SetMainWindow(QWidget* window) { MainWindow = window; }
    void SetViewInvalidator(std::function<void()> invalidate) {
        Invalidate = std::move(invalidate);
    }
    void SetAltitudeKeyPainter(std::function<void()> repaint) { RepaintKey = std::move(repaint); }
    // The command whose dialog EditParameters shows next; nullptr: found by its group.
    void SetRunningCommand(const Command* command) { Running = command; }
    // Where the values a dialog's OK changed are written down; nullptr for nowhere.
    void SetRecorder(SessionRecorder* recorder) { Recorder = recorder; }
    // The flag the progress window's Cancel sets.
    void SetCancelFlag(std::atomic<int32_t>* flag) { CancelFlag = flag; }

    void ShowMessage(const std::string& text) override;
    bool AskYesNo(const std::string& text) override;
    bool OpenProgressWindow(const std::string& text, bool restorePlacement) override;
    void SetProgressBar(int position) override;
    void SetProgressLabel(const std::string& label) override;
    void CloseProgressWindow(bool cancelled) override;
    void PumpPendingMessage() override;
    void ShowStatusWindow(const std::string& title, const std::vector<std::string>& lines) override;
    bool StatusWindowStopped() override;
    void CloseStatusWindow() override;
    void InvalidateView() override;
    void RepaintAltitudeKey() override;
    bool EditParameters(const std::string& group, const std::string& title,
                        Workspace& workspace) override;

    // The open progress window, for tests; nullptr when none is open.
    ProgressWindow* Progress() const { return Window.get(); }
    // The open status window, for tests; nullptr when none is open.
    StatusWindow* Status() const { return StatusBox.get(); }

private:
    // Writes down the rows whose values differ from those shown.
    void RecordChanges(const std::vector<DialogRow>& rows, const std::vector<std::string>& shown);

    QPointer<QWidget> MainWindow;
    std::function<void()> Invalidate;
    std::function<void()> RepaintKey;
    const Command* Running = nullptr;
    std::atomic<int32_t>* CancelFlag = nullptr;
    SessionRecorder* Recorder = nullptr;
    std::unique_ptr<ProgressWindow> Window;
    std::unique_ptr<StatusWindow> StatusBox;
    // Where the last progress window stood, for the rest of the run.
    QPoint LastPlace;
    bool HasPlace = false;
};

} // namespace korvel
