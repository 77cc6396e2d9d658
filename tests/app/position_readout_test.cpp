#include "app/app_tests.h"
#include "app/position_readout.h"
#include "core/surface.h"

#include <QTest>

using korvel::SurfacePoint;

class PositionReadoutTest : public QObject {
    Q_OBJECT

private slots:
    void readout_data() {
        QTest::addColumn<int>("dispPosn");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<double>("lat");
        QTest::addColumn<double>("lon");
        QTest::addColumn<float>("elevation");
        QTest::addColumn<QString>("expected");
        QTest::newRow("off") << 0 << 5.0 << 5.0 << 1.0 << 2.0 << 3.0f << "";
        QTest::newRow("decimal degrees")
            << 1 << 5.0 << 5.0 << 45.5 << -120.25 << -3.5f << "45.5000, -120.2500 : -3.5000";
        // 12.5 degrees south: 12 degrees and half a degree, 30 minutes.
        QTest::newRow("southern latitude in degrees, minutes, seconds")
            << 2 << 5.0 << 5.0 << -12.5 << 30.25 << 100.0f << "12 30 0S, 30 15 0E: 100.0000";
        // 0.75 degrees west: 45 minutes; 10.51 degrees: 30 minutes 36 seconds.
        QTest::newRow("western longitude below one degree")
            << 2 << 5.0 << 5.0 << 10.51 << -0.75 << 0.0f << "10 30 36N, 0 45 0W: 0.0000";
        // Zero is north and east.
        QTest::newRow("equator and prime meridian")
            << 2 << 5.0 << 5.0 << 0.0 << 0.0 << 7.25f << "0 0 0N, 0 0 0E: 7.2500";
        QTest::newRow("below the bottom row in degrees")
            << 1 << 5.0 << -0.25 << 1.0 << 2.0 << 3.0f << "";
        QTest::newRow("pixel position rounds the elevation")
            << 3 << 10.5 << 20.25 << 0.0 << 0.0 << 1234.6f << "10.50 20.25 1235";
        QTest::newRow("left of the surface") << 3 << -0.5 << 5.0 << 0.0 << 0.0 << 1.0f << "";
        QTest::newRow("right of the surface") << 3 << 384.0 << 5.0 << 0.0 << 0.0 << 1.0f << "";
        QTest::newRow("above the top row") << 3 << 5.0 << 192.0 << 0.0 << 0.0 << 1.0f << "";
    }
    void readout() {
        QFETCH(int, dispPosn);
        QFETCH(double, x);
        QFETCH(double, y);
        QFETCH(double, lat);
        QFETCH(double, lon);
        QFETCH(float, elevation);
        QFETCH(QString, expected);
        const SurfacePoint p{x, y, lat, lon};
        QCOMPARE(QString::fromStdString(korvel::PositionReadout(dispPosn, p, 384, 192, elevation)),
                 expected);
    }

    void clientToSurface_data() {
        QTest::addColumn<double>("zoom");
        QTest::addColumn<int>("scrollX");
        QTest::addColumn<int>("scrollY");
        QTest::addColumn<int>("px");
        QTest::addColumn<int>("py");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<double>("lat");
        QTest::addColumn<double>("lon");
        // 100 x 50 samples over 0..50 east, 0..25 north: half a degree a sample.
        QTest::newRow("top-left pixel is the top row")
            << 1.0 << 0 << 0 << 0 << 0 << 0.0 << 49.0 << 24.5 << 0.0;
        QTest::newRow("scrolled at 2:1")
            << 2.0 << 20 << 10 << 10 << 10 << 15.0 << 39.0 << 19.5 << 7.5;
        QTest::newRow("at 1:4") << 0.25 << 0 << 0 << 8 << 4 << 32.0 << 33.0 << 16.5 << 16.0;
    }
    void clientToSurface() {
        QFETCH(double, zoom);
        QFETCH(int, scrollX);
        QFETCH(int, scrollY);
        QFETCH(int, px);
        QFETCH(int, py);
        QFETCH(double, x);
        QFETCH(double, y);
        QFETCH(double, lat);
        QFETCH(double, lon);
        korvel::Surface s;
        s.XSize = 100;
        s.YSize = 50;
        s.Left = 0.0;
        s.Right = 50.0;
        s.Bottom = 0.0;
        s.Top = 25.0;
        const SurfacePoint p = korvel::ClientToSurface(s, zoom, scrollX, scrollY, px, py);
        QCOMPARE(p.X, x);
        QCOMPARE(p.Y, y);
        QCOMPARE(p.Lat, lat);
        QCOMPARE(p.Lon, lon);
    }
};

int RunPositionReadoutTests(int argc, char** argv) {
    PositionReadoutTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "position_readout_test.moc"
