#pragma once
#include "records/password_file.h"

#include <QByteArray>
#include <QString>

// The stored password and the prompt's bookkeeping for one run: what was typed last, and the
// wrong entries counted over the whole run.
class PasswordCheck
{
public:
    explicit PasswordCheck(QString path) : m_path(std::move(path)) { }

    enum class Entry {
        Right,
        Wrong, // the prompt stays open
        WrongClose, // the third wrong entry of the run: the prompt closes
    };

    // True once a password record exists; without one the protected actions are not locked.
    bool isStored() const;

    // Stores the new password (trimmed, cut to 14). On failure `why` says what went wrong.
    bool WritePassword(const QString &newPassword, QString *why = nullptr);
    // Compares TypedPassword with the stored one. An unreadable file leaves the last record read.
    bool CheckPassword();

    // Every protected action starts from an empty entry, so cancelling passes only an empty password.
    void clearTyped() { m_typed.clear(); }
    void setTyped(const QString &typed) { m_typed = PasswordFile::trimBlanks(typed); }
    const QString &TypedPassword() const { return m_typed; }

    // OK at the prompt.
    Entry enter(const QString &typed);
    int WrongCount() const { return m_wrongCount; }

    const QString &path() const { return m_path; }

private:
    QString m_path;
    QString m_typed;
    // Zero bytes until a record is read: no typed text equals them.
    QByteArray m_record = QByteArray(PasswordFile::RecordLength, '\0');
    qint16 m_wrongCount = 0;
};
