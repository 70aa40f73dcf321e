#pragma once
#include <QPixmap>
#include <QWidget>

class AppState;
class MainWindow;
class XpCmd;

// The frameless splash shown while the program starts, and again as the About window.
class SplashWindow : public QWidget
{
    Q_OBJECT
public:
    explicit SplashWindow(AppState &state, QWidget *parent = nullptr);

    XpCmd *continueButton() const { return m_continue; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void continuePressed();

    AppState &m_state;
    XpCmd *m_continue = nullptr;
    QPixmap m_background;
};
