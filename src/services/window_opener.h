#pragma once

// Opens the program's other windows. A window reaches another only through this, so each window
// is wired in one place and tests put a recording fake in its stead. Modal windows return when
// they have closed.
class WindowOpener
{
public:
    virtual ~WindowOpener() = default;
    virtual void openWizard() = 0;
    virtual void openSitterList() = 0;
    // Not modal: returns at once.
    virtual void openTopicMenu() = 0;
    virtual void closeTopicMenu() = 0;
    virtual void openOptions() = 0;
    virtual void openGettingStarted() = 0;
    // The password prompt; true when the right password was typed.
    virtual bool askPassword() = 0;
    virtual void showHelp(int topic) = 0;
    // While the wizard is open, today's information is shown in its boxes.
    virtual void showTodayInfoInWizard() = 0;
    // Every window of the program but the main window.
    virtual void closeAll() = 0;
};
