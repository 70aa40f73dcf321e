#include "app/startup.h"

#include "app/main_window.h"
#include "app/splash_window.h"
#include "controls/xp_cmd.h"
#include "core/app_state.h"
#include "services/event_pump.h"
#include "windows/personal_info_window.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

namespace {
void centreOnScreen(QWidget *w)
{
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect r = w->frameGeometry();
        r.moveCenter(screen->availableGeometry().center());
        w->move(r.topLeft());
    }
}
} // namespace

Startup::Startup(AppState &state, AppLogic &logic, WindowOpener &windows, QObject *parent)
    : QObject(parent), m_state(state), m_logic(logic), m_windows(windows)
{
}

Startup::~Startup()
{
    delete m_splash;
    delete m_main;
}

void Startup::run()
{
    splashCreate();
    splashLoad();
}

void Startup::splashCreate()
{
    m_state.LoadSettings();
    m_state.SettingsFlags.FamilyName = m_state.SettingsFlags.FamilyName.trimmed();
    m_state.SettingsFlags.HomePhone = m_state.SettingsFlags.HomePhone.trimmed();
    m_state.FirstRun = false;
    if (m_state.SettingsFlags.FamilyName.isEmpty()) {
        PersonalInfoWindow yourInfo(m_state, true, nullptr);
        yourInfo.exec();
        m_state.FirstRun = true;
    }
    m_splash = new SplashWindow(m_state);
    centreOnScreen(m_splash);
}

void Startup::splashLoad()
{
    EventPump *events = m_state.services.events;
    m_state.SplashPending = false;
    if (!m_state.AboutMode) {
        m_splash->continueButton()->setEnabled(false);
        m_splash->show();
    }
    if (events)
        events->handlePendingEvents();
    if (!m_main) {
        m_main = new MainWindow(m_state, m_logic, m_windows);
        m_main->setSplash(m_splash);
        emit mainWindowCreated(m_main);
        m_main->load();
        centreOnScreen(m_main);
    }
    if (!m_state.AboutMode)
        m_state.SplashPending = true;
    m_main->stopStartupTimer();
    m_main->show();
    if (events)
        events->handlePendingEvents();
    m_main->startStartupTimer();
    m_splash->raise();
}
