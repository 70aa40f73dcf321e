#include "core/app_logic.h"

#include "core/app_state.h"
#include "core/sound_services.h"
#include "core/voice_grammar.h"
#include "services/prompter.h"
#include "services/recognizer.h"

#include <QTimer>

namespace {
VoiceCommandInterpreter::Services voiceServices(AppState &state, PhoneDialing &dialing)
{
    VoiceCommandInterpreter::Services s;
    s.sound = state.sound.get();
    s.dialing = &dialing;
    s.events = state.services.events;
    s.keys = state.services.keys;
    s.clock = state.services.clock;
    return s;
}
} // namespace

AppLogic::AppLogic(AppState &state, QObject *parent)
    : QObject(parent), dialing(*state.sound, state.services.dialer, state.services.prompter, state.TodayInfo,
                               state.SettingsFlags, state.services.clock),
      interpreter(List1, state.SettingsFlags, state.TodayInfo, voiceServices(state, dialing),
                  state.resourcePath("alarm.wav")),
      bedTime(state.settings, state.TodayInfo, *state.sound, state.services.clock, state.resourcePath("alarm.wav")),
      timing(state), topWindow(state), m_state(state)
{
    if (Recognizer *rec = state.services.recognizer) {
        connect(rec, &Recognizer::utteranceStarted, this, [this] { interpreter.OnUtteranceStarted(); });
        connect(rec, &Recognizer::phraseFinished, this,
                [this](const QString &phrase) { interpreter.OnPhraseFinished(phrase); });
    }
    connect(&state.settings, &Settings::changed, this, &AppLogic::settingChanged);
}

AppLogic::~AppLogic() = default;

void AppLogic::LoadVoiceGrammar()
{
    m_started = true;
    if (!m_state.SettingsFlags.VoiceOn)
        return;
    m_state.ensureWordsFile();
    QString problem;
    if (VoiceGrammar().LoadVoiceGrammar(m_state.services.recognizer, m_state.WordsFilePath, List1, &problem)
        || problem.isEmpty() || m_wordListReported)
        return;
    m_wordListReported = true; // switching voice on again does not repeat it
    // Once the windows are up: at start-up a modal box here would hold the main window back until
    // someone answered it.
    QTimer::singleShot(0, this, [this, problem] {
        if (Prompter *prompter = m_state.services.prompter)
            prompter->message(problem, QString(), Prompter::Icon::Warning);
    });
}

void AppLogic::settingChanged(SettingKey key)
{
    // Before the main window's first load the settings are still being read at start-up.
    if (key != SettingKey::VoiceOn || !m_started)
        return;
    // Voice switched on in a running program listens at once; switched off, the microphone stops.
    if (m_state.SettingsFlags.VoiceOn) {
        LoadVoiceGrammar();
        return;
    }
    if (Recognizer *rec = m_state.services.recognizer)
        rec->stopRecognition();
    // Only a phrase ends the alarm, and none can come now.
    m_state.sound->setAlarmSounding(false);
}
