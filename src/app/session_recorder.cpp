#include "app/session_recorder.h"

#include "core/settings.h"
#include "core/settings_store.h"
#include "core/workspace.h"

#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace korvel {

std::string ShellQuoted(const std::string& word) {
    std::string quoted = "'";
    for (char c : word)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

bool SessionRecorder::Start(const Workspace& ws) {
    Recorded.clear();
    Unrepeatable.clear();
    Files.clear();
    FileSteps.clear();
    StartSettings.clear();
    // Written by the settings file's own writer, so that korvel-cli reads back what it wrote.
    QTemporaryDir dir;
    if (!dir.isValid())
        return false;
    IniSettingsStore store(dir.filePath("start.ini").toStdString());
    SaveSettings(ws.Settings, store);
    QFile file(QString::fromStdString(store.Path()));
    if (!store.Flush() || !file.open(QIODevice::ReadOnly))
        return false;
    StartSettings = file.readAll().toStdString();
    if (!StartSettings.empty() && StartSettings.back() != '\n')
        StartSettings += '\n';
    return true;
}

void SessionRecorder::AddNewSurface(const Surface& surface) {
    char edges[160];
    std::snprintf(edges, sizeof edges, "%.17g,%.17g,%.17g,%.17g", surface.Top, surface.Left,
                  surface.Right, surface.Bottom);
    Add({"new", std::to_string(surface.XSize) + "x" + std::to_string(surface.YSize), "--edges",
         edges});
}

void SessionRecorder::Add(std::vector<std::string> words) {
    Recorded.push_back(std::move(words));
}

void SessionRecorder::NoteUnrepeatable(const std::string& what) {
    if (std::find(Unrepeatable.begin(), Unrepeatable.end(), what) == Unrepeatable.end())
        Unrepeatable.push_back(what);
}

void SessionRecorder::AddWithFile(std::vector<std::string> words, const std::string& contents) {
    FileSteps.push_back(Recorded.size());
    Files.push_back(contents.empty() || contents.back() == '\n' ? contents : contents + '\n');
    Add(std::move(words));
}

void SessionRecorder::AddSetting(const std::string& name, const std::string& value) {
    Add({"set", name + "=" + value});
}

std::string SessionRecorder::Script() const {
    std::string script = "#!/bin/sh\n"
                         "# A Korvel editor session, repeated with korvel-cli (KORVEL_CLI names "
                         "it, else the one\n# on the PATH) from the settings the session started "
                         "with. Questions are asked on\n# the terminal.\n";
    for (const std::string& what : Unrepeatable)
        script += "# Not repeated: " + what + ".\n";
    std::string removed = "\"$settings\"";
    for (size_t i = 1; i <= Files.size(); ++i)
        removed += " \"$file" + std::to_string(i) + "\"";
    script += "settings=$(mktemp) || exit 1\n"
              "trap 'rm -f " +
              removed +
              "' EXIT\n"
              "cat >\"$settings\" <<'KORVEL_SETTINGS'\n" +
              StartSettings + "KORVEL_SETTINGS\n";
    for (size_t i = 0; i < Files.size(); ++i) {
        const std::string name = "file" + std::to_string(i + 1);
        script += name + "=$(mktemp) || exit 1\ncat >\"$" + name + "\" <<'KORVEL_FILE'\n" +
                  Files[i] + "KORVEL_FILE\n";
    }
    script += "\"${KORVEL_CLI:-korvel-cli}\" --settings \"$settings\"";
    for (size_t s = 0; s < Recorded.size(); ++s) {
        script += " \\\n   ";
        const auto file = std::find(FileSteps.begin(), FileSteps.end(), s);
        const std::vector<std::string>& step = Recorded[s];
        for (size_t w = 0; w < step.size(); ++w)
            script += " " + (file != FileSteps.end() && w + 1 == step.size()
                                 ? "\"$file" + std::to_string(file - FileSteps.begin() + 1) + "\""
                                 : ShellQuoted(step[w]));
    }
    return script + "\n";
}

} // namespace korvel
