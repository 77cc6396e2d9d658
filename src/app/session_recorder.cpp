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
    script += "settings=$(mktemp) || exit 1\n"
              "trap 'rm -f \"$settings\"' EXIT\n"
              "cat >\"$settings\" <<'KORVEL_SETTINGS'\n" +
              StartSettings +
              "KORVEL_SETTINGS\n"
              "\"${KORVEL_CLI:-korvel-cli}\" --settings \"$settings\"";
    for (const std::vector<std::string>& step : Recorded) {
        script += " \\\n   ";
        for (const std::string& word : step)
            script += " " + ShellQuoted(word);
    }
    return script + "\n";
}

} // namespace korvel
