#pragma once
// Answers the next modal window of a kind once the event loop runs: a dialog opened by a
// command, or a message box a dialog shows.

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <functional>

namespace korvel::test {

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
