// wizard_open [ROUNDS] [--personal-first]: milliseconds from the press of " Setup Wizard" on the real main window to
// the wizard's first paint having reached the display, against the personal information window
// opened the same way in the same run. Prints the first (cold) opening and the median of the rest.
// Run on a real display (bench/wizard_open.sh starts one).
#include "app/main_window.h"
#include "app/program_windows.h"
#include "app/startup.h"
#include "core/app_logic.h"
#include "core/app_state.h"
#include "windows/personal_info_window.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// Stops the clock once the named window has painted, then closes it so its exec() returns.
class FirstPaint : public QObject
{
public:
    FirstPaint(const char *objectName, QElapsedTimer &clock) : m_name(objectName), m_clock(clock) { }
    double elapsed = -1;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (elapsed < 0 && event->type() == QEvent::Paint && watched->objectName() == m_name) {
            auto *dialog = qobject_cast<QDialog *>(watched);
            // Queued: runs once this paint has been drawn and flushed to the display.
            QTimer::singleShot(0, this, [this, dialog] {
                if (elapsed >= 0)
                    return;
                QApplication::sync();
                elapsed = m_clock.nsecsElapsed() / 1e6;
                dialog->reject();
            });
        }
        return false;
    }

private:
    QString m_name;
    QElapsedTimer &m_clock;
};

double timeOpening(const char *objectName, const std::function<void()> &press)
{
    QElapsedTimer clock;
    FirstPaint watch(objectName, clock);
    qApp->installEventFilter(&watch);
    clock.start();
    press();
    qApp->removeEventFilter(&watch);
    return watch.elapsed;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(2, atoi(argv[1])) : 21;
    // The window opened first in a run pays for what both load once (fonts, styles).
    const bool personalFirst = argc > 2 && QByteArray(argv[2]) == "--personal-first";
    QTemporaryDir dir;
    const QString ini = dir.filePath("config/The Hushby.ini");
    QSettings(ini, QSettings::IniFormat).setValue("Settings/Name", "Bench");

    // No sound, speech or recogniser: the press's own work is what is timed.
    AppState state(Services(), dir.filePath("data"), ini, dir.filePath("pw"));
    AppLogic logic(state);
    ProgramWindows windows(state);
    Startup startup(state, logic, windows);
    QObject::connect(&startup, &Startup::mainWindowCreated, [&](MainWindow *main) { windows.setOwner(main); });
    startup.run();
    MainWindow *main = startup.mainWindow();
    main->show();
    for (int i = 0; i < 20; ++i)
        app.processEvents();

    std::vector<double> wizard, personal;
    for (int i = 0; i < rounds; ++i) {
        auto openWizard = [&] { wizard.push_back(timeOpening("Wizard", [&] { main->panelPress(0); })); };
        auto openPersonal = [&] {
            personal.push_back(timeOpening("YourInfo", [&] {
                PersonalInfoWindow w(state, false, main);
                w.exec();
            }));
        };
        if (personalFirst) {
            openPersonal();
            openWizard();
        } else {
            openWizard();
            openPersonal();
        }
    }
    std::printf("setup wizard:         first %.1f ms, median of %d more %.1f ms\n", wizard.front(), rounds - 1,
                median({wizard.begin() + 1, wizard.end()}));
    std::printf("personal information: first %.1f ms, median of %d more %.1f ms\n", personal.front(), rounds - 1,
                median({personal.begin() + 1, personal.end()}));
    return 0;
}
