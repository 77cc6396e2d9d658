#include "app/app_tests.h"
#include "app/session_recorder.h"
#include "editor_fixture.h"

#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using korvel::test::EditorFixture;

namespace {

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class SessionScriptTest : public QObject {
    Q_OBJECT

private slots:
    void shellQuoting_data() {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("quoted");
        QTest::newRow("plain") << "offset"
                               << "'offset'";
        QTest::newRow("spaces and dollars") << "a b$c"
                                            << "'a b$c'";
        QTest::newRow("single quote") << "it's"
                                      << "'it'\\''s'";
    }
    void shellQuoting() {
        QFETCH(QString, word);
        QFETCH(QString, quoted);
        QCOMPARE(QString::fromStdString(korvel::ShellQuoted(word.toStdString())), quoted);
    }

    void sessionStartsFromTheSettingsOfTheRun() {
        EditorFixture f;
        f.Ws.TheSurface.Lighting.Az = 90.0;
        korvel::SessionRecorder recorder;
        QVERIFY(recorder.Start(f.Ws));
        QVERIFY(recorder.Steps().empty());
        const QString script = QString::fromStdString(recorder.Script());
        // The settings file korvel-cli starts from, in the script itself.
        QVERIFY(script.contains("<<'KORVEL_SETTINGS'\n"));
        QVERIFY(script.contains("[Data\\Light]\n"));
        QVERIFY(script.contains("\nAz=90.000000\n"));
        QVERIFY(script.contains("[Data\\Map]\n"));
        QVERIFY(script.contains("\nXSize=384\n"));
        QVERIFY(script.contains("\nYSize=192\n"));
        QVERIFY(script.endsWith("--settings \"$settings\"\n"));
    }

    void replayedSessionGivesTheSameFile() {
        QTemporaryDir dir;
        const QString saved = dir.filePath("session.mdr");
        EditorFixture f;
        f.AnswerNextDialog(
            [](korvel::ParameterDialog& d) { d.SetValueText("offset.Amount", "25"); }, true);
        f.Trigger(korvel::CmdOffset);
        f.AnswerNextDialog(
            [](korvel::ParameterDialog& d) { d.SetValueText("add-noise.Variance", "40"); }, true);
        f.Trigger(korvel::CmdAddNoise);
        f.Trigger(korvel::CmdFlipVertical);
        f.AnswerNextDialog(
            [](korvel::ParameterDialog& d) { d.SetValueText("offset.Amount", "-3"); }, true);
        f.Trigger(korvel::CmdOffset);
        f.Trigger(korvel::CmdUndo);
        f.AnswerNextDialog(nullptr, false); // a cancelled dialog records nothing
        f.Trigger(korvel::CmdOffset);
        f.AnswerNextDialog(nullptr, true); // the MDR options, as they are
        QVERIFY(f.Window->SaveFile(saved));
        const QByteArray edited = Contents(saved);
        QVERIFY(edited.size() > 384 * 192 * 4);
        QVERIFY(QFile::remove(saved));

        const QString script = dir.filePath("session.sh");
        QFile file(script);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::fromStdString(f.Window->Session().Script()));
        file.close();
        QProcess run;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("KORVEL_CLI", KORVEL_CLI_PATH);
        run.setProcessEnvironment(env);
        run.start("sh", {script});
        QVERIFY(run.waitForFinished(30000));
        QVERIFY2(run.exitCode() == 0, run.readAllStandardError().constData());
        qWarning("%s", f.Window->Session().Script().c_str());
        const QByteArray again = Contents(saved);
        for (qsizetype i = 0; i < again.size(); ++i)
            if (again[i] != edited[i]) {
                qWarning("first difference at %lld of %lld", i, again.size());
                break;
            }
        QCOMPARE(Contents(saved), edited);

        // The file the session wrote opens from the File menu's list.
        QVERIFY(f.Window->OpenFile(saved));
        QMenu* fileMenu = f.Window->menuBar()->actions().front()->menu();
        emit fileMenu->aboutToShow();
        QStringList items;
        for (QAction* a : fileMenu->actions())
            items << a->text();
        QVERIFY2(items.contains("&1 " + QFileInfo(saved).absoluteFilePath()),
                 qPrintable(items.join(" | ")));
    }
};

int RunSessionScriptTests(int argc, char** argv) {
    SessionScriptTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "session_script_test.moc"
