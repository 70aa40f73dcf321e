#pragma once
#include <QObject>
#include <QPointer>

#include "app/main_window.h"
#include "app/splash_window.h"

class AppLogic;
class AppState;
class WindowOpener;

// The start-up sequence: settings, the first-run personal information, the splash, the main window.
class Startup : public QObject
{
    Q_OBJECT
public:
    Startup(AppState &state, AppLogic &logic, WindowOpener &windows, QObject *parent = nullptr);
    ~Startup() override;

    // Creates the splash (settings, first-run personal information) and loads it.
    void run();
    // The splash's load steps; run again when the splash is shown as the About window.
    void splashLoad();

    MainWindow *mainWindow() const { return m_main; }
    SplashWindow *splash() const { return m_splash; }

signals:
    // Right after the main window is made, before it is first loaded and shown.
    void mainWindowCreated(MainWindow *main);

private:
    void splashCreate();

    AppState &m_state;
    AppLogic &m_logic;
    WindowOpener &m_windows;
    QPointer<SplashWindow> m_splash;
    QPointer<MainWindow> m_main;
};
