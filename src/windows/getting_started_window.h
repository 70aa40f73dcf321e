#pragma once
#include <QDialog>

class AppState;
class QLabel;
class QTimer;

// "Getting Started", shown once on a first run: four hints, one per button of the main window's
// panel, lit one after the other every six seconds; the window goes by itself after the last.
class GettingStartedWindow : public QDialog
{
    Q_OBJECT
public:
    GettingStartedWindow(AppState &state, QWidget *owner);

    static QColor normalColour() { return QColor(6, 61, 100); }
    static QColor highlightColour() { return QColor(128, 0, 128); }

    QLabel *hint(int index) const { return m_hints[index]; }
    QTimer *timer() const { return m_timer; }
    // One tick of Timer1; public so tests step through the hints without waiting.
    void Timer1Tick();
    int step() const { return m_step; }

    void done(int result) override;

private:
    void light(int index);

    AppState &m_state;
    QLabel *m_hints[4] = {};
    QTimer *m_timer = nullptr;
    int m_step = 0;
};
