#include "app/bound_fields.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace korvel {

QPushButton* ActionButton(const QString& text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

QString NumberText(double value) {
    return QString::number(value, 'g', 10);
}

QLineEdit* BoundFields::Number(const QString& label, double& value, const char* name,
                               QWidget* parent) {
    auto* edit = new QLineEdit(NumberText(value), parent);
    edit->setObjectName(name);
    Bindings.push_back({label, edit, [edit, &value](bool write) {
                            bool number = false;
                            const double typed = edit->text().trimmed().toDouble(&number);
                            if (number && write)
                                value = typed;
                            return number;
                        }});
    return edit;
}

QLineEdit* BoundFields::Whole(const QString& label, int32_t& value, const char* name,
                              QWidget* parent) {
    auto* edit = new QLineEdit(QString::number(value), parent);
    edit->setObjectName(name);
    Bindings.push_back({label, edit, [edit, &value](bool write) {
                            bool number = false;
                            const int typed = edit->text().trimmed().toInt(&number);
                            if (number && write)
                                value = typed;
                            return number;
                        }});
    return edit;
}

QCheckBox* BoundFields::Check(const QString& text, int32_t& value, const char* name,
                              QWidget* parent) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(name);
    box->setChecked(value != 0);
    Bindings.push_back({text, nullptr, [box, &value](bool write) {
                            if (write)
                                value = box->isChecked() ? 1 : 0;
                            return true;
                        }});
    return box;
}

QCheckBox* BoundFields::Check(const QString& text, bool& value, const char* name, QWidget* parent) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(name);
    box->setChecked(value);
    Bindings.push_back({text, nullptr, [box, &value](bool write) {
                            if (write)
                                value = box->isChecked();
                            return true;
                        }});
    return box;
}

bool BoundFields::Store(QWidget* dialog) {
    for (const Binding& b : Bindings) {
        if (b.Take(false))
            continue;
        QString label = b.Label;
        label.remove('&');
        if (label.endsWith(':'))
            label.chop(1);
        QMessageBox::warning(dialog, dialog->windowTitle(),
                             QString("%1: \"%2\" is not a number").arg(label, b.Edit->text()));
        b.Edit->setFocus();
        b.Edit->selectAll();
        return false;
    }
    for (const Binding& b : Bindings)
        b.Take(true);
    return true;
}

} // namespace korvel
