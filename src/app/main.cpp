// korvel: the editor. Start-up loads the settings, sizes the first Surface and shows the main
// window; a file named on the command line is opened then; exit writes the settings back.

#include "app/main_window.h"
#include "app/qt_host.h"
#include "app/qt_settings_store.h"
#include "app/texture_view.h"
#include "commands/command.h"
#include "core/workspace.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <clocale>
#include <cstdio>

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
    window.show();
    for (const korvel::SettingLoadFailure& f : unread)
        std::fprintf(stderr, "korvel: setting %s: \"%s\" is not a value it takes; kept %s\n",
                     f.Name.c_str(), f.Text.c_str(), "its default");
    if (!fileToOpen.isEmpty())
        QTimer::singleShot(0, &window, [&window, fileToOpen] { window.OpenFile(fileToOpen); });
    else
        QTimer::singleShot(0, window.View(), &korvel::TextureView::Refresh);

    const int status = QApplication::exec();
    if (!ws.Finish(store)) {
        std::fprintf(stderr, "korvel: the settings could not be written to %s: %s\n",
                     store.FileName().toLocal8Bit().constData(),
                     store.FailureReason().toLocal8Bit().constData());
        return status == 0 ? 1 : status;
    }
    return status;
}
