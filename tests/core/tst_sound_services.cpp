#include "core/sound_services.h"
#include "fakes/recording_fakes.h"

#include <QTest>

class TestSoundServices : public QObject
{
    Q_OBJECT
private slots:
    void playWaveWithoutAlarmPlaysOnceThenHandlesEvents();
    void alarmLoopsWithoutHoldingTheCaller();
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

void TestSoundServices::alarmLoopsWithoutHoldingTheCaller()
{
    CallLog log;
    FakeSound sound(log);
    FakeEventPump events(log);
    events.pending << [&] { log.add("events"); };
    SoundServices services(nullptr, &sound, &events);

    services.setAlarmSounding(true);
    services.PlayWave("/app/alarm.wav");
    QCOMPARE(log.entries, QStringList({"loop:/app/alarm.wav", "events"}));

    // Cleared by a phrase: the loop stops once; clearing again changes nothing.
    services.setAlarmSounding(false);
    services.setAlarmSounding(false);
    services.PlayWave("/app/bink.wav");
    QCOMPARE(log.entries, QStringList({"loop:/app/alarm.wav", "events", "loopStop", "play:/app/bink.wav"}));
    // Set without a sound started, clearing has nothing to stop.
    services.setAlarmSounding(true);
    services.setAlarmSounding(false);
    QCOMPARE(log.entries.count("loopStop"), 1);
}

void TestSoundServices::missingServicesAreSkipped()
{
    CallLog log;
    FakeSound sound(log);
    FakeEventPump events(log);

    SoundServices none(nullptr, nullptr, nullptr);
    none.SpeakText("Ready");
    none.setAlarmSounding(true);
    none.PlayWave("/app/alarm.wav");
    none.setAlarmSounding(false);

    // The loop needs no event pump: the next phrase notification ends it.
    SoundServices noEvents(nullptr, &sound, nullptr);
    noEvents.setAlarmSounding(true);
    noEvents.PlayWave("/app/alarm.wav");
    noEvents.setAlarmSounding(false);
    QCOMPARE(log.entries, QStringList({"loop:/app/alarm.wav", "loopStop"}));

    SoundServices noSound(nullptr, nullptr, &events);
    noSound.setAlarmSounding(true);
    noSound.PlayWave("/app/alarm.wav");
    QCOMPARE(events.count, 1);
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
