#pragma once
// Answers the modal window a step is about to open: the answer runs once that window's event
// loop starts. A window of another kind is rejected, so that a wrong guess fails the test
// instead of hanging it.

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QMessageBox>
#include <QTimer>

#include <functional>

namespace korvel::test {

// answered (when given) tells afterwards whether a window of kind T came.
template <class T> void WhenModal(std::function<void(T&)> answer, bool* answered = nullptr) {
    if (answered)
        *answered = false;
    QTimer::singleShot(0, [answer, answered] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* window = qobject_cast<T*>(modal)) {
            if (answered)
                *answered = true;
            answer(*window);
        } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            dialog->reject();
        }
    });
}

// Picks colour in the colour chooser the step opens.
inline void ChooseColor(QColor colour, bool* answered = nullptr) {
    WhenModal<QColorDialog>(
        [colour](QColorDialog& d) {
            d.setCurrentColor(colour);
            d.accept();
        },
        answered);
}

// Presses button in the message box the step opens; text (when given) receives its text.
inline void AnswerMessage(QMessageBox::StandardButton button, QString* text = nullptr) {
    WhenModal<QMessageBox>([button, text](QMessageBox& box) {
        if (text)
            *text = box.text();
        if (QAbstractButton* b = box.button(button))
            b->click();
        else
            box.reject();
    });
}

} // namespace korvel::test
