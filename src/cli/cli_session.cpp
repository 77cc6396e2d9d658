#include "cli/cli_session.h"

#include "commands/command.h"
#include "commands/command_runner.h"
#include "commands/convolution_commands.h"
#include "commands/file_dispatch.h"
#include "commands/setting_checks.h"
#include "core/settings_store.h"
#include "formats/file_type_table.h"
#include "formats/krn.h"
#include "paint/paint_state.h"
#include "shading/texture.h"

#include <cmath>
#include <cstdlib>
#include <utility>

namespace korvel {

namespace {

// "X,Y" or "X,Y@P": a Surface position and a pen pressure 0..255 (-1 when not given).
bool ParseStrokePoint(const std::string& text, ToolEvent& at) {
    const char* p = text.c_str();
    char* end = nullptr;
    at.X = std::strtod(p, &end);
    if (end == p || *end != ',')
        return false;
    p = end + 1;
    at.Y = std::strtod(p, &end);
    if (end == p || !std::isfinite(at.X) || !std::isfinite(at.Y))
        return false;
    at.Pressure = -1;
    if (*end == '@') {
        p = end + 1;
        const long pressure = std::strtol(p, &end, 10);
        if (end == p || pressure < 0 || pressure > 255)
            return false;
        at.Pressure = static_cast<int32_t>(pressure);
    }
    // A point no Surface reaches would only be ignored: it is a mistake on the line.
    int32_t sample = 0;
    return *end == '\0' && SampleOf(at.X, sample) && SampleOf(at.Y, sample);
}

bool ParseSize(const std::string& text, int32_t& width, int32_t& height) {
    const size_t x = text.find_first_of("xX");
    if (x == std::string::npos)
        return false;
    char* end = nullptr;
    const long w = std::strtol(text.c_str(), &end, 10);
    if (end != text.c_str() + x)
        return false;
    const long h = std::strtol(text.c_str() + x + 1, &end, 10);
    if (*end != '\0' || end == text.c_str() + x + 1)
        return false;
    if (w <= 0 || h <= 0 || w >= Surface::SizeLimit || h >= Surface::SizeLimit)
        return false;
    width = static_cast<int32_t>(w);
    height = static_cast<int32_t>(h);
    return true;
}

bool ParseEdges(const std::string& text, SurfaceEdgeFields& edges) {
    double values[4];
    const char* p = text.c_str();
    for (int i = 0; i < 4; ++i) {
        char* end = nullptr;
        values[i] = std::strtod(p, &end);
        if (end == p || (i < 3 && *end != ',') || (i == 3 && *end != '\0'))
            return false;
        p = end + 1;
    }
    edges = {values[0], values[1], values[2], values[3]};
    return true;
}

// " (0 to 6)" for a setting with a range; empty without one.
std::string AcceptedRange(const SettingDescriptor& setting) {
    if (!std::isfinite(setting.Lo) || !std::isfinite(setting.Hi))
        return {};
    char text[96];
    std::snprintf(text, sizeof text, " (%.10g to %.10g)", setting.Lo, setting.Hi);
    return text;
}

} // namespace

CliSession::CliSession(std::FILE* out, std::FILE* err, bool drawProgress,
                       const volatile std::sig_atomic_t* interrupted)
    : Out(out), Err(err), Interrupted(interrupted), TheHost(err, drawProgress ? err : nullptr),
      Ws(TheHost) {
    AddDialogSettings(Ws);
}

int CliSession::Fail(int code, const std::string& message) {
    std::fprintf(Err, "korvel-cli: %s\n", message.c_str());
    return code;
}

int CliSession::Run(const std::vector<std::string>& line) {
    // -q and -y may stand anywhere: pulled out before the steps are read.
    std::vector<std::string> args;
    for (const std::string& a : line) {
        if (a == "-q" || a == "--quiet")
            TheHost.SetProgressStream(nullptr);
        else if (a == "-y" || a == "--yes")
            TheHost.SetAnswer(true);
        else
            args.push_back(a);
    }
    std::string settingsPath;
    size_t i = 0;
    for (; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            std::fputs(CliUsageText().c_str(), Out);
            return CliOk;
        }
        if (a == "--version") {
            std::fprintf(Out, "korvel-cli %s\n", KORVEL_VERSION);
            return CliOk;
        }
        if (a == "--settings") {
            if (++i == args.size())
                return Fail(CliUsage, "--settings needs a file name");
            settingsPath = args[i];
        } else if (!a.empty() && a[0] == '-') {
            return Fail(CliUsage, "unknown option " + a + " (see korvel-cli --help)");
        } else {
            break;
        }
    }
    if (i == args.size())
        return Fail(CliUsage, "nothing to do (see korvel-cli --help)");

    MemorySettingsStore defaults;
    IniSettingsStore file(settingsPath);
    SettingsStore& store = settingsPath.empty() ? static_cast<SettingsStore&>(defaults) : file;
    // Settings asked for and not had would make every result quietly different.
    if (!settingsPath.empty() && !file.ReadFailure().empty())
        return Fail(CliUsage,
                    "cannot read settings file \"" + settingsPath + "\": " + file.ReadFailure());
    std::vector<SettingLoadFailure> unread;
    if (Ws.Start(store, &unread) != 0)
        return Fail(CliFailed, "cannot allocate the first surface");
    if (!unread.empty())
        return Fail(CliUsage, "settings file \"" + settingsPath + "\": \"" + unread[0].Text +
                                  "\" is not a valid value for " + unread[0].Name);
    // The first picture is computed when something reads it.
    MarkTextureStale(Ws);
    return RunSteps({args.begin() + static_cast<std::ptrdiff_t>(i), args.end()});
}

int CliSession::RunSteps(const std::vector<std::string>& steps) {
    for (size_t i = 0; i < steps.size(); ++i) {
        if (*Interrupted)
            return Fail(CliCancelled, "interrupted");
        const std::string name = steps[i];
        const int code = Step(steps, i);
        if (*Interrupted)
            return Fail(CliCancelled, "interrupted: \"" + name + "\" stopped early");
        if (code != CliOk)
            return code;
    }
    return CliOk;
}

int CliSession::Step(const std::vector<std::string>& steps, size_t& i) {
    const std::string& step = steps[i];
    if (step == "new")
        return StepNew(steps, i);
    if (step == "open" || step == "save" || step == "set" || step == "type") {
        if (i + 1 >= steps.size())
            return Fail(CliUsage, "\"" + step + "\" needs an argument");
        const std::string& arg = steps[++i];
        if (step == "set")
            return StepSet(arg);
        if (step == "type")
            return StepType(arg);
        return step == "open" ? StepOpen(arg) : StepSave(arg);
    }
    if (step == "batch-textures")
        return StepBatchTextures(steps, i);
    if (step == "kernel-load" || step == "kernel-save") {
        if (i + 1 >= steps.size())
            return Fail(CliUsage, "\"" + step + "\" needs a file name");
        const std::string& path = steps[++i];
        const bool load = step == "kernel-load";
        (load ? Ws.KernelLoad : Ws.KernelSave).Path = path;
        const int32_t code = load ? RunKernelLoad(Ws) : RunKernelSave(Ws);
        if (load && code == KernelFileNoKernel)
            return Fail(CliFailed, "no Kernel found in " + path);
        if (code != 0)
            return Fail(CliFailed,
                        (load ? "cannot read kernel file \"" : "cannot write kernel file \"") +
                            path + "\": " + DescribeStatus(KernelFileTexts, code));
        return CliOk;
    }
    if (step == "info")
        return StepInfo();
    if (step == "stroke")
        return StepStroke(steps, i);
    if (step == "clone-source") {
        if (i + 1 >= steps.size())
            return Fail(CliUsage, "\"clone-source\" needs a point X,Y");
        return StepCloneSource(steps[++i]);
    }
    if (step == "press") {
        if (i + 1 >= steps.size())
            return Fail(CliUsage, "\"press\" needs a button, e.g. press journey.RGS");
        return StepPress(steps[++i]);
    }
    if (step == "help")
        return Help(i + 1 < steps.size() ? steps[++i] : std::string());
    return StepCommand(steps, i);
}

int CliSession::StepNew(const std::vector<std::string>& steps, size_t& i) {
    if (i + 1 >= steps.size() || !ParseSize(steps[i + 1], Ws.NewSize.Width, Ws.NewSize.Height))
        return Fail(CliUsage, "\"new\" needs a size WIDTHxHEIGHT, e.g. new 512x256");
    ++i;
    const SettingsTable& table = Ws.Settings;
    TheHost.RememberDialogValue(*FindSetting(table, "new.Width"), std::to_string(Ws.NewSize.Width));
    TheHost.RememberDialogValue(*FindSetting(table, "new.Height"),
                                std::to_string(Ws.NewSize.Height));
    if (i + 1 < steps.size() && steps[i + 1] == "--edges") {
        SurfaceEdgeFields edges;
        if (i + 2 >= steps.size() || !ParseEdges(steps[i + 2], edges))
            return Fail(CliUsage, "--edges needs TOP,LEFT,RIGHT,BOTTOM");
        i += 2;
        const std::pair<const char*, double> fields[] = {{"new.Top", edges.Top},
                                                         {"new.Left", edges.Left},
                                                         {"new.Right", edges.Right},
                                                         {"new.Bottom", edges.Bottom}};
        char text[64];
        for (const auto& [name, value] : fields) {
            std::snprintf(text, sizeof text, "%.17g", value);
            TheHost.RememberDialogValue(*FindSetting(table, name), text);
        }
    }
    // The size and edges are in hand: run the command row itself.
    return RunNamedCommand("new");
}

int CliSession::StepType(const std::string& name) {
    NextType = TypeFromName(name);
    if (NextType < 0)
        return Fail(CliUsage, "no file type named \"" + name + "\" (see korvel-cli help type)");
    return CliOk;
}

int CliSession::StepOpen(const std::string& path) {
    const int32_t type = std::exchange(NextType, -1);
    std::string reason;
    const int32_t code = ReadFileByType(Ws, path, true, type, &reason);
    if (code != 0)
        return Fail(CliFailed, OpenFailureMessage(code, path, type, reason));
    PrintFileNotes();
    return CliOk;
}

int CliSession::StepSave(const std::string& path) {
    std::string message;
    const int32_t code = WriteFileByType(Ws, path, std::exchange(NextType, -1), message);
    if (code != 0)
        return Fail(CliFailed, message.empty() ? "cannot save \"" + path +
                                                     "\": no file type has the extension (see "
                                                     "korvel-cli help type)"
                                               : message);
    PrintFileNotes();
    return CliOk;
}

void CliSession::PrintFileNotes() {
    for (const std::string& note : Ws.FileNotes)
        std::fprintf(Err, "%s\n", note.c_str());
}

int CliSession::StepBatchTextures(const std::vector<std::string>& steps, size_t& i) {
    // The files run up to the next word that names a step or a command.
    std::vector<std::string> paths;
    while (i + 1 < steps.size() && !IsStepName(steps[i + 1]))
        paths.push_back(steps[++i]);
    if (paths.empty())
        return Fail(CliUsage, "\"batch-textures\" needs at least one file name");
    std::string message;
    std::vector<TextureTile> tiles;
    const int32_t code = RunTextureBatch(Ws, paths, message, tiles);
    for (const TextureTile& tile : tiles)
        std::fprintf(Out, "%s  (from %s)\n", tile.Name.c_str(), tile.Input.c_str());
    std::fflush(Out);
    if (code != 0)
        return Fail(CliFailed, message);
    return CliOk;
}

int CliSession::StepSet(const std::string& assignment) {
    const size_t eq = assignment.find('=');
    if (eq == std::string::npos || eq == 0)
        return Fail(CliUsage, "\"set\" needs NAME=VALUE, got \"" + assignment + "\"");
    const std::string name = assignment.substr(0, eq);
    const std::string value = assignment.substr(eq + 1);
    const SettingDescriptor* setting = FindSetting(Ws.Settings, name);
    if (!setting)
        return Fail(CliUsage,
                    "no setting named \"" + name + "\" (or more than one: write Section/Key)");
    // The map record belongs to the Surface; changing it behind the grid's back would break it.
    if (setting->Persisted && setting->Section == "Map")
        return Fail(CliUsage, "\"" + setting->Name() +
                                  "\" is the Surface's own record: use new, size or map-info");
    if (const std::string problem = SettingValueProblem(*setting, value); !problem.empty())
        return Fail(CliUsage, problem);
    // The dialog's own range and choices hold for persisted values too.
    if (const DialogField* field = FindDialogField(setting->Name()))
        if (const std::string refusal = CheckFieldValue(*field, *setting, value); !refusal.empty())
            return Fail(CliUsage, refusal);
    if (!AssignSetting(*setting, value))
        return Fail(CliUsage, "\"" + value + "\" is not a valid value for " + setting->Name() +
                                  AcceptedRange(*setting));
    if (!setting->Persisted)
        TheHost.RememberDialogValue(*setting, value);
    // The picture follows the lighting, as it does after the lighting command.
    if (setting->Section == "Light")
        Ws.TheSurface.Texture.MarkStale();
    // Options take effect as when the Options dialog is closed with OK.
    if (FindCommandById(CmdOptions)->FieldFor(setting->Name()))
        return RunNamedCommand("options");
    return CliOk;
}

int CliSession::StepPress(const std::string& name) {
    const std::vector<DialogField>* fields = nullptr;
    const DialogButton* button = FindDialogButton(name, &fields);
    if (!button)
        return Fail(CliUsage, "no dialog button named \"" + name + "\" (see korvel-cli help)");
    // The button works on the values set before it; what it writes must then outlast the
    // filling of its dialog, as a set value does.
    TheHost.EditParameters(name.substr(0, name.find('.')), "", Ws);
    button->Press(Ws);
    for (const DialogField& field : *fields)
        if (const SettingDescriptor* setting = FindSetting(Ws.Settings, field.Setting);
            setting && !setting->Persisted)
            TheHost.RememberDialogValue(*setting, FormatSetting(*setting));
    return CliOk;
}

int CliSession::StepCommand(const std::vector<std::string>& steps, size_t& i) {
    const std::string& name = steps[i];
    const Command* command = FindCommandByName(name);
    if (!command)
        return Fail(CliUsage, "unknown step \"" + name + "\" (see korvel-cli help)");
    // A command whose dialog asks for a file takes the next word as its path.
    const SettingDescriptor* path =
        command->Group.empty() ? nullptr : FindSetting(Ws.Settings, command->Group + ".Path");
    if (path) {
        if (i + 1 >= steps.size())
            return Fail(CliUsage, "\"" + name + "\" needs a file name");
        TheHost.RememberDialogValue(*path, steps[++i]);
        // A second file (the climate map of "world-builder-map") is the word after.
        if (const SettingDescriptor* second = FindSetting(Ws.Settings, command->Group + ".Path2")) {
            if (i + 1 >= steps.size())
                return Fail(CliUsage, "\"" + name + "\" needs two file names");
            TheHost.RememberDialogValue(*second, steps[++i]);
        }
    }
    const int messagesBefore = TheHost.MessagesShown();
    const RunResult result = RunCommand(*command, Ws);
    // An interrupted command is reported once, by the step loop.
    if (*Interrupted)
        return CliOk;
    // The operation's own message already said why; its bare code would add nothing.
    if (result.Status == RunStatus::Failed && TheHost.MessagesShown() > messagesBefore)
        return CliFailed;
    if (result.Status != RunStatus::Done)
        return Fail(CliFailed, DescribeRunResult(*command, result));
    if (command->Id == CmdHistogram)
        PrintHistogram(Ws.LastHistogram);
    return CliOk;
}

void CliSession::PrintHistogram(const HistogramResult& h) {
    std::fprintf(Out, "Bin Low\tBin High\tSample Count\n");
    const double width = (h.Highest - h.Lowest) / static_cast<double>(h.Bins.size());
    for (size_t b = 0; b < h.Bins.size(); ++b)
        std::fprintf(Out, "%.6g\t%.6g\t%lld\n", h.Lowest + width * static_cast<double>(b),
                     h.Lowest + width * static_cast<double>(b + 1),
                     static_cast<long long>(h.Bins[b]));
    std::fprintf(Out, "Below Range: %lld\nAbove Range: %lld\n", static_cast<long long>(h.Below),
                 static_cast<long long>(h.Above));
}

int CliSession::RunNamedCommand(const std::string& name) {
    const std::vector<std::string> alone = {name};
    size_t at = 0;
    return StepCommand(alone, at);
}

int CliSession::StepInfo() {
    const Surface& s = Ws.TheSurface;
    std::fprintf(Out, "XSize=%d\nYSize=%d\n", s.XSize, s.YSize);
    const std::pair<const char*, double> record[] = {
        {"Top", s.Top},   {"Left", s.Left}, {"Right", s.Right}, {"Bottom", s.Bottom},
        {"XRes", s.XRes}, {"YRes", s.YRes}, {"Min", s.Min},     {"Max", s.Max}};
    for (const auto& [name, value] : record)
        std::fprintf(Out, "%s=%.17g\n", name, value);
    std::fflush(Out);
    return CliOk;
}

int CliSession::StepStroke(const std::vector<std::string>& steps, size_t& i) {
    std::vector<ToolEvent> points;
    while (i + 1 < steps.size() && !IsStepName(steps[i + 1])) {
        ToolEvent at;
        if (!ParseStrokePoint(steps[i + 1], at))
            return Fail(CliUsage, "\"stroke\": \"" + steps[i + 1] +
                                      "\" is not a point X,Y or X,Y@P (P a pressure 0..255)");
        points.push_back(at);
        ++i;
    }
    if (points.empty())
        return Fail(CliUsage, "\"stroke\" needs at least one point X,Y");
    PaintState& state = PaintStateOf(Ws);
    Tool* tool = state.Active;
    if (!tool)
        return Fail(CliFailed, "\"stroke\": no paint tool is chosen (choose one first, e.g. "
                               "paint-tool-raise or clone)");
    if (tool == &state.Cloner && state.Cloner.Current() == CloneTool::NoSource)
        return Fail(CliFailed,
                    "\"stroke\": the clone tool has no source point (set one with clone-source)");
    tool->ButtonDown(points.front());
    for (size_t p = 1; p < points.size(); ++p)
        tool->Move(points[p]);
    tool->ButtonUp(points.back());
    return CliOk;
}

int CliSession::StepCloneSource(const std::string& point) {
    ToolEvent at;
    if (!ParseStrokePoint(point, at) || at.Pressure >= 0)
        return Fail(CliUsage, "\"clone-source\": \"" + point + "\" is not a point X,Y");
    PaintStateOf(Ws).Cloner.SetSource(at.X, at.Y);
    return CliOk;
}

int CliSession::Help(const std::string& topic) {
    if (topic.empty()) {
        std::fputs(CliCommandList().c_str(), Out);
        return CliOk;
    }
    const std::string text = CliCommandHelp(topic, Ws);
    if (text.empty())
        return Fail(CliUsage, "no step or command named \"" + topic + "\"");
    std::fputs(text.c_str(), Out);
    return CliOk;
}

} // namespace korvel
