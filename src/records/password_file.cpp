#include "records/password_file.h"

#include "records/fixed_field.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr QFileDevice::Permissions kPrivateFolder
    = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
constexpr QFileDevice::Permissions kPrivateFile = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

PasswordFile::Outcome failed(const QString &why)
{
    return {false, why};
}

} // namespace

namespace PasswordFile {

// Only blanks count as padding: other white space is part of what was typed.
QString trimBlanks(const QString &text)
{
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && text.at(from) == QLatin1Char(' '))
        ++from;
    while (to > from && text.at(to - 1) == QLatin1Char(' '))
        --to;
    return text.mid(from, to - from);
}

bool storable(const QString &text)
{
    return FixedField::decode(FixedField::encode(text, int(text.size()))) == text;
}

QString fit(const QString &typed)
{
    return trimBlanks(FixedField::fit(typed, RecordLength));
}

Outcome write(const QString &path, const QString &password)
{
    const QString text = fit(password);
    if (!storable(text))
        return failed(QStringLiteral("The password holds characters that cannot be stored."));
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        return failed(QStringLiteral("The folder %1 could not be made.").arg(QDir::toNativeSeparators(folder)));
    // Tightened before the file is touched, so the password is never readable by others.
    if (!QFile::setPermissions(folder, kPrivateFolder))
        return failed(QStringLiteral("The folder %1 could not be made private.").arg(QDir::toNativeSeparators(folder)));

    QFile file(path);
    const bool existed = file.exists();
    if (existed && !QFileInfo(path).isFile())
        return failed(QStringLiteral("%1 is not a file.").arg(QDir::toNativeSeparators(path)));
    if (existed && !file.setPermissions(kPrivateFile))
        return failed(file.errorString());
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered, kPrivateFile))
        return failed(file.errorString());
    const QByteArray record = FixedField::encode(text, RecordLength);
    if (file.write(record) != record.size() || !file.flush()) {
        const QString why = file.errorString();
        file.close();
        return failed(why);
    }
    file.close();
    if (file.error() != QFileDevice::NoError)
        return failed(file.errorString());
    return {true, {}};
}

Outcome read(const QString &path, QByteArray &record, bool *found)
{
    *found = false;
    QFile file(path);
    if (!file.exists())
        return {true, {}};
    if (!file.open(QIODevice::ReadOnly))
        return failed(file.errorString());
    const QByteArray bytes = file.read(RecordLength);
    if (bytes.size() == RecordLength) {
        record = bytes;
        *found = true;
    }
    return {true, {}};
}

QString passwordOf(const QByteArray &record)
{
    return trimBlanks(FixedField::decode(record));
}

} // namespace PasswordFile
