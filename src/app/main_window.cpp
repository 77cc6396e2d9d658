#include "app/main_window.h"

#include "app/about_dialog.h"
#include "app/altitude_key_window.h"
#include "app/autosaver.h"
#include "app/brush_wizard.h"
#include "app/external_programs.h"
#include "app/external_programs_dialog.h"
#include "app/kernel_dialog.h"
#include "app/map_projection_dialog.h"
#include "app/parameter_dialog.h"
#include "app/qt_host.h"
#include "app/qt_settings_store.h"
#include "app/texture_view.h"
#include "app/view_painting.h"
#include "commands/command.h"
#include "commands/command_runner.h"
#include "commands/file_dispatch.h"
#include "commands/selection_commands.h"
#include "core/settings_store.h"
#include "core/workspace.h"
#include "edit/selection_operations.h"
#include "formats/file_type_table.h"

#include <QAction>
#include <QApplication>
#include <QColorDialog>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QSaveFile>
#include <QStatusBar>
#include <QToolBar>

namespace korvel {

namespace {

constexpr const char* MainToolbarPath = "Main toolbar";
constexpr const char* PaintingToolbarPath = "Painting Tools toolbar";

bool IsTool(int32_t id) {
    switch (id) {
    case CmdToolPan:
    case CmdToolZoom:
    case CmdToolSelectVectors:
    case CmdToolLassoSelection:
    case CmdToolRectangularSelection:
    case CmdToolMagicWand:
        return true;
    default:
        return ViewPainting::IsPaintCommand(id);
    }
}

// The shortcut a menu text names after its tab; Redo's is Ctrl+Y (the item's own text says
// Ctrl+Z, which is Undo's).
QKeySequence ShortcutOf(const Command& c) {
    if (c.Id == CmdRedo)
        return QKeySequence("Ctrl+Y");
    const size_t tab = c.MenuText.find('\t');
    if (tab == std::string::npos)
        return {};
    return QKeySequence(QString::fromStdString(c.MenuText.substr(tab + 1)));
}

// Qt's filter list of the file types with all of flags and the capability.
QStringList FilterList(uint32_t flags, bool forReading, std::vector<int32_t>& types) {
    QStringList filters;
    for (const FileTypeEntry& row : FileTypeRows()) {
        if ((row.Flags & flags) != flags || !(forReading ? row.CanRead() : row.CanWrite()))
            continue;
        filters << QString("%1 (*.%2)").arg(row.Name, row.Extension);
        types.push_back(row.Type);
    }
    filters << "All Files (*)";
    types.push_back(-1);
    return filters;
}

// The name with & before its first letter that no item beside it uses yet ("Se&lect" beside
// "&Surface"), so that each menu opens with its own Alt key.
QString WithMnemonic(const QString& name, const QList<QAction*>& siblings) {
    QString used;
    for (const QAction* a : siblings) {
        const QString t = a->text();
        const qsizetype amp = t.indexOf('&');
        if (amp >= 0 && amp + 1 < t.size())
            used += t.at(amp + 1).toLower();
    }
    for (qsizetype i = 0; i < name.size(); ++i)
        if (name.at(i).isLetter() && !used.contains(name.at(i).toLower()))
            return name.left(i) + "&" + name.mid(i);
    return name;
}

} // namespace

MainWindow::MainWindow(Workspace& ws, QtHost& host, QtSettingsStore* store)
    : Ws(ws), Host(host), Store(store), TheView(new TextureView(ws, this)),
      MainTools(new QToolBar("Main toolbar", this)),
      PaintingTools(new QToolBar("Painting Tools", this)), Position(new QLabel(this)),
      CapsPane(new QLabel(this)), NumPane(new QLabel(this)) {
    setWindowTitle("Korvel");
    setAcceptDrops(true);
    setCentralWidget(TheView);
    MainTools->setObjectName("MainToolbar");
    PaintingTools->setObjectName("PaintingToolbar");
    addToolBar(Qt::TopToolBarArea, MainTools);
    addToolBar(Qt::LeftToolBarArea, PaintingTools);
    Position->setMinimumWidth(170);
    statusBar()->addPermanentWidget(Position);
    for (QLabel* pane : {CapsPane, NumPane}) {
        // As wide as its name, shown or not, so that the panes do not move.
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance("NUM") + 8);
        pane->setAlignment(Qt::AlignCenter);
        statusBar()->addPermanentWidget(pane);
    }
    TheView->installEventFilter(this);
    BuildCommands();
    if (Store)
        Externals.Load(*Store, ExternalListSection);
    ExternalMenu = MenuAt("Misc > External Programs");
    RefillExternalMenu();
    const bool recording = Recorder.Start(Ws);
    Host.SetRecorder(&Recorder);
    Host.SetMainWindow(this);
    Host.SetCancelFlag(&Ws.TheProgress.CancelFlag);
    Host.SetViewInvalidator([this] { TheView->viewport()->update(); });
    Host.SetAltitudeKeyPainter([this] { RepaintAltitudeKey(); });
    TheView->SetMouseObserver([this](const SurfacePoint& p) { ShowPosition(p); });
    TheView->SetStrokeObserver([this](std::vector<std::string> words) {
        Recorder.Add(std::move(words));
        if (Autosave)
            Autosave->NoteEdit();
        UpdateActions();
    });
    TheView->SetSelectionObserver([this] {
        Recorder.NoteUnrepeatable("selections drawn with the " +
                                  FindCommandById(TheView->Tool())->MenuText + " tool");
        UpdateActions();
    });
    UpdateActions();
    statusBar()->showMessage(recording ? "Ready"
                                       : "Ready; the session cannot be saved as a script: no "
                                         "temporary folder for its settings");
}

QMenu* MainWindow::MenuAt(const QString& path) {
    if (auto it = Menus.find(path); it != Menus.end())
        return it->second;
    const qsizetype cut = path.lastIndexOf(" > ");
    const QString name = cut < 0 ? path : path.mid(cut + 3);
    QWidget* parent = cut < 0 ? static_cast<QWidget*>(menuBar()) : MenuAt(path.left(cut));
    const QString text = WithMnemonic(name, parent->actions());
    QMenu* menu = cut < 0 ? menuBar()->addMenu(text) : static_cast<QMenu*>(parent)->addMenu(text);
    connect(menu, &QMenu::aboutToShow, this, &MainWindow::UpdateActions);
    Menus[path] = menu;
    return menu;
}

void MainWindow::BuildCommands() {
    for (const Command& c : CommandTable()) {
        const QString path = QString::fromStdString(c.MenuPath);
        auto* action = new QAction(QString::fromStdString(c.MenuText), this);
        action->setData(c.Id);
        action->setShortcut(ShortcutOf(c));
        action->setStatusTip(QString::fromStdString(c.StatusText));
        action->setCheckable(IsTool(c.Id) || c.Id == CmdPaintingTools || c.Id == CmdAltitudeKey);
        const int32_t id = c.Id;
        connect(action, &QAction::triggered, this, [this, id] { RunById(id); });
        if (path == MainToolbarPath)
            MainTools->addAction(action);
        else if (path == PaintingToolbarPath)
            PaintingTools->addAction(action);
        else
            MenuAt(path)->addAction(action);
        Actions[c.Id] = action;
    }
    QMenu* file = MenuAt("File");
    connect(file, &QMenu::aboutToShow, this, [this, file] { UpdateRecentFiles(file); });
    file->addSeparator();
    file->addAction("Save Session Script...", this, &MainWindow::SaveSessionScript)
        ->setStatusTip("Write what was done since start-up as a korvel-cli script");
    file->addSeparator();
    auto* exit = file->addAction("E&xit", this, &QMainWindow::close);
    exit->setShortcut(QKeySequence("Ctrl+Q"));
}

void MainWindow::UpdateRecentFiles(QMenu* fileMenu) {
    for (QAction* a : RecentActions)
        delete a;
    RecentActions.clear();
    QAction* exit = fileMenu->actions().last();
    int n = 0;
    for (const std::string& path : Ws.RecentFiles.Items()) {
        const QString name = QString::fromStdString(path);
        auto* a = new QAction(QString("&%1 %2").arg(++n).arg(name), fileMenu);
        connect(a, &QAction::triggered, this, [this, name] { OpenFile(name); });
        fileMenu->insertAction(exit, a);
        RecentActions.push_back(a);
    }
    if (!RecentActions.empty()) {
        RecentActions.push_back(fileMenu->insertSeparator(exit));
    }
}

QAction* MainWindow::ActionFor(int32_t id) const {
    const auto it = Actions.find(id);
    return it == Actions.end() ? nullptr : it->second;
}

bool MainWindow::OwnsCommand(int32_t id) const {
    switch (id) {
    case CmdOpen:
    case CmdSaveAs:
    case CmdPaintingTools:
    case CmdAltitudeKey:
    case CmdZoomFullSize:
    case CmdZoomIn:
    case CmdZoomOut:
    case CmdZoomArbitrary:
    case CmdAbout:
    case CmdBrushWizard:
    case CmdExternalPrograms:
    case CmdMapProjection:
    case CmdToolPan:
    case CmdToolZoom:
    case CmdToolRectangularSelection:
    case CmdToolLassoSelection:
    case CmdToolMagicWand:
        return true;
    default:
        return false;
    }
}

void MainWindow::UpdateActions() {
    for (const Command& c : CommandTable()) {
        QAction* action = Actions.at(c.Id);
        const bool own = OwnsCommand(c.Id);
        action->setEnabled(!Busy && (own || (c.Available() && IsCommandEnabled(c, Ws))));
        if (c.Id == CmdUndo || c.Id == CmdRedo) {
            const bool step = action->isEnabled();
            const QString idle = c.Id == CmdUndo ? "&Undo\tCtrl+Z" : "&Redo\tCtrl+Y";
            action->setText(step ? QString::fromStdString(CurrentMenuText(c, Ws)) : idle);
        }
        if (IsTool(c.Id))
            action->setChecked(TheView->Tool() == c.Id);
    }
    Actions.at(CmdPaintingTools)->setChecked(PaintingTools->isVisible());
    Actions.at(CmdAltitudeKey)->setChecked(Key && Key->isVisible());
}

void MainWindow::RunById(int32_t id) {
    const Command* command = FindCommandById(id);
    if (!command || Busy)
        return;
    Busy = true;
    statusBar()->clearMessage();
    if (!RunOwnCommand(*command)) {
        Host.SetRunningCommand(command);
        const RunResult result = RunCommand(*command, Ws);
        Host.SetRunningCommand(nullptr);
        // A command that may have changed the elevations or the lighting is unsaved work.
        if (Autosave && result.Status == RunStatus::Done &&
            (!command->SnapshotName.empty() || command->After == Refresh::Full ||
             command->After == Refresh::OnSuccess || command->After == Refresh::Texture))
            Autosave->NoteEdit();
        // "new" is the command line's own step, with the size and edges as words.
        if (result.Status == RunStatus::Done || result.Status == RunStatus::Failed) {
            if (command->Id == CmdNew)
                Recorder.AddNewSurface(Ws.TheSurface);
            else
                Recorder.Add({command->CliName});
        }
        // A cancelled dialog or operation is not reported.
        if (result.Status != RunStatus::Declined &&
            !(result.Status == RunStatus::Failed && result.Code == -1))
            statusBar()->showMessage(QString::fromStdString(DescribeRunResult(*command, result)));
        // The view takes the tool a paint command chose; the cursor shows the brush as it is now.
        if (ViewPainting::IsPaintCommand(command->Id) && result.Status == RunStatus::Done)
            TheView->FollowPaintTool(command->Id);
        TheView->UpdateCursor();
        if (command->Id == CmdOptions && result.Status == RunStatus::Done) {
            TheView->UpdateCursor();
            if (Store && !Ws.Finish(*Store))
                ReportSettingsFailure();
            if (Autosave)
                Autosave->SetInterval(AutosaveInterval(Ws.General.AutosaveMinutes));
        }
    }
    Busy = false;
    AfterCommand();
}

bool MainWindow::RunOwnCommand(const Command& command) {
    switch (command.Id) {
    case CmdOpen:
        OpenWithDialog();
        return true;
    case CmdSaveAs:
        SaveWithDialog();
        return true;
    case CmdPaintingTools:
        PaintingTools->setVisible(!PaintingTools->isVisible());
        return true;
    case CmdAltitudeKey:
        ToggleAltitudeKey();
        return true;
    case CmdZoomFullSize:
        TheView->SetZoom(1, 1);
        return true;
    case CmdZoomIn:
        TheView->SetZoom(2 * TheView->ZoomNumerator(), TheView->ZoomDenominator());
        return true;
    case CmdZoomOut:
        TheView->SetZoom(TheView->ZoomNumerator(), 2 * TheView->ZoomDenominator());
        return true;
    case CmdZoomArbitrary:
        AskZoomRatio();
        return true;
    case CmdBrushWizard:
        RunBrushWizard(this);
        return true;
    case CmdExternalPrograms:
        EditExternalPrograms();
        return true;
    case CmdMapProjection:
        RunMapProjectionDialog(Ws, this);
        return true;
    case CmdIcosahedralProjection:
        // With Shift held, the background of a 24-bit picture is chosen first; the command itself
        // runs as usual.
        if ((QApplication::keyboardModifiers() & Qt::ShiftModifier) &&
            Ws.TheSurface.Texture.AsIs().BitsPerPixel() == 24) {
            const PackedColor c = Ws.Icosahedral.Background;
            const QColor chosen = QColorDialog::getColor(QColor(static_cast<int>(c & 0xFF),
                                                                static_cast<int>((c >> 8) & 0xFF),
                                                                static_cast<int>((c >> 16) & 0xFF)),
                                                         this);
            if (chosen.isValid())
                Ws.Icosahedral.Background = PackColor(static_cast<uint8_t>(chosen.red()),
                                                      static_cast<uint8_t>(chosen.green()),
                                                      static_cast<uint8_t>(chosen.blue()));
        }
        return false;
    case CmdAbout: {
        AboutDialog about(this);
        about.exec();
        return true;
    }
    case CmdConvolve:
        // The kernel has no settings of its own: its dialog comes before the command runs, and
        // Cancel stops it there.
        if (!RunKernelDialog(Ws, this))
            return true;
        if (std::string text; ExactKernelFileText(Ws.GeneralKernel, text))
            Recorder.AddWithFile({"kernel-load", "kernel.krn"}, text);
        else
            Recorder.NoteUnrepeatable("kernels whose weights a .krn file cannot hold exactly");
        return false;
    case CmdToolPan:
    case CmdToolZoom:
        TheView->ChooseTool(command.Id);
        return true;
    case CmdToolRectangularSelection:
    case CmdToolLassoSelection:
    case CmdToolMagicWand:
        ChooseSelectionTool(command.Id);
        return true;
    default:
        return false;
    }
}

void MainWindow::ChooseSelectionTool(int32_t id) {
    if (TheView->Tool() == id) {
        TheView->ChooseTool(id);
        return;
    }
    if (id == CmdToolMagicWand) {
        const SettingDescriptor* tolerance = FindSetting(Ws.Settings, "Wand/Tolerance");
        ParameterDialog dialog(
            "Magic Wand Tolerance",
            {{DialogField("Wand/Tolerance", "Tolerance:", 0.0, 1e30), tolerance}}, this);
        if (dialog.exec() != QDialog::Accepted)
            return;
    }
    // A selection tool needs a mask to draw on: it switches the mask on as the Options do.
    if (!HasSelectionMask(Ws)) {
        if (SetSelectionEnabled(Ws.TheSurface, true) != 0) {
            QMessageBox::warning(this, "Korvel", "Can't create a selection mask of this size");
            return;
        }
        Ws.General.Selection = true;
    }
    TheView->ChooseTool(id);
}

void MainWindow::ToggleAltitudeKey() {
    if (Key && Key->isVisible()) {
        Key->close();
        return;
    }
    if (!Key)
        Key = new AltitudeKeyWindow(Ws, this);
    Key->show();
    Key->Repaint();
}

void MainWindow::RepaintAltitudeKey() {
    if (Key && Key->isVisible())
        Key->Repaint();
}

void MainWindow::AskZoomRatio() {
    bool ok = false;
    const QString current =
        QString("%1:%2").arg(TheView->ZoomNumerator()).arg(TheView->ZoomDenominator());
    const QString text = QInputDialog::getText(
        this, "Zoom Ratio", "Zoom ratio (in:out):", QLineEdit::Normal, current, &ok);
    if (!ok)
        return;
    const QStringList parts = text.split(':');
    bool okN = false;
    bool okD = parts.size() == 2;
    const int n = parts.value(0).trimmed().toInt(&okN);
    const int d = okD ? parts.value(1).trimmed().toInt(&okD) : 0;
    if (!okN || !okD) {
        QMessageBox::warning(this, "Zoom Ratio",
                             "\"" + text + "\" is not a ratio: write two whole numbers as 2:1");
        return;
    }
    TheView->SetZoom(n, d);
}

bool MainWindow::OpenFile(const QString& path, int32_t type) {
    std::string reason;
    const int32_t code = ReadFileByType(Ws, path.toStdString(), true, type, &reason);
    if (code != 0) {
        QMessageBox::warning(
            this, "Korvel",
            QString::fromStdString(OpenFailureMessage(code, path.toStdString(), type, reason)));
    } else {
        Record("open", path, type);
        if (Autosave)
            Autosave->NoteSaved();
    }
    AfterCommand();
    return code == 0;
}

void MainWindow::OpenWithDialog() {
    std::vector<int32_t> types;
    const QStringList filters = FilterList(0, true, types);
    QString chosen;
    const QString path =
        QFileDialog::getOpenFileName(this, "Open", QString(), filters.join(";;"), &chosen);
    if (!path.isEmpty())
        OpenFile(path, types[static_cast<size_t>(std::max<qsizetype>(0, filters.indexOf(chosen)))]);
}

void MainWindow::SaveWithDialog() {
    std::vector<int32_t> types;
    const QStringList filters = FilterList(0, false, types);
    QString chosen;
    const QString path = QFileDialog::getSaveFileName(
        this, "Save As", QString::fromStdString(Ws.CurrentFile), filters.join(";;"), &chosen);
    if (!path.isEmpty())
        SaveFile(path, types[static_cast<size_t>(std::max<qsizetype>(0, filters.indexOf(chosen)))]);
}

bool MainWindow::SaveFile(const QString& path, int32_t type) {
    std::string message;
    if (WriteFileByType(Ws, path.toStdString(), type, message) != 0) {
        QMessageBox::warning(this, "Korvel",
                             message.empty()
                                 ? "Cannot save \"" + path + "\": no file type has its extension"
                                 : QString::fromStdString(message));
        return false;
    }
    Record("save", path, type);
    if (Autosave)
        Autosave->NoteSaved();
    return true;
}

void MainWindow::Record(const char* step, const QString& path, int32_t type) {
    setWindowTitle(QFileInfo(path).fileName() + " - Korvel");
    // What the file cost or lost: rounding, a cut column, no-data samples.
    QStringList notes;
    for (const std::string& note : Ws.FileNotes)
        notes << QString::fromStdString(note);
    if (!notes.isEmpty())
        statusBar()->showMessage(notes.join("; "));
    if (type >= 0)
        Recorder.Add({"type", std::to_string(type)});
    Recorder.Add({step, QFileInfo(path).absoluteFilePath().toStdString()});
}

void MainWindow::SaveSessionScript() {
    const QString path = QFileDialog::getSaveFileName(this, "Save Session Script", "session.sh",
                                                      "Shell Scripts (*.sh);;All Files (*)");
    if (path.isEmpty())
        return;
    QSaveFile file(path);
    const QByteArray script = QByteArray::fromStdString(Recorder.Script());
    if (!file.open(QIODevice::WriteOnly) || file.write(script) != script.size() || !file.commit()) {
        QMessageBox::warning(this, "Korvel",
                             "Cannot write the session script \"" + path +
                                 "\": " + file.errorString());
        return;
    }
    QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner | QFile::ExeGroup |
                                    QFile::ExeOther);
}

void MainWindow::SetAutosaver(Autosaver* autosaver) {
    Autosave = autosaver;
    connect(Autosave, &Autosaver::Saved, this, [this](const QString& failure) {
        if (!failure.isEmpty())
            statusBar()->showMessage("The autosave failed: " + failure);
    });
}

void MainWindow::ReportSettingsFailure() {
    QMessageBox::warning(this, "Korvel",
                         QString("The settings could not be written to %1: %2.")
                             .arg(Store->FileName(), Store->FailureReason()));
}

void MainWindow::EditExternalPrograms() {
    ExternalProgramsDialog dialog(Externals, Store, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (Store && !Store->Flush())
        ReportSettingsFailure();
    RefillExternalMenu();
}

void MainWindow::RefillExternalMenu() {
    for (QAction* a : ExternalActions)
        delete a;
    ExternalActions.clear();
    if (Externals.Size() > 0)
        ExternalActions.push_back(ExternalMenu->addSeparator());
    for (size_t i = 0; i < Externals.Size(); ++i) {
        const ExternalEntry* e = Externals.At(i);
        const std::string& name = e->Description.empty() ? e->CommandLine : e->Description;
        // A literal & in a description is not a mnemonic.
        QAction* a = ExternalMenu->addAction(QString::fromStdString(name).replace("&", "&&"));
        a->setStatusTip(QString::fromStdString(e->CommandLine));
        connect(a, &QAction::triggered, this, [this, i] { RunExternal(i); });
        ExternalActions.push_back(a);
    }
}

void MainWindow::RunExternal(size_t index) {
    const ExternalEntry* entry = Externals.At(index);
    if (!entry)
        return;
    const QString failure = StartExternal(*entry);
    if (!failure.isEmpty())
        QMessageBox::warning(this, "Korvel", failure);
}

void MainWindow::AfterCommand() {
    TheView->Refresh();
    // The window's own commands (a file opened) pass no runner that repaints the key.
    RepaintAltitudeKey();
    UpdateActions();
}

void MainWindow::ShowPosition(const SurfacePoint& p) {
    const Surface& s = Ws.TheSurface;
    float elevation = 0.0f;
    if (p.X >= 0.0 && p.X < s.XSize && p.Y >= 0.0 && p.Y < s.YSize)
        elevation = static_cast<float>(s.SampleAt(p.X, p.Y, Ws.Interp));
    Position->setText(QString::fromStdString(
        PositionReadout(Ws.General.DispPosn, p, s.XSize, s.YSize, elevation)));
}

QString MainWindow::PositionText() const {
    return Position->text();
}

QString MainWindow::LockPanesText() const {
    return CapsPane->text() + "|" + NumPane->text();
}

void MainWindow::NoteKey(const QKeyEvent& event) {
    NoteLockKeys(Locks, event.key(), event.text(), event.modifiers());
    CapsPane->setText(LockPaneText(Locks.Caps, "CAP"));
    NumPane->setText(LockPaneText(Locks.Num, "NUM"));
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress)
        NoteKey(*static_cast<QKeyEvent*>(event));
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    NoteKey(*event);
    // Every character typed is kept; Escape's code asks a running operation to stop.
    if (!event->text().isEmpty())
        Ws.TheProgress.CancelFlag.store(event->text().at(0).unicode(), std::memory_order_relaxed);
    QMainWindow::keyPressEvent(event);
}

void MainWindow::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addAction("&Lighting...", this, [this] { RunById(CmdLighting); });
    menu.addAction("&Properties...", this, [this] { RunById(CmdMapInfo); });
    const QPoint at = event->reason() == QContextMenuEvent::Keyboard
                          ? centralWidget()->mapToGlobal(QPoint(5, 5))
                          : event->globalPos();
    menu.exec(at);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!urls.isEmpty() && urls.first().isLocalFile() && !Busy)
        OpenFile(urls.first().toLocalFile());
}

} // namespace korvel
