#include "app/app_tests.h"
#include "app/calculation_options_dialog.h"
#include "editor_fixture.h"
#include "modal_script.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using korvel::CalculationOptionsDialog;
using korvel::MemorySettingsStore;
using korvel::test::EditorFixture;
using korvel::test::WhenModal;

namespace {

MemorySettingsStore HistoryOf(const QStringList& expressions) {
    MemorySettingsStore store;
    for (int i = 0; i < expressions.size(); ++i)
        store.Write("Expressions", QString::asprintf("expr%03d", i).toStdString(),
                    expressions[i].toStdString());
    return store;
}

QStringList StoredHistory(MemorySettingsStore& store) {
    QStringList stored;
    for (int i = 0;; ++i) {
        const auto value =
            store.Read("Expressions", QString::asprintf("expr%03d", i).toStdString());
        if (!value || value->empty())
            return stored;
        stored << QString::fromStdString(*value);
    }
}

bool Enabled(CalculationOptionsDialog& d, const char* name) {
    auto* w = d.findChild<QWidget*>(name);
    return w && w->isEnabledTo(&d);
}

} // namespace

class CalculationOptionsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        // The command's own dialog keeps its history in the user's settings file: a folder of
        // the test's instead.
        QVERIFY(SettingsDir.isValid());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, SettingsDir.path());
    }

    void enablingByType_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("spherical");
        // Expression, H, Octaves, rf, irf, RandSeed, Position X, the spherical box, area Top,
        // sphere axis Az: + enabled, - not.
        QTest::addColumn<QString>("enabled");
        QTest::addColumn<QString>("positionTitle");
        QTest::newRow("plasma") << 0 << true << "---+++---+"
                                << "S&phere Center";
        QTest::newRow("math function, flat") << 1 << false << "+++---++-+"
                                             << "&Position";
        QTest::newRow("math function, spherical") << 1 << true << "+++---++++"
                                                  << "S&phere Center";
        QTest::newRow("fBm, flat") << 2 << false << "-++--+++-+"
                                   << "&Position";
        QTest::newRow("ridged, spherical") << 6 << true << "-++--+++++"
                                           << "S&phere Center";
    }
    void enablingByType() {
        QFETCH(int, type);
        QFETCH(bool, spherical);
        QFETCH(QString, enabled);
        QFETCH(QString, positionTitle);
        EditorFixture f;
        MemorySettingsStore history;
        CalculationOptionsDialog d(f.Ws, history, nullptr);
        d.findChild<QComboBox*>("Type")->setCurrentIndex(type);
        d.findChild<QCheckBox*>("TexSphere")->setChecked(spherical);
        QString got;
        for (const char* name :
             {"Func", "H", "octaves", "rf", "irf", "Seed", "xpos", "TexSphere", "Top", "Az"})
            got += Enabled(d, name) ? '+' : '-';
        QCOMPARE(got, enabled);
        QCOMPARE(d.findChild<QGroupBox*>("Position")->title(), positionTitle);
        QCOMPARE(d.findChild<QGroupBox*>("Size")->title(),
                 QString(spherical ? "&Sphere Radii" : "&Size"));
    }

    void bandLimitOctaves_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<QString>("octaves");
        QTest::newRow("512 x 256") << 512 << 256 << "7";
        QTest::newRow("4 x 4 raised to 0.5") << 4 << 4 << "0.5";
        // log2(384) - 2 = 6.58496..., cut to four decimals.
        QTest::newRow("384 x 192") << 384 << 192 << "6.5849";
        // log2(1000) - 2 = 7.96578...; the taller side counts when it is the longer.
        QTest::newRow("12 x 1000") << 12 << 1000 << "7.9657";
    }
    void bandLimitOctaves() {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(QString, octaves);
        EditorFixture f;
        f.Ws.TheSurface.Resize(width, height, -1);
        MemorySettingsStore history;
        CalculationOptionsDialog d(f.Ws, history, nullptr);
        d.findChild<QPushButton*>("BL")->click();
        QCOMPARE(d.findChild<QLineEdit*>("octaves")->text(), octaves);
    }

    void expressionHistory_data() {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QString>("func");
        QTest::addColumn<QStringList>("offered");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QStringList>("after");
        QTest::newRow("none stored")
            << QStringList{} << "sinc(r)" << QStringList{"sinc(r)"} << "sinc(r)"
            << "x*y" << QStringList{"x*y", "sinc(r)"};
        QTest::newRow("older entry moves to the top")
            << QStringList{"a", "b", "c"} << "b" << QStringList{"a", "b", "c"} << "b"
            << "c" << QStringList{"c", "a", "b"};
        QTest::newRow("same again is not doubled")
            << QStringList{"a", "b"} << "a" << QStringList{"a", "b"} << "a"
            << "a" << QStringList{"a", "b"};
        QTest::newRow("case counts")
            << QStringList{"sin(x)"} << "sin(x)" << QStringList{"sin(x)"} << "sin(x)"
            << "SIN(x)" << QStringList{"SIN(x)", "sin(x)"};
        // A record's expression missing from the history is shown, not swapped for the first.
        QTest::newRow("record's own expression shown")
            << QStringList{"a"} << "x+y" << QStringList{"a"} << "x+y"
            << "x+y" << QStringList{"x+y", "a"};
    }
    void expressionHistory() {
        QFETCH(QStringList, stored);
        QFETCH(QString, func);
        QFETCH(QStringList, offered);
        QFETCH(QString, shown);
        QFETCH(QString, chosen);
        QFETCH(QStringList, after);
        EditorFixture f;
        f.Ws.TheSurface.Generation.Func = func.toStdString();
        MemorySettingsStore history = HistoryOf(stored);
        CalculationOptionsDialog d(f.Ws, history, nullptr);
        QCOMPARE(d.Expressions(), offered);
        auto* box = d.findChild<QComboBox*>("Func");
        QCOMPARE(box->currentText(), shown);
        box->setEditText(chosen);
        d.accept();
        QCOMPARE(QString::fromStdString(d.Edited().Func), chosen);
        QCOMPARE(StoredHistory(history), after);
    }

    void historyKeepsSixteenBeforeTheNewOne() {
        EditorFixture f;
        QStringList twenty;
        for (int i = 0; i < 20; ++i)
            twenty << QString("e%1").arg(i);
        MemorySettingsStore history = HistoryOf(twenty);
        CalculationOptionsDialog d(f.Ws, history, nullptr);
        d.findChild<QComboBox*>("Func")->setEditText("new");
        d.accept();
        // The new one and e0..e15; the stale e16.. are cut off where the list now ends.
        const QStringList after = StoredHistory(history);
        QCOMPARE(after.size(), 17);
        QCOMPARE(after.first(), QString("new"));
        QCOMPARE(after.last(), QString("e15"));
    }

    void okWritesTheRecord() {
        EditorFixture f;
        bool answered = false;
        WhenModal<CalculationOptionsDialog>(
            [](CalculationOptionsDialog& d) {
                d.findChild<QComboBox*>("Type")->setCurrentIndex(2);
                d.findChild<QLineEdit*>("H")->setText("0.7");
                d.findChild<QLineEdit*>("Seed")->setText("99");
                d.findChild<QLineEdit*>("xrange")->setText("3");
                d.findChild<QCheckBox*>("TexSphere")->setChecked(false);
                d.accept();
            },
            &answered);
        f.Trigger(korvel::CmdCalculate);
        QVERIFY(answered);
        const korvel::FracParms& g = f.Ws.TheSurface.Generation;
        QCOMPARE(g.Type, 2);
        QCOMPARE(g.H, 0.7);
        QCOMPARE(g.Seed, 99);
        QCOMPARE(g.xrange, 3.0);
        QVERIFY(!g.TexSphere);
        // Flat generation: the map record is the window, xpos -10 plus the width 3.
        QCOMPARE(f.Ws.TheSurface.Left, -10.0);
        QCOMPARE(f.Ws.TheSurface.Right, -7.0);
    }

    void cancelRestoresScalingAndRecord() {
        EditorFixture f;
        const korvel::FracParms before = f.Ws.TheSurface.Generation;
        f.Ws.TheSurface.Rows[3][5] = 42.0f;
        bool scaled = false;
        WhenModal<CalculationOptionsDialog>([&scaled](CalculationOptionsDialog& d) {
            d.findChild<QLineEdit*>("H")->setText("0.2");
            WhenModal<korvel::ParameterDialog>(
                [](korvel::ParameterDialog& scale) {
                    QCOMPARE(scale.windowTitle(), QString("Surface Scaling"));
                    scale.SetValueText("MapScale/Hi", "5");
                    scale.accept();
                },
                &scaled);
            d.findChild<QPushButton*>("Scaling")->click();
            d.reject();
        });
        f.Trigger(korvel::CmdCalculate);
        QVERIFY(scaled);
        QCOMPARE(f.Ws.MapScale.Hi, 1.0);
        QCOMPARE(f.Ws.TheSurface.Generation.H, before.H);
        QCOMPARE(f.Ws.TheSurface.Rows[3][5], 42.0f);
        QVERIFY(f.Window->Session().Steps().empty());
    }

    void scalingKeptOnOk() {
        EditorFixture f;
        MemorySettingsStore history;
        CalculationOptionsDialog d(f.Ws, history, nullptr);
        WhenModal<korvel::ParameterDialog>([](korvel::ParameterDialog& scale) {
            scale.SetValueText("MapScale/Hi", "5");
            scale.accept();
        });
        d.findChild<QPushButton*>("Scaling")->click();
        d.accept();
        QCOMPARE(f.Ws.MapScale.Hi, 5.0);
    }

private:
    QTemporaryDir SettingsDir;
};

int RunCalculationOptionsTests(int argc, char** argv) {
    CalculationOptionsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "calculation_options_test.moc"
