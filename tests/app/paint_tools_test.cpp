#include "app/app_tests.h"
#include "app/brush_wizard.h"
#include "app/texture_view.h"
#include "editor_fixture.h"
#include "paint/brush_block.h"
#include "paint/paint_state.h"

#include <QMouseEvent>
#include <QTest>

using korvel::test::EditorFixture;

namespace {

void Send(QWidget* w, QEvent::Type type, QPoint at, Qt::KeyboardModifiers modifiers = {}) {
    QMouseEvent event(type, QPointF(at), QPointF(w->mapToGlobal(at)), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      modifiers);
    QApplication::sendEvent(w, &event);
}

QString Script(const EditorFixture& f) {
    return QString::fromStdString(f.Window->Session().Script());
}

} // namespace

class PaintToolsTest : public QObject {
    Q_OBJECT

private slots:
    void aStrokeInTheViewRaisesTheSurfaceInOneStep() {
        EditorFixture f;
        f.Window->show();
        f.Trigger(korvel::CmdPaintToolRaise);
        QCOMPARE(f.Window->View()->Tool(), int32_t{korvel::CmdPaintToolRaise});
        QVERIFY(f.Window->ActionFor(korvel::CmdPaintToolRaise)->isChecked());
        const int undoBefore = f.Ws.Undo.UndoCount();
        QWidget* view = f.Window->View()->viewport();
        // At 1:1 unscrolled, client row 0 is Surface row 191.
        Send(view, QEvent::MouseButtonPress, {10, 0});
        Send(view, QEvent::MouseMove, {14, 0});
        Send(view, QEvent::MouseButtonRelease, {14, 0});
        QVERIFY(f.Ws.TheSurface.Rows[190][12] > 0.0f);
        QCOMPARE(f.Ws.TheSurface.Rows[100][12], 0.0f);
        QCOMPARE(f.Ws.Undo.UndoCount(), undoBefore + 1);
        QCOMPARE(QString::fromStdString(f.Ws.Undo.UndoName()), QString("Painting"));
        QVERIFY(Script(f).contains("'paint-tool-raise' \\\n    'stroke' '10,191' '14,191'"));
        // Pressing the preset again leaves no tool: a click then changes nothing.
        f.Trigger(korvel::CmdPaintToolRaise);
        QCOMPARE(f.Window->View()->Tool(), int32_t{0});
        QVERIFY(!f.Window->ActionFor(korvel::CmdPaintToolRaise)->isChecked());
        const float kept = f.Ws.TheSurface.Rows[191][40];
        Send(view, QEvent::MouseButtonPress, {40, 0});
        Send(view, QEvent::MouseButtonRelease, {40, 0});
        QCOMPARE(f.Ws.TheSurface.Rows[191][40], kept);
    }

    void theCloneSourceIsAShiftClick() {
        EditorFixture f;
        f.Window->show();
        f.Trigger(korvel::CmdClone);
        QVERIFY(f.Window->ActionFor(korvel::CmdClone)->isChecked());
        QWidget* view = f.Window->View()->viewport();
        Send(view, QEvent::MouseButtonPress, {30, 2}, Qt::ShiftModifier);
        Send(view, QEvent::MouseButtonRelease, {30, 2}, Qt::ShiftModifier);
        Send(view, QEvent::MouseMove, {30, 2});
        QCOMPARE(korvel::PaintStateOf(f.Ws).Cloner.Current(), korvel::CloneTool::SourceSet);
        QVERIFY(Script(f).contains("'clone' \\\n    'clone-source' '30,189'"));
    }

    void theWizardChangesNoBrush() {
        EditorFixture f;
        const std::string before = korvel::FormatBrush(korvel::PaintStateOf(f.Ws).Brushes.Current);
        bool shown = false;
        QTimer::singleShot(0, [&shown] {
            auto* wizard = qobject_cast<korvel::BrushWizard*>(QApplication::activeModalWidget());
            if (!wizard)
                return;
            shown = wizard->pageIds().size() == 5 && wizard->sideWidget() != nullptr;
            for (int i = 0; i < 4; ++i)
                wizard->next();
            wizard->accept();
        });
        f.Trigger(korvel::CmdBrushWizard);
        QVERIFY(shown);
        QCOMPARE(korvel::FormatBrush(korvel::PaintStateOf(f.Ws).Brushes.Current), before);
    }
};

int RunPaintToolTests(int argc, char** argv) {
    PaintToolsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "paint_tools_test.moc"
