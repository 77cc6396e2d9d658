#pragma once
// A Host for tests: records what the program showed and answers questions from a script.

#include "core/host.h"
#include "core/progress.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace korvel::test {

class RecordingHost : public Host {
public:
    void ShowMessage(const std::string& text) override { Messages.push_back(text); }
    bool AskYesNo(const std::string& text) override {
        Questions.push_back(text);
        return NextAnswer();
    }
    bool OpenProgressWindow(const std::string& text, bool restorePlacement) override {
        ProgressTexts.push_back(text);
        RestoredPlacements.push_back(restorePlacement);
        return CanOpenProgress;
    }
    void SetProgressBar(int position) override { BarPositions.push_back(position); }
    void SetProgressLabel(const std::string& label) override { Labels.push_back(label); }
    void CloseProgressWindow(bool cancelled) override { Closes.push_back(cancelled); }
    void PumpPendingMessage() override {
        ++Pumps;
        if (OnPump)
            OnPump(Pumps);
    }
    void ShowStatusWindow(const std::string& title,
                          const std::vector<std::string>& lines) override {
        StatusTitle = title;
        StatusLines.push_back(lines);
    }
    bool StatusWindowStopped() override {
        return StopAtStatus > 0 && static_cast<int>(StatusLines.size()) >= StopAtStatus;
    }
    void CloseStatusWindow() override { ++StatusCloses; }
    void InvalidateView() override { ++Invalidations; }
    void RepaintAltitudeKey() override { ++KeyRepaints; }
    bool EditParameters(const std::string& group, const std::string&, Workspace&) override {
        DialogGroups.push_back(group);
        return NextAnswer();
    }

    // Answers for AskYesNo and EditParameters, in order; true once the script runs out.
    std::deque<bool> Answers;
    bool CanOpenProgress = true;
    // Stop is pressed once the status window has shown this many updates; 0 never.
    int StopAtStatus = 0;
    // Called on every pump with the count so far, e.g. to simulate a key press mid-operation.
    std::function<void(int)> OnPump;

    std::vector<std::string> Messages;
    std::vector<std::string> Questions;
    std::vector<std::string> ProgressTexts;
    std::vector<bool> RestoredPlacements;
    std::vector<int> BarPositions;
    std::vector<std::string> Labels;
    std::vector<bool> Closes;
    std::string StatusTitle;
    std::vector<std::vector<std::string>> StatusLines;
    int StatusCloses = 0;
    int Pumps = 0;
    int Invalidations = 0;
    int KeyRepaints = 0;
    std::vector<std::string> DialogGroups;

private:
    bool NextAnswer() {
        if (Answers.empty())
            return true;
        const bool answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
};

// Presses Escape at the pump-th pump of the host (its Pumps count), as a key pressed while an
// operation runs; the flag stays set for the operation to find.
inline std::function<void(int)> CancelAtPump(Progress& progress, int pump) {
    return [&progress, pump](int n) {
        if (n == pump)
            progress.CancelFlag = CancelKey;
    };
}

} // namespace korvel::test
