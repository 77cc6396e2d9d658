#include "app/lock_keys.h"

namespace korvel {

namespace {

bool IsKeypadMovement(int key) {
    switch (key) {
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Insert:
    case Qt::Key_Delete:
    case Qt::Key_Clear:
        return true;
    default:
        return false;
    }
}

} // namespace

void NoteLockKeys(LockKeyState& state, int key, const QString& text,
                  Qt::KeyboardModifiers modifiers) {
    const bool shift = modifiers & Qt::ShiftModifier;
    if (text.size() == 1) {
        const QChar c = text.at(0);
        // Only letters with two cases say anything; Ctrl+letter gives a control character.
        if (c.isLetter() && c.toUpper() != c.toLower())
            state.Caps = c.isUpper() != shift;
    }
    if (modifiers & Qt::KeypadModifier) {
        if (key >= Qt::Key_0 && key <= Qt::Key_9)
            state.Num = !shift;
        else if (IsKeypadMovement(key))
            state.Num = shift;
    }
}

QString LockPaneText(const std::optional<bool>& on, const QString& name) {
    return on.value_or(false) ? name : QString();
}

} // namespace korvel
