#pragma once
// Autosave and crash recovery. Some minutes after the first unsaved edit the Surface and its
// lighting are copied (on this thread, between two edits) and written on a worker thread to the
// user's application data folder. A clean exit, an open or a save removes the files; an editor
// that crashed leaves them for the next start to offer. A lock file keeps a second editor from
// taking (or offering) the files of one still running.

#include "commands/autosave_snapshot.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>

class QLockFile;

namespace korvel {

class Workspace;

// The milliseconds between autosaves for the "AutosaveMinutes" setting (0: none). The
// environment variable KORVEL_AUTOSAVE_SECONDS, when set, stands for it: the tests' short
// interval.
int AutosaveInterval(int32_t minutes);

class Autosaver : public QObject {
    Q_OBJECT

public:
    // folder: where the files live (made when needed); intervalMs: unsaved work before a save,
    // 0 for none.
    Autosaver(Workspace& ws, QString folder, int intervalMs, QObject* parent = nullptr);
    // Waits for a write in progress; the files stay.
    ~Autosaver() override;

    // Takes the folder for this editor. False when another running editor holds it: this one
    // then neither saves nor recovers.
    bool Claim();
    // When the autosave left by a crashed editor was written; invalid when there is none.
    QDateTime Pending() const { return PendingTime; }
    // Reads the pending autosave into the workspace; empty, or why it could not be read.
    QString Recover();

    void SetInterval(int intervalMs);
    // The Surface or its lighting changed.
    void NoteEdit();
    // The work is now in a file the person chose (opened or saved): the autosave goes.
    void NoteSaved();
    // The clean exit: waits for a write in progress and removes the files.
    void Discard();

    QString SurfacePath() const;
    QString LightingPath() const;
    // What the last autosave cost: the copy on this thread, the write on the worker.
    double LastCopyMilliseconds() const { return CopyMs; }
    double LastWriteMilliseconds() const { return WriteMs.load(); }

signals:
    // After each autosave; failure is empty when it was written.
    void Saved(const QString& failure);

private:
    void SaveNow();
    void WriteFinished(const QString& failure);
    void WaitForWriter();
    void RemoveFiles();

    Workspace& Ws;
    QString Folder;
    int Interval;
    QTimer Timer;
    std::unique_ptr<QLockFile> Lock;
    AutosaveSnapshot Snapshot;
    std::thread Writer;
    bool Writing = false;
    bool Dirty = false;
    bool Claimed = false;
    QDateTime PendingTime;
    double CopyMs = 0.0;
    std::atomic<double> WriteMs{0.0};
};

} // namespace korvel
