#include "core/sound_services.h"

#include "services/clock.h"
#include "services/event_pump.h"
#include "services/sound_player.h"
#include "services/speech_output.h"

SoundServices::SoundServices(SpeechOutput *speech, SoundPlayer *sound, EventPump *events, Clock *clock)
    : m_speech(speech), m_sound(sound), m_events(events), m_clock(clock)
{
    if (m_speech)
        m_speech->onTextSpoken([this] { textSpoken(); });
}

SoundServices::~SoundServices()
{
    if (m_speech)
        m_speech->onTextSpoken({});
}

int SoundServices::SpeakText(const QString &text)
{
    if (!m_speech)
        return 0;
    ++m_ownSoundsStarted;
    // Counted before it is handed over: a service may finish a text inside speak().
    const int number = ++m_textsHandedOver;
    m_speech->speak(text);
    return number;
}

void SoundServices::textSpoken()
{
    ++m_textsSpoken;
    m_lastSpokenAt = m_clock ? m_clock->now() : QDateTime();
}

QDateTime SoundServices::spokenAt(int number) const
{
    return number > 0 && number == m_textsSpoken ? m_lastSpokenAt : QDateTime();
}

void SoundServices::PlayWave(const QString &path)
{
    if (m_sound) {
        ++m_ownSoundsStarted;
        m_sound->play(path);
    }
    handlePendingEvents();
}

void SoundServices::startAlarm(const QString &path)
{
    m_alarmSounding = true;
    if (m_sound) {
        m_sound->startLoop(path);
        m_looping = true;
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

bool SoundServices::ownSoundAudible() const
{
    return (m_speech && m_speech->isSpeaking()) || (m_sound && m_sound->isPlayingOnce());
}

void SoundServices::handlePendingEvents()
{
    if (m_events)
        m_events->handlePendingEvents();
}
