#include "app/program.h"

#include "app/main_window.h"
#include "app/startup.h"
#include "controls/xp_cmd.h"
#include "core/app_logic.h"
#include "core/app_state.h"
#include "core/speaker_warp_setting.h"
#include "records/settings_store.h"
#include "voice/dialer_factory.h"

#include <QShortcut>
#include <QTimer>

namespace {
constexpr int PreloadDelayMs = 500;
}

Program::Program(const QString &dataDir, const QString &passwordDir)
{
    Services services;
    services.speech = &m_speech;
    services.sound = &m_sound;
    services.events = &m_events;
    services.prompter = &m_prompter;
    services.pointer = &m_pointer;
    services.clock = &m_clock;
    services.keys = &m_keys;
    services.recognizer = &m_recognizer;
    m_state = std::make_unique<AppState>(services, dataDir, SettingsStore::defaultPath(), passwordDir);
    // The dialer follows the settings, so it can only be made once they exist.
    m_dialer = std::make_unique<ConfiguredDialer>(m_state->settings);
    m_state->services.dialer = m_dialer.get();
    // Read with the settings at start-up, before the grammar is loaded at the learned warp.
    keepSpeakerWarp(m_state->settings, m_recognizer);
    m_logic = std::make_unique<AppLogic>(*m_state);
    m_windows = std::make_unique<ProgramWindows>(*m_state);
    m_startup = std::make_unique<Startup>(*m_state, *m_logic, *m_windows);
    m_windows->setAboutOpener([this] {
        m_state->AboutMode = true;
        if (SplashWindow *splash = m_startup->splash()) {
            splash->continueButton()->setEnabled(true);
            splash->show();
            splash->raise();
        }
        m_startup->splashLoad();
    });
    QObject::connect(m_startup.get(), &Startup::mainWindowCreated, m_startup.get(), [this](MainWindow *main) {
        m_prompter.setOwner(main);
        m_windows->setOwner(main);
        auto *print = new QShortcut(QKeySequence::Print, main);
        print->setObjectName("PrintShortcut");
        QObject::connect(print, &QShortcut::activated, main, [this] { m_windows->printTodayInfo(); });
        m_windows->setTopmostHook([main](bool on) { main->keepOnTop(on); });
    });
    m_windows->setGrammarLoader([this] { m_logic->LoadVoiceGrammar(); });
}

Program::~Program() = default;

void Program::start()
{
    m_startup->run();
    // Loaded once the windows are up and drawn (the first press comes after the splash), so
    // start-up does not wait for the sound device.
    QTimer::singleShot(PreloadDelayMs, m_startup.get(), [this] {
        QStringList waves;
        for (const char *name : {"bink.wav", "push.wav", "flash.wav", "alarm.wav"})
            waves << m_state->resourcePath(QString::fromLatin1(name));
        m_sound.preload(waves);
    });
}
