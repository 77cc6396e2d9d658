#pragma once
// Every session is a script: what the person does in the editor, written as korvel-cli steps
// (each value a dialog's OK changed, each command, each file opened and saved) run from the
// settings the session started with, so that running the script repeats the session on the
// same data.

#include <string>
#include <vector>

namespace korvel {

class Surface;
class Workspace;

class SessionRecorder {
public:
    // The session starts now: korvel-cli starts from the settings as they are, which also give
    // the first Surface its size and map record. False when they could not be written down.
    bool Start(const Workspace& ws);
    // One step: its words as korvel-cli takes them ("set", "offset.Amount=5").
    void Add(std::vector<std::string> words);
    void AddSetting(const std::string& name, const std::string& value);
    // A step whose last word names a file the script writes first with contents (a kernel for
    // kernel-load); Steps() shows the word as given.
    void AddWithFile(std::vector<std::string> words, const std::string& contents);
    // Something done that no korvel-cli step repeats; the script names it.
    void NoteUnrepeatable(const std::string& what);
    // "new WIDTHxHEIGHT --edges TOP,LEFT,RIGHT,BOTTOM" of the Surface as it is now.
    void AddNewSurface(const Surface& surface);

    // A shell script running the steps with korvel-cli (the one named by KORVEL_CLI, else the
    // one on the PATH).
    std::string Script() const;
    const std::vector<std::vector<std::string>>& Steps() const { return Recorded; }

private:
    std::vector<std::vector<std::string>> Recorded;
    std::vector<std::string> Unrepeatable;
    // The files the script writes, and the step whose last word each one replaces.
    std::vector<std::string> Files;
    std::vector<size_t> FileSteps;
    // The settings file korvel-cli starts from.
    std::string StartSettings;
};

// word in single quotes for a POSIX shell.
std::string ShellQuoted(const std::string& word);

} // namespace korvel
