#pragma once
// Everything an operation may ask of the person in front of the program. The editor answers with
// windows, the command-line tool with stderr, tests with a recorder.

#include <string>
#include <vector>

namespace korvel {

class Workspace;

class Host {
public:
    virtual ~Host() = default;

    // A modal message box with an OK button; the caption is the application title.
    virtual void ShowMessage(const std::string& text) = 0;
    virtual bool AskYesNo(const std::string& text) = 0;

    // The progress window. Open returns false when it cannot be created; restorePlacement asks
    // for the position the previous progress window had.
    virtual bool OpenProgressWindow(const std::string& text, bool restorePlacement) = 0;
    // Dispatches what is waiting, then moves the bar to position (0..100).
    virtual void SetProgressBar(int position) = 0;
    virtual void SetProgressLabel(const std::string& label) = 0;
    virtual void CloseProgressWindow(bool cancelled) = 0;
    // Lets the application handle one waiting window message, if there is one.
    virtual void PumpPendingMessage() = 0;

    // A modeless window that follows a run of many steps line by line (the journey's frame and
    // values) and offers Stop: opened or brought up to date with lines, then closed.
    virtual void ShowStatusWindow(const std::string& title,
                                  const std::vector<std::string>& lines) = 0;
    // Whether Stop was pressed since the status window opened.
    virtual bool StatusWindowStopped() = 0;
    virtual void CloseStatusWindow() = 0;

    virtual void InvalidateView() = 0;
    virtual void RepaintAltitudeKey() = 0;

    // Shows the dialog titled title whose fields are the run-time settings of group (and the
    // persisted ones its owner names), filled from the workspace; writes them back on OK.
    virtual bool EditParameters(const std::string& group, const std::string& title,
                                Workspace& workspace) = 0;
};

} // namespace korvel
