#include "app/app_tests.h"
#include "app/histogram_dialog.h"
#include "app/histogram_readout.h"
#include "editor_fixture.h"
#include "modal_script.h"

#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <cmath>
#include <cstdlib>

using korvel::HistogramDialog;
using korvel::HistogramResult;
using korvel::test::AnswerModal;
using korvel::test::EditorFixture;

namespace {

// 0, 10, ..., 70 across every 8 columns: 9216 samples of each value on the 384 x 192 Surface.
void FillSteps(EditorFixture& f) {
    korvel::Surface& s = f.Ws.TheSurface;
    for (int y = 0; y < s.YSize; ++y)
        for (int x = 0; x < s.XSize; ++x)
            s.Rows[y][x] = static_cast<float>(x % 8 * 10);
    s.FindMinMax(s.Min, s.Max, f.Ws.TheProgress);
}

QString Shown(const HistogramDialog& d, const char* name) {
    return d.findChild<QLabel*>(name)->text();
}

void Type(HistogramDialog& d, const char* field, const QString& text) {
    d.findChild<QLineEdit*>(field)->setText(text);
}

void Click(HistogramDialog& d, const char* button) {
    d.findChild<QPushButton*>(button)->click();
}

// The graph at a known size, so that the columns of each bin are known.
void FixGraph(HistogramDialog& d, int width, int height) {
    d.Graph()->setFixedSize(width, height);
    d.layout()->activate();
}

void MoveMouse(QWidget* w, int x) {
    QMouseEvent move(QEvent::MouseMove, QPointF(x, 10), w->mapToGlobal(QPointF(x, 10)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
}

} // namespace

class HistogramDialogTest : public QObject {
    Q_OBJECT

private slots:
    void readoutNamesTheBinUnderTheMouse_data() {
        QTest::addColumn<double>("lowest");
        QTest::addColumn<double>("highest");
        QTest::addColumn<QList<qlonglong>>("bins");
        QTest::addColumn<qlonglong>("below");
        QTest::addColumn<qlonglong>("above");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("bin"); // -1: no read-out
        QTest::addColumn<double>("low");
        QTest::addColumn<double>("high");
        QTest::addColumn<qlonglong>("count");
        QTest::addColumn<double>("percentile");
        const QList<qlonglong> five{5, 0, 10, 3, 2};
        // Five bins of 20 over 40 pixels each; 30 samples counted in all, 4 of them below.
        QTest::newRow("first column")
            << 0.0 << 100.0 << five << 4LL << 6LL << 0 << 200 << 0 << 0.0 << 20.0 << 5LL << 30.0;
        QTest::newRow("last column of bin 0")
            << 0.0 << 100.0 << five << 4LL << 6LL << 39 << 200 << 0 << 0.0 << 20.0 << 5LL << 30.0;
        QTest::newRow("empty bin")
            << 0.0 << 100.0 << five << 4LL << 6LL << 40 << 200 << 1 << 20.0 << 40.0 << 0LL << 30.0;
        QTest::newRow("middle") << 0.0 << 100.0 << five << 4LL << 6LL << 99 << 200 << 2 << 40.0
                                << 60.0 << 10LL << 100.0 * 19 / 30;
        QTest::newRow("last column") << 0.0 << 100.0 << five << 4LL << 6LL << 199 << 200 << 4
                                     << 80.0 << 100.0 << 2LL << 80.0;
        // 5 bins over 3 pixels: column 1 spans 1.67..3.33 bins, column 2 3.33..5.
        QTest::newRow("narrow graph") << 0.0 << 100.0 << five << 4LL << 6LL << 2 << 3 << 3 << 60.0
                                      << 80.0 << 3LL << 100.0 * 22 / 30;
        QTest::newRow("below sea level") << -50.0 << -10.0 << QList<qlonglong>{1, 1, 1, 1} << 0LL
                                         << 0LL << 5 << 8 << 2 << -30.0 << -20.0 << 1LL << 75.0;
        QTest::newRow("nothing counted") << 0.0 << 1.0 << QList<qlonglong>{0, 0} << 0LL << 0LL << 0
                                         << 10 << 0 << 0.0 << 0.5 << 0LL << 0.0;
        QTest::newRow("right of the graph")
            << 0.0 << 100.0 << five << 4LL << 6LL << 200 << 200 << -1 << 0.0 << 0.0 << 0LL << 0.0;
        QTest::newRow("left of the graph")
            << 0.0 << 100.0 << five << 4LL << 6LL << -1 << 200 << -1 << 0.0 << 0.0 << 0LL << 0.0;
        QTest::newRow("no bins") << 0.0 << 100.0 << QList<qlonglong>{} << 4LL << 6LL << 5 << 200
                                 << -1 << 0.0 << 0.0 << 0LL << 0.0;
    }
    void readoutNamesTheBinUnderTheMouse() {
        QFETCH(double, lowest);
        QFETCH(double, highest);
        QFETCH(QList<qlonglong>, bins);
        QFETCH(qlonglong, below);
        QFETCH(qlonglong, above);
        QFETCH(int, x);
        QFETCH(int, width);
        QFETCH(int, bin);
        HistogramResult h;
        h.Lowest = lowest;
        h.Highest = highest;
        h.Bins.assign(bins.begin(), bins.end());
        h.Below = below;
        h.Above = above;
        const auto readout = korvel::ReadoutAt(h, x, width);
        QCOMPARE(readout.has_value(), bin >= 0);
        if (bin < 0)
            return;
        QFETCH(double, low);
        QFETCH(double, high);
        QFETCH(qlonglong, count);
        QFETCH(double, percentile);
        QCOMPARE(readout->Bin, bin);
        QCOMPARE(readout->Low, low);
        QCOMPARE(readout->High, high);
        QCOMPARE(readout->Count, count);
        QCOMPARE(readout->Percentile, percentile);
    }

    // Range 10..50 in 4 bins over the steps 0..70: 0 below, 60 and 70 above, 50 closes the last
    // bin. The mouse at column 250 of 400 stands over bin 2 (30..40): below it 9216 + 3 x 9216
    // of 8 x 9216 samples, 50%.
    void refreshCountsAndOkKeepsTheRange() {
        EditorFixture f;
        FillSteps(f);
        bool answered = false;
        QString low, high, count, percentile, below, above;
        AnswerModal<HistogramDialog>(
            [&](HistogramDialog& d) {
                Type(d, "lowest", "10");
                Type(d, "highest", "50");
                d.findChild<QSpinBox*>("bins")->setValue(4);
                Click(d, "refresh");
                FixGraph(d, 400, 160);
                MoveMouse(d.Graph(), 250);
                low = Shown(d, "binLow");
                high = Shown(d, "binHigh");
                count = Shown(d, "sampleCount");
                percentile = Shown(d, "percentile");
                below = Shown(d, "belowRange");
                above = Shown(d, "aboveRange");
                d.accept();
            },
            &answered);
        f.Trigger(korvel::CmdHistogram);
        QVERIFY(answered);
        QCOMPARE(low, QString("30.00"));
        QCOMPARE(high, QString("40.00"));
        QCOMPARE(count, QString("9216"));
        QCOMPARE(percentile, QString("50.00%"));
        QCOMPARE(below, QString("9216"));
        QCOMPARE(above, QString("18432"));
        QCOMPARE(f.Ws.Histogram.Lowest, 10.0);
        QCOMPARE(f.Ws.Histogram.Highest, 50.0);
        QCOMPARE(f.Ws.Histogram.Bins, 4);
        // The command counted with the kept range, and the session wrote the values down.
        QCOMPARE(f.Ws.LastHistogram.Bins, (std::vector<int64_t>{9216, 9216, 9216, 18432}));
        const auto& steps = f.Window->Session().Steps();
        const auto has = [&](std::vector<std::string> step) {
            return std::find(steps.begin(), steps.end(), step) != steps.end();
        };
        QVERIFY(has({"set", "histogram.Bins=4"}));
        QVERIFY(has({"histogram"}));
    }

    void cancelKeepsTheRecords() {
        EditorFixture f;
        FillSteps(f);
        f.Ws.Histogram.Bins = 100;
        const std::vector<float> before(f.Ws.TheSurface.Rows[5], f.Ws.TheSurface.Rows[5] + 384);
        bool answered = false;
        AnswerModal<HistogramDialog>(
            [](HistogramDialog& d) {
                Type(d, "lowest", "20");
                d.findChild<QSpinBox*>("bins")->setValue(7);
                Click(d, "refresh");
                d.reject();
            },
            &answered);
        f.Trigger(korvel::CmdHistogram);
        QVERIFY(answered);
        // The range shown at the start is the Surface's own.
        QCOMPARE(f.Ws.Histogram.Lowest, 0.0);
        QCOMPARE(f.Ws.Histogram.Highest, 70.0);
        QCOMPARE(f.Ws.Histogram.Bins, 100);
        QVERIFY(f.Ws.LastHistogram.Bins.empty());
        QCOMPARE(std::vector<float>(f.Ws.TheSurface.Rows[5], f.Ws.TheSurface.Rows[5] + 384),
                 before);
        for (const auto& step : f.Window->Session().Steps())
            QVERIFY(step.front() != "histogram" && step.front() != "set");
    }

    // Over 0..80 in 8 bins each value 0..70 fills one bin: every bar as high as the graph. Over
    // 10..50 in 4 bins the last bin holds twice the others, so bin 0 is half as high:
    // lround(0.5 x 159) = 80 of the 160 rows, "+" doubles it to the full 159.
    void scaleButtonsStretchTheBars_data() {
        QTest::addColumn<QStringList>("presses");
        QTest::addColumn<double>("scale");
        QTest::addColumn<int>("barTop");     // the first row of bin 0's bar
        QTest::addColumn<int>("fullestTop"); // the first row of bin 3's bar
        QTest::newRow("as opened") << QStringList{} << 1.0 << 80 << 1;
        // The fullest bin never grows above the graph.
        QTest::newRow("+") << QStringList{"+"} << 2.0 << 1 << 1;
        // lround(0.25 x 159) = 40 and lround(0.5 x 159) = 80 rows.
        QTest::newRow("-") << QStringList{"-"} << 0.5 << 120 << 80;
        QTest::newRow("+ + then u") << QStringList{"+", "+", "u"} << 1.0 << 80 << 1;
        // lround(19.875) = 20 and lround(39.75) = 40 rows.
        QTest::newRow("- -") << QStringList{"-", "-"} << 0.25 << 140 << 120;
    }
    void scaleButtonsStretchTheBars() {
        QFETCH(QStringList, presses);
        QFETCH(double, scale);
        QFETCH(int, barTop);
        QFETCH(int, fullestTop);
        EditorFixture f;
        FillSteps(f);
        f.Ws.Histogram = {4, 10.0, 50.0};
        HistogramDialog d(f.Ws, f.Window.get());
        QVERIFY(d.Refresh());
        d.show();
        FixGraph(d, 400, 160);
        for (const QString& p : presses)
            Click(d, ("scale" + p).toLatin1().constData());
        QCOMPARE(d.Graph()->VerticalScale(), scale);
        const QImage graph = d.Graph()->grab().toImage();
        QCOMPARE(graph.pixelColor(50, barTop), QColor(0, 0, 160));
        // Row 0 is the frame.
        QCOMPARE(graph.pixelColor(50, barTop - 1), barTop > 1 ? QColor(Qt::white) : Qt::black);
        QCOMPARE(graph.pixelColor(350, fullestTop), QColor(0, 0, 160));
        QCOMPARE(graph.pixelColor(350, fullestTop - 1),
                 fullestTop > 1 ? QColor(Qt::white) : Qt::black);
    }

    // 429.80111694... has more digits than the field shows; left as shown, the range still
    // holds every sample.
    void untouchedRangeCountsEverySample() {
        EditorFixture f;
        korvel::Surface& s = f.Ws.TheSurface;
        s.Rows[3][4] = 429.80111694f;
        s.Rows[5][6] = -428.63037109f;
        s.FindMinMax(s.Min, s.Max, f.Ws.TheProgress);
        f.Ws.Histogram = {10, s.Min, s.Max};
        HistogramDialog d(f.Ws, f.Window.get());
        QVERIFY(d.Refresh());
        QCOMPARE(d.Counted().Above, 0);
        QCOMPARE(d.Counted().Below, 0);
        QCOMPARE(d.Counted().Bins.back(), 1);
        // Typed, a value is taken as typed.
        Type(d, "highest", "429.8");
        QVERIFY(d.Refresh());
        QCOMPARE(d.Counted().Above, 1);
    }

    void wrongNumberIsRefused() {
        EditorFixture f;
        FillSteps(f);
        HistogramDialog d(f.Ws, f.Window.get());
        Type(d, "highest", "high");
        QString message;
        korvel::test::DismissMessage(&message);
        QVERIFY(!d.Refresh());
        QCOMPARE(message, QString("Highest: \"high\" is not a number"));
    }
};

int RunHistogramDialogTests(int argc, char** argv) {
    HistogramDialogTest test;
    int failures = QTest::qExec(&test, argc, argv);
    // The picture of the README, taken when asked for.
    if (const char* folder = std::getenv("KORVEL_SCREENSHOTS")) {
        EditorFixture f;
        FillSteps(f);
        for (int y = 0; y < f.Ws.TheSurface.YSize; ++y)
            for (int x = 0; x < f.Ws.TheSurface.XSize; ++x)
                f.Ws.TheSurface.Rows[y][x] =
                    static_cast<float>(400.0 * std::sin(x * 0.031) * std::cos(y * 0.047) +
                                       30.0 * std::sin(x * 0.37 + y * 0.21));
        f.Ws.TheSurface.FindMinMax(f.Ws.TheSurface.Min, f.Ws.TheSurface.Max, f.Ws.TheProgress);
        f.Ws.Histogram = {64, f.Ws.TheSurface.Min, f.Ws.TheSurface.Max};
        HistogramDialog d(f.Ws, nullptr);
        d.Refresh();
        d.show();
        FixGraph(d, 448, 200);
        MoveMouse(d.Graph(), 150);
        if (!d.grab().save(QString(folder) + "/histogram.png"))
            ++failures;
    }
    return failures;
}

#include "histogram_dialog_test.moc"
