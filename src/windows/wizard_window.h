#pragma once
#include "core/setup_wizard.h"

#include <QDialog>

class AppState;
class PressButton;
class WizardPages;
class XpProgressBar;

// The setup wizard `Wizard`: seven pages of entry boxes walked through with Back and Next.
// What the buttons do is SetupWizard's; this window shows its state and hands it the boxes.
class WizardWindow : public QDialog
{
    Q_OBJECT
public:
    // Runs the opening steps: page 0, WizardOpen, the boxes filled from today's information.
    WizardWindow(AppState &state, SetupWizard &logic, QWidget *owner);
    ~WizardWindow() override;

    // Fills the boxes and the Yes/No choice from TodayInfo.
    void ShowTodayInfo();
    // A press of cmds(index) as the mouse or the keyboard delivers it.
    void press(int index);

    WizardPages *pages() const { return m_pages; }
    PressButton *button(int index) const { return m_cmds[index]; }
    XpProgressBar *progressBar() const { return m_bar; }

public slots:
    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void buildLeftSide();
    void buildBottomBar();
    void showState();

    AppState &m_state;
    SetupWizard &m_logic;
    WizardPages *m_pages = nullptr;
    PressButton *m_cmds[4] = {};
    XpProgressBar *m_bar = nullptr;
    bool m_busy = false;
};
