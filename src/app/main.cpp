// korvel: the editor. Start-up loads the settings, sizes the first Surface, offers the work an
// earlier editor left unsaved when it crashed, and shows the main window; a file named on the
// command line is opened then; exit writes the settings back and removes the autosave.
//
// For the tests that run the editor as a child process: KORVEL_RECOVER ("yes" or "no") answers
// the recovery question, and KORVEL_TEST_STEPS runs commands by their korvel-cli names,
// separated by commas, once after start-up ("exit" closes the window as File > Exit does).

#include "app/autosaver.h"
#include "app/main_window.h"
#include "app/qt_host.h"
#include "app/qt_settings_store.h"
#include "app/texture_view.h"
#include "commands/command.h"
#include "core/workspace.h"

#include <QApplication>
#include <QLocale>
#include <QMessageBox>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTimer>

#include <clocale>
#include <cstdio>

namespace {

// True when the person (or KORVEL_RECOVER) wanted the autosave back and it was read.
bool OfferRecovery(korvel::Autosaver& autosave, QWidget* parent) {
    const QString question = "Recover unsaved work from " +
                             QLocale::system().toString(autosave.Pending(), QLocale::ShortFormat) +
                             "?";
    const QString answer = qEnvironmentVariable("KORVEL_RECOVER");
    const bool yes = answer.isEmpty()
                         ? QMessageBox::question(parent, "Korvel", question) == QMessageBox::Yes
                         : answer == "yes";
    if (!yes)
        return false;
    if (const QString failure = autosave.Recover(); !failure.isEmpty()) {
        QMessageBox::warning(parent, "Korvel", failure);
        return false;
    }
    autosave.NoteEdit();
    return true;
}

void RunTestSteps(korvel::MainWindow& window) {
    for (const QString& step :
         qEnvironmentVariable("KORVEL_TEST_STEPS").split(',', Qt::SkipEmptyParts)) {
        if (step == "exit") {
            window.close();
            return;
        }
        if (const korvel::Command* c = korvel::FindCommandByName(step.toStdString()))
            window.RunById(c->Id);
        else
            std::fprintf(stderr, "korvel: KORVEL_TEST_STEPS: no command is named %s\n",
                         step.toLocal8Bit().constData());
    }
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Qt takes the user's locale; the settings and every file writer format numbers with a
    // decimal point.
    std::setlocale(LC_NUMERIC, "C");
    QCoreApplication::setOrganizationName("Dravik Software");
    QCoreApplication::setApplicationName("Korvel");
    const QStringList args = QCoreApplication::arguments();
    const QString fileToOpen = args.size() > 1 ? args.at(1) : QString();

    korvel::QtHost host;
    korvel::Workspace ws(host);
    korvel::AddDialogSettings(ws);
    korvel::QtSettingsStore store;
    host.SetCancelFlag(&ws.TheProgress.CancelFlag);
    std::vector<korvel::SettingLoadFailure> unread;
    if (const int32_t code = ws.Start(store, &unread); code != 0) {
        QMessageBox::critical(nullptr, "Korvel",
                              QString("No Surface could be allocated (code %1)").arg(code));
        return 1;
    }

    korvel::MainWindow window(ws, host, &store);
    window.resize(1280, 800);
    const QString autosaveFolder =
        QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    korvel::Autosaver autosave(ws, autosaveFolder,
                               korvel::AutosaveInterval(ws.General.AutosaveMinutes));
    bool recovered = false;
    if (!autosave.Claim())
        std::fprintf(stderr,
                     "korvel: %s is in use by another Korvel (or cannot be made): this one does "
                     "not autosave\n",
                     autosaveFolder.toLocal8Bit().constData());
    else if (autosave.Pending().isValid())
        recovered = OfferRecovery(autosave, nullptr);
    window.SetAutosaver(&autosave);
    window.show();
    for (const korvel::SettingLoadFailure& f : unread)
        std::fprintf(stderr, "korvel: setting %s: \"%s\" is not a value it takes; kept %s\n",
                     f.Name.c_str(), f.Text.c_str(), "its default");
    // Opening the file would put the recovered work out of sight, unsaved.
    const bool open = !fileToOpen.isEmpty() && !recovered;
    if (recovered)
        window.statusBar()->showMessage(
            fileToOpen.isEmpty()
                ? QString("The unsaved work is back; save it to keep it")
                : "The unsaved work is back; " + fileToOpen + " was not opened over it");
    // The steps after the open: its progress window lets waiting events run in the middle of it.
    QTimer::singleShot(0, &window, [&window, open, fileToOpen] {
        if (open)
            window.OpenFile(fileToOpen);
        else
            window.View()->Refresh();
        RunTestSteps(window);
    });

    const int status = QApplication::exec();
    autosave.Discard();
    if (!ws.Finish(store)) {
        std::fprintf(stderr, "korvel: the settings could not be written to %s: %s\n",
                     store.FileName().toLocal8Bit().constData(),
                     store.FailureReason().toLocal8Bit().constData());
        return status == 0 ? 1 : status;
    }
    return status;
}
