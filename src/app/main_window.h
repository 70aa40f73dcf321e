#pragma once
#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>

class AppState;
class BedTimeReminder;
class PhoneDialing;
class VoiceCommandInterpreter;
class QLabel;
class QTimer;
class SplashWindow;
class TodayInfoPages;
class XpCmd;
class XpCmdBut;
class XpCmdButton;

// The main window: the frame, the button panel, the seven pages of today's information and the
// timers. Lives for the whole run.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    // Windows that other parts of the program open from here. A null hook means that window is
    // not part of this build; the press then ends after its sound and password check.
    struct Windows {
        std::function<bool()> frmLogin;              // password prompt; true when the password is right
        std::function<void()> Wizard;                // setup wizard, modal
        std::function<void()> WizardSit;             // sitter list, modal
        std::function<void()> MenuOps;               // topic menu, not modal
        std::function<void()> Started;               // getting started, modal
        std::function<void()> switchTopWindow;       // top window mode on/off
        std::function<void(bool)> fillWizard;        // ShowTodayInfo while the wizard is open
    };

    explicit MainWindow(AppState &state, QWidget *parent = nullptr);
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
    // The recogniser's phrase notification.
    void OnPhraseFinished(const QString &phrase);

    PhoneDialing &dialing() const { return *m_dialing; }
    VoiceCommandInterpreter &interpreter() const { return *m_voice; }
    BedTimeReminder &bedTimeReminder() const { return *m_bed; }

    void setSplash(QWidget *splash) { m_splash = splash; }
    Windows windows;

    TodayInfoPages *pages() const { return m_pages; }
    QLabel *LblInfo() const { return m_lblInfo; }
    QLabel *LblName() const { return m_lblName; }
    XpCmdButton *panelButton(int index) const { return m_panel[index]; }

    QTimer *Timer2 = nullptr;
    QTimer *BedTimer = nullptr;
    QTimer *TopTimer = nullptr;
    QTimer *Timer1 = nullptr;
    QTimer *DoTime = nullptr;
    QStringList List1;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool passwordAccepted(bool movePointer);
    void UnloadOtherWindows(const QString &name);
    void buildTopBar();
    void buildLeftPanel();
    void buildBottomBar();

    AppState &m_state;
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
    std::unique_ptr<PhoneDialing> m_dialing;
    std::unique_ptr<VoiceCommandInterpreter> m_voice;
    std::unique_ptr<BedTimeReminder> m_bed;
    QPoint m_dragOffset;
    bool m_dragging = false;
};
