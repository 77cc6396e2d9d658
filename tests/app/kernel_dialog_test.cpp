#include "app/app_tests.h"
#include "app/kernel_dialog.h"
#include "app/kernel_symmetry.h"
#include "editor_fixture.h"
#include "modal_script.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using korvel::Kernel;
using korvel::KernelDialog;
using korvel::test::AnswerModal;
using korvel::test::EditorFixture;

namespace {

using Cells = QList<QPair<int, int>>;

QLineEdit* Cell(KernelDialog& d, int i, int j) {
    return d.findChild<QLineEdit*>(QString("w%1%2").arg(i).arg(j));
}

QComboBox* Combo(KernelDialog& d, const char* name) {
    return d.findChild<QComboBox*>(name);
}

// As a person picks an item.
void Choose(KernelDialog& d, const char* combo, const QString& item) {
    QComboBox* c = Combo(d, combo);
    c->setCurrentIndex(c->findText(item));
    emit c->activated(c->currentIndex());
}

void Press(KernelDialog& d, const QString& text) {
    for (QPushButton* b : d.findChildren<QPushButton*>())
        if (b->text() == text) {
            b->click();
            return;
        }
    QFAIL(qPrintable("no button " + text));
}

// The weights of the top-left n x n fields, row by row.
QStringList FieldTexts(KernelDialog& d, int n) {
    QStringList texts;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            texts << Cell(d, i, j)->text();
    return texts;
}

QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& text) {
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        return {};
    return file.fileName();
}

} // namespace

class KernelDialogTest : public QObject {
    Q_OBJECT

private slots:
    void symmetryMirrorsTheTypedCell_data() {
        QTest::addColumn<int>("i");
        QTest::addColumn<int>("j");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("symmetry");
        QTest::addColumn<Cells>("cells");
        QTest::newRow("none") << 2 << 1 << 5 << 0 << Cells{{2, 1}};
        QTest::newRow("horizontal") << 0 << 1 << 5 << 1 << Cells{{0, 1}, {0, 3}};
        QTest::newRow("horizontal, centre column") << 1 << 2 << 5 << 1 << Cells{{1, 2}};
        QTest::newRow("vertical") << 0 << 1 << 5 << 2 << Cells{{0, 1}, {4, 1}};
        QTest::newRow("4-way") << 0 << 1 << 5 << 3 << Cells{{0, 1}, {0, 3}, {4, 1}, {4, 3}};
        QTest::newRow("8-way") << 0 << 1 << 5 << 4 << Cells{{0, 1}, {0, 3}, {4, 1}, {4, 3},
                                                            {1, 0}, {1, 4}, {3, 0}, {3, 4}};
        QTest::newRow("8-way, diagonal")
            << 1 << 1 << 5 << 4 << Cells{{1, 1}, {1, 3}, {3, 1}, {3, 3}};
        QTest::newRow("8-way, centre") << 3 << 3 << 7 << 4 << Cells{{3, 3}};
        QTest::newRow("4-way, 3 x 3 corner")
            << 2 << 2 << 3 << 3 << Cells{{2, 2}, {2, 0}, {0, 2}, {0, 0}};
    }
    void symmetryMirrorsTheTypedCell() {
        QFETCH(int, i);
        QFETCH(int, j);
        QFETCH(int, size);
        QFETCH(int, symmetry);
        QFETCH(Cells, cells);
        Cells got;
        for (const auto& [r, c] : korvel::MirroredCells(i, j, size, symmetry))
            got << QPair<int, int>(r, c);
        QCOMPARE(got.front(), (QPair<int, int>(i, j)));
        std::sort(got.begin(), got.end());
        std::sort(cells.begin(), cells.end());
        QCOMPARE(got, cells);
    }

    // Typing shows in the mirrored fields of a 7 x 7 kernel (last index 6).
    void typingFillsTheMirroredFields() {
        KernelDialog d(Kernel{}, nullptr);
        Choose(d, "symmetry", "4-way");
        Cell(d, 0, 1)->selectAll();
        QTest::keyClicks(Cell(d, 0, 1), "2.5");
        for (const auto& [i, j] : {std::pair{0, 5}, {6, 1}, {6, 5}})
            QCOMPARE(Cell(d, i, j)->text(), QString("2.5"));
        QCOMPARE(Cell(d, 1, 0)->text(), QString("0"));
        d.accept();
        QCOMPARE(d.Edited().Weight(6, 5), 2.5f);
        QCOMPARE(d.Edited().Symmetry, 3);
    }

    // The file's size goes through the kernel's rounding: up to odd, the block then the identity
    // before the file's weights.
    void loadedSizeIsRounded_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("size");
        QTest::addColumn<QString>("sizeItem");
        QTest::addColumn<QStringList>("weights"); // the top-left 3 x 3 fields
        QTest::addColumn<QString>("scale");
        QTest::newRow("3 with one weight")
            << QByteArray("SIZE=3\nKERN11=2.0\nSCAL=0.5\n") << 3 << "3 sample"
            << QStringList{"0", "0", "0", "0", "2", "0", "0", "0", "0"} << "0.5";
        QTest::newRow("4 becomes 5")
            << QByteArray("SIZE=4\nKERN00=-1\n") << 5 << "5 sample"
            << QStringList{"-1", "0", "0", "0", "0", "0", "0", "0", "1"} << "1";
        QTest::newRow("2 becomes 3")
            << QByteArray("SIZE=2\n") << 3 << "3 sample"
            << QStringList{"0", "0", "0", "0", "1", "0", "0", "0", "0"} << "1";
        // Read before the size line, the weight is cleared with the old block.
        QTest::newRow("size after a weight")
            << QByteArray("KERN00=9\nSIZE=5\nKERN44=3\n") << 5 << "5 sample"
            << QStringList{"0", "0", "0", "0", "0", "0", "0", "0", "1"} << "1";
        QTest::newRow("9 is offered as it is")
            << QByteArray("SIZE=9\nSCAL=0.25\n") << 9 << "9 sample"
            << QStringList{"0", "0", "0", "0", "0", "0", "0", "0", "0"} << "0.25";
    }
    void loadedSizeIsRounded() {
        QFETCH(QByteArray, file);
        QFETCH(int, size);
        QFETCH(QString, sizeItem);
        QFETCH(QStringList, weights);
        QFETCH(QString, scale);
        QTemporaryDir dir;
        const QString path = WriteFile(dir, "k.krn", file);
        QVERIFY(!path.isEmpty());
        KernelDialog d(Kernel{}, nullptr);
        QVERIFY(d.LoadFile(path));
        QCOMPARE(d.Edited().Size(), size);
        QCOMPARE(Combo(d, "size")->currentText(), sizeItem);
        QCOMPARE(FieldTexts(d, 3), weights);
        QCOMPARE(d.findChild<QLineEdit*>("scale")->text(), scale);
        // Fields outside the block take nothing.
        QCOMPARE(Cell(d, 6, 6)->isEnabled(), size >= 7);
    }

    void chosenSizeStartsFromTheIdentity() {
        Kernel k;
        k.SetWeight(0, 0, 4.0f);
        KernelDialog d(k, nullptr);
        d.findChild<QLineEdit*>("scale")->setText("0.75");
        Choose(d, "size", "3 sample");
        QCOMPARE(d.Edited().Size(), 3);
        QCOMPARE(FieldTexts(d, 3), (QStringList{"0", "0", "0", "0", "1", "0", "0", "0", "0"}));
        QVERIFY(!Cell(d, 3, 0)->isEnabled());
        QCOMPARE(d.Edited().Scale, 0.75f);
    }

    // At size 3: a box of nine 1s scaled by 1/9; the sharpen kernel (-1 around 3^2 + 1 = 10);
    // the typed weights summing to 4 scaled by 1/4; Clear back to the identity.
    void unitAndClearButtons_data() {
        QTest::addColumn<int>("choice");
        QTest::addColumn<QStringList>("weights");
        QTest::addColumn<float>("scale");
        const QStringList ones(9, "1");
        QTest::newRow("blur") << 0 << ones << 1.0f / 9.0f;
        QTest::newRow("highpass") << 1 << QStringList{"-1", "-1", "-1", "-1", "10",
                                                      "-1", "-1", "-1", "-1"}
                                  << 1.0f;
        QTest::newRow("unit") << 2 << QStringList{"3", "0", "0", "0", "1", "0", "0", "0", "0"}
                              << 0.25f;
        QTest::newRow("clear") << -1 << QStringList{"0", "0", "0", "0", "1", "0", "0", "0", "0"}
                               << 2.0f;
    }
    void unitAndClearButtons() {
        QFETCH(int, choice);
        QFETCH(QStringList, weights);
        QFETCH(float, scale);
        Kernel k;
        k.SetSize(3, 2.0f, 0, 0);
        KernelDialog d(k, nullptr);
        Cell(d, 0, 0)->setText("3");
        if (choice < 0) {
            Press(d, "&Clear");
        } else {
            Combo(d, "unitKind")->setCurrentIndex(choice);
            Press(d, "Set &Unit");
        }
        QCOMPARE(FieldTexts(d, 3), weights);
        d.accept();
        QCOMPARE(d.Edited().Scale, scale);
    }

    void savedFileHoldsTheTypedKernel() {
        Kernel k;
        k.SetSize(3, 1.0f, 0, 0);
        KernelDialog d(k, nullptr);
        Cell(d, 0, 2)->setText("-0.5");
        d.findChild<QLineEdit*>("scale")->setText("0.25");
        Choose(d, "symmetry", "Vertical");
        QTemporaryDir dir;
        QVERIFY(d.SaveFile(dir.filePath("out.krn")));
        QFile file(dir.filePath("out.krn"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(QString(file.readAll()),
                 QString("SIZE=3\nSYMM=2\nSCAL=0.250000\n"
                         "KERN00=0.000000\nKERN01=0.000000\nKERN02=-0.500000\n"
                         "KERN10=0.000000\nKERN11=1.000000\nKERN12=0.000000\n"
                         "KERN20=0.000000\nKERN21=0.000000\nKERN22=0.000000\n"));
    }

    void failuresSayWhyAndKeepTheKernel_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing file")
            << "load"
            << "Cannot load the kernel from \"%1/none.krn\": the kernel file cannot be "
               "read or written";
        QTest::newRow("no kernel lines")
            << "load-text"
            << "Cannot load the kernel from \"%1/text.krn\": the file holds no "
               "SIZE, SYMM, SCAL or KERN line";
        QTest::newRow("weight not a number") << "ok"
                                             << "The weight at i1, j2, \"x1\", is not a number";
        QTest::newRow("scale not a number") << "scale"
                                            << "Scale: \"\" is not a number";
    }
    void failuresSayWhyAndKeepTheKernel() {
        QFETCH(QString, action);
        QFETCH(QString, message);
        QTemporaryDir dir;
        Kernel k;
        k.SetSize(5, 1.0f, 0, 0);
        KernelDialog d(k, nullptr);
        QString shown;
        korvel::test::DismissMessage(&shown);
        if (action == "load") {
            QVERIFY(!d.LoadFile(dir.filePath("none.krn")));
        } else if (action == "load-text") {
            QVERIFY(!d.LoadFile(WriteFile(dir, "text.krn", "a kernel\n")));
        } else {
            if (action == "ok")
                Cell(d, 1, 2)->setText("x1");
            else
                d.findChild<QLineEdit*>("scale")->clear();
            d.accept();
            QCOMPARE(d.result(), int(QDialog::Rejected));
        }
        QCOMPARE(shown, message.contains("%1") ? message.arg(dir.path()) : message);
        QCOMPARE(d.Edited().Size(), 5);
        QCOMPARE(d.Edited().Weight(2, 2), 1.0f);
        QCOMPARE(d.Edited().Weight(1, 2), 0.0f);
    }

    // A 3 x 3 box over a single 900 at (10, 10) of the zero Surface: 100 on it and its eight
    // neighbours.
    void okConvolvesWithTheEditedKernel() {
        EditorFixture f;
        f.Ws.TheSurface.Rows[10][10] = 900.0f;
        bool answered = false;
        AnswerModal<KernelDialog>(
            [](KernelDialog& d) {
                Choose(d, "size", "3 sample");
                Combo(d, "unitKind")->setCurrentIndex(0);
                Press(d, "Set &Unit");
                d.accept();
            },
            &answered);
        f.Trigger(korvel::CmdConvolve);
        QVERIFY(answered);
        QCOMPARE(f.Ws.GeneralKernel.Size(), 3);
        const korvel::Surface& s = f.Ws.TheSurface;
        for (int y = 9; y <= 11; ++y)
            for (int x = 9; x <= 11; ++x)
                QCOMPARE(s.Rows[y][x], 100.0f);
        QCOMPARE(s.Rows[8][10], 0.0f);
        QCOMPARE(f.Ws.Undo.UndoName(), std::string("Convolution"));
    }

    void exactKernelFiles_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<float>("weight"); // at (0, 0)
        QTest::addColumn<float>("scale");
        QTest::addColumn<bool>("exact");
        QTest::newRow("identity") << 7 << 0.0f << 1.0f << true;
        QTest::newRow("halves and quarters") << 3 << 0.5f << 0.25f << true;
        QTest::newRow("a ninth") << 3 << 1.0f << 1.0f / 9.0f << false;
        QTest::newRow("below the sixth decimal") << 5 << 1e-7f << 1.0f << false;
        QTest::newRow("above 9 x 9") << 11 << 0.0f << 1.0f << false;
    }
    void exactKernelFiles() {
        QFETCH(int, size);
        QFETCH(float, weight);
        QFETCH(float, scale);
        QFETCH(bool, exact);
        Kernel k;
        k.SetSize(size, scale, 0, 0);
        k.SetWeight(0, 0, weight);
        std::string text;
        QCOMPARE(korvel::ExactKernelFileText(k, text), exact);
        if (exact)
            QVERIFY(QString::fromStdString(text).startsWith(
                QString("SIZE=%1\nSYMM=0\nSCAL=%2\n").arg(size).arg(scale, 0, 'f', 6)));
    }

    // The highpass kernel (whole weights, scale 1) goes into the script as a .krn file, and
    // korvel-cli convolves with it to the same bytes; a box blur's 1/9 is named as not repeated.
    void recordedKernelReplays() {
        QTemporaryDir dir;
        const QString saved = dir.filePath("k.mdr");
        EditorFixture f;
        // Noise the script repeats, from the same seed.
        f.AnswerNextDialog(
            [](korvel::ParameterDialog& d) { d.SetValueText("add-noise.Variance", "40"); }, true);
        f.Trigger(korvel::CmdAddNoise);
        const auto convolve = [&f](int unit) {
            AnswerModal<KernelDialog>([unit](KernelDialog& d) {
                Choose(d, "size", "3 sample");
                d.SetUnit(unit);
                d.accept();
            });
            f.Trigger(korvel::CmdConvolve);
        };
        convolve(1);
        QVERIFY(!QString::fromStdString(f.Window->Session().Script()).contains("Not repeated"));
        f.AnswerNextDialog(nullptr, true); // the MDR options, as they are
        QVERIFY(f.Window->SaveFile(saved));
        QFile file(saved);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray edited = file.readAll();
        file.close();
        QVERIFY(QFile::remove(saved));
        const std::string script = f.Window->Session().Script();
        QProcess run;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("KORVEL_CLI", KORVEL_CLI_PATH);
        run.setProcessEnvironment(env);
        run.start("sh", {"-c", QString::fromStdString(script)});
        QVERIFY(run.waitForFinished(30000));
        QVERIFY2(run.exitCode() == 0, run.readAllStandardError().constData());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll() == edited);

        convolve(0);
        QVERIFY(QString::fromStdString(f.Window->Session().Script())
                    .contains(
                        "# Not repeated: kernels whose weights a .krn file cannot hold exactly."));
    }

    void cancelChangesNothing() {
        EditorFixture f;
        f.Ws.TheSurface.Rows[10][10] = 900.0f;
        bool answered = false;
        AnswerModal<KernelDialog>(
            [](KernelDialog& d) {
                Choose(d, "size", "3 sample");
                Cell(d, 0, 0)->setText("5");
                d.reject();
            },
            &answered);
        f.Trigger(korvel::CmdConvolve);
        QVERIFY(answered);
        QCOMPARE(f.Ws.GeneralKernel.Size(), 7);
        QCOMPARE(f.Ws.GeneralKernel.Weight(3, 3), 1.0f);
        QCOMPARE(f.Ws.GeneralKernel.Weight(0, 0), 0.0f);
        QCOMPARE(f.Ws.TheSurface.Rows[10][10], 900.0f);
        QCOMPARE(f.Ws.TheSurface.Rows[10][11], 0.0f);
        QVERIFY(f.Window->Session().Steps().empty());
    }
};

int RunKernelDialogTests(int argc, char** argv) {
    KernelDialogTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "kernel_dialog_test.moc"
