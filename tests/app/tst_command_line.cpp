#include "app/command_line.h"
#include "app/display_platform.h"

#include <QTest>

class TestCommandLine : public QObject
{
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void displayPlatform_data();
    void displayPlatform();
};

void TestCommandLine::parse_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("exitNow");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("outputHas");
    QTest::addColumn<QString>("dataDir");
    QTest::newRow("nothing") << QStringList{} << false << 0 << ""
                             << "";
    QTest::newRow("data folder") << QStringList{"--data-dir", "/tmp/x"} << false << 0 << ""
                                 << "/tmp/x";
    QTest::newRow("data folder, joined") << QStringList{"--data-dir=/tmp/y"} << false << 0 << ""
                                         << "/tmp/y";
    QTest::newRow("toolkit options pass")
        << QStringList{"-platform", "offscreen", "--data-dir", "/d", "-reverse"} << false << 0 << ""
        << "/d";
    QTest::newRow("help") << QStringList{"--help"} << true << 0 << "Usage: hushby [options]"
                          << "";
    QTest::newRow("version") << QStringList{"--version"} << true << 0 << "hushby 2.0"
                             << "";
    QTest::newRow("unknown option") << QStringList{"--bogus"} << true << 2 << "Unknown option 'bogus'"
                                    << "";
    QTest::newRow("unknown option shows usage") << QStringList{"--bogus"} << true << 2 << "--data-dir <dir>"
                                                << "";
    QTest::newRow("missing value") << QStringList{"--data-dir"} << true << 2 << "Missing value"
                                   << "";
    QTest::newRow("stray argument") << QStringList{"today.dta"} << true << 2 << "today.dta"
                                    << "";
}

void TestCommandLine::parse()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, exitNow);
    QFETCH(int, exitCode);
    QFETCH(QString, outputHas);
    QFETCH(QString, dataDir);
    const CommandLine line = CommandLine::parse(QStringList{"hushby"} + arguments, "2.0");
    QCOMPARE(line.exitNow, exitNow);
    QCOMPARE(line.exitCode, exitCode);
    QVERIFY2(line.output.contains(outputHas), qPrintable(line.output));
    QCOMPARE(line.dataDir, dataDir);
}

void TestCommandLine::displayPlatform_data()
{
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<QByteArray>("platform");

    QTest::newRow("Wayland session with XWayland") << QStringList{"XDG_SESSION_TYPE=wayland", "DISPLAY=:0",
                                                                  "WAYLAND_DISPLAY=wayland-0"}
                                                   << QByteArray("xcb");
    QTest::newRow("Wayland compositor, no session type")
        << QStringList{"DISPLAY=:1", "WAYLAND_DISPLAY=wayland-1"} << QByteArray("xcb");
    QTest::newRow("Wayland session without an X server") << QStringList{"XDG_SESSION_TYPE=wayland",
                                                                        "WAYLAND_DISPLAY=wayland-0"}
                                                         << QByteArray();
    QTest::newRow("Wayland session, empty DISPLAY")
        << QStringList{"XDG_SESSION_TYPE=wayland", "DISPLAY=", "WAYLAND_DISPLAY=wayland-0"} << QByteArray();
    QTest::newRow("platform chosen by the person")
        << QStringList{"XDG_SESSION_TYPE=wayland", "DISPLAY=:0", "QT_QPA_PLATFORM=wayland"} << QByteArray();
    QTest::newRow("X session") << QStringList{"XDG_SESSION_TYPE=x11", "DISPLAY=:0"} << QByteArray();
    QTest::newRow("no display at all") << QStringList{} << QByteArray();
}

void TestCommandLine::displayPlatform()
{
    QFETCH(QStringList, environment);
    QFETCH(QByteArray, platform);
    QProcessEnvironment env;
    for (const QString &pair : environment)
        env.insert(pair.section('=', 0, 0), pair.section('=', 1));
    QCOMPARE(displayPlatformFor(env), platform);
}

QTEST_APPLESS_MAIN(TestCommandLine)
#include "tst_command_line.moc"
