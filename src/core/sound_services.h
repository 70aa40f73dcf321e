#pragma once
#include <QDateTime>
#include <QString>

class Clock;
class SpeechOutput;
class SoundPlayer;
class EventPump;

// Speech and wave sounds as the handlers use them. A missing service is skipped silently:
// the program runs on without sound rather than failing a handler.
class SoundServices
{
public:
    // One SoundServices per speech service: it follows the texts that service finishes.
    SoundServices(SpeechOutput *speech, SoundPlayer *sound, EventPump *events, Clock *clock = nullptr);
    ~SoundServices();
    SoundServices(const SoundServices &) = delete;
    SoundServices &operator=(const SoundServices &) = delete;

    // Hands the text over and returns at once; texts are spoken in the order given. Returns the
    // text's number for spokenAt().
    int SpeakText(const QString &text);
    // When text `number` had played to its end; invalid while it may still be heard, and where that
    // is not known (no clock, a speech service that does not say, or later texts have ended since).
    QDateTime spokenAt(int number) const;

    // Plays a wave file once, over the alarm if it sounds, and handles pending events.
    void PlayWave(const QString &path);

    // Sounds the alarm: its file loops, without holding the caller, until the alarm is cleared;
    // then handles pending events.
    void startAlarm(const QString &path);
    // Cleared by every phrase notification; clearing it silences the loop.
    bool alarmSounding() const { return m_alarmSounding; }
    void setAlarmSounding(bool on);

    // The microphone hears the program too. Whether its speech or a sound played once may be heard
    // now; the alarm's loop is left out, so that a phrase can still end it.
    bool ownSoundAudible() const;
    // Goes up each time the program starts to speak or play a sound once.
    int ownSoundsStarted() const { return m_ownSoundsStarted; }

private:
    void handlePendingEvents();
    void textSpoken();

    SpeechOutput *m_speech;
    SoundPlayer *m_sound;
    EventPump *m_events;
    Clock *m_clock;
    bool m_alarmSounding = false;
    bool m_looping = false;
    int m_ownSoundsStarted = 0;
    int m_textsHandedOver = 0;
    int m_textsSpoken = 0;
    QDateTime m_lastSpokenAt;
};
