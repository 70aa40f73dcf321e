#pragma once
#include <QObject>
#include <QString>
#include <QTime>

class Clock;
class InfoRecord;
class Settings;
class SoundServices;

// The bed-time reminder of the "Schedule" tab and the two voice-permission check boxes of the
// "Emergency" tab. The main window owns the 20-second timer; this class says when it runs.
class BedTimeReminder : public QObject
{
    Q_OBJECT
public:
    BedTimeReminder(Settings &settings, const InfoRecord &todayInfo, SoundServices &sound, Clock *clock,
                    const QString &alarmWavePath, QObject *parent = nullptr);

    // The time a bedtime as typed names ("20:30", "8:30", "8:30 PM", "8:30pm", "8:30 p.m.", and
    // "8:30 p." as the 8-character field cuts it), seconds dropped. Without a suffix the hours are
    // read on the 24-hour clock. Invalid for an empty or unreadable bedtime.
    static QTime readBedtime(const QString &bedtime);
    // Whether the bedtime names the hour and minute of now; an unreadable one never matches.
    static bool bedtimeMatches(const QString &bedtime, const QTime &now);

    // One tick of the timer: reminds when the bedtime is now.
    void tick();

    // A click on either "Alarm ON"/"Alarm OFF" button; the argument is whether "Alarm OFF" is
    // now selected. Returns whether the timer is to run, and announces it.
    bool optionClicked(bool alarmOffSelected);
    bool isOn() const { return m_on; }

    // "Allow 911 Voice Activation" and "Allow Voice "Alarm" Activation", stored on each click.
    // False when the choice could not be saved (it holds for this run all the same).
    bool Check1Clicked(bool checked);
    bool Check2Clicked(bool checked);

    static QString reminderText();

signals:
    void timerRunningChanged(bool running);

private:
    Settings &m_settings;
    const InfoRecord &m_todayInfo;
    SoundServices &m_sound;
    Clock *m_clock;
    QString m_alarmWavePath;
    bool m_on = false;
};
