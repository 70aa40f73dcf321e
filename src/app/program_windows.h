#pragma once
#include "services/window_opener.h"

#include <QPointer>
#include <QWidget>

class AppState;

// The real window opener: every window the program opens from another is made here, owned by the
// main window.
class ProgramWindows : public WindowOpener {
public:
    explicit ProgramWindows(AppState &state);

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

private:
    AppState &m_state;
    QPointer<QWidget> m_owner;
    QPointer<QWidget> m_topicMenu;
};
