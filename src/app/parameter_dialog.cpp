#include "app/parameter_dialog.h"

#include "commands/file_dialog.h"
#include "core/workspace.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>

#include <climits>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace korvel {

namespace {

bool IsWhole(SettingType type) {
    return type == SettingType::Int || type == SettingType::Long || type == SettingType::Int7;
}

int ClampToInt(double v, int fallback) {
    if (!std::isfinite(v))
        return fallback;
    return static_cast<int>(std::fmax(INT_MIN, std::fmin(INT_MAX, v)));
}

bool IsPathField(const SettingDescriptor& setting) {
    return !setting.Persisted && setting.Key == "Path";
}

} // namespace

ParameterDialog::ParameterDialog(const QString& title, std::vector<DialogRow> rows, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(title);
    auto* form = new QFormLayout;
    Form = form;
    // A property sheet: one tab per page, in the order the fields name them.
    QTabWidget* sheet = nullptr;
    std::vector<std::pair<std::string, QFormLayout*>> pages;
    const auto formOf = [&](const DialogField& field) {
        if (*field.Page == '\0' || sheet == nullptr)
            return form;
        for (const auto& [name, layout] : pages)
            if (name == field.Page)
                return layout;
        auto* page = new QWidget(sheet);
        auto* layout = new QFormLayout(page);
        sheet->addTab(page, QString(field.Page));
        pages.emplace_back(field.Page, layout);
        return layout;
    };
    for (const DialogRow& edits : rows)
        if (*edits.Field.Page != '\0' && sheet == nullptr) {
            sheet = new QTabWidget(this);
            form->addRow(sheet);
        }
    for (DialogRow& edits : rows) {
        Row row{std::move(edits), nullptr};
        row.Editor = MakeEditor(row);
        row.Editor->setObjectName(QString::fromStdString(row.Edits.Setting->Name()));
        QWidget* shown = row.Editor;
        if (IsPathField(*row.Edits.Setting)) {
            auto* line = qobject_cast<QLineEdit*>(row.Editor);
            auto* holder = new QWidget(this);
            auto* layout = new QHBoxLayout(holder);
            layout->setContentsMargins(0, 0, 0, 0);
            auto* browse = new QPushButton("&...", holder);
            connect(browse, &QPushButton::clicked, this, [this, line] {
                const QString path =
                    QFileDialog::getSaveFileName(this, windowTitle(), line->text(), QString(),
                                                 nullptr, QFileDialog::DontConfirmOverwrite);
                if (!path.isEmpty())
                    line->setText(path);
            });
            layout->addWidget(row.Editor);
            layout->addWidget(browse);
            shown = holder;
        }
        formOf(row.Edits.Field)->addRow(QString(row.Edits.Field.Label), shown);
        Rows.push_back(std::move(row));
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &ParameterDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ParameterDialog::reject);
    form->addRow(buttons);
    setLayout(form);
}

void ParameterDialog::AddSubDialog(const QString& button, const QString& title,
                                   std::vector<DialogRow> rows) {
    AddButton(button, [this, title, rows] {
        ParameterDialog sub(title, rows, this);
        sub.exec();
    });
}

void ParameterDialog::AddButton(const QString& text, std::function<void()> pressed) {
    auto* button = new QPushButton(text, this);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, std::move(pressed));
    // Above the OK and Cancel row.
    Form->insertRow(Form->rowCount() - 1, button);
}

void ParameterDialog::ShowStoredValues() {
    for (const Row& row : Rows)
        SetValueText(row.Editor->objectName(),
                     QString::fromStdString(FormatSetting(*row.Edits.Setting)));
}

void ParameterDialog::AddValueButton(const QString& name, const QString& text,
                                     std::function<void()> press) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(name);
    connect(button, &QPushButton::clicked, this, [this, press = std::move(press)] {
        std::vector<std::string> kept;
        for (const Row& row : Rows) {
            const SettingDescriptor& setting = *row.Edits.Setting;
            kept.push_back(FormatSetting(setting));
            const std::string shown = TextOf(row).toStdString();
            if (CheckFieldValue(row.Edits.Field, setting, shown).empty())
                AssignSetting(setting, shown);
        }
        press();
        for (size_t i = 0; i < Rows.size(); ++i) {
            Show(Rows[i], QString::fromStdString(FormatSetting(*Rows[i].Edits.Setting)));
            AssignSetting(*Rows[i].Edits.Setting, kept[i]);
        }
    });
    // Above the OK and Cancel row.
    Form->insertRow(Form->rowCount() - 1, button);
}

QWidget* ParameterDialog::MakeEditor(const Row& row) {
    const DialogField& f = row.Edits.Field;
    const SettingDescriptor& setting = *row.Edits.Setting;
    const QString value = QString::fromStdString(FormatSetting(setting));
    if (!f.Choices.empty()) {
        auto* box = new QComboBox(this);
        for (const FieldChoice& c : f.Choices)
            box->addItem(QString(c.Meaning), c.Value);
        box->setCurrentIndex(std::max(0, box->findData(value.toInt())));
        return box;
    }
    if (setting.Type == SettingType::Bool) {
        auto* box = new QCheckBox(this);
        box->setChecked(value.toInt() != 0);
        return box;
    }
    if (IsWhole(setting.Type)) {
        double lo = 0.0;
        double hi = 0.0;
        FieldRange(f, setting, lo, hi);
        auto* spin = new QSpinBox(this);
        spin->setRange(ClampToInt(lo, INT_MIN), ClampToInt(hi, INT_MAX));
        spin->setValue(value.toInt());
        return spin;
    }
    auto* line = new QLineEdit(value, this);
    line->setMinimumWidth(IsPathField(setting) ? 320 : 140);
    return line;
}

QString ParameterDialog::TextOf(const Row& row) const {
    if (auto* box = qobject_cast<QComboBox*>(row.Editor))
        return QString::number(box->currentData().toInt());
    if (auto* box = qobject_cast<QCheckBox*>(row.Editor))
        return box->isChecked() ? "1" : "0";
    if (auto* spin = qobject_cast<QSpinBox*>(row.Editor))
        return QString::number(spin->value());
    return qobject_cast<QLineEdit*>(row.Editor)->text();
}

QString ParameterDialog::ValueText(const QString& setting) const {
    for (const Row& row : Rows)
        if (row.Editor->objectName().compare(setting, Qt::CaseInsensitive) == 0)
            return TextOf(row);
    return {};
}

bool ParameterDialog::Show(const Row& row, const QString& text) {
    if (auto* box = qobject_cast<QComboBox*>(row.Editor)) {
        const int at = box->findData(text.toInt());
        box->setCurrentIndex(at);
        return at >= 0;
    }
    if (auto* box = qobject_cast<QCheckBox*>(row.Editor))
        box->setChecked(text.toInt() != 0);
    else if (auto* spin = qobject_cast<QSpinBox*>(row.Editor))
        spin->setValue(text.toInt());
    else
        qobject_cast<QLineEdit*>(row.Editor)->setText(text);
    return true;
}

bool ParameterDialog::SetValueText(const QString& setting, const QString& text) {
    for (const Row& row : Rows)
        if (row.Editor->objectName().compare(setting, Qt::CaseInsensitive) == 0)
            return Show(row, text);
    return false;
}

QString ParameterDialog::Refusals() const {
    QString refusals;
    for (const Row& row : Rows) {
        const std::string why =
            CheckFieldValue(row.Edits.Field, *row.Edits.Setting, TextOf(row).toStdString());
        if (!why.empty())
            refusals += QString::fromStdString(why) + "\n";
    }
    return refusals.trimmed();
}

bool ParameterDialog::StoreValues() {
    const QString refusals = Refusals();
    if (!refusals.isEmpty()) {
        QMessageBox::warning(this, windowTitle(), refusals);
        return false;
    }
    for (const Row& row : Rows)
        AssignSetting(*row.Edits.Setting, TextOf(row).toStdString());
    return true;
}

void ParameterDialog::accept() {
    if (StoreValues())
        QDialog::accept();
}

namespace {

// The command whose dialog the group names; nullptr for a file type's dialog.
const Command* DialogOwner(const std::string& group, const Command* running) {
    const auto groupOf = [](const Command& c) { return c.Group.empty() ? c.CliName : c.Group; };
    if (running && groupOf(*running) == group)
        return running;
    for (const Command& c : CommandTable())
        if (c.HasDialog() && groupOf(c) == group)
            return &c;
    return nullptr;
}

} // namespace

std::vector<DialogButton> DialogButtonsOf(const std::string& group, const Command* running) {
    if (const Command* owner = DialogOwner(group, running))
        return owner->Buttons;
    const FileDialog* dialog = FindFileDialogByGroup(group);
    return dialog ? dialog->Buttons : std::vector<DialogButton>{};
}

std::vector<DialogRow> DialogRowsOf(const std::string& group, const Command* running,
                                    const Workspace& ws) {
    const Command* owner = DialogOwner(group, running);
    std::vector<DialogRow> rows;
    if (owner) {
        for (const DialogField& field : owner->Fields)
            if (const SettingDescriptor* setting = FindSetting(ws.Settings, field.Setting))
                rows.push_back({field, setting});
        return rows;
    }
    for (const SettingDescriptor& s : ws.Settings)
        if (!s.Persisted && s.Section == group)
            rows.push_back({DialogField(s.Key.c_str(), s.Key.c_str()), &s});
    return rows;
}

} // namespace korvel
