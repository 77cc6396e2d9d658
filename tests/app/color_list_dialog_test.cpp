#include "app/app_tests.h"
#include "app/color_list_dialog.h"
#include "editor_fixture.h"
#include "modal_script.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using korvel::ColorList;
using korvel::ColorListDialog;
using korvel::PackColor;
using korvel::PackedColor;
using korvel::test::ChooseColor;
using korvel::test::EditorFixture;

namespace {

ColorList ListOf(std::initializer_list<PackedColor> entries, int mode, double gamma = 1.0) {
    ColorList list;
    for (PackedColor c : entries)
        list.Append(c);
    list.Mode = mode;
    list.Gamma = gamma;
    return list;
}

constexpr PackedColor Black = PackColor(0, 0, 0);
constexpr PackedColor White = PackColor(255, 255, 255);
constexpr PackedColor Red = PackColor(255, 0, 0);
constexpr PackedColor Green = PackColor(0, 255, 0);
constexpr PackedColor Blue = PackColor(0, 0, 255);

void Click(ColorListDialog& d, const char* name) {
    d.findChild<QPushButton*>(name)->click();
}

QStringList Column(ColorListDialog& d, int column) {
    QStringList texts;
    auto* tree = d.findChild<QTreeWidget*>("entries");
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        texts << tree->topLevelItem(i)->text(column);
    return texts;
}

QString WriteFile(const QTemporaryDir& dir, const char* name, const QByteArray& text) {
    const QString path = dir.filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(text);
    return path;
}

} // namespace

Q_DECLARE_METATYPE(ColorList)

class ColorListDialogTest : public QObject {
    Q_OBJECT

private slots:
    void previewPixels_data() {
        QTest::addColumn<ColorList>("list");
        QTest::addColumn<int>("x");
        QTest::addColumn<QRgb>("pixel");
        // A strip 101 pixels wide: column x shows t = x / 100.
        QTest::newRow("empty list is black") << ListOf({}, 2) << 70 << qRgb(0, 0, 0);
        QTest::newRow("one entry everywhere")
            << ListOf({PackColor(10, 20, 30)}, 1) << 33 << qRgb(10, 20, 30);
        QTest::newRow("nearest, t 0.49") << ListOf({Black, White}, 0) << 49 << qRgb(0, 0, 0);
        QTest::newRow("nearest, t 0.5") << ListOf({Black, White}, 0) << 50 << qRgb(255, 255, 255);
        // 255 * 0.5 = 127.5, truncated.
        QTest::newRow("linear midway") << ListOf({Black, White}, 1) << 50 << qRgb(127, 127, 127);
        // Gamma 2: t 0.5 looks up 0.25; 255 * 0.25 = 63.75.
        QTest::newRow("linear with gamma 2")
            << ListOf({Black, White}, 1, 2.0) << 50 << qRgb(63, 63, 63);
        // Catmull-Rom over black, black, white, black at f = 0.5:
        // 0.5 * (0.125 * -765 + 0.25 * 1020 + 0.5 * 255) = 143.4375.
        QTest::newRow("cubic black white black")
            << ListOf({Black, White, Black}, 2) << 25 << qRgb(143, 143, 143);
        QTest::newRow("right edge is the last entry")
            << ListOf({Red, Green, Blue}, 2) << 100 << qRgb(0, 0, 255);
    }
    void previewPixels() {
        QFETCH(ColorList, list);
        QFETCH(int, x);
        QFETCH(QRgb, pixel);
        const QImage strip = korvel::ColorListStrip(list, 101, 4);
        QCOMPARE(strip.pixel(x, 0), pixel);
        QCOMPARE(strip.pixel(x, 3), pixel);
    }

    void previewFollowsAnEdit() {
        EditorFixture f;
        ColorListDialog d(ListOf({Black, White}, 1), f.Ws, nullptr);
        d.resize(500, 300);
        d.show();
        d.findChild<QComboBox*>("blending")->setCurrentIndex(0);
        QCOMPARE(d.List().Mode, 0);
        // The drawn preview, not only the strip function: its middle column now snaps to white.
        korvel::ColorListPreview* preview = d.Preview();
        const QImage drawn = preview->grab().toImage();
        QCOMPARE(drawn.pixel(drawn.width() - 1, 0) | 0xFF000000u, qRgb(255, 255, 255));
        QCOMPARE(drawn.pixel(0, 0) | 0xFF000000u, qRgb(0, 0, 0));
        QCOMPARE(drawn.pixel(drawn.width() * 3 / 4, drawn.height() / 2) | 0xFF000000u,
                 qRgb(255, 255, 255));
    }

    void entryEdits_data() {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QList<PackedColor>>("entries");
        QTest::addColumn<int>("selected");
        // Starting from red, green, blue with green selected. Steps: a add (chooser answers
        // white), i insert before the selection, e edit the selection, r remove, u up, d down,
        // D the Delete key, I the Insert key.
        QTest::newRow("add appends and selects it")
            << "a" << QList<PackedColor>{Red, Green, Blue, White} << 3;
        QTest::newRow("insert goes before the selection")
            << "i" << QList<PackedColor>{Red, White, Green, Blue} << 1;
        QTest::newRow("Insert key too") << "I" << QList<PackedColor>{Red, White, Green, Blue} << 1;
        QTest::newRow("edit replaces the selection")
            << "e" << QList<PackedColor>{Red, White, Blue} << 1;
        QTest::newRow("remove") << "r" << QList<PackedColor>{Red, Blue} << 1;
        QTest::newRow("Delete key") << "D" << QList<PackedColor>{Red, Blue} << 1;
        QTest::newRow("move up") << "u" << QList<PackedColor>{Green, Red, Blue} << 0;
        QTest::newRow("move up at the top stays")
            << "uu" << QList<PackedColor>{Green, Red, Blue} << 0;
        QTest::newRow("move down") << "d" << QList<PackedColor>{Red, Blue, Green} << 2;
        QTest::newRow("remove twice") << "rr" << QList<PackedColor>{Red} << 0;
    }
    void entryEdits() {
        QFETCH(QString, steps);
        QFETCH(QList<PackedColor>, entries);
        QFETCH(int, selected);
        EditorFixture f;
        ColorListDialog d(ListOf({Red, Green, Blue}, 1), f.Ws, nullptr);
        d.SelectRow(1);
        for (QChar step : steps) {
            if (QString("aieI").contains(step))
                ChooseColor(Qt::white);
            switch (step.toLatin1()) {
            case 'a':
                Click(d, "Add");
                break;
            case 'i':
                Click(d, "Insert");
                break;
            case 'I':
                QTest::keyClick(&d, Qt::Key_Insert);
                break;
            case 'e':
                Click(d, "Edit");
                break;
            case 'r':
                Click(d, "Remove");
                break;
            case 'D':
                QTest::keyClick(&d, Qt::Key_Delete);
                break;
            case 'u':
                Click(d, "MoveUp");
                break;
            case 'd':
                Click(d, "MoveDown");
                break;
            }
        }
        QCOMPARE(QList<PackedColor>(d.List().Entries.begin(), d.List().Entries.end()), entries);
        QCOMPARE(d.SelectedRow(), selected);
        // The chooser starts from the colour last chosen.
        if (steps.contains('a'))
            QCOMPARE(d.List().LastColor, White);
    }

    void removeAllAsksFirst_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("left");
        QTest::newRow("yes clears") << int(QMessageBox::Yes) << 0;
        QTest::newRow("no keeps") << int(QMessageBox::No) << 3;
    }
    void removeAllAsksFirst() {
        QFETCH(int, answer);
        QFETCH(int, left);
        EditorFixture f;
        ColorListDialog d(ListOf({Red, Green, Blue}, 1), f.Ws, nullptr);
        d.SelectRow(0);
        QString question;
        korvel::test::AnswerMessage(QMessageBox::StandardButton(answer), &question);
        QTest::keyClick(&d, Qt::Key_Delete, Qt::ShiftModifier);
        QCOMPARE(question, QString("Remove all entries?"));
        QCOMPARE(d.List().Count(), left);
    }

    void valueColumn() {
        EditorFixture f;
        ColorListDialog three(ListOf({Red, Green, Blue}, 1), f.Ws, nullptr);
        QCOMPARE(Column(three, 3), QStringList({"0.0000", "0.5000", "1.0000"}));
        QCOMPARE(Column(three, 0), QStringList({"255", "0", "0"}));
        QCOMPARE(Column(three, 2), QStringList({"0", "0", "255"}));
        ColorListDialog one(ListOf({Red}, 1), f.Ws, nullptr);
        QCOMPARE(Column(one, 3), QStringList({"0.0000"}));
    }

    void typedGamma_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("gamma");
        QTest::addColumn<QString>("shown");
        QTest::newRow("2") << "2" << 0.5 << "2.000000";
        QTest::newRow("0.25") << "0.25" << 4.0 << "0.250000";
        QTest::newRow("0 is below the limit") << "0" << 100000.0 << "0.000010";
        QTest::newRow("negative") << "-3" << 100000.0 << "0.000010";
        QTest::newRow("above the limit") << "200000" << 0.00001 << "100000.000000";
        QTest::newRow("not a number keeps it") << "steep" << 1.0 << "1.000000";
    }
    void typedGamma() {
        QFETCH(QString, typed);
        QFETCH(double, gamma);
        QFETCH(QString, shown);
        EditorFixture f;
        ColorListDialog d(ListOf({Black, White}, 1), f.Ws, nullptr);
        auto* edit = d.findChild<QLineEdit*>("gamma");
        QCOMPARE(edit->text(), QString("1.000000"));
        edit->setText(typed);
        d.accept();
        QCOMPARE(d.List().Gamma, gamma);
        QCOMPARE(edit->text(), shown);
    }

    void terrainRampRemembersItsParameters() {
        EditorFixture f;
        ColorListDialog d(ListOf({}, 2), f.Ws, nullptr);
        korvel::test::WhenModal<QDialog>([](QDialog& ask) {
            QCOMPARE(ask.windowTitle(), QString("Enter Terrain Default Color List Parameters"));
            QCOMPARE(ask.findChild<QSpinBox*>("entries")->value(), 32);
            ask.findChild<QSpinBox*>("entries")->setValue(2);
            ask.accept();
        });
        Click(d, "Terrain");
        // The ramp at t = 0 worked through by hand: (136, 44, 211); at t = 1 white.
        QCOMPARE(QList<PackedColor>(d.List().Entries.begin(), d.List().Entries.end()),
                 QList<PackedColor>({PackColor(136, 44, 211), White}));
        int entriesShown = 0;
        korvel::test::WhenModal<QDialog>([&entriesShown](QDialog& ask) {
            entriesShown = ask.findChild<QSpinBox*>("entries")->value();
            ask.reject();
        });
        Click(d, "Terrain");
        QCOMPARE(entriesShown, 2);
        QCOMPARE(d.List().Count(), 2);
    }

    void loadAndSave() {
        EditorFixture f;
        QTemporaryDir dir;
        const QString path = WriteFile(dir, "two.txt",
                                       "ColorList\nGamma 0.50000\nMode 1\nData\n"
                                       "  10,  20,  30,\n  40,  50,  60,\nColorListEnd\n");
        ColorListDialog d(ListOf({Red}, 2), f.Ws, nullptr);
        QVERIFY(d.LoadFrom(path));
        QCOMPARE(QList<PackedColor>(d.List().Entries.begin(), d.List().Entries.end()),
                 QList<PackedColor>({PackColor(10, 20, 30), PackColor(40, 50, 60)}));
        QCOMPARE(d.List().Mode, 1);
        QCOMPARE(d.findChild<QComboBox*>("blending")->currentText(), QString("Linear"));
        QCOMPARE(d.findChild<QLineEdit*>("gamma")->text(), QString("2.000000"));
        const QString saved = dir.filePath("saved.txt");
        QVERIFY(d.SaveTo(saved));
        QFile file(saved);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("ColorList\nGamma 0.50000\nMode 1\nData\n"
                                            "  10,  20,  30,\n  40,  50,  60,\nColorListEnd\n"));
    }

    void loadFailureKeepsTheList_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("ends inside the block")
            << QByteArray("ColorList\nData\n 1, 2, 3,\n")
            << "Error reading definition file \"%1\": the file ends inside a block";
        QTest::newRow("no block") << QByteArray("LightParms\nLightParmsEnd\n")
                                  << "no Color List found in %1";
    }
    void loadFailureKeepsTheList() {
        QFETCH(QByteArray, text);
        QFETCH(QString, message);
        EditorFixture f;
        QTemporaryDir dir;
        const QString path = WriteFile(dir, "bad.txt", text);
        ColorListDialog d(ListOf({Red, Green}, 1), f.Ws, nullptr);
        QString shown;
        korvel::test::AnswerMessage(QMessageBox::Ok, &shown);
        QVERIFY(!d.LoadFrom(path));
        QCOMPARE(shown, message.arg(path));
        QCOMPARE(QList<PackedColor>(d.List().Entries.begin(), d.List().Entries.end()),
                 QList<PackedColor>({Red, Green}));
    }

    // The README's picture, taken by scripts/screenshots.sh under a virtual display.
    void pictureForTheReadme() {
        const QString folder = qEnvironmentVariable("KORVEL_SCREENSHOTS");
        if (folder.isEmpty())
            QSKIP("KORVEL_SCREENSHOTS names no folder for the pictures");
        EditorFixture f;
        ColorListDialog d(f.Ws.TheSurface.Lighting.AltColor, f.Ws, nullptr);
        d.SelectRow(12);
        d.resize(560, 420);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QVERIFY(d.grab().save(folder + "/color-list-editor.png"));
    }
};

int RunColorListDialogTests(int argc, char** argv) {
    ColorListDialogTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "color_list_dialog_test.moc"
