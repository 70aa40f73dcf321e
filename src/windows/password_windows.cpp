#include "windows/password_windows.h"

#include "controls/xp_cmd.h"
#include "core/app_state.h"
#include "core/password_check.h"
#include "records/password_file.h"
#include "services/prompter.h"
#include "windows/stored_properties.h"

#include <QLabel>
#include <QLineEdit>

namespace {

QLabel *label(QWidget *parent, const char *name, const QString &text, const QRect &geometry)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setTextFormat(Qt::PlainText);
    l->setGeometry(geometry);
    return l;
}

QLineEdit *passwordBox(QWidget *parent, const QString &accessibleName, const QRect &geometry)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName("txtPassword");
    box->setEchoMode(QLineEdit::Password);
    box->setAccessibleName(accessibleName);
    box->setGeometry(geometry);
    return box;
}

XpCmd *button(AppState &state, QWidget *parent, const char *name, const QString &caption, const QRect &geometry)
{
    auto *b = new XpCmd(state.infoLine.get(), parent);
    b->setObjectName(name);
    loadButton(b, {{"Caption", caption}, {"Font", storedButtonFont()}, {"ForeColor", storedColour(Look::buttonText())}},
               parent->font());
    b->setGeometry(geometry);
    return b;
}

void tell(AppState &state, const QString &text, const QString &title, Prompter::Icon icon)
{
    if (state.services.prompter)
        state.services.prompter->message(text, title, icon);
}

} // namespace

LoginWindow::LoginWindow(AppState &state, PasswordCheck &check, QWidget *owner)
    : QDialog(owner), m_state(state), m_check(check)
{
    setObjectName("frmLogin");
    setWindowTitle("Password");
    setAccessibleName("Password");
    setModal(true);
    setFixedSize(262, 104);

    auto *caption = label(this, "lblLabels", "Password:", QRect(12, 16, 70, 21));
    m_password = passwordBox(this, "Password:", QRect(86, 14, 164, 23));
    caption->setBuddy(m_password);
    m_ok = button(state, this, "cmdOK", "OK", QRect(50, 58, 75, 28));
    m_ok->setState(1);
    m_cancel = button(state, this, "cmdCancel", "Cancel", QRect(137, 58, 75, 28));

    connect(m_password, &QLineEdit::returnPressed, this, [this] {
        m_ok->setFocus();
        okPressed();
    });
    connect(m_ok, &XpCaptionButton::clicked, this, &LoginWindow::okPressed);
    connect(m_cancel, &XpCaptionButton::clicked, this, &QDialog::reject);
    m_password->setFocus();
}

void LoginWindow::okPressed()
{
    const QString typed = m_password->text();
    m_state.PlayWave("bink.wav");
    const PasswordCheck::Entry entry = m_check.enter(typed);
    if (entry == PasswordCheck::Entry::Right) {
        accept();
        return;
    }
    if (entry == PasswordCheck::Entry::WrongClose)
        reject();
    tell(m_state, " Invalid Password, try again! ", "Wrong Password!", Prompter::Icon::Critical);
    if (isVisible()) {
        m_password->setFocus();
        m_password->selectAll();
    }
}

WritePasswordWindow::WritePasswordWindow(AppState &state, PasswordCheck &check, QWidget *owner)
    : QDialog(owner), m_state(state), m_check(check)
{
    setObjectName("frmWritePassword");
    setWindowTitle("Enter Password");
    setAccessibleName("Enter Password");
    setModal(true);
    setFixedSize(262, 140);

    auto *caption = label(this, "lblLabels(1)", "Enter New Password:", QRect(12, 10, 238, 20));
    m_password = passwordBox(this, "Enter New Password:", QRect(12, 32, 238, 23));
    caption->setBuddy(m_password);
    label(this, "lblLabels(0)", "Please write down your password", QRect(12, 60, 238, 20));
    m_ok = button(state, this, "cmdOK", "Save", QRect(50, 96, 75, 28));
    m_ok->setState(1);
    m_cancel = button(state, this, "cmdCancel", "Cancel", QRect(137, 96, 75, 28));

    connect(m_password, &QLineEdit::returnPressed, this, &WritePasswordWindow::savePressed);
    connect(m_ok, &XpCaptionButton::clicked, this, &WritePasswordWindow::savePressed);
    connect(m_cancel, &XpCaptionButton::clicked, this, &QDialog::reject);
    m_password->setFocus();
}

void WritePasswordWindow::savePressed()
{
    const QString password = PasswordFile::fit(m_password->text());
    // Stored as it is or not at all: a replacement character would make a password nobody can type.
    if (!PasswordFile::storable(password)) {
        tell(m_state,
             "The password can only hold letters, digits and signs of Western European languages. "
             "Please choose another one.",
             "Password not saved", Prompter::Icon::Warning);
        m_password->setFocus();
        m_password->selectAll();
        return;
    }
    QString why;
    if (!m_check.WritePassword(password, &why)) {
        tell(m_state, "The password could not be saved.\r\n" + why, "Password not saved", Prompter::Icon::Critical);
        reject();
        return;
    }
    accept();
}
