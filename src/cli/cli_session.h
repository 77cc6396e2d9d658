#pragma once
// One run of korvel-cli: options, then steps carried out left to right on one Surface.

#include "cli/cli_host.h"
#include "core/workspace.h"

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

namespace korvel {

enum CliExit : int {
    CliOk = 0,
    CliFailed = 1,    // a step failed
    CliUsage = 2,     // the command line could not be understood
    CliCancelled = 3, // interrupted by the user
};

class CliSession {
public:
    // interrupted: set by the interrupt handler; checked between steps.
    CliSession(std::FILE* out, std::FILE* err, bool drawProgress,
               const volatile std::sig_atomic_t* interrupted);

    // Options may stand anywhere on the line; the steps run left to right.
    int Run(const std::vector<std::string>& line);
    // Where questions are answered when -y is not given; nullptr (no terminal) answers No.
    void SetQuestionInput(std::FILE* input) { TheHost.SetQuestionInput(input); }
    Workspace& GetWorkspace() { return Ws; }

private:
    int RunSteps(const std::vector<std::string>& steps);
    int Step(const std::vector<std::string>& steps, size_t& i);
    int StepNew(const std::vector<std::string>& steps, size_t& i);
    int StepSet(const std::string& assignment);
    int StepType(const std::string& name);
    int StepOpen(const std::string& path);
    int StepSave(const std::string& path);
    // What the last open or save noted (a cut width, the rounding of an integer format), on the
    // message stream: the output stays what info and help print.
    void PrintFileNotes();
    int StepBatchTextures(const std::vector<std::string>& steps, size_t& i);
    int StepCommand(const std::vector<std::string>& steps, size_t& i);
    int RunNamedCommand(const std::string& name);
    void PrintHistogram(const HistogramResult& histogram);
    int StepInfo();
    int StepStroke(const std::vector<std::string>& steps, size_t& i);
    int StepCloneSource(const std::string& point);
    int StepPress(const std::string& name);
    int Help(const std::string& topic);
    int Fail(int code, const std::string& message);

    std::FILE* Out;
    std::FILE* Err;
    const volatile std::sig_atomic_t* Interrupted;
    CliHost TheHost;
    Workspace Ws;
    // The file type the next open or save uses; -1 takes it from the extension.
    int32_t NextType = -1;
};

// The usage text of korvel-cli --help.
std::string CliUsageText();
// help and help COMMAND.
std::string CliCommandList();
// A fixed step or a command of the table.
bool IsStepName(const std::string& word);
// Empty when topic names no command or step.
// The dialog fields are filled as the dialog would fill them.
std::string CliCommandHelp(const std::string& topic, Workspace& ws);

} // namespace korvel
