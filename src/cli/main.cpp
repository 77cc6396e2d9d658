#include "cli/cli_session.h"

#include <csignal>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

volatile std::sig_atomic_t Interrupted = 0;
std::atomic<int32_t>* CancelFlag = nullptr;

// The first Ctrl-C asks the running operation to stop at its next check; a second one ends
// the program at once (the handler resets itself).
void OnInterrupt(int) {
    Interrupted = 1;
    if (CancelFlag)
        CancelFlag->store(korvel::CancelKey, std::memory_order_relaxed);
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    korvel::CliSession session(stdout, stderr, isatty(STDERR_FILENO) != 0, &Interrupted);
    CancelFlag = &session.GetWorkspace().TheProgress.CancelFlag;
    if (isatty(STDIN_FILENO))
        session.SetQuestionInput(stdin);

    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);

    return session.Run(args);
}
