#include "app/app_tests.h"
#include "app/brush_setup_dialog.h"
#include "editor_fixture.h"
#include "modal_script.h"
#include "paint/paint_state.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using korvel::BrushSetupDialog;
using korvel::test::AnswerModal;
using korvel::test::EditorFixture;

namespace {

QString WriteFile(const QTemporaryDir& dir, const QByteArray& text) {
    QFile file(dir.filePath("b.brs"));
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        return {};
    return file.fileName();
}

} // namespace

class BrushSetupDialogTest : public QObject {
    Q_OBJECT

private slots:
    // The loaded brush fills the fields; OK makes it the brush, Cancel keeps the one before.
    // xsize 14 is rounded up to odd by the brush.
    void loadedBrushShowsAndIsKeptOnOk_data() {
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("xsize");
        QTest::addColumn<float>("value");
        QTest::newRow("ok") << true << 15 << 3.5f;
        QTest::newRow("cancel") << false << 11 << 1.0f;
    }
    void loadedBrushShowsAndIsKeptOnOk() {
        QFETCH(bool, ok);
        QFETCH(int, xsize);
        QFETCH(float, value);
        EditorFixture f;
        QTemporaryDir dir;
        const QString path = WriteFile(dir, "Brush xsize 14 ysize 9 Value 3.5 BrushEnd\n");
        auto& state = korvel::PaintStateOf(f.Ws);
        QCOMPARE(state.Brushes.Current.XSize, 11);
        QString shown;
        bool answered = false;
        AnswerModal<BrushSetupDialog>(
            [&](BrushSetupDialog& d) {
                QVERIFY(d.LoadFile(path));
                shown = d.ValueText("brush.XSize") + " " + d.ValueText("brush.YSize") + " " +
                        d.ValueText("brush.Value");
                if (ok)
                    d.accept();
                else
                    d.reject();
            },
            &answered);
        f.Trigger(korvel::CmdEditPaintbrush);
        QVERIFY(answered);
        // Numbers show as the settings file writes them.
        QCOMPARE(shown, QString("15 9 3.500000"));
        QCOMPARE(state.Brushes.Current.XSize, xsize);
        QCOMPARE(state.Brushes.Current.Value, value);
        QCOMPARE(state.Setup.XSize, xsize);
    }

    void savedFileHoldsTheFieldsAsTyped() {
        EditorFixture f;
        QTemporaryDir dir;
        BrushSetupDialog d(f.Ws, nullptr);
        QVERIFY(d.SetValueText("brush.XSize", "7"));
        QVERIFY(d.SetValueText("brush.Value", "2.25"));
        QVERIFY(d.SaveFile(dir.filePath("out.brs")));
        QFile file(dir.filePath("out.brs"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = file.readAll();
        QVERIFY2(text.startsWith("Brush\nValue 2.25000\nxsize 7\nysize 11\n"), qPrintable(text));
    }

    void refusedFileSaysWhy() {
        EditorFixture f;
        QTemporaryDir dir;
        const QString path = WriteFile(dir, "LightParms LightParmsEnd\n");
        BrushSetupDialog d(f.Ws, nullptr);
        QString message;
        korvel::test::DismissMessage(&message);
        QVERIFY(!d.LoadFile(path));
        QCOMPARE(message, "no Brush found in " + path);
        QCOMPARE(d.ValueText("brush.XSize"), QString("11"));
    }
};

int RunBrushSetupDialogTests(int argc, char** argv) {
    BrushSetupDialogTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "brush_setup_dialog_test.moc"
