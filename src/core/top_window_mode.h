#pragma once
#include <QObject>
#include <QPoint>
#include <QSize>

class AppState;

// The locked mode for the time the sitter is alone with the program: the main window sits centred
// and above other windows, and the information line shows a notice while no hint is shown. Not
// stored: every run starts without it. The window follows the signals; the ticks come from its
// timers.
class TopWindowMode : public QObject
{
    Q_OBJECT
public:
    explicit TopWindowMode(AppState &state, QObject *parent = nullptr);

    static QString notice() { return QStringLiteral("Top Window is enabled."); }
    // Where a window of `window` size is centred on a screen of `screen` size; the halves are
    // truncated before subtracting, and a size that cannot be read gives 0 for its coordinate.
    static QPoint centre(const QSize &screen, const QSize &window);

    bool isOn() const;
    void toggle();
    // TopTimer: a window moved away goes back to the centre.
    void TopTimerTick();
    // Timer1: the notice whenever the line holds nothing but blanks.
    void Timer1Tick();

signals:
    // The mode was switched: start or stop the timers, take or end the topmost placement.
    void switched(bool on);
    void recentreRequested();

private:
    AppState &m_state;
};
