#pragma once
#include <QDialog>

class AppState;
class PasswordCheck;
class QCheckBox;
class QLabel;
class WindowOpener;
class XpCmd;

// `Options`: the five switches of the settings, each with its explanation, the way to a new
// password and to the word list. Docked over the main window; Save stores the switches and they
// take effect at once, closing any other way stores nothing.
class OptionsWindow : public QDialog
{
    Q_OBJECT
public:
    OptionsWindow(AppState &state, PasswordCheck &password, WindowOpener &windows, QWidget *owner);

    static QString infoText(int index);

    QCheckBox *Check1(int index) const { return m_checks[index]; }
    XpCmd *xpcmd1(int index) const { return m_buttons[index]; }
    QLabel *Label1(int index) const { return index == 5 ? m_help : m_info[index]; }

    void save();
    void showInfo(int index);

signals:
    // "Modify Words" was pressed.
    void wordsRequested();
    // Voice commands stay on: the word list may have changed, so the grammar is rebuilt.
    void grammarReloadRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void applyEnablingRules();
    void setPassword();

    AppState &m_state;
    PasswordCheck &m_password;
    WindowOpener &m_windows;
    QCheckBox *m_checks[5] = {};
    XpCmd *m_buttons[3] = {};
    QLabel *m_info[5] = {};
    QLabel *m_help = nullptr;
};
