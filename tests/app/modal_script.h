#pragma once
// Answers the modal windows a test step opens. WhenModal answers the window the step is about to
// open, once its event loop starts, and rejects a window of another kind so that a wrong guess
// fails the test instead of hanging it; AnswerModal waits a while for its kind, for steps where
// a progress window may come first.

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

// Runs act on the next modal window that is a D, waiting for it up to tries x 10 ms (a
// progress window may stand in front of it first); answered says whether one came.
template <class D>
void AnswerModal(std::function<void(D&)> act, bool* answered = nullptr, int tries = 300) {
    QTimer::singleShot(tries == 300 ? 0 : 10, [act, answered, tries] {
        if (auto* d = qobject_cast<D*>(QApplication::activeModalWidget())) {
            if (answered)
                *answered = true;
            act(*d);
        } else if (tries > 0) {
            AnswerModal<D>(act, answered, tries - 1);
        }
    });
}

// Closes the next message box, keeping its text.
inline void DismissMessage(QString* text) {
    AnswerModal<QMessageBox>([text](QMessageBox& box) {
        *text = box.text();
        box.reject();
    });
}

} // namespace korvel::test
