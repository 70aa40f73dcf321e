#pragma once
#include "app/program_windows.h"
#include "app/system_services.h"
#include "voice/flite_speech.h"
#include "voice/qt_event_pump.h"
#include "voice/qt_sound_player.h"
#include "voice/sphinx_recognizer.h"
#include "voice/xtest_key_sender.h"

#include <QString>
#include <memory>

class AppLogic;
class AppState;
class ConfiguredDialer;
class Startup;

// The one place that makes the real services, the shared state, the logic and the windows, and
// connects them. Lives for the whole run.
class Program
{
public:
    Program(const QString &dataDir, const QString &passwordDir);
    ~Program();

    void start();

private:
    FliteSpeech m_speech;
    QtSoundPlayer m_sound;
    QtEventPump m_events;
    QtPrompter m_prompter;
    QtPointerMover m_pointer;
    SystemClock m_clock;
    XTestKeySender m_keys;
    SphinxRecognizer m_recognizer;
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<ConfiguredDialer> m_dialer;
    std::unique_ptr<AppLogic> m_logic;
    std::unique_ptr<ProgramWindows> m_windows;
    std::unique_ptr<Startup> m_startup;
};
