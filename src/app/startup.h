#pragma once
#include <QObject>
#include <QPointer>
#include <functional>

#include "app/main_window.h"
#include "app/splash_window.h"

class AppState;

// The start-up sequence: settings, the first-run personal information, the splash, the main window.
class Startup : public QObject {
    Q_OBJECT
public:
    explicit Startup(AppState &state, QObject *parent = nullptr);
    ~Startup() override;

    // Creates the splash (settings, first-run personal information) and loads it.
    void run();
    // The splash's load steps; run again when the splash is shown as the About window.
    void splashLoad();

    MainWindow *mainWindow() const { return m_main; }
    SplashWindow *splash() const { return m_splash; }

    // Called right after the main window is made, before it is first shown (wires later windows).
    std::function<void(MainWindow &)> onMainWindowCreated;

private:
    void splashCreate();

    AppState &m_state;
    QPointer<SplashWindow> m_splash;
    QPointer<MainWindow> m_main;
};
