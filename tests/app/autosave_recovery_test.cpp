#include "app/app_tests.h"
#include "core/headless_host.h"
#include "core/workspace.h"
#include "formats/mdr.h"
#include "shading/lighting_definition_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstring>

namespace {

constexpr int32_t Width = 64;
constexpr int32_t Height = 32;
// Not what a settings file of the child's own would hold: only the autosave can bring it back.
constexpr double StoredGamma = 0.123456789012345;

// The sample written at (x, y): every one different, none a whole number.
float Written(int32_t x, int32_t y) {
    return static_cast<float>(x + Width * y) + 0.25f;
}

// The editors started by one test, each with the same private home and data folders.
struct ChildEditor {
    explicit ChildEditor(const QString& root) : Root(root) {
        Env = QProcessEnvironment::systemEnvironment();
        Env.insert("HOME", root);
        Env.insert("XDG_DATA_HOME", root + "/data");
        Env.insert("XDG_CONFIG_HOME", root + "/config");
        Env.insert("QT_QPA_PLATFORM", "offscreen");
        Env.insert("KORVEL_AUTOSAVE_SECONDS", "1");
        Env.remove("KORVEL_RECOVER");
        Env.remove("KORVEL_TEST_STEPS");
    }

    bool Start(const QStringList& args, const QString& recover, const QString& steps) {
        QProcessEnvironment env = Env;
        if (!recover.isEmpty())
            env.insert("KORVEL_RECOVER", recover);
        if (!steps.isEmpty())
            env.insert("KORVEL_TEST_STEPS", steps);
        Process.setProcessEnvironment(env);
        Process.setProgram(KORVEL_EDITOR_PATH);
        Process.setArguments(args);
        Process.start();
        return Process.waitForStarted(10000);
    }

    void Kill() {
        ::kill(static_cast<pid_t>(Process.processId()), SIGKILL);
        Process.waitForFinished(10000);
    }

    QString Folder() const { return Root + "/data/Dravik Software/Korvel"; }
    QString Mdr() const { return Folder() + "/autosave.mdr"; }
    QString Lgt() const { return Folder() + "/autosave.lgt"; }

    // Waits until the Surface file exists with a modification time after since.
    bool WaitForAutosave(const QDateTime& since) {
        for (int i = 0; i < 300; ++i) {
            const QFileInfo file(Mdr());
            if (file.exists() && (!since.isValid() || file.lastModified() > since))
                return true;
            QTest::qWait(100);
        }
        return false;
    }

    QString Root;
    QProcessEnvironment Env;
    QProcess Process;
};

// Reads the autosave as the next editor would, into a workspace of the test's own.
struct Reread {
    explicit Reread(const ChildEditor& child) {
        std::string reason;
        Code = korvel::ReadMdrFile(child.Mdr().toStdString(), Ws, &reason);
        std::string message;
        LightCode = korvel::ReadLightingDefinitionFile(child.Lgt().toStdString(), Ws, message);
    }
    korvel::HeadlessHost Host{nullptr};
    korvel::Workspace Ws{Host};
    int32_t Code = -1;
    int32_t LightCode = -1;
};

// The Surface flipped vertically: row y holds what row Height - 1 - y was written with.
bool IsFlippedPattern(const korvel::Surface& s) {
    if (s.XSize != Width || s.YSize != Height)
        return false;
    for (int32_t y = 0; y < Height; ++y)
        for (int32_t x = 0; x < Width; ++x) {
            const float want = Written(x, Height - 1 - y);
            if (std::memcmp(&s.Rows[y][x], &want, sizeof want) != 0)
                return false;
        }
    return true;
}

} // namespace

class AutosaveRecoveryTest : public QObject {
    Q_OBJECT

private slots:
    void crashedWorkComesBackAndACleanExitRemovesIt() {
        QTemporaryDir root;
        const QString input = root.filePath("input.mdr");
        {
            korvel::HeadlessHost host(nullptr);
            korvel::Workspace ws(host);
            korvel::Surface& s = ws.TheSurface;
            QCOMPARE(s.Resize(Width, Height, 0), 0);
            for (int32_t y = 0; y < Height; ++y)
                for (int32_t x = 0; x < Width; ++x)
                    s.Rows[y][x] = Written(x, y);
            s.SetEdges(10.5, 26.5, 4.75, -3.25);
            s.Min = Written(0, 0);
            s.Max = Written(Width - 1, Height - 1);
            QCOMPARE(korvel::WriteMdrFile(input.toStdString(), ws), 0);
        }
        // The first editor's lighting comes from its settings file.
        QVERIFY(QDir().mkpath(root.filePath("config/Dravik Software")));
        const QString ini = root.filePath("config/Dravik Software/Korvel.ini");
        QFile settings(ini);
        QVERIFY(settings.open(QIODevice::WriteOnly));
        settings.write("[Data]\nLight\\Gamma=0.123456789012345\n");
        settings.close();

        ChildEditor child(root.path());
        QVERIFY(child.Start({input}, "", "flip-vertical"));
        QVERIFY2(child.WaitForAutosave({}), "no autosave after the flip");
        child.Kill();
        QVERIFY(QFile::exists(child.Mdr()));
        const QDateTime first = QFileInfo(child.Mdr()).lastModified();
        QVERIFY(QFile::remove(ini));

        // The next editor brings it back; written again from its own memory, the bytes are the
        // flipped ones, with the map record and the lighting of the first.
        QVERIFY(child.Start({}, "yes", ""));
        QVERIFY2(child.WaitForAutosave(first), "the recovered work was not autosaved again");
        child.Kill();
        {
            Reread again(child);
            QCOMPARE(again.Code, 0);
            QCOMPARE(again.LightCode, 0);
            const korvel::Surface& s = again.Ws.TheSurface;
            QVERIFY(IsFlippedPattern(s));
            QCOMPARE(std::tuple(s.Left, s.Right, s.Top, s.Bottom),
                     std::tuple(10.5, 26.5, 4.75, -3.25));
            QCOMPARE(s.Lighting.Gamma, StoredGamma);
        }

        // Answering No and leaving through File > Exit removes the files.
        QVERIFY(child.Start({}, "no", "exit"));
        QVERIFY(child.Process.waitForFinished(20000));
        QCOMPARE(child.Process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.Process.exitCode(), 0);
        QVERIFY(!QFile::exists(child.Mdr()));
        QVERIFY(!QFile::exists(child.Lgt()));
    }
};

int RunAutosaveRecoveryTests(int argc, char** argv) {
    AutosaveRecoveryTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "autosave_recovery_test.moc"
