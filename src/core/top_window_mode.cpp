#include "core/top_window_mode.h"

#include "core/app_state.h"
#include "core/info_line.h"

TopWindowMode::TopWindowMode(AppState &state, QObject *parent) : QObject(parent), m_state(state)
{
}

QPoint TopWindowMode::centre(const QSize &screen, const QSize &window)
{
    auto half = [](int screenSide, int windowSide) {
        if (screenSide <= 0 || windowSide < 0)
            return 0;
        return screenSide / 2 - windowSide / 2;
    };
    return {half(screen.width(), window.width()), half(screen.height(), window.height())};
}

bool TopWindowMode::isOn() const
{
    return m_state.TopWindowOn;
}

void TopWindowMode::toggle()
{
    m_state.TopWindowOn = !m_state.TopWindowOn;
    emit switched(m_state.TopWindowOn);
}

void TopWindowMode::TopTimerTick()
{
    if (m_state.TopWindowOn)
        emit recentreRequested();
}

void TopWindowMode::Timer1Tick()
{
    if (m_state.infoLine && m_state.infoLine->text().trimmed().isEmpty())
        m_state.infoLine->setText(notice());
}
