#pragma once
#include <QDialog>

class QLabel;
class QTimer;

// "Information": a short explanation shown beside the label that asked for it. It goes as soon
// as the pointer moves onto it, or by itself after eight seconds.
class InfoWindow : public QDialog
{
    Q_OBJECT
public:
    InfoWindow(const QString &message, QWidget *owner);

    // Beside the Options window, at the height of its "Info..." label number infoTopic (0-4),
    // overlapping the window's right edge a little.
    void placeBeside(const QRect &optionsFrame, int infoTopic);
    // Beside any widget: at its height, just over the right edge of its window.
    void placeNextTo(const QWidget *anchor);

    // Shows the message modally beside the Options window; returns when it has gone.
    static void showForTopic(QWidget *options, int infoTopic, const QString &message);
    static void showNextTo(QWidget *anchor, const QString &message);

    QLabel *infoLabel() const { return m_info; }
    QTimer *timer() const { return m_timer; }
    // The first tick closes the window; public so tests need not wait.
    void Timer1Tick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QLabel *m_info = nullptr;
    QTimer *m_timer = nullptr;
};
