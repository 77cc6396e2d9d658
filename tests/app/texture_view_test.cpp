#include "app/app_tests.h"
#include "app/texture_view.h"
#include "editor_fixture.h"
#include "shading/grid_overlays.h"
#include "shading/texture.h"

#include <QMouseEvent>
#include <QPointingDevice>
#include <QScrollBar>
#include <QTabletEvent>
#include <QTest>

using korvel::test::EditorFixture;

class TextureViewTest : public QObject {
    Q_OBJECT

private slots:
    void pictureIsWrappedWithoutCopy_data() {
        QTest::addColumn<int>("bits");
        QTest::newRow("24-bit") << 24;
        QTest::newRow("8-bit with palette") << 8;
    }
    void pictureIsWrappedWithoutCopy() {
        QFETCH(int, bits);
        korvel::Image picture;
        QCOMPARE(picture.Create(8, 4, bits), 0);
        picture.Palette[5] = korvel::PackColor(10, 20, 30);
        picture.SetIndex(1, 0, 5);
        const QImage wrapped = korvel::WrapPicture(picture);
        QCOMPARE(wrapped.constBits(), picture.Data());
        // Buffer row 0 is the picture's bottom line.
        QCOMPARE(wrapped.pixel(1, 0), qRgb(10, 20, 30));
    }

    void viewShowsRowZeroAtTheBottom() {
        EditorFixture f;
        f.Window->show();
        korvel::Image& picture = korvel::TextureToDrawOn(f.Ws);
        const int h = picture.Height();
        picture.SetPixel(0, 0, korvel::PackColor(255, 0, 0));
        picture.SetPixel(0, h - 1, korvel::PackColor(0, 255, 0));
        f.Window->View()->Refresh();
        const QImage shown = f.Window->View()->viewport()->grab().toImage();
        QCOMPARE(shown.pixelColor(0, h - 1), QColor(255, 0, 0));
        QCOMPARE(shown.pixelColor(0, 0), QColor(0, 255, 0));
    }

    void gridsShowOnScreenWithoutTouchingThePicture_data() {
        QTest::addColumn<bool>("hex");
        QTest::addColumn<bool>("rect");
        QTest::addColumn<QColor>("atLine");
        QTest::newRow("neither") << false << false << QColor(0, 255, 0);
        QTest::newRow("rectangular") << false << true << QColor(255, 0, 0);
        // A hex of radius 16 from the origin has no line through (16, 5): only the
        // rectangular grid's line is there.
        QTest::newRow("both") << true << true << QColor(255, 0, 0);
    }
    void gridsShowOnScreenWithoutTouchingThePicture() {
        QFETCH(bool, hex);
        QFETCH(bool, rect);
        QFETCH(QColor, atLine);
        EditorFixture f;
        f.Window->show();
        korvel::Image& picture = korvel::TextureToDrawOn(f.Ws);
        const int h = picture.Height();
        const korvel::PackedColor green = korvel::PackColor(0, 255, 0);
        // Screen (16, 5) lies on the vertical line of x = 16; (8, 5) on no line.
        picture.SetPixel(16, h - 1 - 5, green);
        picture.SetPixel(8, h - 1 - 5, green);
        korvel::RectGridSettings& grid = f.Ws.RGrid;
        grid.Draw = rect;
        grid.Units = korvel::GridPixels;
        grid.XInterval = grid.YInterval = 16.0f;
        grid.OfsX = grid.OfsY = 0.0f;
        grid.Color = static_cast<int32_t>(korvel::PackColor(255, 0, 0));
        grid.BColor = static_cast<int32_t>(korvel::PackColor(0, 0, 255));
        grid.Weight = grid.BWeight = 1;
        f.Ws.Hex.Draw = hex;
        f.Ws.Hex.Radius = 16.0f;
        f.Ws.Hex.OfsX = f.Ws.Hex.OfsY = 0.0f;
        f.Window->View()->Refresh();
        const QImage shown = f.Window->View()->viewport()->grab().toImage();
        QCOMPARE(shown.pixelColor(16, 5), atLine);
        QCOMPARE(shown.pixelColor(8, 5), QColor(0, 255, 0));
        QCOMPARE(picture.GetPixel(16, h - 1 - 5), green);
    }

    void zoomCommands_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("times");
        QTest::addColumn<int>("numerator");
        QTest::addColumn<int>("denominator");
        QTest::newRow("in twice") << int(korvel::CmdZoomIn) << 2 << 4 << 1;
        QTest::newRow("in five times stops at 16:1") << int(korvel::CmdZoomIn) << 5 << 16 << 1;
        QTest::newRow("out five times stops at 1:16") << int(korvel::CmdZoomOut) << 5 << 1 << 16;
        QTest::newRow("full size") << int(korvel::CmdZoomFullSize) << 1 << 1 << 1;
    }
    void zoomCommands() {
        QFETCH(int, id);
        QFETCH(int, times);
        QFETCH(int, numerator);
        QFETCH(int, denominator);
        EditorFixture f;
        f.Trigger(korvel::CmdZoomIn);
        if (id != korvel::CmdZoomIn)
            f.Trigger(korvel::CmdZoomFullSize);
        for (int i = id == korvel::CmdZoomIn ? 1 : 0; i < times; ++i)
            f.Trigger(id);
        QCOMPARE(f.Window->View()->ZoomNumerator(), numerator);
        QCOMPARE(f.Window->View()->ZoomDenominator(), denominator);
    }

    void scrollRangeFollowsZoom() {
        EditorFixture f;
        f.Window->show();
        const int page = f.Window->View()->viewport()->width();
        f.Trigger(korvel::CmdZoomIn);
        f.Trigger(korvel::CmdZoomIn);
        // 384 samples at 4:1 are 1536 pixels wide.
        QCOMPARE(f.Window->View()->horizontalScrollBar()->maximum(), 1536 - page);
    }

    void readoutFollowsTheMouse() {
        EditorFixture f;
        f.Ws.General.DispPosn = 3;
        f.Ws.TheSurface.Rows[191][4] = 42.0f;
        f.Window->show();
        QTest::mouseMove(f.Window->View()->viewport(), QPoint(4, 0));
        QCOMPARE(f.Window->PositionText(), QString("4.00 191.00 42"));
    }

    void penPressure_data() {
        QTest::addColumn<bool>("useTablet");
        QTest::addColumn<double>("pen");
        QTest::addColumn<int>("expected");
        QTest::newRow("light touch") << true << 0.0 << 0;
        // 127.5 rounds up.
        QTest::newRow("half pressure") << true << 0.5 << 128;
        QTest::newRow("full pressure") << true << 1.0 << 255;
        QTest::newRow("beyond full is full") << true << 1.25 << 255;
        QTest::newRow("tablet switched off") << false << 0.5 << -1;
    }
    void penPressure() {
        QFETCH(bool, useTablet);
        QFETCH(double, pen);
        QFETCH(int, expected);
        EditorFixture f;
        f.Ws.General.UseTablet = useTablet;
        f.Window->show();
        korvel::TextureView* view = f.Window->View();
        QCOMPARE(view->Pressure(), -1);
        const QPointingDevice stylus(
            "pen", 1, QInputDevice::DeviceType::Stylus, QPointingDevice::PointerType::Pen,
            QInputDevice::Capability::Position | QInputDevice::Capability::Pressure, 1, 3);
        QTabletEvent press(QEvent::TabletPress, &stylus, QPointF(5, 5), QPointF(5, 5), pen, 0, 0, 0,
                           0, 0, Qt::NoModifier, Qt::LeftButton, Qt::LeftButton);
        QCoreApplication::sendEvent(view->viewport(), &press);
        QCOMPARE(view->Pressure(), expected);
        // Unaccepted: Qt turns it into the mouse events the tools act on.
        QVERIFY(!press.isAccepted());
        // The mouse event Qt makes of the pen's keeps its pressure.
        QMouseEvent fromPen(QEvent::MouseMove, QPointF(6, 6), QPointF(6, 6), QPointF(6, 6),
                            Qt::LeftButton, Qt::LeftButton, Qt::NoModifier,
                            Qt::MouseEventSynthesizedByQt, &stylus);
        QCoreApplication::sendEvent(view->viewport(), &fromPen);
        QCOMPARE(view->Pressure(), expected);
        // A mouse has no pressure.
        QMouseEvent move(QEvent::MouseMove, QPointF(6, 6), QPointF(6, 6), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(view->viewport(), &move);
        QCOMPARE(view->Pressure(), -1);
    }

    void cursors_data() {
        QTest::addColumn<int>("tool");
        QTest::addColumn<bool>("precise");
        QTest::addColumn<int>("shape");
        QTest::newRow("no tool") << 0 << false << int(Qt::ArrowCursor);
        QTest::newRow("pan") << int(korvel::CmdToolPan) << false << int(Qt::OpenHandCursor);
        QTest::newRow("zoom") << int(korvel::CmdToolZoom) << false << int(Qt::BitmapCursor);
        QTest::newRow("lasso") << int(korvel::CmdToolLassoSelection) << false
                               << int(Qt::CrossCursor);
        QTest::newRow("precise, no tool") << 0 << true << int(Qt::CrossCursor);
        QTest::newRow("precise pan") << int(korvel::CmdToolPan) << true << int(Qt::CrossCursor);
        QTest::newRow("precise zoom") << int(korvel::CmdToolZoom) << true << int(Qt::CrossCursor);
    }
    void cursors() {
        QFETCH(int, tool);
        QFETCH(bool, precise);
        QFETCH(int, shape);
        EditorFixture f;
        f.Ws.General.PreciseCursor = precise;
        korvel::TextureView* view = f.Window->View();
        if (tool != 0)
            view->ChooseTool(tool);
        else
            view->UpdateCursor();
        QCOMPARE(int(view->viewport()->cursor().shape()), shape);
    }

    void zoomCursorShowsZoomingOutWhileShiftIsHeld() {
        EditorFixture f;
        f.Window->show();
        korvel::TextureView* view = f.Window->View();
        view->ChooseTool(korvel::CmdToolZoom);
        const QImage in = view->viewport()->cursor().pixmap().toImage();
        QTest::mouseMove(view->viewport(), QPoint(5, 5));
        QTest::keyPress(view, Qt::Key_Shift, Qt::ShiftModifier);
        const QImage out = view->viewport()->cursor().pixmap().toImage();
        QVERIFY(out != in);
        QTest::keyRelease(view, Qt::Key_Shift);
        QCOMPARE(view->viewport()->cursor().pixmap().toImage(), in);
    }

    void zoomToolClicks_data() {
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("numerator");
        QTest::addColumn<int>("denominator");
        QTest::newRow("click zooms in") << int(Qt::NoModifier) << 2 << 1;
        QTest::newRow("shift-click zooms out") << int(Qt::ShiftModifier) << 1 << 2;
    }
    void zoomToolClicks() {
        QFETCH(int, modifiers);
        QFETCH(int, numerator);
        QFETCH(int, denominator);
        EditorFixture f;
        f.Window->show();
        korvel::TextureView* view = f.Window->View();
        view->ChooseTool(korvel::CmdToolZoom);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::KeyboardModifiers(modifiers),
                          QPoint(10, 10));
        QCOMPARE(view->ZoomNumerator(), numerator);
        QCOMPARE(view->ZoomDenominator(), denominator);
    }
};

int RunTextureViewTests(int argc, char** argv) {
    TextureViewTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "texture_view_test.moc"
