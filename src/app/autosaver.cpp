#include "app/autosaver.h"

#include "core/workspace.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <algorithm>
#include <utility>

namespace korvel {

namespace {
// A write still running when the next save is due is waited for this long.
constexpr int RetryMs = 1000;
} // namespace

int AutosaveInterval(int32_t minutes) {
    bool ok = false;
    const int seconds = qEnvironmentVariableIntValue("KORVEL_AUTOSAVE_SECONDS", &ok);
    if (ok)
        return seconds > 0 ? std::min(seconds, 24 * 60 * 60) * 1000 : 0;
    // A day at most: a larger count would overflow the timer's milliseconds.
    return minutes > 0 ? std::min(minutes, 24 * 60) * 60 * 1000 : 0;
}

Autosaver::Autosaver(Workspace& ws, QString folder, int intervalMs, QObject* parent)
    : QObject(parent), Ws(ws), Folder(std::move(folder)), Interval(intervalMs) {
    Timer.setSingleShot(true);
    connect(&Timer, &QTimer::timeout, this, &Autosaver::SaveNow);
}

Autosaver::~Autosaver() {
    WaitForWriter();
}

QString Autosaver::SurfacePath() const {
    return Folder + "/autosave.mdr";
}

QString Autosaver::LightingPath() const {
    return Folder + "/autosave.lgt";
}

bool Autosaver::Claim() {
    if (!QDir().mkpath(Folder))
        return false;
    Lock = std::make_unique<QLockFile>(Folder + "/autosave.lock");
    // Only a live process holds the lock: the lock of a crashed editor is taken over at once.
    Lock->setStaleLockTime(0);
    Claimed = Lock->tryLock(0);
    if (Claimed && QFileInfo::exists(SurfacePath()))
        PendingTime = QFileInfo(SurfacePath()).lastModified();
    return Claimed;
}

QString Autosaver::Recover() {
    std::string message;
    if (RestoreAutosave(Ws, SurfacePath().toStdString(), LightingPath().toStdString(), message) !=
        0)
        return QString::fromStdString(message);
    PendingTime = {};
    // Still unsaved: kept until saved, and written again after the next edits.
    return {};
}

void Autosaver::SetInterval(int intervalMs) {
    Interval = intervalMs;
    Timer.stop();
    if (Dirty && Claimed && Interval > 0)
        Timer.start(Interval);
}

void Autosaver::NoteEdit() {
    Dirty = true;
    if (Claimed && Interval > 0 && !Timer.isActive())
        Timer.start(Interval);
}

void Autosaver::NoteSaved() {
    Dirty = false;
    Timer.stop();
    if (!Claimed)
        return;
    WaitForWriter();
    RemoveFiles();
}

void Autosaver::Discard() {
    NoteSaved();
}

void Autosaver::SaveNow() {
    if (!Dirty || !Claimed)
        return;
    if (Writing) {
        Timer.start(RetryMs);
        return;
    }
    QElapsedTimer clock;
    clock.start();
    const std::string failure = Snapshot.Take(Ws.TheSurface);
    CopyMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    if (!failure.empty()) {
        Timer.start(Interval);
        emit Saved(QString::fromStdString(failure));
        return;
    }
    Dirty = false;
    Writing = true;
    if (Writer.joinable())
        Writer.join();
    Writer =
        std::thread([this, mdr = SurfacePath().toStdString(), lgt = LightingPath().toStdString()] {
            QElapsedTimer writeClock;
            writeClock.start();
            const QString result = QString::fromStdString(Snapshot.Write(mdr, lgt));
            WriteMs = static_cast<double>(writeClock.nsecsElapsed()) / 1e6;
            QMetaObject::invokeMethod(
                this, [this, result] { WriteFinished(result); }, Qt::QueuedConnection);
        });
}

void Autosaver::WriteFinished(const QString& failure) {
    // Already waited for by an open, a save or the exit, which have said what counts.
    if (!Writing)
        return;
    Writing = false;
    if (!failure.isEmpty())
        NoteEdit();
    emit Saved(failure);
}

void Autosaver::WaitForWriter() {
    if (Writer.joinable())
        Writer.join();
    Writing = false;
}

void Autosaver::RemoveFiles() {
    QFile::remove(SurfacePath());
    QFile::remove(LightingPath());
}

} // namespace korvel
