#include "app/app_tests.h"
#include "app/new_surface_wizard.h"
#include "editor_fixture.h"
#include "modal_script.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>

using korvel::NewSurfaceWizard;
using korvel::test::EditorFixture;
using korvel::test::WhenModal;

namespace {

struct Edges {
    QString Top, Left, Right, Bottom;
};

// Fills both pages and presses Finish (or Cancel); pages receives the titles seen.
bool RunWizard(EditorFixture& f, int width, int height, const Edges& edges, bool finish,
               QStringList* pages = nullptr) {
    bool answered = false;
    WhenModal<NewSurfaceWizard>(
        [=](NewSurfaceWizard& w) {
            if (pages)
                *pages << w.currentPage()->title();
            w.findChild<QSpinBox*>("Width")->setValue(width);
            w.findChild<QSpinBox*>("Height")->setValue(height);
            w.button(QWizard::NextButton)->click();
            if (pages)
                *pages << w.currentPage()->title();
            w.findChild<QLineEdit*>("Top")->setText(edges.Top);
            w.findChild<QLineEdit*>("Left")->setText(edges.Left);
            w.findChild<QLineEdit*>("Right")->setText(edges.Right);
            w.findChild<QLineEdit*>("Bottom")->setText(edges.Bottom);
            w.button(finish ? QWizard::FinishButton : QWizard::CancelButton)->click();
        },
        &answered);
    f.Trigger(korvel::CmdNew);
    return answered;
}

} // namespace

class NewSurfaceWizardTest : public QObject {
    Q_OBJECT

private slots:
    void prefilledFromTheSurface() {
        EditorFixture f;
        f.Ws.TheSurface.SetEdges(-5.0, 5.0, 40.0, 30.0);
        QString title;
        int width = 0;
        int height = 0;
        QString top;
        WhenModal<NewSurfaceWizard>([&](NewSurfaceWizard& w) {
            title = w.windowTitle();
            width = w.findChild<QSpinBox*>("Width")->value();
            height = w.findChild<QSpinBox*>("Height")->value();
            top = w.findChild<QLineEdit*>("Top")->text();
            w.reject();
        });
        f.Trigger(korvel::CmdNew);
        QCOMPARE(title, QString("New File"));
        QCOMPARE(width, 384);
        QCOMPARE(height, 192);
        QCOMPARE(top, QString("40"));
    }

    void finishMakesTheSurface_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("right");
        QTest::addColumn<int>("columns");
        QTest::addColumn<double>("xres");
        QTest::addColumn<double>("yres");
        // Edges over size - 1: (7 - 0) / 7 = 1; rows 10, top 9, bottom 0: 1.
        QTest::newRow("8 columns, Left 0, Right 7") << 8 << 10 << "0"
                                                    << "7" << 8 << 1.0 << 1.0;
        // 1001 rounds down to 1000 columns: 999 / 999.
        QTest::newRow("width rounded down") << 1001 << 10 << "0"
                                            << "999" << 1000 << 1.0 << 1.0;
        QTest::newRow("unchanged size still zeroed") << 384 << 10 << "-1"
                                                     << "382" << 384 << 1.0 << 1.0;
    }
    void finishMakesTheSurface() {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(QString, left);
        QFETCH(QString, right);
        QFETCH(int, columns);
        QFETCH(double, xres);
        QFETCH(double, yres);
        EditorFixture f;
        korvel::Surface& s = f.Ws.TheSurface;
        s.Resize(384, 10, -1);
        s.Rows[2][3] = 7.5f;
        QStringList pages;
        QVERIFY(RunWizard(f, width, height, {"9", left, right, "0"}, true, &pages));
        QCOMPARE(pages, QStringList({"Surface Size", "Surface Edges"}));
        QCOMPARE(s.XSize, columns);
        QCOMPARE(s.YSize, height);
        QCOMPARE(s.Left, left.toDouble());
        QCOMPARE(s.Right, right.toDouble());
        QCOMPARE(s.Top, 9.0);
        QCOMPARE(s.XRes, xres);
        QCOMPARE(s.YRes, yres);
        QCOMPARE(s.Rows[2][3], 0.0f);
        // Undone, the Surface before comes back.
        QCOMPARE(QString::fromStdString(f.Ws.Undo.UndoName()), QString("New Surface"));
    }

    void cancelChangesNothing() {
        EditorFixture f;
        korvel::Surface& s = f.Ws.TheSurface;
        s.Rows[2][3] = 7.5f;
        const double top = s.Top;
        QVERIFY(RunWizard(f, 64, 32, {"1", "2", "3", "4"}, false));
        QCOMPARE(s.XSize, 384);
        QCOMPARE(s.YSize, 192);
        QCOMPARE(s.Top, top);
        QCOMPARE(s.Rows[2][3], 7.5f);
        QVERIFY(f.Window->Session().Steps().empty());
    }

    void edgeNotANumberStaysOpen() {
        EditorFixture f;
        QString message;
        bool open = false;
        WhenModal<NewSurfaceWizard>([&](NewSurfaceWizard& w) {
            w.button(QWizard::NextButton)->click();
            w.findChild<QLineEdit*>("Left")->setText("west");
            korvel::test::AnswerMessage(QMessageBox::Ok, &message);
            w.button(QWizard::FinishButton)->click();
            open = w.isVisible();
            w.reject();
        });
        f.Trigger(korvel::CmdNew);
        QVERIFY(open);
        QCOMPARE(message, QString("Left: \"west\" is not a number"));
        QCOMPARE(f.Ws.TheSurface.XSize, 384);
    }

    void sizesTheSurfaceCannotTakeAreNotOffered() {
        EditorFixture f;
        int lowest = -1;
        int highest = -1;
        WhenModal<NewSurfaceWizard>([&](NewSurfaceWizard& w) {
            auto* width = w.findChild<QSpinBox*>("Width");
            width->setValue(3);
            lowest = width->value();
            width->setValue(200000);
            highest = width->value();
            w.reject();
        });
        f.Trigger(korvel::CmdNew);
        // Below 4 the width rounds to 0; 150000 is the size limit.
        QCOMPARE(lowest, 4);
        QCOMPARE(highest, 149999);
    }
};

int RunNewSurfaceWizardTests(int argc, char** argv) {
    NewSurfaceWizardTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "new_surface_wizard_test.moc"
