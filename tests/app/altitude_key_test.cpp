#include "app/altitude_key_window.h"
#include "app/app_tests.h"
#include "editor_fixture.h"
#include "shading/palette.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

using korvel::test::EditorFixture;

namespace {

// The label text of the elevations, each followed by three line feeds.
QString LabelsOf(std::initializer_list<int> metres) {
    QString text;
    for (int m : metres)
        text += QString("%1 m\n\n\n").arg(m);
    return text;
}

korvel::AltitudeKeyWindow* KeyOf(EditorFixture& f) {
    return f.Window->findChild<korvel::AltitudeKeyWindow*>();
}

QString LabelText(EditorFixture& f) {
    return KeyOf(f)->findChild<QLabel*>("labels")->text();
}

// A Surface of zeros but for one sample at high, so that its range is 0..high.
void RaiseOneSample(EditorFixture& f, float high) {
    korvel::Surface& s = f.Ws.TheSurface;
    s.Rows[0][0] = high;
    s.FindMinMax(s.Min, s.Max, f.Ws.TheProgress);
}

} // namespace

class AltitudeKeyTest : public QObject {
    Q_OBJECT

private slots:
    void commandOpensAndClosesTheWindow() {
        EditorFixture f;
        QAction* item = f.Window->ActionFor(korvel::CmdAltitudeKey);
        QVERIFY(item->isEnabled());
        f.Trigger(korvel::CmdAltitudeKey);
        QVERIFY(KeyOf(f) && KeyOf(f)->isVisible());
        QCOMPARE(KeyOf(f)->windowTitle(), QString("Altitude Key"));
        QVERIFY(!KeyOf(f)->isModal());
        QVERIFY(item->isChecked());
        f.Trigger(korvel::CmdAltitudeKey);
        QVERIFY(!KeyOf(f)->isVisible());
        QVERIFY(!item->isChecked());
        // Its own Close button closes it too, and the item follows.
        f.Trigger(korvel::CmdAltitudeKey);
        KeyOf(f)->findChild<QPushButton*>()->click();
        QVERIFY(!KeyOf(f)->isVisible());
        f.Window->UpdateActions();
        QVERIFY(!item->isChecked());
    }

    void labelsNameTheRange_data() {
        QTest::addColumn<double>("min");
        QTest::addColumn<double>("max");
        QTest::addColumn<bool>("absolute");
        QTest::addColumn<QString>("labels");
        // step = range / 8: nine labels from the top down to the bottom.
        QTest::newRow("0 to 800") << 0.0 << 800.0 << false
                                  << LabelsOf({800, 700, 600, 500, 400, 300, 200, 100, 0});
        QTest::newRow("below sea level")
            << -250.0 << 550.0 << false << LabelsOf({550, 450, 350, 250, 150, 50, -50, -150, -250});
        QTest::newRow("flat") << 5.0 << 5.0 << false << LabelsOf({5});
        // The absolute range -1000..3000 of the lighting, whatever the Surface's.
        QTest::newRow("absolute colours")
            << 0.0 << 800.0 << true
            << LabelsOf({3000, 2500, 2000, 1500, 1000, 500, 0, -500, -1000});
    }
    void labelsNameTheRange() {
        QFETCH(double, min);
        QFETCH(double, max);
        QFETCH(bool, absolute);
        QFETCH(QString, labels);
        EditorFixture f;
        korvel::Surface& s = f.Ws.TheSurface;
        s.Min = min;
        s.Max = max;
        s.Lighting.AbsColor = absolute ? 1 : 0;
        s.Lighting.AbsMin = -1000.0;
        s.Lighting.AbsMax = 3000.0;
        f.Trigger(korvel::CmdAltitudeKey);
        QCOMPARE(LabelText(f), labels);
    }

    void labelsFollowAnEdit() {
        EditorFixture f;
        RaiseOneSample(f, 800.0f);
        f.Trigger(korvel::CmdAltitudeKey);
        QCOMPARE(LabelText(f), LabelsOf({800, 700, 600, 500, 400, 300, 200, 100, 0}));
        f.AnswerNextDialog(
            [](korvel::ParameterDialog& d) { d.SetValueText("offset.Amount", "100"); }, true);
        f.Trigger(korvel::CmdOffset);
        QVERIFY(f.Answered);
        QCOMPARE(LabelText(f), LabelsOf({900, 800, 700, 600, 500, 400, 300, 200, 100}));
    }

    void bandRunsFromTopColourToBottomColour() {
        EditorFixture f;
        RaiseOneSample(f, 800.0f);
        // Height-coded: the top is entry trunc(233 * 1) + 1 = 234, the last row (t = 1/rows,
        // rows > 233) entry 1.
        f.Ws.TheSurface.Lighting.Type = 1;
        f.Trigger(korvel::CmdAltitudeKey);
        const QImage band = KeyOf(f)->findChild<QLabel*>("band")->pixmap().toImage();
        QCOMPARE(band.width(), 8);
        QVERIFY(band.height() > 233);
        korvel::LightParms lp = f.Ws.TheSurface.Lighting;
        const auto& entries = korvel::BuildPalette(lp, 0.0, 800.0).Entries;
        const auto rgb = [](uint32_t c) { return qRgb(c & 0xFF, (c >> 8) & 0xFF, c >> 16); };
        QCOMPARE(band.pixel(0, 0) | 0xFF000000u, rgb(entries[234]));
        QCOMPARE(band.pixel(7, band.height() - 1) | 0xFF000000u, rgb(entries[1]));
    }
};

int RunAltitudeKeyTests(int argc, char** argv) {
    AltitudeKeyTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "altitude_key_test.moc"
