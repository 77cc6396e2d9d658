#include "app/app_tests.h"
#include "app/status_window.h"
#include "editor_fixture.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTest>

#include <vector>

using korvel::test::EditorFixture;

namespace {

QPushButton* ButtonOf(QWidget& dialog, const char* name) {
    return dialog.findChild<QPushButton*>(name);
}

double Shown(const korvel::ParameterDialog& d, const char* setting) {
    return d.ValueText(setting).toDouble();
}

} // namespace

class JourneyWindowTest : public QObject {
    Q_OBJECT

private slots:
    // RGS fills both ends of every parameter and the seed from the generation record (H 0.7,
    // seed 99, top edge 45) on screen only: Cancel keeps the journey as it was, OK stores them.
    void rgsFillsTheDialogAndOnlyOkStoresIt() {
        for (const bool ok : {false, true}) {
            EditorFixture f;
            f.Ws.TheSurface.Generation.H = 0.7;
            f.Ws.TheSurface.Generation.Seed = 99;
            f.Ws.TheSurface.Generation.Top = 45.0;
            f.Ws.Journey.H = {1.0, 2.0};
            f.Ws.Journey.Frames = 1;
            f.Ws.Journey.Spherical = false;
            std::vector<double> shown;
            bool noCheckBox = false;
            bool storedEarly = true;
            f.AnswerNextDialog(
                [&](korvel::ParameterDialog& d) {
                    noCheckBox = d.findChild<QCheckBox*>("journey.RGS") == nullptr;
                    QPushButton* rgs = ButtonOf(d, "journey.RGS");
                    if (!rgs)
                        return;
                    rgs->click();
                    shown = {Shown(d, "journey.HStart"), Shown(d, "journey.HEnd"),
                             Shown(d, "journey.TopStart"), Shown(d, "journey.Seed")};
                    storedEarly = f.Ws.Journey.H.Start != 1.0;
                },
                ok);
            f.Trigger(korvel::CmdJourney);
            QVERIFY(f.Answered);
            QVERIFY(noCheckBox);
            QCOMPARE(shown, (std::vector<double>{0.7, 0.7, 45.0, 99.0}));
            QVERIFY(!storedEarly);
            QCOMPARE(f.Ws.Journey.H.Start, ok ? 0.7 : 1.0);
            QCOMPARE(f.Ws.Journey.H.End, ok ? 0.7 : 2.0);
            QCOMPARE(f.Ws.Journey.Seed, ok ? 99 : 12345);
        }
    }

    // Five frames from H 1 to 2: the window reads "Frame 2 of 5" and H 1.2 for the second; Stop
    // there ends the journey once that frame is made, and the window closes.
    void theStatusWindowFollowsTheFramesAndStops() {
        EditorFixture f;
        f.Window->show();
        f.Ws.Journey.Spherical = false;
        f.AnswerNextDialog(
            [](korvel::ParameterDialog& d) {
                d.SetValueText("journey.Frames", "5");
                d.SetValueText("journey.HStart", "1");
                d.SetValueText("journey.HEnd", "2");
            },
            true);
        QStringList seen;
        bool modeless = false;
        QTimer watch;
        watch.setInterval(0);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            korvel::StatusWindow* status = f.Host.Status();
            if (!status || (!seen.isEmpty() && seen.last() == status->Text()))
                return;
            seen << status->Text();
            modeless = !status->isModal() && status->isVisible();
            if (status->Text().startsWith("Frame 2 of 5"))
                ButtonOf(*status, "Stop")->click();
        });
        watch.start();
        f.Trigger(korvel::CmdJourney);
        watch.stop();
        QVERIFY(f.Answered);
        QVERIFY(modeless);
        QCOMPARE(seen.size(), 2);
        QVERIFY(seen[0].startsWith("Frame 1 of 5\n"));
        QVERIFY(seen[1].contains("\nH: 1.2000\n"));
        QCOMPARE(f.Ws.TheSurface.Generation.H, 1.2);
        QVERIFY(f.Host.Status() == nullptr);
    }

    // "&All" shows the whole 384 x 192 Surface as the area, north row first.
    void brycesAllButtonShowsTheWholeSurface() {
        EditorFixture f;
        f.Ws.Bryce2Export.Top = 5.0;
        f.Ws.Bryce2Export.Right = 7.0;
        f.Ws.Bryce2Export.ChosenOnWidth = 384;
        f.Ws.Bryce2Export.ChosenOnHeight = 192;
        std::vector<double> shown;
        f.AnswerNextDialog(
            [&](korvel::ParameterDialog& d) {
                if (QPushButton* all = ButtonOf(d, "bryce2.All"))
                    all->click();
                shown = {Shown(d, "bryce2.Top"), Shown(d, "bryce2.Left"), Shown(d, "bryce2.Right"),
                         Shown(d, "bryce2.Bottom")};
            },
            true);
        QVERIFY(f.Host.EditParameters("bryce2", "Bryce 2 Surface Size", f.Ws));
        QCOMPARE(shown, (std::vector<double>{191.0, 0.0, 383.0, 0.0}));
        QCOMPARE(f.Ws.Bryce2Export.Top, 191.0);
        QCOMPARE(f.Ws.Bryce2Export.Right, 383.0);
    }
};

int RunJourneyWindowTests(int argc, char** argv) {
    JourneyWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "journey_window_test.moc"
