#include "app/app_tests.h"
#include "app/texture_view.h"
#include "editor_fixture.h"

#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include <algorithm>
#include <map>
#include <set>

using korvel::Command;
using korvel::CommandTable;
using korvel::test::EditorFixture;

namespace {

void Collect(const QList<QAction*>& actions, std::map<int, QAction*>& found) {
    for (QAction* a : actions) {
        if (a->menu())
            Collect(a->menu()->actions(), found);
        else if (a->data().isValid())
            found[a->data().toInt()] = a;
    }
}

// Every command item the window offers, by id: the menus, then the tool bars.
std::map<int, QAction*> Reachable(korvel::MainWindow& w) {
    std::map<int, QAction*> found;
    Collect(w.menuBar()->actions(), found);
    for (QToolBar* bar : w.findChildren<QToolBar*>())
        Collect(bar->actions(), found);
    return found;
}

float Sample(const korvel::Workspace& ws, int x, int y) {
    return ws.TheSurface.Rows[y][x];
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void everyCommandHasItsItemWithItsText() {
        EditorFixture f;
        const std::map<int, QAction*> found = Reachable(*f.Window);
        for (const Command& c : CommandTable()) {
            const auto it = found.find(c.Id);
            QVERIFY2(it != found.end(), c.CliName.c_str());
            // Redo's item names Ctrl+Y, the key that redoes; the text stays otherwise.
            const QString expected = c.Id == korvel::CmdRedo ? QString("&Redo\tCtrl+Y")
                                                             : QString::fromStdString(c.MenuText);
            QCOMPARE(it->second->text(), expected);
            QCOMPARE(it->second->statusTip(), QString::fromStdString(c.StatusText));
        }
    }

    void topMenusOpenWithTheirOwnAltKey() {
        EditorFixture f;
        QStringList titles;
        for (QAction* a : f.Window->menuBar()->actions())
            titles << a->text();
        // "Select" cannot take the S of "Surface".
        QCOMPARE(titles, QStringList({"&File", "&Edit", "&View", "&Surface", "&Texture", "&Misc",
                                      "Se&lect", "&Help", "&Draw"}));
    }

    void menuShortcuts_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("keys");
        QTest::newRow("new") << int(korvel::CmdNew) << "Ctrl+N";
        QTest::newRow("open") << int(korvel::CmdOpen) << "Ctrl+O";
        QTest::newRow("save as") << int(korvel::CmdSaveAs) << "Ctrl+S";
        QTest::newRow("undo") << int(korvel::CmdUndo) << "Ctrl+Z";
        QTest::newRow("redo") << int(korvel::CmdRedo) << "Ctrl+Y";
    }
    void menuShortcuts() {
        QFETCH(int, id);
        QFETCH(QString, keys);
        EditorFixture f;
        QCOMPARE(f.Window->ActionFor(id)->shortcut(), QKeySequence(keys));
    }

    void commandsWithoutOperationAreDisabled() {
        EditorFixture f;
        // What the window carries out itself.
        const std::set<int> own{korvel::CmdOpen,
                                korvel::CmdSaveAs,
                                korvel::CmdPaintingTools,
                                korvel::CmdAltitudeKey,
                                korvel::CmdZoomFullSize,
                                korvel::CmdZoomIn,
                                korvel::CmdZoomOut,
                                korvel::CmdZoomArbitrary,
                                korvel::CmdAbout,
                                korvel::CmdBrushWizard,
                                korvel::CmdExternalPrograms,
                                korvel::CmdToolPan,
                                korvel::CmdToolZoom,
                                korvel::CmdToolRectangularSelection,
                                korvel::CmdToolLassoSelection,
                                korvel::CmdToolMagicWand};
        for (const Command& c : CommandTable()) {
            if (own.count(c.Id))
                QVERIFY2(f.Window->ActionFor(c.Id)->isEnabled(), c.CliName.c_str());
            else if (!c.Available())
                QVERIFY2(!f.Window->ActionFor(c.Id)->isEnabled(), c.CliName.c_str());
        }
        // The Draw menu's fill works on the picture.
        QVERIFY(f.Window->ActionFor(korvel::CmdDrawFloodFill)->isEnabled());
    }

    void maskCommandsNeedAMask_data() {
        QTest::addColumn<int>("id");
        QTest::newRow("none") << int(korvel::CmdSelectNone);
        QTest::newRow("all") << int(korvel::CmdSelectAll);
        QTest::newRow("inverse") << int(korvel::CmdSelectInverse);
        QTest::newRow("height range") << int(korvel::CmdSelectHeightRange);
        QTest::newRow("feather") << int(korvel::CmdFeather);
        QTest::newRow("load selection") << int(korvel::CmdLoadSelection);
        QTest::newRow("save selection") << int(korvel::CmdSaveSelection);
    }
    void maskCommandsNeedAMask() {
        QFETCH(int, id);
        EditorFixture f;
        QVERIFY(!f.Window->ActionFor(id)->isEnabled());
    }

    void dialogCommandRunsEndToEnd() {
        EditorFixture f;
        f.AnswerNextDialog(
            [](korvel::ParameterDialog& d) { d.SetValueText("offset.Amount", "25"); }, true);
        f.Trigger(korvel::CmdOffset);
        QVERIFY(f.Answered);
        // 0 + 25 everywhere, the step named for undo, the picture shaded anew.
        QCOMPARE(Sample(f.Ws, 0, 0), 25.0f);
        QCOMPARE(Sample(f.Ws, 383, 191), 25.0f);
        QCOMPARE(f.Ws.Offset.Amount, 25.0);
        QCOMPARE(f.Ws.Undo.UndoCount(), 1);
        QVERIFY(!f.Ws.TheSurface.Texture.Stale());
        QAction* undo = f.Window->ActionFor(korvel::CmdUndo);
        QVERIFY(undo->isEnabled());
        QCOMPARE(undo->text(), QString("Undo Offset\tCtrl+Z"));

        f.Trigger(korvel::CmdUndo);
        QCOMPARE(Sample(f.Ws, 0, 0), 0.0f);
        QCOMPARE(f.Window->ActionFor(korvel::CmdRedo)->text(), QString("Redo Offset\tCtrl+Y"));
        QVERIFY(!undo->isEnabled());
        QCOMPARE(undo->text(), QString("&Undo\tCtrl+Z"));
    }

    void fluvialShowsTheErosionSheetWithItsPages() {
        EditorFixture f;
        f.AnswerNextDialog(
            [](korvel::ParameterDialog& d) {
                QCOMPARE(d.windowTitle(), QString("Erosion Model Properties"));
                auto* sheet = d.findChild<QTabWidget*>();
                QVERIFY(sheet);
                QStringList pages;
                for (int i = 0; i < sheet->count(); ++i)
                    pages << sheet->tabText(i);
                QCOMPARE(pages, QStringList({"General", "Surface", "Rainfall", "Water Map"}));
                // The steps sit on the first page, the threshold on the last.
                QVERIFY(sheet->widget(0)->findChild<QWidget*>("fluvial.Steps"));
                QVERIFY(sheet->widget(3)->findChild<QWidget*>("fluvial.Threshold"));
            },
            false);
        f.Trigger(korvel::CmdFluvial);
        QVERIFY(f.Answered);
        QCOMPARE(f.Ws.Undo.UndoCount(), 0);
    }

    void refusedValueKeepsTheDialogOpen() {
        EditorFixture f;
        f.AnswerNextDialog(
            [](korvel::ParameterDialog& d) {
                d.SetValueText("offset.Amount", "ten");
                QVERIFY(!d.Refusals().isEmpty());
                d.SetValueText("offset.Amount", "10");
            },
            true);
        f.Trigger(korvel::CmdOffset);
        QCOMPARE(Sample(f.Ws, 7, 7), 10.0f);
    }

    void cancelledDialogChangesNothing() {
        EditorFixture f;
        f.AnswerNextDialog([](korvel::ParameterDialog& d) { d.SetValueText("offset.Amount", "5"); },
                           true);
        f.Trigger(korvel::CmdOffset);
        f.AnswerNextDialog([](korvel::ParameterDialog& d) { d.SetValueText("offset.Amount", "9"); },
                           false);
        f.Trigger(korvel::CmdOffset);
        QVERIFY(f.Answered);
        QCOMPARE(f.Ws.Undo.UndoCount(), 1);
        QCOMPARE(f.Ws.Undo.RedoCount(), 0);
        QCOMPARE(Sample(f.Ws, 3, 3), 5.0f);
        QCOMPARE(f.Ws.Offset.Amount, 5.0);
    }

    void optionsOpenTheInterpolationSetup_data() {
        QTest::addColumn<bool>("optionsOk");
        QTest::newRow("options accepted") << true;
        QTest::newRow("options cancelled") << false;
    }
    void optionsOpenTheInterpolationSetup() {
        QFETCH(bool, optionsOk);
        EditorFixture f;
        bool setupShown = false;
        f.AnswerNextDialog(
            [&setupShown](korvel::ParameterDialog& options) {
                QPushButton* open = nullptr;
                for (QPushButton* b : options.findChildren<QPushButton*>())
                    if (b->text() == "&Interpolation Scheme...")
                        open = b;
                QVERIFY(open);
                QTimer::singleShot(0, [&setupShown] {
                    auto* setup =
                        qobject_cast<korvel::ParameterDialog*>(QApplication::activeModalWidget());
                    if (!setup || setup->windowTitle() != "Data Interpolation Setup")
                        return;
                    setupShown = true;
                    setup->SetValueText("Interp/Type", "4");
                    setup->SetValueText("Interp/Bias", "0.5");
                    setup->accept();
                });
                open->click();
            },
            optionsOk);
        f.Trigger(korvel::CmdOptions);
        QVERIFY(f.Answered);
        QVERIFY(setupShown);
        // The setup's own OK stores its values, whatever the Options dialog does after.
        QCOMPARE(f.Ws.Interp.Type, 4);
        QCOMPARE(f.Ws.Interp.Bias, 0.5);
        QCOMPARE(f.Ws.Interp.Tension, 0.0);
        const auto& steps = f.Window->Session().Steps();
        const auto has = [&steps](const std::string& value) {
            return std::find(steps.begin(), steps.end(), std::vector<std::string>{"set", value}) !=
                   steps.end();
        };
        QVERIFY(has("Interp/Type=4"));
        QVERIFY(has("Interp/Bias=0.500000"));
        QVERIFY(!has("Interp/Tension=0.000000"));
    }

    void commandWithoutDialogTakesItsSnapshot() {
        EditorFixture f;
        f.Ws.TheSurface.Rows[0][2] = 7.0f;
        f.Trigger(korvel::CmdFlipVertical);
        // Row 0 becomes the top row 191.
        QCOMPARE(Sample(f.Ws, 2, 191), 7.0f);
        QCOMPARE(Sample(f.Ws, 2, 0), 0.0f);
        QCOMPARE(f.Window->ActionFor(korvel::CmdUndo)->text(),
                 QString("Undo Flip Vertical\tCtrl+Z"));
        QVERIFY(!f.Ws.TheSurface.Texture.Stale());
    }

    void commandWithoutSnapshotLeavesUndoAlone() {
        EditorFixture f;
        f.Ws.TheSurface.Rows[10][20] = -3.0f;
        f.Ws.TheSurface.Rows[11][21] = 8.0f;
        f.Trigger(korvel::CmdFindMinMax);
        QCOMPARE(f.Ws.TheSurface.Min, -3.0);
        QCOMPARE(f.Ws.TheSurface.Max, 8.0);
        QCOMPARE(f.Ws.Undo.UndoCount(), 0);
    }

    void undoOffTakesNoSnapshot() {
        EditorFixture f;
        f.Ws.General.Undo = 0;
        f.AnswerNextDialog([](korvel::ParameterDialog& d) { d.SetValueText("offset.Amount", "1"); },
                           true);
        f.Trigger(korvel::CmdOffset);
        QCOMPARE(Sample(f.Ws, 0, 0), 1.0f);
        QCOMPARE(f.Ws.Undo.UndoCount(), 0);
        QVERIFY(!f.Window->ActionFor(korvel::CmdUndo)->isEnabled());
        QVERIFY(!f.Window->ActionFor(korvel::CmdRedo)->isEnabled());
    }

    void keysWhileAnOperationRuns_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("toProgressWindow");
        QTest::addColumn<float>("topRow");
        // Pressed at the first row: the rows after it keep their 0.
        QTest::newRow("escape in the progress window") << int(Qt::Key_Escape) << true << 0.0f;
        QTest::newRow("escape typed into the main window") << int(Qt::Key_Escape) << false << 0.0f;
        QTest::newRow("another key does not cancel") << int(Qt::Key_A) << false << 5.0f;
    }
    void keysWhileAnOperationRuns() {
        QFETCH(int, key);
        QFETCH(bool, toProgressWindow);
        QFETCH(float, topRow);
        EditorFixture f;
        bool pressed = false;
        f.AnswerNextDialog(
            [&](korvel::ParameterDialog& d) {
                d.SetValueText("offset.Amount", "5");
                QTimer::singleShot(0, [&] {
                    QWidget* target = f.Host.Progress();
                    if (!target)
                        return;
                    pressed = true;
                    QTest::keyClick(toProgressWindow ? target : f.Window.get(),
                                    static_cast<Qt::Key>(key));
                });
            },
            true);
        f.Trigger(korvel::CmdOffset);
        QVERIFY(pressed);
        QCOMPARE(Sample(f.Ws, 0, 0), 5.0f);
        QCOMPARE(Sample(f.Ws, 0, 191), topRow);
        // The step stays, so the partial edit can be undone; the cancel is used up.
        QCOMPARE(f.Ws.Undo.UndoCount(), 1);
        QVERIFY(!f.Ws.TheProgress.CancelRequested());
        QVERIFY(!f.Host.Progress());
    }

    void fileTypeOptionsGetADialog() {
        // The MDR writer asks for its options under the group "mdr", which no command owns.
        EditorFixture f;
        const std::vector<korvel::DialogRow> rows = korvel::DialogRowsOf("mdr", nullptr, f.Ws);
        QCOMPARE(rows.size(), size_t{4});
        QCOMPARE(QString::fromStdString(rows[0].Setting->Name()), QString("mdr.DataType"));
    }

    void toolsToggle() {
        EditorFixture f;
        QAction* pan = f.Window->ActionFor(korvel::CmdToolPan);
        f.Trigger(korvel::CmdToolPan);
        QVERIFY(pan->isChecked());
        QCOMPARE(f.Window->View()->Tool(), int32_t{korvel::CmdToolPan});
        f.Trigger(korvel::CmdToolPan);
        QVERIFY(!pan->isChecked());
        QCOMPARE(f.Window->View()->Tool(), int32_t{0});
    }

    void savingToIntegersShowsTheRoundingInTheStatusBar() {
        QTemporaryDir dir;
        EditorFixture f;
        // Heights 0 and 1 at 16 bits: a step of 1/65535.
        f.Ws.TheSurface.Rows[0][0] = 1.0f;
        f.Ws.TheSurface.Max = 1.0;
        f.AnswerNextDialog(nullptr, true); // the PNG options, as they are
        QVERIFY(f.Window->SaveFile(dir.filePath("h.png")));
        QCOMPARE(f.Window->statusBar()->currentMessage(),
                 QString("h.png: 16-bit, step 1.53e-05 m, worst error 0 m, 0 clipped"));
    }
};

int RunMainWindowTests(int argc, char** argv) {
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "main_window_test.moc"
