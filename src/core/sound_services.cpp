#include "core/sound_services.h"

#include "services/event_pump.h"
#include "services/sound_player.h"
#include "services/speech_output.h"

SoundServices::SoundServices(SpeechOutput *speech, SoundPlayer *sound, EventPump *events)
    : m_speech(speech), m_sound(sound), m_events(events)
{
}

void SoundServices::SpeakText(const QString &text)
{
    if (m_speech)
        m_speech->speak(text);
}

void SoundServices::PlayWave(const QString &path)
{
    while (AlarmSounding) {
        handlePendingEvents();
        // Without a player the loop would spin, and without an event pump nothing could
        // clear the flag: sound the alarm once and leave the flag to the caller.
        if (!m_sound || !m_events)
            break;
        // A phrase handled just now may have cleared the flag; the round still plays once,
        // as the loop only looks at the flag before handling events.
        m_sound->playToEnd(path);
    }
    if (m_sound)
        m_sound->play(path);
    handlePendingEvents();
}

void SoundServices::handlePendingEvents()
{
    if (m_events)
        m_events->handlePendingEvents();
}
