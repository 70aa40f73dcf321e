#include "fakes/key_recording_window.h"
#include "voice/xtest_key_sender.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QWindow>
#include <QtTest>

// Without X11 the keys go to the program's own focused window, in the order sent.

class TestXTestKeySender : public QObject
{
    Q_OBJECT
private slots:
    void keysReachTheFocusedWindow();
};

void TestXTestKeySender::keysReachTheFocusedWindow()
{
    KeyRecordingWindow window;
    window.resize(100, 100);
    window.show();
    window.requestActivate();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    XTestKeySender sender;
    QVERIFY(!sender.usesXTest()); // the offscreen platform has no X server
    sender.sendKey(Qt::Key_Tab);
    sender.sendKey(Qt::Key_Return);
    QVERIFY(window.keys.isEmpty()); // posted, not delivered while the sender waits

    const QStringList expected{
        QStringLiteral("press:%1").arg(Qt::Key_Tab), QStringLiteral("release:%1").arg(Qt::Key_Tab),
        QStringLiteral("press:%1").arg(Qt::Key_Return), QStringLiteral("release:%1").arg(Qt::Key_Return)};
    QTRY_COMPARE(window.keys, expected);
}

QTEST_MAIN(TestXTestKeySender)
#include "tst_xtest_key_sender.moc"
