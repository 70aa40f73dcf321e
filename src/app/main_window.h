#pragma once
#include "records/settings_keys.h"

#include <QPointer>
#include <QWidget>

class AppLogic;
class AppState;
class QLabel;
class QTimer;
class TodayInfoPages;
class WindowOpener;
class XpCmd;
class XpCmdBut;
class XpCmdButton;

// The main window: the frame, the button panel, the seven pages of today's information and the
// timers. Lives for the whole run. It hands clicks to the logic and opens other windows through
// the opener.
class MainWindow : public QWidget
{
    Q_OBJECT
public:
    MainWindow(AppState &state, AppLogic &logic, WindowOpener &windows, QWidget *parent = nullptr);
    ~MainWindow() override;

    // The load steps: paths, today's information, default-button look, voice grammar, check boxes.
    void load();

    void LoadTodayInfo();
    void ShowTodayInfo();
    // LblName and Lblphone from the settings.
    void showFamily();

    // Presses as the mouse delivers them (a mouse button going down).
    void panelPress(int index);
    void closeBoxPress();
    void Timer2Tick();

    // The start-up timer is held while the main window is first shown, then given its full time.
    void stopStartupTimer();
    void startStartupTimer();

    void setSplash(QWidget *splash) { m_splash = splash; }

    TodayInfoPages *pages() const { return m_pages; }
    QLabel *LblInfo() const { return m_lblInfo; }
    QLabel *LblName() const { return m_lblName; }
    XpCmdButton *panelButton(int index) const { return m_panel[index]; }
    QTimer *TopTimer() const { return m_topTimer; }
    QTimer *Timer1() const { return m_timer1; }

    // Top window mode: centred and kept above other windows, or that placement ended in place.
    void keepOnTop(bool on);

signals:
    // "Make Top Window" was pressed.
    void topWindowSwitchRequested();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool passwordAccepted(bool movePointer);
    void buildTopBar();
    void buildLeftPanel();
    void buildBottomBar();
    void wireLogic();
    void settingChanged(SettingKey key);
    void topWindowSwitched(bool on);

    AppState &m_state;
    AppLogic &m_logic;
    WindowOpener &m_windows;
    QPointer<QWidget> m_splash;
    TodayInfoPages *m_pages = nullptr;
    QWidget *m_tops = nullptr;
    QWidget *m_lefts = nullptr;
    QLabel *m_lblName = nullptr;
    QLabel *m_lblInfo = nullptr;
    QLabel *m_lblTime = nullptr;
    XpCmd *m_cmdStartTime = nullptr;
    XpCmdButton *m_panel[4] = {};
    XpCmdBut *m_closeBox = nullptr;
    QTimer *m_timer2 = nullptr;
    QTimer *m_bedTimer = nullptr;
    QTimer *m_topTimer = nullptr;
    QTimer *m_timer1 = nullptr;
    QTimer *m_doTime = nullptr;
    QPoint m_dragOffset;
    bool m_dragging = false;
};
