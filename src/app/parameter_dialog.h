#pragma once
// The dialog of a command built from its dialog fields: one editor per field (a list of choices,
// a check box, a whole number, a number or a text), filled from the setting variables and
// written back when OK is pressed and every value is accepted.

#include "commands/command.h"

#include <QDialog>

#include <functional>
#include <vector>

class QFormLayout;
class QWidget;

namespace korvel {

// One field of a dialog with the setting it edits.
struct DialogRow {
    DialogField Field;
    const SettingDescriptor* Setting = nullptr;
};

class ParameterDialog : public QDialog {
    Q_OBJECT

public:
    ParameterDialog(const QString& title, std::vector<DialogRow> rows, QWidget* parent);

    // The text of the field editing setting (named as in the settings table); tests and
    // scripted sessions use these instead of typing.
    QString ValueText(const QString& setting) const;
    bool SetValueText(const QString& setting, const QString& text);
    // A button (text with its mnemonic) that opens a dialog of its own over further settings; that
    // dialog stores its values on its own OK.
    void AddSubDialog(const QString& button, const QString& title, std::vector<DialogRow> rows);
    // A button (text with its mnemonic) above OK and Cancel that runs pressed.
    void AddButton(const QString& text, std::function<void()> pressed);
    // Stores the values without closing; false (after showing why) when one is refused.
    bool StoreValues();
    // Shows the values the settings hold now, after something else changed them.
    void ShowStoredValues();
    // A push button (named for tests and scripts) whose press changes the values the dialog's
    // settings hold: the values shown are handed to it, and what it leaves is shown. The settings
    // themselves keep their values until OK.
    void AddValueButton(const QString& name, const QString& text, std::function<void()> press);
    // The values refused, one line each; empty when all are accepted.
    QString Refusals() const;

public slots:
    // Stores the values and closes; a refused value is shown and the dialog stays open.
    void accept() override;

private:
    struct Row {
        DialogRow Edits;
        QWidget* Editor = nullptr;
    };
    QString TextOf(const Row& row) const;
    static bool Show(const Row& row, const QString& text);
    QWidget* MakeEditor(const Row& row);

    std::vector<Row> Rows;
    QFormLayout* Form = nullptr;
};

// The fields of the dialog a group names: the running command's when it is that group's, else
// the first command's of the group, else the run-time settings of the group (a file type's
// options). Fields whose setting is not in the table are left out.
std::vector<DialogRow> DialogRowsOf(const std::string& group, const Command* running,
                                    const Workspace& ws);
// The buttons of that dialog: the command's, else those of the file type's dialog of the group.
std::vector<DialogButton> DialogButtonsOf(const std::string& group, const Command* running);

} // namespace korvel
