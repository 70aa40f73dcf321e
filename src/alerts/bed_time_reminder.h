#pragma once
#include <QString>
#include <QTime>
#include <functional>

class Clock;
class InfoRecord;
class SettingsStore;
class SoundServices;
struct SettingsFlags;

// The bed-time reminder of the "Schedule" tab and the two voice-permission check boxes of the
// "Emergency" tab. The main window owns the 20-second timer; this class says when it runs.
class BedTimeReminder {
public:
    BedTimeReminder(SettingsFlags &flags, SettingsStore &store, const InfoRecord &todayInfo,
                    SoundServices &sound, Clock *clock, const QString &alarmWavePath);

    // Whether a bedtime as typed ("20:30", "8:30", "8:30 PM", "8:30pm", "8:30 p.m.") names the
    // hour and minute of now. Without a suffix the hours are read on the 24-hour clock; an empty
    // or unreadable bedtime never matches.
    static bool bedtimeMatches(const QString &bedtime, const QTime &now);

    // One tick of the timer: reminds when the bedtime is now.
    void tick();

    // A click on either "Alarm ON"/"Alarm OFF" button; the argument is whether "Alarm OFF" is
    // now selected. Returns whether the timer is to run, and tells timerRunning too.
    bool optionClicked(bool alarmOffSelected);
    std::function<void(bool running)> timerRunning;
    bool isOn() const { return m_on; }

    // "Allow 911 Voice Activation" and "Allow Voice "Alarm" Activation", stored on each click.
    void Check1Clicked(bool checked);
    void Check2Clicked(bool checked);

    static QString reminderText();

private:
    SettingsFlags &m_flags;
    SettingsStore &m_store;
    const InfoRecord &m_todayInfo;
    SoundServices &m_sound;
    Clock *m_clock;
    QString m_alarmWavePath;
    bool m_on = false;
};
