#pragma once
// The command-line tool's Host: messages on stderr, progress drawn as a "Stage: 0...10...20"
// line when stderr is a terminal, questions asked on the terminal, and dialog fields taken from the
// "set" steps given before a command.

#include "core/host.h"
#include "core/settings.h"

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace korvel {

class CliHost : public Host {
public:
    // progressStream: where the progress line goes; nullptr draws none.
    explicit CliHost(std::FILE* messages, std::FILE* progressStream);
    void SetProgressStream(std::FILE* stream) { ProgressStream = stream; }
    // --yes: every Yes/No question is answered Yes without asking.
    void SetAnswer(bool yes) { Answer = yes; }
    // A terminal to ask the questions on; nullptr answers them No.
    void SetQuestionInput(std::FILE* input) { Questions = input; }

    void ShowMessage(const std::string& text) override;
    // How many messages have been shown: a command that failed after saying why needs no
    // further line.
    int MessagesShown() const { return Shown; }
    bool AskYesNo(const std::string& text) override;
    bool OpenProgressWindow(const std::string& text, bool restorePlacement) override;
    void SetProgressBar(int position) override;
    void SetProgressLabel(const std::string&) override {}
    void CloseProgressWindow(bool cancelled) override;
    void PumpPendingMessage() override {}
    // The first line (the frame counter) on the progress stream; Ctrl+C stops the run instead.
    void ShowStatusWindow(const std::string& title, const std::vector<std::string>& lines) override;
    bool StatusWindowStopped() override { return false; }
    void CloseStatusWindow() override {}
    void InvalidateView() override {}
    void RepaintAltitudeKey() override {}
    bool EditParameters(const std::string& group, const std::string& title,
                        Workspace& workspace) override;

    // A run-time value set by the user; applied now and again when its group's dialog is
    // filled, since filling a dialog from the Surface would otherwise overwrite it.
    void RememberDialogValue(const SettingDescriptor& setting, const std::string& value);

private:
    void DrawTicksUpTo(int tick);

    std::FILE* Messages;
    std::FILE* ProgressStream;
    std::FILE* Questions = nullptr;
    int TicksDrawn = -1;
    int Shown = 0;
    bool Answer = false;
    std::map<std::string, std::vector<std::pair<const SettingDescriptor*, std::string>>> Pending;
};

} // namespace korvel
