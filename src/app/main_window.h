#pragma once
// The main window: the menus and the two tool bars built from the command table, the view and
// the status bar. Every item runs its command through the command runner; the view's own
// commands (zoom, tools, open and save, the altitude key) are carried out here.

#include "app/lock_keys.h"
#include "app/session_recorder.h"
#include "commands/external_list.h"

#include <QMainWindow>

#include <cstdint>
#include <map>

class QAction;
class QLabel;
class QMenu;
class QToolBar;

namespace korvel {

class AltitudeKeyWindow;
class Autosaver;
struct Command;
class QtHost;
class QtSettingsStore;
class TextureView;
class Workspace;

class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    // store: where the settings are written after the Options dialog; may be nullptr.
    MainWindow(Workspace& ws, QtHost& host, QtSettingsStore* store);

    // Runs the command of id as its menu item or button does.
    void RunById(int32_t id);
    // Reads a file as "&Open..." does, as type (-1: from its extension); false (after saying
    // why) when it could not be read.
    bool OpenFile(const QString& path, int32_t type = -1);
    // Writes the Surface (or picture) as "Save &As..." does; false (after saying why) when it
    // could not be written.
    bool SaveFile(const QString& path, int32_t type = -1);
    // Told of every edit, open and save from now on; its failures show in the status bar.
    void SetAutosaver(Autosaver* autosaver);
    // What the person did since start-up, as korvel-cli steps.
    const SessionRecorder& Session() const { return Recorder; }
    // Enabling, check marks and the Undo/Redo texts as the menus show them now.
    void UpdateActions();

    QAction* ActionFor(int32_t id) const;
    TextureView* View() const { return TheView; }
    QToolBar* PaintingToolBar() const { return PaintingTools; }
    QString PositionText() const;
    // The "CAP" and "NUM" panes as shown.
    QString LockPanesText() const;
    const ExternalList& ExternalPrograms() const { return Externals; }
    // "&Edit List..." and then one item per external program.
    QMenu* ExternalProgramsMenu() const { return ExternalMenu; }

protected:
    // Sees the keys typed into the view, which scrolls with the keypad's movement keys.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildCommands();
    QMenu* MenuAt(const QString& path);
    // The commands the window carries out itself; false for the others.
    bool RunOwnCommand(const Command& command);
    bool OwnsCommand(int32_t id) const;
    void OpenWithDialog();
    void SaveWithDialog();
    void AskZoomRatio();
    // Opens the altitude key window, or closes it when it is open.
    void ToggleAltitudeKey();
    void RepaintAltitudeKey();
    // The rectangle, lasso and magic wand: chosen again, none; the wand asks for its tolerance.
    void ChooseSelectionTool(int32_t id);
    void AfterCommand();
    void ShowPosition(const struct SurfacePoint& p);
    void NoteKey(const QKeyEvent& event);
    void UpdateRecentFiles(QMenu* fileMenu);
    void SaveSessionScript();
    void EditExternalPrograms();
    void RefillExternalMenu();
    void RunExternal(size_t index);
    void ReportSettingsFailure();
    // A file opened or saved: the title names it and the session records the step.
    void Record(const char* step, const QString& path, int32_t type);

    Workspace& Ws;
    QtHost& Host;
    QtSettingsStore* Store;
    TextureView* TheView;
    QToolBar* MainTools;
    QToolBar* PaintingTools;
    QLabel* Position;
    QLabel* CapsPane;
    QLabel* NumPane;
    AltitudeKeyWindow* Key = nullptr;
    LockKeyState Locks;
    std::map<int32_t, QAction*> Actions;
    std::map<QString, QMenu*> Menus;
    std::vector<QAction*> RecentActions;
    ExternalList Externals;
    QMenu* ExternalMenu = nullptr;
    Autosaver* Autosave = nullptr;
    std::vector<QAction*> ExternalActions;
    SessionRecorder Recorder;
    bool Busy = false;
};

} // namespace korvel
