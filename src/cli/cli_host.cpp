#include "cli/cli_host.h"

#include <cctype>
#include <cstring>

namespace korvel {

namespace {
// The line has a mark every 2.5 percent: numbers at every tenth, dots between.
constexpr int LastTick = 40;

std::string Lowered(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}
} // namespace

CliHost::CliHost(std::FILE* messages, std::FILE* progressStream)
    : Messages(messages), ProgressStream(progressStream) {}

void CliHost::ShowMessage(const std::string& text) {
    ++Shown;
    std::fprintf(Messages, "%s\n", text.c_str());
    std::fflush(Messages);
}

bool CliHost::AskYesNo(const std::string& text) {
    if (Answer || !Questions) {
        std::fprintf(Messages, "%s\n(%s: answering %s)\n", text.c_str(),
                     Answer ? "--yes given" : "no terminal to ask on", Answer ? "Yes" : "No");
        return Answer;
    }
    std::fprintf(Messages, "%s [y/N] ", text.c_str());
    std::fflush(Messages);
    char reply[64] = "";
    if (!std::fgets(reply, sizeof reply, Questions))
        return false;
    const char first = reply[std::strspn(reply, " \t")];
    return first == 'y' || first == 'Y';
}

bool CliHost::OpenProgressWindow(const std::string& text, bool) {
    // The line names the stage it measures.
    const size_t end = text.find_last_not_of(' ');
    if (ProgressStream && end != std::string::npos)
        std::fprintf(ProgressStream, "%s: ", text.substr(0, end + 1).c_str());
    TicksDrawn = -1;
    DrawTicksUpTo(0);
    return true;
}

void CliHost::SetProgressBar(int position) {
    if (position >= 0 && position <= 100)
        DrawTicksUpTo(position * LastTick / 100);
}

void CliHost::CloseProgressWindow(bool cancelled) {
    if (!ProgressStream)
        return;
    if (cancelled) {
        std::fputs(" - cancelled.\n", ProgressStream);
    } else {
        DrawTicksUpTo(LastTick);
        std::fputs(" - done.\n", ProgressStream);
    }
    std::fflush(ProgressStream);
}

void CliHost::ShowStatusWindow(const std::string& title, const std::vector<std::string>& lines) {
    if (!ProgressStream || lines.empty())
        return;
    std::fprintf(ProgressStream, "%s: %s\n", title.c_str(), lines.front().c_str());
    std::fflush(ProgressStream);
}

void CliHost::DrawTicksUpTo(int tick) {
    if (!ProgressStream)
        return;
    while (TicksDrawn < tick) {
        ++TicksDrawn;
        if (TicksDrawn % 4 == 0)
            std::fprintf(ProgressStream, "%d", TicksDrawn * 10 / 4);
        else
            std::fputc('.', ProgressStream);
    }
    std::fflush(ProgressStream);
}

bool CliHost::EditParameters(const std::string& group, const std::string&, Workspace&) {
    auto it = Pending.find(Lowered(group));
    if (it == Pending.end())
        return true;
    for (const auto& [setting, value] : it->second)
        AssignSetting(*setting, value);
    Pending.erase(it);
    return true;
}

void CliHost::RememberDialogValue(const SettingDescriptor& setting, const std::string& value) {
    Pending[Lowered(setting.Section)].emplace_back(&setting, value);
}

} // namespace korvel
