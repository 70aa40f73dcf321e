#pragma once
#include <QDialog>

class AppState;
class PasswordCheck;
class QLabel;
class QLineEdit;
class XpCmd;

// `frmLogin`, "Password": asks for the password before a protected action. The action's own
// check runs after it has closed, however it was closed.
class LoginWindow : public QDialog
{
    Q_OBJECT
public:
    LoginWindow(AppState &state, PasswordCheck &check, QWidget *owner);

    QLineEdit *txtPassword() const { return m_password; }
    XpCmd *cmdOK() const { return m_ok; }
    XpCmd *cmdCancel() const { return m_cancel; }

    void okPressed();

private:
    AppState &m_state;
    PasswordCheck &m_check;
    QLineEdit *m_password = nullptr;
    XpCmd *m_ok = nullptr;
    XpCmd *m_cancel = nullptr;
};

// `frmWritePassword`, "Enter Password": sets a new password. Accepted only when one was stored.
class WritePasswordWindow : public QDialog
{
    Q_OBJECT
public:
    WritePasswordWindow(AppState &state, PasswordCheck &check, QWidget *owner);

    QLineEdit *txtPassword() const { return m_password; }
    XpCmd *cmdOK() const { return m_ok; }
    XpCmd *cmdCancel() const { return m_cancel; }

    void savePressed();

private:
    AppState &m_state;
    PasswordCheck &m_check;
    QLineEdit *m_password = nullptr;
    XpCmd *m_ok = nullptr;
    XpCmd *m_cancel = nullptr;
};
