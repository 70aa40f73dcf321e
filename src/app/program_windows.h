#pragma once
#include "services/window_opener.h"

#include <QPointer>
#include <QWidget>
#include <memory>

class AppState;
class QLabel;
class SetupWizard;
class WizardWindow;

// The real window opener: every window the program opens from another is made here, owned by the
// main window.
class ProgramWindows : public WindowOpener {
public:
    explicit ProgramWindows(AppState &state);
    ~ProgramWindows() override;

    void setOwner(QWidget *main) { m_owner = main; }

    void openWizard() override;
    void openSitterList() override;
    void openTopicMenu() override;
    void closeTopicMenu() override;
    void openOptions() override;
    void openGettingStarted() override;
    bool askPassword() override;
    void showHelp(int topic) override;
    void showTodayInfoInWizard() override;
    void closeAll() override;

    // The open setup wizard, if any.
    WizardWindow *wizard() const;
    // The window showing help, if any.
    QWidget *helpWindow() const { return m_help; }

private:
    AppState &m_state;
    QPointer<QWidget> m_owner;
    QPointer<QWidget> m_topicMenu;
    // Lives for the whole run: a failed save is remembered until the next opening.
    std::unique_ptr<SetupWizard> m_wizard;
    QPointer<WizardWindow> m_wizardWindow;
    QPointer<QWidget> m_help;
    QLabel *m_helpTitle = nullptr;
};
