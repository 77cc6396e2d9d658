#include "cli/cli_session.h"

#include "commands/command.h"
#include "commands/command_runner.h"
#include "formats/file_type_table.h"

#include <cstdio>

namespace korvel {

namespace {

std::string Plain(const std::string& menuText) {
    std::string text;
    for (char c : menuText.substr(0, menuText.find('\t')))
        if (c != '&')
            text += c;
    return text;
}

struct StepHelp {
    const char* Name;
    const char* Text;
};

constexpr StepHelp Steps[] = {
    {"new", "new WIDTHxHEIGHT [--edges TOP,LEFT,RIGHT,BOTTOM]\n"
            "  Makes a new all-zero Surface (undo step \"New Surface\"). The width is rounded\n"
            "  down to a multiple of 4; without --edges the current edges are kept.\n"},
    {"open", "open PATH\n  Reads a file of any readable type; the type comes from the extension\n"
             "  unless a \"type\" step chose one.\n"},
    {"save", "save PATH\n  Writes the Surface (or, for picture types, the shaded picture); the\n"
             "  type comes from the extension unless a \"type\" step chose one.\n"
             "  MDR options: mdr.DataType (0 32-bit float, 1 16-bit int, 2 8-bit int).\n"},
    {"type", "type NAME\n  Chooses the file type of the next open or save by its name or code,\n"
             "  where the extension is ambiguous. Types (code, extension, what this version\n"
             "  does with them, name):\n"},
    {"batch-textures",
     "batch-textures FILE...\n  Reads each file and writes its picture as a tile named by the\n"
     "  map's lower-left corner (e.g. w120n45.bmp) in the current directory; .dem files are\n"
     "  also written as .dte.\n"},
    {"set", "set NAME=VALUE\n  Sets a setting: persisted ones as Section/Key or Key, the values\n"
            "  of a command's dialog as group.Field (e.g. size.Width, mdr.DataType).\n"},
    {"kernel-load", "kernel-load PATH\n  Reads the kernel of \"convolve\" from a .krn file.\n"},
    {"kernel-save",
     "kernel-save PATH\n  Writes the kernel of \"convolve\" to a .krn file (sizes up to 9).\n"},
    {"info", "info\n  Prints the size and map record of the Surface, one Name=value a line.\n"},
    {"help", "help [COMMAND]\n  Lists the commands, or one command's parameters.\n"},
};

} // namespace

std::string CliUsageText() {
    return "Usage: korvel-cli [OPTIONS] STEP...\n"
           "Runs steps on one terrain Surface, left to right.\n\n"
           "Options:\n"
           "  -q, --quiet        no progress line\n"
           "  -y, --yes          answer Yes to the questions commands ask (default No)\n"
           "  --settings FILE    read settings from an INI file (default: built-in defaults)\n"
           "  -h, --help         this text\n"
           "  --version          the version\n\n"
           "Steps:\n"
           "  new WIDTHxHEIGHT [--edges TOP,LEFT,RIGHT,BOTTOM]\n"
           "  open PATH          save PATH          type NAME          set NAME=VALUE\n"
           "  batch-textures FILE...\n"
           "  kernel-load PATH   kernel-save PATH\n"
           "  info               help [COMMAND]     COMMAND (see korvel-cli help)\n\n"
           "Example:\n"
           "  korvel-cli new 512x256 set mdr.DataType=1 save a.mdr open a.mdr info\n\n"
           "Exit status: 0 success, 1 a step failed, 2 bad command line, 3 interrupted.\n";
}

std::string CliCommandList() {
    std::string text = "Steps: new open save type set batch-textures kernel-load kernel-save info "
                       "help\n\nCommands:\n";
    for (const Command& c : CommandTable()) {
        std::string line = "  " + c.CliName;
        line.resize(std::max<size_t>(line.size() + 1, 26), ' ');
        line += Plain(c.MenuText);
        if (!c.Available())
            line += "  (not available yet)";
        text += line + "\n";
    }
    return text;
}

bool IsStepName(const std::string& word) {
    for (const StepHelp& s : Steps)
        if (word == s.Name)
            return true;
    return FindCommandByName(word) != nullptr;
}

std::string CliCommandHelp(const std::string& topic, Workspace& ws) {
    if (topic == "type") {
        std::string text = Steps[3].Text;
        char line[128];
        for (const FileTypeEntry& row : FileTypeRows()) {
            std::snprintf(line, sizeof line, "  0x%03X  %-4s %-5s %-6s %s\n", row.Type,
                          row.Extension, row.CanRead() ? "read" : "-",
                          row.CanWrite() ? "write" : "-", row.Name);
            text += line;
        }
        return text;
    }
    for (const StepHelp& s : Steps)
        if (topic == s.Name)
            return s.Text;
    const Command* c = FindCommandByName(topic);
    if (!c)
        return {};
    std::string text = c->CliName + ": " + Plain(c->MenuText) + "\n";
    if (!c->StatusText.empty())
        text += "  " + c->StatusText + "\n";
    if (!c->SnapshotName.empty())
        text += "  undo step: \"" + c->SnapshotName + "\"\n";
    if (!c->Available())
        text += "  not available in this version\n";
    if (c->Prefill)
        c->Prefill(ws);
    std::string params;
    for (const SettingDescriptor& s : ws.Settings) {
        bool listed = !s.Persisted && !c->Group.empty() && s.Section == c->Group;
        for (const std::string& p : c->Params)
            listed = listed || FindSetting(ws.Settings, p) == &s;
        if (listed)
            params += "  " + s.Name() + "=" + FormatSetting(s) + "\n";
    }
    if (!params.empty())
        text += "Parameters:\n" + params;
    return text;
}

} // namespace korvel
