#pragma once
#include <QObject>
#include <QString>

class AppState;
class WindowOpener;

// Times the parents' absence in whole minutes, counted by ticks of the main window's one-minute
// timer rather than read from the clock. The counters live in AppState for the sitter list.
class StartStopTiming : public QObject
{
    Q_OBJECT
public:
    explicit StartStopTiming(AppState &state, QObject *parent = nullptr);

    // A click on the start-time button; the password, when one is in use, is asked through `windows`.
    void click(WindowOpener &windows);
    // One minute has passed.
    void tick();

    bool running() const;
    QString caption() const;
    // "H hrs, M mins"; empty until the first start.
    QString label() const { return m_label; }

    static QString startCaption() { return QStringLiteral("Start &Time"); }
    static QString endCaption() { return QStringLiteral("End &Time"); }

signals:
    // The caption or the label changed.
    void changed();
    void timerRunningChanged(bool running);

private:
    void showElapsed();

    AppState &m_state;
    QString m_label;
};
