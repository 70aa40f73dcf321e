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
    if (m_sound) {
        if (m_alarmSounding) {
            m_sound->startLoop(path);
            m_looping = true;
        } else {
            m_sound->play(path);
        }
    }
    handlePendingEvents();
}

void SoundServices::setAlarmSounding(bool on)
{
    m_alarmSounding = on;
    if (!on && m_looping) {
        m_looping = false;
        if (m_sound)
            m_sound->stopLoop();
    }
}

void SoundServices::handlePendingEvents()
{
    if (m_events)
        m_events->handlePendingEvents();
}
