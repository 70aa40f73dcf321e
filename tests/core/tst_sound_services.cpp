#include "fakes/recording_fakes.h"
#include "core/sound_services.h"

#include <QTest>

class TestSoundServices : public QObject {
    Q_OBJECT
private slots:
    void playWaveWithoutAlarmPlaysOnceThenHandlesEvents();
    void alarmLoopEndsWhenAPhraseClearsTheFlag_data();
    void alarmLoopEndsWhenAPhraseClearsTheFlag();
    void alarmLoopEndsWhenThePhraseArrivesDuringPlayback();
    void missingServicesAreSkipped();
    void speakTextKeepsTheOrder();
};

void TestSoundServices::playWaveWithoutAlarmPlaysOnceThenHandlesEvents()
{
    CallLog log;
    FakeSound sound(log);
    FakeEventPump events(log);
    events.pending << [&] { log.add("events"); };
    SoundServices services(nullptr, &sound, &events);

    services.PlayWave("/app/bink.wav");

    QCOMPARE(log.entries, QStringList({"play:/app/bink.wav", "events"}));
    QCOMPARE(events.count, 1);
}

void TestSoundServices::alarmLoopEndsWhenAPhraseClearsTheFlag_data()
{
    QTest::addColumn<int>("quietRounds");
    QTest::newRow("phrase at once") << 0;
    QTest::newRow("phrase in the second round") << 1;
    QTest::newRow("phrase in the fourth round") << 3;
}

void TestSoundServices::alarmLoopEndsWhenAPhraseClearsTheFlag()
{
    QFETCH(int, quietRounds);
    CallLog log;
    FakeSound sound(log);
    FakeEventPump events(log);
    SoundServices services(nullptr, &sound, &events);
    for (int i = 0; i < quietRounds; ++i)
        events.pending << [&] { log.add("events"); };
    events.pending << [&] {
        log.add("phrase");
        services.AlarmSounding = false;
    };
    services.AlarmSounding = true;

    services.PlayWave("/app/alarm.wav");

    // Each round handles events and then plays to the end, even the round whose events
    // cleared the flag; then one more play without waiting and a last round of events.
    QStringList expected;
    for (int i = 0; i < quietRounds; ++i)
        expected << "events" << "playToEnd:/app/alarm.wav";
    expected << "phrase" << "playToEnd:/app/alarm.wav" << "play:/app/alarm.wav";
    QCOMPARE(log.entries, expected);
    QCOMPARE(events.count, quietRounds + 2);
    QVERIFY(!services.AlarmSounding);
}

void TestSoundServices::alarmLoopEndsWhenThePhraseArrivesDuringPlayback()
{
    CallLog log;
    FakeSound sound(log);
    FakeEventPump events(log);
    SoundServices services(nullptr, &sound, &events);
    int rounds = 0;
    sound.onPlayToEnd = [&] {
        if (++rounds == 2)
            services.AlarmSounding = false;
    };
    services.AlarmSounding = true;

    services.PlayWave("/app/alarm.wav");

    QCOMPARE(log.with("playToEnd:").size(), 2);
    QCOMPARE(log.entries.last(), QString("play:/app/alarm.wav"));
    QCOMPARE(events.count, 3);
}

void TestSoundServices::missingServicesAreSkipped()
{
    CallLog log;
    FakeSound sound(log);
    FakeEventPump events(log);

    SoundServices none(nullptr, nullptr, nullptr);
    none.SpeakText("Ready");
    none.AlarmSounding = true;
    none.PlayWave("/app/alarm.wav"); // must return: nothing could ever clear the flag

    // Without a pump nothing can clear the flag, so the alarm is not looped but still sounds.
    SoundServices noEvents(nullptr, &sound, nullptr);
    noEvents.AlarmSounding = true;
    noEvents.PlayWave("/app/alarm.wav");
    QCOMPARE(log.entries, QStringList({"play:/app/alarm.wav"}));

    SoundServices noSound(nullptr, nullptr, &events);
    noSound.AlarmSounding = true;
    noSound.PlayWave("/app/alarm.wav");
    QCOMPARE(events.count, 2);
}

void TestSoundServices::speakTextKeepsTheOrder()
{
    CallLog log;
    FakeSpeech speech(log);
    SoundServices services(&speech, nullptr, nullptr);

    services.SpeakText("Auto Dial is not on, calling out number now!");
    services.SpeakText("Calling Police Now!");
    services.SpeakText("");

    QCOMPARE(log.with("speak:"),
             QStringList({"Auto Dial is not on, calling out number now!", "Calling Police Now!", ""}));
}

QTEST_GUILESS_MAIN(TestSoundServices)
#include "tst_sound_services.moc"
