#pragma once
// The edits of a dialog bound to the fields of the record copy it edits: each is filled when it
// is made, and Store writes them all back once every typed number is one.

#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QWidget;

namespace korvel {

class BoundFields {
public:
    // label names the field in a refusal ("Sea Level:"); the edit's object name is name.
    QLineEdit* Number(const QString& label, double& value, const char* name, QWidget* parent);
    QLineEdit* Whole(const QString& label, int32_t& value, const char* name, QWidget* parent);
    QCheckBox* Check(const QString& text, int32_t& value, const char* name, QWidget* parent);
    QCheckBox* Check(const QString& text, bool& value, const char* name, QWidget* parent);

    // Writes every bound field back; when a typed value is not a number nothing is written, the
    // refusal naming the field and the text is shown over dialog (titled as it) and false is
    // returned.
    bool Store(QWidget* dialog);

private:
    struct Binding {
        QString Label;
        QLineEdit* Edit = nullptr;
        // Parses the edit's text into the field; false when it is not a number.
        std::function<bool(bool write)> Take;
    };
    std::vector<Binding> Bindings;
};

// A push button that Enter in an edit does not press; name is its object name.
QPushButton* ActionButton(const QString& text, const char* name, QWidget* parent);

// A number as the dialogs show it: up to ten significant digits, a full stop.
QString NumberText(double value);

} // namespace korvel
