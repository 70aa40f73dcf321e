#pragma once
#include "services/window_opener.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

class AppState;
class PasswordCheck;
class HelpViewer;
class SetupWizard;
class WizardWindow;

// The real window opener: every window the program opens from another is made here, owned by the
// main window.
class ProgramWindows : public WindowOpener
{
public:
    explicit ProgramWindows(AppState &state);
    ~ProgramWindows() override;

    void setOwner(QWidget *main) { m_owner = main; }
    // Shows the splash again as the About window; the start-up sequence owns the splash.
    void setAboutOpener(std::function<void()> opener) { m_openAbout = std::move(opener); }

    // In top window mode the main window gives up its topmost place while the prompt is shown.
    void setTopmostHook(std::function<void(bool)> keepOnTop) { m_keepOnTop = std::move(keepOnTop); }
    // Rebuilds the voice grammar from the word list.
    void setGrammarLoader(std::function<void()> loader) { m_loadGrammar = std::move(loader); }

    PasswordCheck &password() { return *m_password; }
    QWidget *topicMenu() const { return m_topicMenu; }
    HelpViewer *helpViewer() const;
    // The open setup wizard, if any.
    WizardWindow *wizard() const;

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
    // The print preview of today's information, with the printers behind it.
    void printTodayInfo();

private:
    void openPersonalInfo();
    void openDedication();
    void offerPassword();
    // Where a window docked in the main window's corner goes.
    QPoint docked(const QSize &size) const;

    AppState &m_state;
    QPointer<QWidget> m_owner;
    QPointer<QWidget> m_topicMenu;
    QPointer<QWidget> m_help;
    std::function<void()> m_openAbout;
    std::function<void(bool)> m_keepOnTop;
    std::function<void()> m_loadGrammar;
    // Counts wrong entries over the whole run.
    std::unique_ptr<PasswordCheck> m_password;
    // Lives for the whole run: a failed save is remembered until the next opening.
    std::unique_ptr<SetupWizard> m_wizard;
    QPointer<WizardWindow> m_wizardWindow;
};
