#include "core/start_stop_timing.h"

#include "core/app_state.h"
#include "services/window_opener.h"

StartStopTiming::StartStopTiming(AppState &state, QObject *parent) : QObject(parent), m_state(state)
{
}

bool StartStopTiming::running() const
{
    return m_state.TimingRunning;
}

QString StartStopTiming::caption() const
{
    return running() ? endCaption() : startCaption();
}

void StartStopTiming::click(WindowOpener &windows)
{
    // Top-window mode locks the program for the sitter: the button neither works nor asks.
    if (m_state.TopWindowOn)
        return;
    if (m_state.SettingsFlags.UsePassword && !windows.askPassword())
        return;
    if (m_state.TimingRunning) {
        m_state.TimingRunning = false;
        emit timerRunningChanged(false);
        emit changed();
        return;
    }
    m_state.TimingRunning = true;
    m_state.TimedHours = 0;
    m_state.TimedMinutes = 0;
    showElapsed();
    emit timerRunningChanged(true);
}

void StartStopTiming::tick()
{
    ++m_state.TimedMinutes;
    if (m_state.TimedMinutes >= 60) {
        if (m_state.TimedHours < 32767)
            ++m_state.TimedHours;
        m_state.TimedMinutes = 0;
    }
    showElapsed();
}

void StartStopTiming::showElapsed()
{
    m_label = QStringLiteral("%1 hrs, %2 mins").arg(m_state.TimedHours).arg(m_state.TimedMinutes);
    emit changed();
}
