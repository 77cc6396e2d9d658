#include "cli/cli_session.h"

#include "commands/command.h"
#include "commands/command_runner.h"
#include "commands/file_dialog.h"
#include "formats/file_type_table.h"

#include <algorithm>
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
             "  MDR options: mdr.DataType (0 32-bit float, 1 16-bit int, 2 8-bit int).\n"
             "  Mesh and contour options: help mesh, help dxf-contours, help cc2.\n"},
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
    {"stroke",
     "stroke X,Y[@P] X,Y[@P]...\n  One stroke of the chosen paint tool (a paint-tool-... preset,\n"
     "  paint or clone): button down at the first point, a move at each later one, button up.\n"
     "  X counts columns from the left, Y rows from the bottom; @P is a pen pressure 0..255.\n"
     "  One undo step (\"Painting\" or \"Cloning\").\n"},
    {"clone-source", "clone-source X,Y\n  Sets the clone tool's source point, as a Shift-click "
                     "there does.\n"},
    {"press",
     "press GROUP.BUTTON\n  Presses a button of a dialog (e.g. journey.RGS): the values it\n"
     "  fills hold when the dialog is next asked, unless set again.\n"},
};

// The steps that stand in for rows the command line cannot run as commands.
const char* StepServing(const Command& c) {
    switch (c.Id) {
    case CmdOpen:
        return "open PATH";
    case CmdSaveAs:
        return "save PATH";
    case CmdMonsysTextures:
        return "batch-textures FILE...";
    default:
        return nullptr;
    }
}

// The position in the table of each level of path: "Surface > Area Process" sorts before
// "Surface > Area Process > Blur" even where the submenu's items come first.
std::vector<size_t> MenuOrder(const std::string& path) {
    std::vector<size_t> order;
    for (size_t end = 0; end != std::string::npos;) {
        end = path.find(" > ", end + 1);
        const std::string prefix = path.substr(0, end);
        const std::vector<Command>& table = CommandTable();
        const auto first = std::ranges::find_if(table, [&](const Command& c) {
            return c.MenuPath == prefix || c.MenuPath.starts_with(prefix + " > ");
        });
        order.push_back(static_cast<size_t>(first - table.begin()));
    }
    return order;
}

std::string Padded(std::string text, size_t width) {
    text.resize(std::max(text.size() + 2, width), ' ');
    return text;
}

std::string ParameterLine(const DialogField& field, Workspace& ws) {
    const SettingDescriptor* setting = FindSetting(ws.Settings, field.Setting);
    if (!setting)
        return {};
    std::string line = Padded("  " + setting->Name() + "=" + FormatSetting(*setting), 30);
    line += field.Label;
    const std::string takes = DescribeFieldValues(field, *setting);
    if (!takes.empty())
        line += "  (" + takes + ")";
    return line + "\n";
}

std::string ButtonLines(const std::vector<DialogButton>& buttons) {
    std::string text;
    for (const DialogButton& button : buttons)
        text += Padded("  press " + std::string(button.Name), 30) + Plain(button.Label) + ": " +
                button.Effect + "\n";
    return text.empty() ? text : "Buttons:\n" + text;
}

// What help COMMAND shows; the dialog fields are filled as the dialog would fill them.
std::string CommandHelp(const Command& c, Workspace& ws) {
    std::string text = c.CliName + ": " + c.MenuPath + " > " + Plain(c.MenuText) + "\n";
    if (!c.StatusText.empty())
        text += "  " + c.StatusText + "\n";
    if (!c.Effect.empty())
        text += "  " + c.Effect + "\n";
    if (!c.SnapshotName.empty())
        text += "  undo step: \"" + c.SnapshotName + "\"\n";
    if (const char* step = StepServing(c))
        text += "  run it as the step `" + std::string(step) + "`\n";
    else if (!c.Available())
        text += "  not available in this version\n";
    else if (const char* reason = DisabledReason(c, ws))
        text += "  cannot run now: " + std::string(reason) + "\n";
    if (c.Prefill)
        c.Prefill(ws);
    std::string params;
    for (const DialogField& field : c.Fields)
        params += ParameterLine(field, ws);
    if (!params.empty())
        text += "Parameters (set NAME=VALUE before the command):\n" + params;
    return text + ButtonLines(c.Buttons);
}

// help mesh: the fields of a dialog asked before a file is written.
std::string FileDialogHelp(const FileDialog& dialog, Workspace& ws) {
    const std::string step = dialog.AskedOnOpen ? "open" : "save";
    std::string text =
        dialog.Group + ": the \"" + dialog.Title + "\" dialog, asked by " + step + " for\n";
    for (int32_t type : dialog.Types)
        if (const FileTypeEntry* row = FindFileType(type))
            text += "  " + std::string(row->Name) + " (." + row->Extension + ")\n";
    if (dialog.Prefill)
        dialog.Prefill(ws);
    text += "Parameters (set NAME=VALUE before " + step + "):\n";
    for (const DialogField& field : dialog.Fields)
        text += ParameterLine(field, ws);
    return text + ButtonLines(dialog.Buttons);
}

} // namespace

std::string CliUsageText() {
    return "Usage: korvel-cli [OPTIONS] STEP...\n"
           "Runs steps on one terrain Surface, left to right.\n\n"
           "Options (anywhere on the line):\n"
           "  -q, --quiet        no progress line\n"
           "  -y, --yes          answer Yes to the questions commands ask; without it a\n"
           "                     question is asked on the terminal, and answered No when\n"
           "                     there is none\n"
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
                       "help\n\nCommands by menu (help COMMAND shows one command's parameters):\n";
    // Menus in table order, each parent before its submenus.
    std::vector<std::string> menus;
    for (const Command& c : CommandTable())
        if ((c.Available() || StepServing(c)) &&
            std::ranges::find(menus, c.MenuPath) == menus.end())
            menus.push_back(c.MenuPath);
    std::ranges::stable_sort(menus, {}, MenuOrder);
    for (const std::string& menu : menus) {
        text += "\n" + menu + "\n";
        for (const Command& c : CommandTable()) {
            if (c.MenuPath != menu)
                continue;
            if (c.Available())
                text += Padded("  " + c.CliName, 28) + Plain(c.MenuText) + "\n";
            else if (const char* step = StepServing(c))
                text += Padded("  " + c.CliName, 28) + Plain(c.MenuText) + "  (use the step `" +
                        step + "`)\n";
        }
    }
    text += "\nNot available yet:\n";
    for (const Command& c : CommandTable())
        if (!c.Available() && !StepServing(c))
            text += Padded("  " + c.CliName, 28) + c.MenuPath + " > " + Plain(c.MenuText) + "\n";
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
    if (const FileDialog* dialog = FindFileDialogByGroup(topic))
        return FileDialogHelp(*dialog, ws);
    const Command* c = FindCommandByName(topic);
    for (const StepHelp& s : Steps)
        if (topic == s.Name)
            return s.Text + (c && c->Available() ? "\n" + CommandHelp(*c, ws) : std::string());
    return c ? CommandHelp(*c, ws) : std::string();
}

} // namespace korvel
