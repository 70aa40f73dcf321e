#include "core/sound_services.h"
#include "fakes/recording_fakes.h"

#include <QTest>

class TestSoundServices : public QObject
{
    Q_OBJECT
private slots:
    void waveAndAlarm_data();
    void waveAndAlarm();
    void missingServicesAreSkipped();
    void speakTextKeepsTheOrder();
};

// Steps: "wave" plays bink.wav, "alarm" starts the alarm, "clear" clears it, "set" sets it without
// a sound. The event pump logs "events" each time it runs.
void TestSoundServices::waveAndAlarm_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<bool>("soundingAfter");
    QTest::addColumn<int>("ownSounds"); // ownSoundsStarted() after the steps

    const QString bink = "play:/app/bink.wav";
    const QString loop = "loop:/app/alarm.wav";

    QTest::newRow("a sound plays once, then events are handled")
        << QStringList{"wave"} << QStringList{bink, "events"} << false << 1;
    QTest::newRow("the alarm loops without holding the caller, and is no own sound")
        << QStringList{"alarm"} << QStringList{loop, "events"} << true << 0;
    // A click, the close box or a prompt's OK is heard over the siren; the siren goes on.
    QTest::newRow("sounds over the alarm play once")
        << QStringList{"alarm", "wave", "wave"} << QStringList{loop, "events", bink, "events", bink, "events"} << true
        << 2;
    QTest::newRow("clearing stops the alarm's loop after a sound over it")
        << QStringList{"alarm", "wave", "clear"} << QStringList{loop, "events", bink, "events", "loopStop"} << false
        << 1;
    QTest::newRow("cleared twice, stopped once; later sounds play once")
        << QStringList{"alarm", "clear", "clear", "wave"} << QStringList{loop, "events", "loopStop", bink, "events"}
        << false << 1;
    QTest::newRow("set without a sound: nothing to stop") << QStringList{"set", "clear"} << QStringList{} << false << 0;
    QTest::newRow("started again: one loop to stop")
        << QStringList{"alarm", "alarm", "clear"} << QStringList{loop, "events", loop, "events", "loopStop"} << false
        << 0;
}

void TestSoundServices::waveAndAlarm()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, expected);
    QFETCH(bool, soundingAfter);
    QFETCH(int, ownSounds);

    CallLog log;
    FakeSound sound(log);
    FakeEventPump events(log);
    for (int i = 0; i < steps.size(); ++i)
        events.pending << [&] { log.add("events"); };
    SoundServices services(nullptr, &sound, &events);

    for (const QString &step : steps) {
        if (step == "wave")
            services.PlayWave("/app/bink.wav");
        else if (step == "alarm")
            services.startAlarm("/app/alarm.wav");
        else
            services.setAlarmSounding(step == "set");
    }

    QCOMPARE(log.entries, expected);
    QCOMPARE(services.alarmSounding(), soundingAfter);
    QCOMPARE(services.ownSoundsStarted(), ownSounds);
}

void TestSoundServices::missingServicesAreSkipped()
{
    CallLog log;
    FakeSound sound(log);
    FakeEventPump events(log);

    SoundServices none(nullptr, nullptr, nullptr);
    none.SpeakText("Ready");
    none.startAlarm("/app/alarm.wav");
    none.PlayWave("/app/bink.wav");
    none.setAlarmSounding(false);

    // The loop needs no event pump: the next phrase notification ends it.
    SoundServices noEvents(nullptr, &sound, nullptr);
    noEvents.startAlarm("/app/alarm.wav");
    noEvents.setAlarmSounding(false);
    QCOMPARE(log.entries, QStringList({"loop:/app/alarm.wav", "loopStop"}));

    SoundServices noSound(nullptr, nullptr, &events);
    noSound.startAlarm("/app/alarm.wav");
    noSound.PlayWave("/app/bink.wav");
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
