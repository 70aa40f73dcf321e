#include "core/app_state.h"
#include "core/start_stop_timing.h"
#include "fakes/fake_window_opener.h"

#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {
struct Fixture {
    QTemporaryDir dir;
    CallLog log;
    FakeWindowOpener windows{log};
    std::unique_ptr<AppState> state;
    std::unique_ptr<StartStopTiming> timing;
    QList<bool> timerRuns;
    Fixture()
    {
        state = std::make_unique<AppState>(Services{}, dir.path(), dir.filePath("s.ini"), dir.path());
        timing = std::make_unique<StartStopTiming>(*state);
        QObject::connect(timing.get(), &StartStopTiming::timerRunningChanged,
                         [this](bool running) { timerRuns << running; });
    }
};
} // namespace

class TestStartStopTiming : public QObject
{
    Q_OBJECT
private slots:
    void ticksCountMinutes_data();
    void ticksCountMinutes();
    void endKeepsTimeAndNextStartResets();
    void refusedClicksChangeNothing_data();
    void refusedClicksChangeNothing();
    void hoursStopAtTheLimit();
};

void TestStartStopTiming::ticksCountMinutes_data()
{
    QTest::addColumn<int>("ticks");
    QTest::addColumn<int>("hours");
    QTest::addColumn<int>("minutes");
    QTest::addColumn<QString>("label");
    QTest::newRow("none yet") << 0 << 0 << 0 << "0 hrs, 0 mins";
    QTest::newRow("59") << 59 << 0 << 59 << "0 hrs, 59 mins";
    QTest::newRow("60") << 60 << 1 << 0 << "1 hrs, 0 mins";
    QTest::newRow("61") << 61 << 1 << 1 << "1 hrs, 1 mins";
    QTest::newRow("two hours five") << 125 << 2 << 5 << "2 hrs, 5 mins";
}

void TestStartStopTiming::ticksCountMinutes()
{
    QFETCH(int, ticks);
    QFETCH(int, hours);
    QFETCH(int, minutes);
    QFETCH(QString, label);
    Fixture f;
    QCOMPARE(f.timing->label(), QString());
    f.timing->click(f.windows);
    QVERIFY(f.timing->running());
    QCOMPARE(f.timing->caption(), QStringLiteral("End &Time"));
    QCOMPARE(f.timerRuns, QList<bool>{true});
    for (int i = 0; i < ticks; ++i)
        f.timing->tick();
    QCOMPARE(int(f.state->TimedHours), hours);
    QCOMPARE(int(f.state->TimedMinutes), minutes);
    QCOMPARE(f.timing->label(), label);
    QVERIFY(f.log.entries.isEmpty()); // no password asked while the option is off
}

void TestStartStopTiming::endKeepsTimeAndNextStartResets()
{
    Fixture f;
    f.timing->click(f.windows);
    for (int i = 0; i < 65; ++i)
        f.timing->tick();
    f.timing->click(f.windows);
    QVERIFY(!f.timing->running());
    QCOMPARE(f.timing->caption(), QStringLiteral("Start &Time"));
    QCOMPARE(f.timerRuns, (QList<bool>{true, false}));
    QCOMPARE(f.timing->label(), QStringLiteral("1 hrs, 5 mins"));
    QCOMPARE(int(f.state->TimedHours), 1);
    QCOMPARE(int(f.state->TimedMinutes), 5);

    f.timing->click(f.windows);
    QCOMPARE(f.timing->label(), QStringLiteral("0 hrs, 0 mins"));
    QCOMPARE(int(f.state->TimedHours), 0);
    QCOMPARE(int(f.state->TimedMinutes), 0);
}

void TestStartStopTiming::refusedClicksChangeNothing_data()
{
    QTest::addColumn<bool>("topWindow");
    QTest::addColumn<bool>("running");
    QTest::addColumn<QStringList>("asked");
    QTest::newRow("wrong password, idle") << false << false << QStringList{"open:frmLogin"};
    QTest::newRow("wrong password, running") << false << true << QStringList{"open:frmLogin"};
    QTest::newRow("top window asks nothing") << true << true << QStringList{};
}

void TestStartStopTiming::refusedClicksChangeNothing()
{
    QFETCH(bool, topWindow);
    QFETCH(bool, running);
    QFETCH(QStringList, asked);
    Fixture f;
    f.state->SettingsFlags.UsePassword = true;
    if (running) {
        f.timing->click(f.windows);
        for (int i = 0; i < 3; ++i)
            f.timing->tick();
    }
    f.log.entries.clear();
    f.timerRuns.clear();
    const QString caption = f.timing->caption();
    const QString label = f.timing->label();
    f.windows.passwordRight = false;
    f.state->TopWindowOn = topWindow;
    QSignalSpy changed(f.timing.get(), &StartStopTiming::changed);
    f.timing->click(f.windows);
    QCOMPARE(f.log.entries, asked);
    QCOMPARE(f.timing->running(), running);
    QCOMPARE(f.timing->caption(), caption);
    QCOMPARE(f.timing->label(), label);
    QCOMPARE(changed.count(), 0);
    QVERIFY(f.timerRuns.isEmpty());

    // The right password switches it.
    f.state->TopWindowOn = false;
    f.windows.passwordRight = true;
    f.timing->click(f.windows);
    QCOMPARE(f.timing->running(), !running);
}

void TestStartStopTiming::hoursStopAtTheLimit()
{
    Fixture f;
    f.timing->click(f.windows);
    f.state->TimedHours = 32767;
    f.state->TimedMinutes = 59;
    f.timing->tick();
    QCOMPARE(int(f.state->TimedHours), 32767);
    QCOMPARE(int(f.state->TimedMinutes), 0);
    QCOMPARE(f.timing->label(), QStringLiteral("32767 hrs, 0 mins"));
}

QTEST_GUILESS_MAIN(TestStartStopTiming)
#include "tst_start_stop_timing.moc"
