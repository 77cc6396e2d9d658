#include "app/app_tests.h"
#include "app/texture_view.h"
#include "editor_fixture.h"
#include "shading/texture.h"

#include <QScrollBar>
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
};

int RunTextureViewTests(int argc, char** argv) {
    TextureViewTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "texture_view_test.moc"
