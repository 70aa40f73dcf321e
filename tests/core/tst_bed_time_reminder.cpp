#include "core/bed_time_reminder.h"
#include "core/settings.h"
#include "core/sound_services.h"
#include "fakes/recording_fakes.h"
#include "records/info_record.h"

#include <QTemporaryDir>
#include <QtTest>

class TestBedTimeReminder : public QObject
{
    Q_OBJECT
private slots:
    void bedtimeMatches_data();
    void bedtimeMatches();
    void tick_data();
    void tick();
    void optionButtonsSwitchTheTimer();
    void checkBoxesAreStoredOnEveryClick();
};

void TestBedTimeReminder::bedtimeMatches_data()
{
    QTest::addColumn<QString>("bedtime");
    QTest::addColumn<QTime>("now");
    QTest::addColumn<bool>("matches");

    QTest::newRow("bare 8:30 is morning") << "8:30" << QTime(8, 30, 0) << true;
    QTest::newRow("bare 8:30, last second") << "8:30" << QTime(8, 30, 59) << true;
    QTest::newRow("bare 8:30, next minute") << "8:30" << QTime(8, 31, 0) << false;
    QTest::newRow("bare 8:30 in the evening") << "8:30" << QTime(20, 30, 0) << false;
    QTest::newRow("leading zero") << "08:30" << QTime(8, 30, 20) << true;
    QTest::newRow("24-hour evening") << "20:30" << QTime(20, 30, 40) << true;
    QTest::newRow("20:30 is not 20:35") << "20:30" << QTime(20, 35, 0) << false;
    QTest::newRow("20:30 is not 20:39") << "20:30" << QTime(20, 39, 59) << false;
    QTest::newRow("PM") << "8:30 PM" << QTime(20, 30, 0) << true;
    QTest::newRow("PM is not morning") << "8:30 PM" << QTime(8, 30, 0) << false;
    QTest::newRow("pm without blank") << "8:30pm" << QTime(20, 30, 0) << true;
    QTest::newRow("p.m.") << "8:30 p.m." << QTime(20, 30, 0) << true;
    QTest::newRow("AM") << "8:30 am" << QTime(8, 30, 0) << true;
    // "10:30 p.m." as the 8-character field stores it.
    QTest::newRow("p. without the m.") << "10:30 p." << QTime(22, 30, 0) << true;
    QTest::newRow("p alone") << "10:30 p" << QTime(22, 30, 0) << true;
    QTest::newRow("p alone is not morning") << "10:30 p" << QTime(10, 30, 0) << false;
    QTest::newRow("P. in capitals") << "9:15 P." << QTime(21, 15, 0) << true;
    QTest::newRow("a. without the m.") << "10:30 a." << QTime(10, 30, 0) << true;
    QTest::newRow("a alone, no blank") << "6:05a" << QTime(6, 5, 0) << true;
    QTest::newRow("12 a. is after midnight") << "12:00 a." << QTime(0, 0, 0) << true;
    QTest::newRow("12 p is noon") << "12:00 p" << QTime(12, 0, 0) << true;
    QTest::newRow("12:15 AM is after midnight") << "12:15 AM" << QTime(0, 15, 0) << true;
    QTest::newRow("12:15 AM is not noon") << "12:15 AM" << QTime(12, 15, 0) << false;
    QTest::newRow("12:15 PM is noon") << "12:15 PM" << QTime(12, 15, 0) << true;
    QTest::newRow("blank-filled field") << "  21:05 " << QTime(21, 5, 0) << true;
    QTest::newRow("seconds typed too") << "21:05:00" << QTime(21, 5, 30) << true;
    QTest::newRow("empty") << "" << QTime(0, 0, 0) << false;
    QTest::newRow("blanks only") << "        " << QTime(0, 0, 0) << false;
    QTest::newRow("words") << "at eight" << QTime(8, 0, 0) << false;
    QTest::newRow("hour only") << "8" << QTime(8, 0, 0) << false;
    QTest::newRow("hour past the day") << "24:00" << QTime(0, 0, 0) << false;
    QTest::newRow("PM with a 24-hour hour") << "13:00 PM" << QTime(13, 0, 0) << false;
    QTest::newRow("minute past the hour") << "8:60" << QTime(9, 0, 0) << false;
    QTest::newRow("text after the time") << "8:30 or so" << QTime(8, 30, 0) << false;
    QTest::newRow("m without a or p") << "8:30 m" << QTime(8, 30, 0) << false;
    QTest::newRow("p twice") << "8:30 pp" << QTime(20, 30, 0) << false;
}

void TestBedTimeReminder::bedtimeMatches()
{
    QFETCH(QString, bedtime);
    QFETCH(QTime, now);
    QFETCH(bool, matches);
    QCOMPARE(BedTimeReminder::bedtimeMatches(bedtime, now), matches);
}

void TestBedTimeReminder::tick_data()
{
    QTest::addColumn<QString>("bedtime"); // as typed; the field keeps 8 characters
    QTest::addColumn<bool>("voiceOn");
    QTest::addColumn<QTime>("now");
    QTest::addColumn<QStringList>("expected");

    const QStringList reminder{"speak:It's time for bed ... have a good nights rest! ... Don't forget to "
                               "brush your teeth. Nighty, night!"};
    QTest::newRow("voice on: speech only") << "8:30 PM" << true << QTime(20, 30, 20) << reminder;
    QTest::newRow("voice off: the alarm sound only")
        << "8:30 PM" << false << QTime(20, 30, 20) << QStringList{"play:sounds/alarm.wav"};
    QTest::newRow("not yet") << "8:30 PM" << true << QTime(20, 29, 59) << QStringList{};
    QTest::newRow("10:30 p.m., cut by the field") << "10:30 p.m." << true << QTime(22, 30, 0) << reminder;
}

void TestBedTimeReminder::tick()
{
    QFETCH(QString, bedtime);
    QFETCH(bool, voiceOn);
    QFETCH(QTime, now);
    QFETCH(QStringList, expected);

    QTemporaryDir dir;
    CallLog log;
    FakeSpeech speech(log);
    FakeSound player(log);
    FakeClock clock;
    clock.current.setTime(now);
    SoundServices sound(&speech, &player, nullptr);
    SettingsStore store(dir.filePath("settings.ini"));
    SettingsFlags flags;
    flags.VoiceOn = voiceOn;
    flags.TalkBack = false; // not consulted
    InfoRecord info;
    info.setField(InfoRecord::Bedtime, bedtime);
    Settings settings(store, flags);
    BedTimeReminder reminder(settings, info, sound, &clock, "sounds/alarm.wav");

    reminder.tick();
    QCOMPARE(log.entries, expected);
}

void TestBedTimeReminder::optionButtonsSwitchTheTimer()
{
    QTemporaryDir dir;
    SoundServices sound(nullptr, nullptr, nullptr);
    SettingsStore store(dir.filePath("settings.ini"));
    SettingsFlags flags;
    InfoRecord info;
    Settings settings(store, flags);
    BedTimeReminder reminder(settings, info, sound, nullptr, QString());
    QList<bool> told;
    connect(&reminder, &BedTimeReminder::timerRunningChanged, this, [&](bool running) { told << running; });

    QVERIFY(!reminder.isOn()); // every run starts with the reminder off
    QCOMPARE(reminder.optionClicked(false), true);
    QCOMPARE(reminder.optionClicked(true), false);
    QCOMPARE(told, (QList<bool>{true, false}));
    QVERIFY(!reminder.isOn());
}

void TestBedTimeReminder::checkBoxesAreStoredOnEveryClick()
{
    QTemporaryDir dir;
    SoundServices sound(nullptr, nullptr, nullptr);
    SettingsStore store(dir.filePath("settings.ini"));
    SettingsFlags flags;
    InfoRecord info;
    Settings settings(store, flags);
    BedTimeReminder reminder(settings, info, sound, nullptr, QString());

    reminder.Check1Clicked(true);
    QVERIFY(flags.Use911);
    QCOMPARE(store.GetSetting("Use911", "missing"), QString("True"));
    QCOMPARE(store.GetSetting("UseAlarm", "missing"), QString("missing"));

    reminder.Check2Clicked(true);
    reminder.Check1Clicked(false);
    QVERIFY(!flags.Use911);
    QVERIFY(flags.UseAlarm);
    QCOMPARE(store.GetSetting("Use911", "missing"), QString("False"));
    QCOMPARE(store.GetSetting("UseAlarm", "missing"), QString("True"));
}

QTEST_GUILESS_MAIN(TestBedTimeReminder)
#include "tst_bed_time_reminder.moc"
