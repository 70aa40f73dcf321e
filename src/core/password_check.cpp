#include "core/password_check.h"

#include <QFileInfo>

bool PasswordCheck::isStored() const
{
    const QFileInfo info(m_path);
    return info.isFile() && info.size() >= PasswordFile::RecordLength;
}

bool PasswordCheck::WritePassword(const QString &newPassword, QString *why)
{
    const PasswordFile::Outcome out = PasswordFile::write(m_path, newPassword);
    if (!out.ok && why)
        *why = out.error;
    return out.ok;
}

bool PasswordCheck::CheckPassword()
{
    bool found = false;
    PasswordFile::read(m_path, m_record, &found);
    return m_typed == PasswordFile::passwordOf(m_record);
}

PasswordCheck::Entry PasswordCheck::enter(const QString &typed)
{
    setTyped(typed);
    if (CheckPassword())
        return Entry::Right;
    if (m_wrongCount < 32767)
        ++m_wrongCount;
    return m_wrongCount == 3 ? Entry::WrongClose : Entry::Wrong;
}
