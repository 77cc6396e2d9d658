#pragma once
// A started editor on the offscreen platform: the workspace of a first run (a 384 x 192 zero
// Surface) and its main window, with dialogs answered by a script.

#include "app/main_window.h"
#include "app/parameter_dialog.h"
#include "app/progress_window.h"
#include "app/qt_host.h"
#include "commands/command.h"
#include "core/settings_store.h"
#include "core/workspace.h"

#include <QAction>
#include <QApplication>
#include <QTimer>

#include <functional>
#include <memory>

namespace korvel::test {

struct EditorFixture {
    EditorFixture() {
        AddDialogSettings(Ws);
        Ws.Start(Store);
        Window = std::make_unique<MainWindow>(Ws, Host, nullptr);
        Window->resize(800, 600);
    }

    // Answers the next parameter dialog: fill sets its values, then OK (ok) or Cancel.
    // Answered tells whether a dialog came.
    void AnswerNextDialog(std::function<void(ParameterDialog&)> fill, bool ok) {
        QTimer::singleShot(0, [this, fill, ok] {
            auto* dialog = qobject_cast<ParameterDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            Answered = true;
            if (fill)
                fill(*dialog);
            if (ok)
                dialog->accept();
            else
                dialog->reject();
        });
    }

    // As a click on the item does.
    void Trigger(int32_t id) { Window->ActionFor(id)->trigger(); }

    QtHost Host;
    Workspace Ws{Host};
    MemorySettingsStore Store;
    std::unique_ptr<MainWindow> Window;
    bool Answered = false;
};

} // namespace korvel::test
