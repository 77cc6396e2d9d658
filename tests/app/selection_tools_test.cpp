#include "app/app_tests.h"
#include "app/texture_view.h"
#include "editor_fixture.h"

#include <QMouseEvent>
#include <QTest>

using korvel::test::EditorFixture;

namespace {

// The selected samples of the 384 x 192 Surface, as (column, row) pairs.
std::vector<QPoint> Selected(const korvel::Workspace& ws) {
    std::vector<QPoint> found;
    for (int y = 0; y < ws.TheSurface.YSize; ++y)
        for (int x = 0; x < ws.TheSurface.XSize; ++x)
            if (ws.TheSurface.Mask.IsSelected(x, y) == 255)
                found.emplace_back(x, y);
    return found;
}

std::vector<QPoint> Block(int x0, int y0, int x1, int y1) {
    std::vector<QPoint> block;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            block.emplace_back(x, y);
    return block;
}

void Send(QWidget* w, QEvent::Type type, QPoint at, Qt::KeyboardModifiers modifiers) {
    QMouseEvent event(type, QPointF(at), QPointF(w->mapToGlobal(at)), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      modifiers);
    QApplication::sendEvent(w, &event);
}

// A drag with the left button along path, as the mouse sends it.
void Drag(QWidget* w, const std::vector<QPoint>& path, Qt::KeyboardModifiers modifiers = {}) {
    Send(w, QEvent::MouseButtonPress, path.front(), modifiers);
    for (size_t i = 1; i < path.size(); ++i)
        Send(w, QEvent::MouseMove, path[i], modifiers);
    Send(w, QEvent::MouseButtonRelease, path.back(), modifiers);
}

} // namespace

class SelectionToolTest : public QObject {
    Q_OBJECT

private slots:
    void rectangleSelectsWhatIsDragged() {
        EditorFixture f;
        f.Window->show();
        QVERIFY(!f.Window->ActionFor(korvel::CmdSelectAll)->isEnabled());
        f.Trigger(korvel::CmdToolRectangularSelection);
        // The tool switches the mask on, and with it the mask commands.
        QVERIFY(f.Ws.General.Selection);
        QVERIFY(f.Window->ActionFor(korvel::CmdSelectAll)->isEnabled());
        QVERIFY(f.Window->ActionFor(korvel::CmdToolRectangularSelection)->isChecked());
        QWidget* view = f.Window->View()->viewport();
        // At 1:1 unscrolled, client row 0 is Surface row 191.
        Drag(view, {{2, 0}, {4, 2}, {5, 3}});
        QCOMPARE(Selected(f.Ws), Block(2, 188, 5, 191));
        // The plain is one colour; the selection is tinted over it.
        const QImage shown = view->grab().toImage();
        QVERIFY(shown.pixel(3, 1) != shown.pixel(20, 20));
        QCOMPARE(shown.pixel(7, 1), shown.pixel(20, 20));
        // korvel-cli has no step for it: the session script says so.
        QVERIFY(QString::fromStdString(f.Window->Session().Script())
                    .contains("# Not repeated: selections drawn with the Rectangular Selection "
                              "tool.\n"));
        // Shift adds a second block; Ctrl takes a column away.
        Drag(view, {{2, 10}, {3, 10}}, Qt::ShiftModifier);
        std::vector<QPoint> both = Block(2, 181, 3, 181);
        const std::vector<QPoint> first = Block(2, 188, 5, 191);
        both.insert(both.end(), first.begin(), first.end());
        QCOMPARE(Selected(f.Ws), both);
        Drag(view, {{5, 0}, {5, 20}}, Qt::ControlModifier);
        std::vector<QPoint> rest = Block(2, 181, 3, 181);
        const std::vector<QPoint> narrower = Block(2, 188, 4, 191);
        rest.insert(rest.end(), narrower.begin(), narrower.end());
        QCOMPARE(Selected(f.Ws), rest);
    }

    void lassoSelectsWhatItEncloses() {
        EditorFixture f;
        f.Window->show();
        f.Trigger(korvel::CmdToolLassoSelection);
        // An 8 x 8 pixel square from the top-left corner: columns 0..7, rows 184..191.
        Drag(f.Window->View()->viewport(), {{0, 0}, {8, 0}, {8, 8}, {0, 8}});
        QCOMPARE(Selected(f.Ws), Block(0, 184, 7, 191));
    }

    void magicWandSelectsTheConnectedSamples() {
        EditorFixture f;
        f.Window->show();
        // A wall of 100 m along column 10 parts the zero plain.
        for (int y = 0; y < 192; ++y)
            f.Ws.TheSurface.Rows[y][10] = 100.0f;
        f.AnswerNextDialog(
            [](korvel::ParameterDialog& d) { d.SetValueText("Wand/Tolerance", "1"); }, true);
        f.Trigger(korvel::CmdToolMagicWand);
        QVERIFY(f.Answered);
        QCOMPARE(f.Ws.WandTolerance, 1.0f);
        QTest::mouseClick(f.Window->View()->viewport(), Qt::LeftButton, {}, QPoint(3, 5));
        QCOMPARE(Selected(f.Ws), Block(0, 0, 9, 191));
    }

    void cancelledToleranceChoosesNoTool() {
        EditorFixture f;
        f.AnswerNextDialog(nullptr, false);
        f.Trigger(korvel::CmdToolMagicWand);
        QVERIFY(f.Answered);
        QCOMPARE(f.Window->View()->Tool(), int32_t{0});
        QVERIFY(!f.Ws.TheSurface.Mask.Exists());
    }

    void choosingTheToolAgainChoosesNone() {
        EditorFixture f;
        f.Trigger(korvel::CmdToolLassoSelection);
        f.Trigger(korvel::CmdToolLassoSelection);
        QCOMPARE(f.Window->View()->Tool(), int32_t{0});
        QVERIFY(!f.Window->ActionFor(korvel::CmdToolLassoSelection)->isChecked());
    }
};

int RunSelectionToolTests(int argc, char** argv) {
    SelectionToolTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "selection_tools_test.moc"
