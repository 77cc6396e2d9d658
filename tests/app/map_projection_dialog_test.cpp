#include "app/app_tests.h"
#include "app/map_projection_dialog.h"
#include "editor_fixture.h"
#include "shading/texture.h"

#include <QFileInfo>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

using korvel::test::EditorFixture;

namespace {

constexpr korvel::PackedColor Green = korvel::PackColor(10, 200, 30);

// A Surface 12.5 m high everywhere whose picture is painted one colour, so the preview's pixels
// can only be that colour or black.
void PaintOneColour(EditorFixture& f) {
    korvel::Surface& s = f.Ws.TheSurface;
    for (int32_t y = 0; y < s.YSize; ++y)
        for (int32_t x = 0; x < s.XSize; ++x)
            s.Rows[y][x] = 12.5f;
    korvel::Image& picture = korvel::TextureToDrawOn(f.Ws);
    for (int32_t y = 0; y < picture.Height(); ++y)
        for (int32_t x = 0; x < picture.Width(); ++x)
            picture.SetPixel(x, y, Green);
}

} // namespace

class MapProjectionDialogTest : public QObject {
    Q_OBJECT

private slots:
    void previewShowsTheWorldInsideTheOutline() {
        EditorFixture f;
        PaintOneColour(f);
        f.Ws.MapProjection.Resolution = 1.0;
        // Zoom 0.5: 60 pixels a sphere radius, so the corners lie outside every outline.
        f.Ws.MapProjection.Zoom = 0.5;
        korvel::MapProjectionDialog dialog(f.Ws);
        QCOMPARE(dialog.Projections()->count(), 18);
        QCOMPARE(dialog.Projections()->currentItem()->text(), QString("Mollweide"));
        const korvel::Image& preview = dialog.Picture();
        QCOMPARE(preview.GetPixel(160, 120), Green);
        QCOMPARE(preview.GetPixel(0, 0), 0u);
        // Orthographic: a disc of radius 60 pixels about (160, 120).
        dialog.Projections()->setCurrentRow(11);
        QCOMPARE(f.Ws.MapProjection.Index, 11);
        QCOMPARE(preview.GetPixel(95, 120), 0u);
        QCOMPARE(preview.GetPixel(110, 120), Green);
    }

    void readOutAndDragging() {
        EditorFixture f;
        PaintOneColour(f);
        korvel::MapProjectionDialog dialog(f.Ws);
        // The preview's middle pixel (160, 120) is plane (1/240, -1/240); PROJ's invproj +proj=moll
        // +R=1 gives 0.265166 E, 0.214935 S.
        QCOMPARE(dialog.ReadOut(160, 120), QString("-0.2149, 0.2652 : 12.50"));
        // Ten pixels right at zoom 1: 10 * 2/240 radians, 4.7746 degrees, west.
        dialog.Drag(10, 0);
        // The dialog's boxes keep 4 decimals.
        QVERIFY(std::fabs(f.Ws.MapProjection.Longitude + 4.7746483) < 1e-4);
        // 200 pixels down: 95.4930 degrees north, folded over the pole to 84.5070.
        dialog.Drag(0, 200);
        QVERIFY(std::fabs(f.Ws.MapProjection.Latitude - 84.5070341) < 1e-4);
    }

    void exportWritesTheFile() {
        EditorFixture f;
        PaintOneColour(f);
        f.Ws.MapProjection.Width = 100;
        f.Ws.MapProjection.Height = 50;
        korvel::MapProjectionDialog dialog(f.Ws);
        QTemporaryDir dir;
        const QString path = dir.filePath("view.bmp");
        QVERIFY(dialog.ExportTo(path));
        QCOMPARE(QFileInfo(path).size(), qint64(15054));
    }

    void menuItemOpensTheDialog() {
        EditorFixture f;
        bool opened = false;
        // The preview pumps events while the dialog is built: keep looking until it is shown.
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&opened, &poll] {
            auto* dialog =
                qobject_cast<korvel::MapProjectionDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            opened = true;
            poll.stop();
            dialog->reject();
        });
        poll.start(20);
        QVERIFY(f.Window->ActionFor(korvel::CmdMapProjection)->isEnabled());
        f.Trigger(korvel::CmdMapProjection);
        QVERIFY(opened);
    }
};

int RunMapProjectionDialogTests(int argc, char** argv) {
    MapProjectionDialogTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "map_projection_dialog_test.moc"
