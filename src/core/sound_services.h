#pragma once
#include <QString>

class SpeechOutput;
class SoundPlayer;
class EventPump;

// Speech and wave sounds as the handlers use them. A missing service is skipped silently:
// the program runs on without sound rather than failing a handler.
class SoundServices
{
public:
    SoundServices(SpeechOutput *speech, SoundPlayer *sound, EventPump *events);

    // Hands the text over and returns at once; texts are spoken in the order given.
    void SpeakText(const QString &text);

    // Plays a wave file and handles pending events. While the alarm sounds the file is looped,
    // without holding the caller, until the alarm is ended.
    void PlayWave(const QString &path);

    // Set by "alarm on", cleared by every phrase notification; clearing it silences the loop.
    bool alarmSounding() const { return m_alarmSounding; }
    void setAlarmSounding(bool on);

private:
    void handlePendingEvents();

    SpeechOutput *m_speech;
    SoundPlayer *m_sound;
    EventPump *m_events;
    bool m_alarmSounding = false;
    bool m_looping = false;
};
