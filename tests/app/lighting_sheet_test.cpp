#include "app/app_tests.h"
#include "app/color_list_dialog.h"
#include "app/light_direction_picture.h"
#include "app/lighting_sheet_dialog.h"
#include "editor_fixture.h"
#include "modal_script.h"
#include "shading/light_parms_block.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

#include <algorithm>
#include <cmath>

using korvel::LightingSheet;
using korvel::test::EditorFixture;
using korvel::test::WhenModal;

namespace {

using Script = std::function<void(LightingSheet&)>;

// Runs "&Lighting..." with the sheet answered by script, then OK or Cancel.
bool RunSheet(EditorFixture& f, Script script, bool ok) {
    bool answered = false;
    WhenModal<LightingSheet>(
        [script, ok](LightingSheet& sheet) {
            if (script)
                script(sheet);
            if (ok)
                sheet.accept();
            else
                sheet.reject();
        },
        &answered);
    f.Trigger(korvel::CmdLighting);
    return answered;
}

void Type(LightingSheet& sheet, const char* field, const QString& text) {
    auto* edit = sheet.findChild<QLineEdit*>(field);
    QVERIFY2(edit, field);
    edit->setText(text);
    emit edit->editingFinished();
}

bool HasStep(EditorFixture& f, const std::string& words) {
    const auto& steps = f.Window->Session().Steps();
    return std::any_of(steps.begin(), steps.end(), [&](const std::vector<std::string>& step) {
        return step.size() == 2 && step[0] == "set" && step[1] == words;
    });
}

} // namespace

class LightingSheetTest : public QObject {
    Q_OBJECT

private slots:
    void pagesInOrderAndFirstPageRemembered() {
        EditorFixture f;
        QStringList names;
        int opened = -1;
        QVERIFY(RunSheet(
            f,
            [&](LightingSheet& sheet) {
                QCOMPARE(sheet.windowTitle(), QString("Lighting Settings"));
                for (int i = 0; i < sheet.Pages()->count(); ++i)
                    names << sheet.Pages()->tabText(i);
                sheet.Pages()->setCurrentIndex(4);
            },
            false));
        QCOMPARE(names, QStringList({"General", "Palette", "Intensity", "Altitude", "Latitude",
                                     "Slope", "Facing", "Blending"}));
        QVERIFY(RunSheet(
            f, [&](LightingSheet& sheet) { opened = sheet.Pages()->currentIndex(); }, false));
        QCOMPARE(opened, 4);
    }

    void directionLimits_data() {
        QTest::addColumn<QString>("az");
        QTest::addColumn<QString>("el");
        QTest::addColumn<double>("storedAz");
        QTest::addColumn<double>("storedEl");
        QTest::newRow("inside") << "120.5"
                                << "30" << 120.5 << 30.0;
        QTest::newRow("azimuth 400, elevation -120") << "400"
                                                     << "-120" << 359.99 << -90.0;
        QTest::newRow("azimuth 360 exactly") << "360"
                                             << "90" << 359.99 << 90.0;
        QTest::newRow("negative azimuth, high elevation") << "-5"
                                                          << "95" << 0.0 << 90.0;
    }
    void directionLimits() {
        QFETCH(QString, az);
        QFETCH(QString, el);
        QFETCH(double, storedAz);
        QFETCH(double, storedEl);
        EditorFixture f;
        int azSlider = 0;
        int elSlider = 0;
        QString azShown;
        QVERIFY(RunSheet(
            f,
            [&](LightingSheet& sheet) {
                Type(sheet, "Az", az);
                Type(sheet, "El", el);
                azShown = sheet.findChild<QLineEdit*>("Az")->text();
                azSlider = sheet.findChild<QSlider*>("AzSlider")->value();
                elSlider = sheet.findChild<QSlider*>("ElSlider")->value();
            },
            true));
        QCOMPARE(f.Ws.TheSurface.Lighting.Az, storedAz);
        QCOMPARE(f.Ws.TheSurface.Lighting.El, storedEl);
        // The edit shows the limited value and the sliders (hundredths of a degree) follow it.
        QCOMPARE(azShown.toDouble(), storedAz);
        QCOMPARE(azSlider, static_cast<int>(std::lround(storedAz * 100)));
        QCOMPARE(elSlider, static_cast<int>(std::lround(storedEl * 100)));
    }

    void gammaShownInverted_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("stored");
        QTest::newRow("2 gives 0.5") << "2" << 0.5;
        QTest::newRow("0.5 gives 2") << "0.5" << 2.0;
        QTest::newRow("4 gives 0.25") << "4" << 0.25;
        QTest::newRow("0 stores 0") << "0" << 0.0;
    }
    void gammaShownInverted() {
        QFETCH(QString, typed);
        QFETCH(double, stored);
        EditorFixture f;
        QString shown;
        // Shown as its reciprocal.
        f.Ws.TheSurface.Lighting.Gamma = 0.25;
        QVERIFY(RunSheet(
            f,
            [&](LightingSheet& sheet) {
                shown = sheet.findChild<QLineEdit*>("Gamma")->text();
                Type(sheet, "Gamma", typed);
            },
            true));
        QCOMPARE(shown, QString("4"));
        QCOMPARE(f.Ws.TheSurface.Lighting.Gamma, stored);
    }

    void gammaShownToSixDigits_data() {
        QTest::addColumn<double>("gamma");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<double>("afterOk");
        // 1 / 0.666667 = 1.49999925...: shown as 1.5, and OK without an edit keeps 0.666667
        // (1 / 1.5 would be 0.6666666...).
        QTest::newRow("stored with six decimals") << 0.666667 << "1.5" << 0.666667;
        QTest::newRow("exact reciprocal") << 0.8 << "1.25" << 0.8;
        QTest::newRow("zero") << 0.0 << "0" << 0.0;
    }
    void gammaShownToSixDigits() {
        QFETCH(double, gamma);
        QFETCH(QString, shown);
        QFETCH(double, afterOk);
        EditorFixture f;
        f.Ws.TheSurface.Lighting.Gamma = gamma;
        QString text;
        QVERIFY(RunSheet(
            f, [&](LightingSheet& sheet) { text = sheet.findChild<QLineEdit*>("Gamma")->text(); },
            true));
        QCOMPARE(text, shown);
        QVERIFY2(std::fabs(f.Ws.TheSurface.Lighting.Gamma - afterOk) < 1e-15,
                 qPrintable(QString::number(f.Ws.TheSurface.Lighting.Gamma, 'g', 17)));
    }

    void blendWeightsNormalised_data() {
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QList<double>>("stored");
        QTest::newRow("all zero: altitude only")
            << QStringList{"0", "0", "0", "0"} << QList<double>{0.0, 1.0, 0.0, 0.0};
        // |1| + |-1| + |2| + 0 = 4.
        QTest::newRow("negative made absolute")
            << QStringList{"1", "-1", "2", "0"} << QList<double>{0.25, 0.25, 0.5, 0.0};
        QTest::newRow("already summing to 1")
            << QStringList{"0.5", "0.5", "0", "0"} << QList<double>{0.5, 0.5, 0.0, 0.0};
    }
    void blendWeightsNormalised() {
        QFETCH(QStringList, typed);
        QFETCH(QList<double>, stored);
        EditorFixture f;
        const char* names[] = {"BlendLatVal", "BlendAltVal", "BlendSlopeVal", "BlendFacingVal"};
        QVERIFY(RunSheet(
            f,
            [&](LightingSheet& sheet) {
                for (int i = 0; i < 4; ++i)
                    Type(sheet, names[i], typed[i]);
            },
            true));
        const korvel::LightParms& lp = f.Ws.TheSurface.Lighting;
        QCOMPARE(lp.BlendLatVal, stored[0]);
        QCOMPARE(lp.BlendAltVal, stored[1]);
        QCOMPARE(lp.BlendSlopeVal, stored[2]);
        QCOMPARE(lp.BlendFacingVal, stored[3]);
    }

    void okRulesForDepthAndSea_data() {
        QTest::addColumn<int>("depthChoice");
        QTest::addColumn<bool>("absolute");
        QTest::addColumn<int>("depth");
        QTest::addColumn<double>("seaLowest");
        // Without absolute colouring the deepest sea colour sits at the Surface's Min, -37.
        QTest::newRow("8 bit, relative") << 0 << false << 8 << -37.0;
        QTest::newRow("24 bit, absolute keeps Abs Min") << 1 << true << 24 << -500.0;
    }
    void okRulesForDepthAndSea() {
        QFETCH(int, depthChoice);
        QFETCH(bool, absolute);
        QFETCH(int, depth);
        QFETCH(double, seaLowest);
        EditorFixture f;
        f.Ws.TheSurface.Min = -37.0;
        QVERIFY(RunSheet(
            f,
            [&](LightingSheet& sheet) {
                sheet.findChild<QComboBox*>("BitDepth")->setCurrentIndex(depthChoice);
                sheet.findChild<QCheckBox*>("AbsColor")->setChecked(absolute);
                Type(sheet, "SeaLowest", "-500");
            },
            true));
        QCOMPARE(f.Ws.TheSurface.Lighting.BitDepth, depth);
        QCOMPARE(f.Ws.TheSurface.Lighting.SeaLowest, seaLowest);
    }

    void okRecordsTheChangedSettings() {
        EditorFixture f;
        QVERIFY(RunSheet(
            f, [](LightingSheet& sheet) { Type(sheet, "Az", "400"); }, true));
        QVERIFY(HasStep(f, "Light/Az=359.990000"));
        QVERIFY(!HasStep(f, "Light/El=45.000000"));
    }

    void cancelChangesNothing() {
        EditorFixture f;
        const std::string before = korvel::FormatLightParms(f.Ws.TheSurface.Lighting);
        QVERIFY(RunSheet(
            f,
            [](LightingSheet& sheet) {
                Type(sheet, "Az", "10");
                Type(sheet, "Gamma", "3");
                Type(sheet, "BlendLatVal", "5");
                sheet.findChild<QComboBox*>("Type")->setCurrentIndex(1);
                sheet.findChild<QCheckBox*>("AbsColor")->setChecked(true);
                // A colour list edited and accepted inside the sheet goes too.
                WhenModal<korvel::ColorListDialog>([](korvel::ColorListDialog& d) {
                    d.SelectRow(0);
                    QTest::keyClick(&d, Qt::Key_Delete);
                    d.accept();
                });
                sheet.findChild<QPushButton*>("AltColor")->click();
                QCOMPARE(sheet.Edited().AltColor.Count(), 31);
            },
            false));
        QCOMPARE(korvel::FormatLightParms(f.Ws.TheSurface.Lighting), before);
        QVERIFY(f.Window->Session().Steps().empty());
    }

    void colourListEditedThroughTheSheet() {
        EditorFixture f;
        QVERIFY(RunSheet(
            f,
            [](LightingSheet& sheet) {
                WhenModal<korvel::ColorListDialog>([](korvel::ColorListDialog& d) {
                    korvel::test::ChooseColor(QColor(10, 20, 30));
                    d.findChild<QPushButton*>("Add")->click();
                    d.accept();
                });
                sheet.findChild<QPushButton*>("SlopeColor")->click();
            },
            true));
        const korvel::ColorList& slope = f.Ws.TheSurface.Lighting.SlopeColor;
        QCOMPARE(slope.Count(), 1);
        QCOMPARE(slope.Entry(0), korvel::PackColor(10, 20, 30));
    }

    void latitudePageDialogs_data() {
        QTest::addColumn<bool>("ok");
        QTest::addColumn<double>("h");
        QTest::addColumn<int>("ice");
        // 10 | 20 << 8 | 30 << 16 = 1971210; the default ice is white, 0xFFFFFF.
        QTest::newRow("sheet OK keeps both") << true << 0.3 << 1971210;
        QTest::newRow("sheet Cancel drops both") << false << 1.0 << 0xFFFFFF;
    }
    void latitudePageDialogs() {
        QFETCH(bool, ok);
        QFETCH(double, h);
        QFETCH(int, ice);
        EditorFixture f;
        bool fbmAnswered = false;
        QVERIFY(RunSheet(
            f,
            [&fbmAnswered](LightingSheet& sheet) {
                WhenModal<QDialog>(
                    [](QDialog& fbm) {
                        QCOMPARE(fbm.windowTitle(), QString("fBm Latitude Texture"));
                        fbm.findChild<QLineEdit*>("H")->setText("0.3");
                        fbm.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
                    },
                    &fbmAnswered);
                sheet.findChild<QPushButton*>("FbmSetup")->click();
                korvel::test::ChooseColor(QColor(10, 20, 30));
                sheet.findChild<QPushButton*>("IceColor")->click();
            },
            ok));
        QVERIFY(fbmAnswered);
        QCOMPARE(f.Ws.TheSurface.Lighting.FbmParms.H, h);
        QCOMPARE(f.Ws.TheSurface.Lighting.IceColor, ice);
    }

    void numberRefusedKeepsSheetOpen() {
        EditorFixture f;
        QString message;
        bool stayed = false;
        QVERIFY(RunSheet(
            f,
            [&](LightingSheet& sheet) {
                Type(sheet, "Ambient", "bright");
                korvel::test::AnswerMessage(QMessageBox::Ok, &message);
                sheet.accept();
                stayed = sheet.isVisible() && sheet.result() != QDialog::Accepted;
            },
            false));
        QVERIFY(stayed);
        QCOMPARE(message, QString("Ambient: \"bright\" is not a number"));
        QCOMPARE(f.Ws.TheSurface.Lighting.Ambient, 0.1);
    }

    void updatePaletteClampsLevels_data() {
        QTest::addColumn<int>("colors");
        QTest::addColumn<int>("levels");
        QTest::addColumn<int>("shownLevels");
        // Levels at most 234 / (Colors - 1), integer division.
        QTest::newRow("15 colours allow 16 levels") << 15 << 30 << 16;
        QTest::newRow("234 colours allow 1 level") << 234 << 5 << 1;
        QTest::newRow("within the limit") << 15 << 15 << 15;
    }
    void updatePaletteClampsLevels() {
        QFETCH(int, colors);
        QFETCH(int, levels);
        QFETCH(int, shownLevels);
        EditorFixture f;
        int shown = 0;
        QVERIFY(RunSheet(
            f,
            [&](LightingSheet& sheet) {
                sheet.findChild<QSpinBox*>("Colors")->setValue(colors);
                sheet.findChild<QSpinBox*>("Levels")->setValue(levels);
                sheet.findChild<QPushButton*>("UpdatePalette")->click();
                shown = sheet.findChild<QSpinBox*>("Levels")->value();
            },
            false));
        QCOMPARE(shown, shownLevels);
        // Only a preview: Cancel leaves the record's levels alone.
        QCOMPARE(f.Ws.TheSurface.Lighting.Levels, 15);
    }

    void directionPicture_data() {
        QTest::addColumn<double>("az");
        QTest::addColumn<double>("el");
        // The sun's offset from the centre in horizon radii: (sin az, -cos az) * cos el.
        QTest::addColumn<double>("dx");
        QTest::addColumn<double>("dy");
        QTest::newRow("north on the horizon") << 0.0 << 0.0 << 0.0 << -1.0;
        QTest::newRow("east on the horizon") << 90.0 << 0.0 << 1.0 << 0.0;
        QTest::newRow("south at 60 degrees") << 180.0 << 60.0 << 0.0 << 0.5;
        QTest::newRow("overhead") << 270.0 << 90.0 << 0.0 << 0.0;
        QTest::newRow("north-west at 45 degrees") << 315.0 << 45.0 << -0.5 << -0.5;
    }
    void directionPicture() {
        QFETCH(double, az);
        QFETCH(double, el);
        QFETCH(double, dx);
        QFETCH(double, dy);
        korvel::LightDirectionPicture picture;
        picture.resize(120, 100);
        picture.SetDirection(az, el);
        const QPointF offset = (picture.SunPosition() - picture.Centre()) / picture.HorizonRadius();
        QVERIFY2(std::fabs(offset.x() - dx) < 1e-9, qPrintable(QString::number(offset.x())));
        QVERIFY2(std::fabs(offset.y() - dy) < 1e-9, qPrintable(QString::number(offset.y())));
    }

    void pictureFollowsTheSliders() {
        EditorFixture f;
        QPointF offset;
        QString azText;
        QVERIFY(RunSheet(
            f,
            [&](LightingSheet& sheet) {
                sheet.findChild<QSlider*>("AzSlider")->setValue(9000);
                sheet.findChild<QSlider*>("ElSlider")->setValue(0);
                korvel::LightDirectionPicture* p = sheet.DirectionPicture();
                offset = (p->SunPosition() - p->Centre()) / p->HorizonRadius();
                azText = sheet.findChild<QLineEdit*>("Az")->text();
            },
            true));
        QVERIFY(std::fabs(offset.x() - 1.0) < 1e-9 && std::fabs(offset.y()) < 1e-9);
        QCOMPARE(azText, QString("90"));
        QCOMPARE(f.Ws.TheSurface.Lighting.Az, 90.0);
        QCOMPARE(f.Ws.TheSurface.Lighting.El, 0.0);
    }

    // The README's picture, taken by scripts/screenshots.sh under a virtual display.
    void pictureForTheReadme() {
        const QString folder = qEnvironmentVariable("KORVEL_SCREENSHOTS");
        if (folder.isEmpty())
            QSKIP("KORVEL_SCREENSHOTS names no folder for the pictures");
        EditorFixture f;
        LightingSheet sheet(f.Ws, 2, nullptr);
        sheet.show();
        QVERIFY(QTest::qWaitForWindowExposed(&sheet));
        QVERIFY(sheet.grab().save(folder + "/lighting-settings.png"));
    }
};

int RunLightingSheetTests(int argc, char** argv) {
    LightingSheetTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "lighting_sheet_test.moc"
