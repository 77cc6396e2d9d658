#include "app/external_programs.h"

#include "commands/command_line_words.h"
#include "commands/external_list.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace korvel {

namespace {

constexpr const char* OutOfResources = "The system is out of memory or resources.";
constexpr const char* FileNotFound = "The specified file was not found.";
constexpr const char* PathNotFound = "The specified path was not found.";
constexpr const char* NotAProgram =
    "The .EXE file is invalid (non-Win32 .EXE or error in .EXE image).";

QString CannotStart(const QString& program, const QString& reason) {
    return QString("Cannot start \"%1\": %2").arg(program, reason);
}

// The program's path, or the reason it cannot be one: checked before starting, because a
// detached start reports only that it failed.
QString Resolve(const QString& program, QString& reason) {
    if (!program.contains('/')) {
        const QString found = QStandardPaths::findExecutable(program);
        if (found.isEmpty())
            reason = FileNotFound;
        return found;
    }
    const QFileInfo file(program);
    if (!QFileInfo(file.absolutePath()).isDir())
        reason = PathNotFound;
    else if (!file.exists())
        reason = FileNotFound;
    else if (file.isDir() || !file.isExecutable())
        reason = NotAProgram;
    return reason.isEmpty() ? file.absoluteFilePath() : QString();
}

// What a refused start of a program that exists means; Qt passes on the system's text.
QString StartFailureReason(const QString& systemText) {
    const QString text = systemText.toLower();
    if (text.contains("exec format") || text.contains("permission denied"))
        return NotAProgram;
    if (text.contains("memory") || text.contains("resource") || text.contains("too many"))
        return OutOfResources;
    if (text.contains("no such file"))
        return FileNotFound;
    return systemText;
}

} // namespace

QString StartExternal(const ExternalEntry& entry) {
    const CommandLineWords line = SplitCommandLine(entry.CommandLine);
    const QString commandLine = QString::fromStdString(entry.CommandLine);
    if (!line.Failure.empty())
        return QString("Cannot start \"%1\": %2")
            .arg(commandLine, QString::fromStdString(line.Failure));
    if (line.Words.empty() || line.Words.front().empty())
        return QString("Cannot start the program of \"%1\": its command line names no program")
            .arg(QString::fromStdString(entry.Description));
    const QString program = QString::fromStdString(line.Words.front());
    QString reason;
    const QString path = Resolve(program, reason);
    if (path.isEmpty())
        return CannotStart(program, reason);
    QStringList arguments;
    for (size_t i = 1; i < line.Words.size(); ++i)
        arguments << QString::fromStdString(line.Words[i]);
    QProcess process;
    process.setProgram(path);
    process.setArguments(arguments);
    if (!process.startDetached())
        return CannotStart(program, StartFailureReason(process.errorString()));
    return {};
}

} // namespace korvel
