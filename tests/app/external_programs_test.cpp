#include "app/app_tests.h"
#include "app/external_programs.h"
#include "app/external_programs_dialog.h"
#include "app/qt_settings_store.h"
#include "editor_fixture.h"

#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using korvel::ExternalEntry;
using korvel::ExternalEntryDialog;
using korvel::ExternalList;
using korvel::ExternalProgramsDialog;

namespace {

const QString FileNotFound = "The specified file was not found.";
const QString PathNotFound = "The specified path was not found.";
const QString NotAProgram = "The .EXE file is invalid (non-Win32 .EXE or error in .EXE image).";

void WriteFile(const QString& path, const QByteArray& bytes, bool executable) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    if (executable)
        file.setPermissions(file.permissions() | QFile::ExeOwner);
}

// Answers the next "External Entry" with the texts given, OK or Cancel.
void AnswerEntry(const QString& description, const QString& commandLine, bool ok) {
    QTimer::singleShot(0, [=] {
        auto* d = qobject_cast<ExternalEntryDialog*>(QApplication::activeModalWidget());
        QVERIFY(d);
        d->DescriptionField()->setText(description);
        d->CommandLineField()->setText(commandLine);
        ok ? d->accept() : d->reject();
    });
}

// Closes the next message box, keeping its text; empty when none came.
struct MessageCatcher {
    void Arm() {
        QTimer::singleShot(0, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                Text = box->text();
                box->accept();
            }
        });
    }
    QString Text;
};

QStringList Descriptions(const ExternalList& list) {
    QStringList out;
    for (size_t i = 0; i < list.Size(); ++i)
        out << QString::fromStdString(list.At(i)->Description);
    return out;
}

bool WaitForFile(const QString& path) {
    for (int i = 0; i < 100 && !QFile::exists(path); ++i)
        QTest::qWait(50);
    return QFile::exists(path);
}

} // namespace

class ExternalProgramsTest : public QObject {
    Q_OBJECT

private slots:
    void startFailuresNameTheProgramAndTheReason_data() {
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<QString>("message");
        const QString dir = Dir.path();
        WriteFile(dir + "/data.txt", "plain text\n", false);
        WriteFile(dir + "/garbage", QByteArray("\x7f\x45\x4c\x46\x01\x02garbage", 14), true);
        QTest::newRow("true starts") << "true --ignored 'two words'"
                                     << "";
        QTest::newRow("program not on PATH")
            << "korvel-no-such-program -x"
            << "Cannot start \"korvel-no-such-program\": " + FileNotFound;
        QTest::newRow("folder missing")
            << "/korvel-no-such-folder/prog"
            << "Cannot start \"/korvel-no-such-folder/prog\": " + PathNotFound;
        QTest::newRow("file missing in a folder that exists")
            << "'" + dir + "/absent'"
            << "Cannot start \"" + dir + "/absent\": " + FileNotFound;
        QTest::newRow("file without execute permission")
            << dir + "/data.txt"
            << "Cannot start \"" + dir + "/data.txt\": " + NotAProgram;
        QTest::newRow("a folder") << dir << "Cannot start \"" + dir + "\": " + NotAProgram;
        QTest::newRow("executable that is no program")
            << dir + "/garbage"
            << "Cannot start \"" + dir + "/garbage\": " + NotAProgram;
        QTest::newRow("quote left open")
            << "view 'a b"
            << "Cannot start \"view 'a b\": a ' quote opened at character 6 is "
               "not closed";
        QTest::newRow("nothing to start")
            << "  ''  "
            << "Cannot start the program of \"entry\": its command line names no "
               "program";
    }

    void startFailuresNameTheProgramAndTheReason() {
        QFETCH(QString, commandLine);
        QFETCH(QString, message);
        QCOMPARE(korvel::StartExternal({"entry", commandLine.toStdString()}), message);
    }

    void startedProgramGetsItsWordsAsArguments() {
        const QString target = Dir.path() + "/made by touch";
        const ExternalEntry entry{"touch", "touch '" + target.toStdString() + "'"};
        QCOMPARE(korvel::StartExternal(entry), QString());
        QVERIFY(WaitForFile(target));
    }

    void listDialogEditsACopyThatOkSaves() {
        ExternalList programs;
        programs.Append({"a", "true"});
        programs.Append({"c", "true"});
        korvel::MemorySettingsStore store;
        ExternalProgramsDialog dialog(programs, &store, nullptr);
        const struct {
            const char* Name;
            int Select;
            std::function<void(ExternalProgramsDialog&)> Act;
            QStringList After;
        } steps[] = {
            {"add appends",
             0,
             [](auto& d) {
                 AnswerEntry("d", "true", true);
                 d.AddEntry(false);
             },
             {"a", "c", "d"}},
            {"insert goes before the selected row",
             1,
             [](auto& d) {
                 AnswerEntry("b", "true", true);
                 d.AddEntry(true);
             },
             {"a", "b", "c", "d"}},
            {"a cancelled entry is discarded",
             1,
             [](auto& d) {
                 AnswerEntry("x", "x", false);
                 d.AddEntry(true);
             },
             {"a", "b", "c", "d"}},
            {"edit in place",
             3,
             [](auto& d) {
                 AnswerEntry("D", "false", true);
                 d.EditSelected();
             },
             {"a", "b", "c", "D"}},
            {"a cancelled edit changes nothing",
             3,
             [](auto& d) {
                 AnswerEntry("E", "e", false);
                 d.EditSelected();
             },
             {"a", "b", "c", "D"}},
            {"delete at once", 0, [](auto& d) { d.DeleteSelected(); }, {"b", "c", "D"}},
            {"insert with no row selected appends",
             -1,
             [](auto& d) {
                 AnswerEntry("e", "true", true);
                 d.AddEntry(true);
             },
             {"b", "c", "D", "e"}},
        };
        for (const auto& step : steps) {
            dialog.Rows()->clearSelection();
            if (step.Select >= 0)
                dialog.Rows()->topLevelItem(step.Select)->setSelected(true);
            step.Act(dialog);
            QVERIFY2(Descriptions(dialog.Edited()) == step.After, step.Name);
            QCOMPARE(dialog.Rows()->topLevelItemCount(), step.After.size());
        }
        QCOMPARE(dialog.Rows()->topLevelItem(2)->text(1), QString("false"));
        QCOMPARE(Descriptions(programs), QStringList({"a", "c"}));
        QVERIFY(store.Values.empty());
        dialog.accept();
        QCOMPARE(Descriptions(programs), QStringList({"b", "c", "D", "e"}));
        const std::pair<std::string, std::string> count("ExtList", "Count");
        const std::pair<std::string, std::string> third("ExtList\\S02", "C");
        QCOMPARE(store.Values[count], std::string("4"));
        QCOMPARE(store.Values[third], std::string("false"));
    }

    void cancelLeavesTheListAsItWas() {
        ExternalList programs;
        programs.Append({"a", "true"});
        korvel::MemorySettingsStore store;
        ExternalProgramsDialog dialog(programs, &store, nullptr);
        dialog.Rows()->topLevelItem(0)->setSelected(true);
        dialog.DeleteSelected();
        dialog.reject();
        QCOMPARE(Descriptions(programs), QStringList({"a"}));
        QVERIFY(store.Values.empty());
    }

    void runShowsTheFailureAndKeepsTheDialogOpen() {
        ExternalList programs;
        programs.Append({"missing", "korvel-no-such-program"});
        ExternalProgramsDialog dialog(programs, nullptr, nullptr);
        dialog.show();
        MessageCatcher catcher;
        catcher.Arm();
        dialog.RunSelected();
        QCOMPARE(catcher.Text, QString()); // no row selected: nothing runs
        dialog.Rows()->topLevelItem(0)->setSelected(true);
        catcher.Arm();
        dialog.RunSelected();
        QCOMPARE(catcher.Text, "Cannot start \"korvel-no-such-program\": " + FileNotFound);
        QVERIFY(dialog.isVisible());
    }

    void menuOffersTheStoredProgramsAndRunsThem() {
        const QString target = Dir.path() + "/from the menu";
        korvel::QtSettingsStore store(Dir.path() + "/korvel.ini");
        ExternalList stored;
        stored.Append({"Touch & go", "touch '" + target.toStdString() + "'"});
        stored.Append({"", "korvel-no-such-program"});
        stored.Save(store, "ExtList");
        korvel::test::EditorFixture f;
        korvel::MainWindow window(f.Ws, f.Host, &store);
        QStringList texts;
        for (QAction* a : window.ExternalProgramsMenu()->actions())
            texts << a->text();
        QCOMPARE(texts,
                 QStringList({"&Edit List...", "", "Touch && go", "korvel-no-such-program"}));
        window.ExternalProgramsMenu()->actions().at(2)->trigger();
        QVERIFY(WaitForFile(target));
        MessageCatcher catcher;
        catcher.Arm();
        window.ExternalProgramsMenu()->actions().at(3)->trigger();
        QCOMPARE(catcher.Text, "Cannot start \"korvel-no-such-program\": " + FileNotFound);
    }

private:
    QTemporaryDir Dir;
};

int RunExternalProgramsTests(int argc, char** argv) {
    ExternalProgramsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "external_programs_test.moc"
