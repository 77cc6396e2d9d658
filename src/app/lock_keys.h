#pragma once
// The status bar's "CAP" and "NUM" panes. Qt reports no lock state, so the keys typed tell it: a
// letter's case against Shift shows Caps Lock, a keypad key giving a digit or a movement (against
// Shift, which inverts the keypad) shows Num Lock.

#include <QString>
#include <Qt>

#include <optional>

namespace korvel {

struct LockKeyState {
    // Unknown until a key has shown it.
    std::optional<bool> Caps;
    std::optional<bool> Num;
};

// Learns what one key press shows; a key that shows nothing leaves the state as it was.
void NoteLockKeys(LockKeyState& state, int key, const QString& text,
                  Qt::KeyboardModifiers modifiers);

// A pane's text: its name while the lock is on, nothing while it is off or unknown.
QString LockPaneText(const std::optional<bool>& on, const QString& name);

} // namespace korvel
