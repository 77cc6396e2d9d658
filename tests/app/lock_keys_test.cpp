#include "app/app_tests.h"
#include "app/lock_keys.h"
#include "app/texture_view.h"
#include "editor_fixture.h"

#include <QTest>

using korvel::LockKeyState;

namespace {

// -1 unknown, 0 off, 1 on.
int Tri(const std::optional<bool>& v) {
    return v ? int(*v) : -1;
}

} // namespace

class LockKeysTest : public QObject {
    Q_OBJECT

private slots:
    void keysShowTheLocks_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("caps");
        QTest::addColumn<int>("num");
        const int shift = Qt::ShiftModifier;
        const int keypad = Qt::KeypadModifier;
        QTest::newRow("small letter") << int(Qt::Key_A) << "a" << 0 << 0 << -1;
        QTest::newRow("capital letter") << int(Qt::Key_A) << "A" << 0 << 1 << -1;
        QTest::newRow("shifted capital") << int(Qt::Key_A) << "A" << shift << 0 << -1;
        QTest::newRow("shifted small letter") << int(Qt::Key_A) << "a" << shift << 1 << -1;
        QTest::newRow("letter of another script") << int(Qt::Key_unknown) << "Ж" << 0 << 1 << -1;
        QTest::newRow("digit says nothing") << int(Qt::Key_5) << "5" << 0 << -1 << -1;
        QTest::newRow("control letter says nothing")
            << int(Qt::Key_A) << "\x01" << int(Qt::ControlModifier) << -1 << -1;
        QTest::newRow("keypad digit") << int(Qt::Key_7) << "7" << keypad << -1 << 1;
        QTest::newRow("keypad movement") << int(Qt::Key_Home) << "" << keypad << -1 << 0;
        QTest::newRow("shifted keypad movement")
            << int(Qt::Key_Left) << "" << (keypad | shift) << -1 << 1;
        QTest::newRow("shifted keypad digit")
            << int(Qt::Key_1) << "1" << (keypad | shift) << -1 << 0;
        QTest::newRow("arrow off the keypad") << int(Qt::Key_Home) << "" << 0 << -1 << -1;
    }
    void keysShowTheLocks() {
        QFETCH(int, key);
        QFETCH(QString, text);
        QFETCH(int, modifiers);
        QFETCH(int, caps);
        QFETCH(int, num);
        LockKeyState state;
        korvel::NoteLockKeys(state, key, text, Qt::KeyboardModifiers(modifiers));
        QCOMPARE(Tri(state.Caps), caps);
        QCOMPARE(Tri(state.Num), num);
    }

    void panesFollowTheKeysTypedIntoTheView() {
        korvel::test::EditorFixture f;
        f.Window->show();
        QCOMPARE(f.Window->LockPanesText(), QString("|"));
        QTest::keyClick(f.Window->View(), Qt::Key_A, Qt::NoModifier);
        QCOMPARE(f.Window->LockPanesText(), QString("|"));
        QTest::keyClick(f.Window->View(), 'B', Qt::NoModifier);
        QCOMPARE(f.Window->LockPanesText(), QString("CAP|"));
        QTest::keyClick(f.Window->View(), Qt::Key_9, Qt::KeypadModifier);
        QCOMPARE(f.Window->LockPanesText(), QString("CAP|NUM"));
    }
};

int RunLockKeyTests(int argc, char** argv) {
    LockKeysTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "lock_keys_test.moc"
