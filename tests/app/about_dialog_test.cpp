#include "app/about_dialog.h"
#include "app/app_tests.h"
#include "editor_fixture.h"
#include "modal_answer.h"

#include <QLabel>
#include <QTest>

using korvel::AboutDialog;
using korvel::test::AnswerModal;
using korvel::test::EditorFixture;

class AboutDialogTest : public QObject {
    Q_OBJECT

private slots:
    // Each library the README lists, and Qt, with its licence as its makers name it.
    void namesVersionAndLicences_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("version") << "Korvel " KORVEL_VERSION;
        QTest::newRow("Qt") << "<td>Qt 6</td><td>the editor's windows</td><td>GNU LGPL version 3";
        QTest::newRow("libpng") << "PNG Reference Library License version 2; zlib licence";
        QTest::newRow("libtiff") << "<td>libtiff</td>";
        QTest::newRow("libgeotiff") << "<td>libgeotiff</td>";
        QTest::newRow("OpenEXR") << "<td>OpenEXR (with Imath)</td>";
    }
    void namesVersionAndLicences() {
        QFETCH(QString, text);
        EditorFixture f;
        QString shown;
        bool answered = false;
        AnswerModal<AboutDialog>(
            [&shown](AboutDialog& d) {
                shown = d.windowTitle() + "|" + d.findChild<QLabel*>("version")->text() + "|" +
                        d.findChild<QLabel*>("licences")->text();
                d.accept();
            },
            &answered);
        f.Trigger(korvel::CmdAbout);
        QVERIFY(answered);
        QVERIFY(shown.startsWith("About Korvel|"));
        QVERIFY2(shown.contains(text), qPrintable(shown));
    }
};

int RunAboutDialogTests(int argc, char** argv) {
    AboutDialogTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "about_dialog_test.moc"
