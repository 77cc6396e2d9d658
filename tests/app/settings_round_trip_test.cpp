#include "app/app_tests.h"
#include "app/qt_settings_store.h"
#include "core/host.h"
#include "core/settings.h"
#include "core/workspace.h"
#include "editor_fixture.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using korvel::SettingDescriptor;
using korvel::SettingType;

namespace {

// A value of the row's type unlike its default, as the settings file must keep it.
std::string OtherValue(const SettingDescriptor& s) {
    if (s.Section == "Map" && s.Key == "XSize")
        return "64";
    if (s.Section == "Map" && s.Key == "YSize")
        return "32";
    switch (s.Type) {
    case SettingType::Bool:
        return s.DefaultText == "0" ? "1" : "0";
    case SettingType::Int:
    case SettingType::Long:
    case SettingType::Int7:
        return s.DefaultText == "3" ? "2" : "3";
    case SettingType::Double:
        return "-1234.567800";
    case SettingType::Float:
        return "12.250000";
    default:
        // Characters an INI file must escape or quote.
        return "C:\\maps\\a, \"b\"; c=d #e";
    }
}

} // namespace

class SettingsRoundTripTest : public QObject {
    Q_OBJECT

private slots:
    void settingsOfOneRunAreReadByTheNext() {
        QTemporaryDir dir;
        const QString path = dir.filePath("Korvel.ini");
        std::vector<std::pair<std::string, std::string>> written;
        {
            korvel::test::EditorFixture first;
            for (const SettingDescriptor& s : first.Ws.Settings)
                if (s.Persisted && s.Type != SettingType::Skip) {
                    const std::string value = OtherValue(s);
                    QVERIFY2(korvel::ParseSetting(s, value), s.Name().c_str());
                    written.emplace_back(s.Name(), value);
                }
            korvel::QtSettingsStore store(path);
            QVERIFY(first.Ws.Finish(store));
        }
        QVERIFY(written.size() > 50);
        // The registry's subkeys Data\ and Data\Map as QSettings groups: section [Data].
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        QVERIFY(text.startsWith("[Data]\n"));
        QVERIFY(text.contains("\nUndo=3\n"));
        QVERIFY(text.contains("\nMap\\XSize=64\n"));
        korvel::test::EditorFixture next;
        korvel::QtSettingsStore store(path);
        std::vector<korvel::SettingLoadFailure> unread;
        // Start's fresh Surface takes its size from the settings but zeroes its extremes.
        QCOMPARE(next.Ws.Start(store, &unread), 0);
        QVERIFY(unread.empty());
        for (const auto& [name, value] : written) {
            if (name == "Map/Min" || name == "Map/Max" || name == "Map/XRes" || name == "Map/YRes")
                continue;
            const SettingDescriptor* s = korvel::FindSetting(next.Ws.Settings, name);
            QVERIFY(s);
            QCOMPARE(QString::fromStdString(name + "=" + korvel::FormatSetting(*s)),
                     QString::fromStdString(name + "=" + value));
        }
        QCOMPARE(next.Ws.TheSurface.XSize, 64);
        QCOMPARE(next.Ws.TheSurface.YSize, 32);
    }

    void unwritableFileIsReportedWithItsReason() {
        QTemporaryDir dir;
        // A plain file where the settings file's folder should be.
        QFile blocker(dir.filePath("folder"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        korvel::QtSettingsStore store(dir.filePath("folder/Korvel.ini"));
        store.Write("Data\\", "Undo", "3");
        QVERIFY(!store.Flush());
        QCOMPARE(store.FailureReason(),
                 QString("the file or its folder could not be created or written"));
    }
};

int RunSettingsRoundTripTests(int argc, char** argv) {
    SettingsRoundTripTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "settings_round_trip_test.moc"
