#include "fakes/key_recording_window.h"
#include "voice/xtest_key_sender.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QWindow>
#include <QtTest>

// On X11 the keys go through the X server to whichever window has the focus; here that is a
// window of the test, so the keys can be seen arriving.

class TestXTestKeySenderX11 : public QObject
{
    Q_OBJECT
private slots:
    void keysGoThroughTheXServer();
};

void TestXTestKeySenderX11::keysGoThroughTheXServer()
{
    QCOMPARE(QGuiApplication::platformName(), QString("xcb"));
    KeyRecordingWindow window;
    window.resize(100, 100);
    window.show();
    window.requestActivate();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    XTestKeySender sender;
    QVERIFY(sender.usesXTest());
    sender.sendKey(Qt::Key_Tab);
    sender.sendKey(Qt::Key_Return);

    const QStringList expected{
        QStringLiteral("press:%1").arg(Qt::Key_Tab), QStringLiteral("release:%1").arg(Qt::Key_Tab),
        QStringLiteral("press:%1").arg(Qt::Key_Return), QStringLiteral("release:%1").arg(Qt::Key_Return)};
    QTRY_COMPARE(window.keys, expected);
}

int main(int argc, char **argv)
{
    // Needs the X display the test run provides, whatever platform the caller's setup names.
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    TestXTestKeySenderX11 test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_xtest_key_sender_x11.moc"
