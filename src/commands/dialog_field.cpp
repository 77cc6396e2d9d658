#include "commands/command.h"
#include "commands/file_dialog.h"
#include "core/settings.h"
#include "core/workspace.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <strings.h>

namespace korvel {

namespace {

std::string Number(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.10g", value);
    return text;
}

bool IsNumeric(SettingType type) {
    return type != SettingType::Text && type != SettingType::Buffer && type != SettingType::Skip;
}

std::vector<const DialogField*> EveryDialogField() {
    std::vector<const DialogField*> fields;
    for (const Command& command : CommandTable())
        for (const DialogField& field : command.Fields)
            fields.push_back(&field);
    for (const FileDialog& dialog : FileDialogs())
        for (const DialogField& field : dialog.Fields)
            fields.push_back(&field);
    return fields;
}

} // namespace

void AddDialogSettings(Workspace& ws) {
    for (const DialogField* each : EveryDialogField()) {
        const DialogField& field = *each;
        if (!field.Variable || FindSetting(ws.Settings, field.Setting))
            continue;
        const std::string name = field.Setting;
        const size_t dot = name.find('.');
        SettingDescriptor row;
        row.Type = field.Type;
        row.Section = name.substr(0, dot);
        row.Key = name.substr(dot + 1);
        row.Variable = field.Variable(ws);
        row.Persisted = false;
        row.Lo = field.Lo;
        row.Hi = field.Hi;
        row.DefaultText = FormatSetting(row);
        ws.Settings.push_back(std::move(row));
    }
}

const DialogField* FindDialogField(const std::string& settingName) {
    for (const Command& command : CommandTable())
        if (const DialogField* field = command.FieldFor(settingName))
            return field;
    for (const FileDialog& dialog : FileDialogs())
        for (const DialogField& field : dialog.Fields)
            if (strcasecmp(field.Setting, settingName.c_str()) == 0)
                return &field;
    return nullptr;
}

const DialogButton* FindDialogButton(const std::string& name,
                                     const std::vector<DialogField>** fields) {
    const auto find = [&](const std::vector<DialogButton>& buttons,
                          const std::vector<DialogField>& owned) -> const DialogButton* {
        for (const DialogButton& button : buttons)
            if (strcasecmp(button.Name, name.c_str()) == 0) {
                if (fields)
                    *fields = &owned;
                return &button;
            }
        return nullptr;
    };
    for (const Command& command : CommandTable())
        if (const DialogButton* button = find(command.Buttons, command.Fields))
            return button;
    for (const FileDialog& dialog : FileDialogs())
        if (const DialogButton* button = find(dialog.Buttons, dialog.Fields))
            return button;
    return nullptr;
}

void FieldRange(const DialogField& field, const SettingDescriptor& setting, double& lo,
                double& hi) {
    lo = std::isfinite(field.Lo) ? field.Lo : setting.Lo;
    hi = std::isfinite(field.Hi) ? field.Hi : setting.Hi;
    if (setting.Type == SettingType::Bool) {
        lo = 0.0;
        hi = 1.0;
    }
}

std::string DescribeFieldValues(const DialogField& field, const SettingDescriptor& setting) {
    if (!field.Choices.empty()) {
        std::string text;
        for (const FieldChoice& choice : field.Choices)
            text +=
                (text.empty() ? "" : ", ") + std::to_string(choice.Value) + " " + choice.Meaning;
        return text;
    }
    if (setting.Type == SettingType::Bool)
        return "0 or 1";
    if (!IsNumeric(setting.Type))
        return {};
    double lo = 0.0;
    double hi = 0.0;
    FieldRange(field, setting, lo, hi);
    if (std::isfinite(lo) && std::isfinite(hi))
        return Number(lo) + ".." + Number(hi);
    if (std::isfinite(lo))
        return "at least " + Number(lo);
    if (std::isfinite(hi))
        return "at most " + Number(hi);
    return {};
}

std::string CheckFieldValue(const DialogField& field, const SettingDescriptor& setting,
                            const std::string& text) {
    if (!IsNumeric(setting.Type))
        return {};
    const std::string takes = DescribeFieldValues(field, setting);
    std::string label = field.Label;
    if (label.ends_with(':'))
        label.pop_back();
    const std::string refusal = "\"" + text + "\" is not a valid value for " + setting.Name() +
                                " (" + label + (takes.empty() ? "" : ": " + takes) + ")";
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || std::isnan(value))
        return refusal;
    if (!field.Choices.empty()) {
        for (const FieldChoice& choice : field.Choices)
            if (value == choice.Value)
                return {};
        return refusal;
    }
    double lo = 0.0;
    double hi = 0.0;
    FieldRange(field, setting, lo, hi);
    return value >= lo && value <= hi ? std::string() : refusal;
}

} // namespace korvel
