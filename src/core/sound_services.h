#pragma once
#include <QString>

class SpeechOutput;
class SoundPlayer;
class EventPump;

// Speech and wave sounds as the handlers use them. A missing service is skipped silently:
// the program runs on without sound rather than failing a handler.
class SoundServices {
public:
    SoundServices(SpeechOutput *speech, SoundPlayer *sound, EventPump *events);

    // Hands the text over and returns at once; texts are spoken in the order given.
    void SpeakText(const QString &text);

    // Plays a wave file. While AlarmSounding is set the file is replayed to its end, pending
    // events being handled before each round, so that a phrase arriving in between can clear
    // the flag and end the loop.
    void PlayWave(const QString &path);

    // Set by "alarm on", cleared by every phrase notification.
    bool AlarmSounding = false;

private:
    void handlePendingEvents();

    SpeechOutput *m_speech;
    SoundPlayer *m_sound;
    EventPump *m_events;
};
