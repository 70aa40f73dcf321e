#include "records/file_access.h"

#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace FileAccess {

namespace {

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

QString errnoText(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

bool saveInto(QSaveFile &file, const QByteArray &bytes, QString *error)
{
    // Unbuffered: a full disk shows in write() itself, not in a commit() that would not say so.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(error, file.errorString());
    const auto cancel = [&](const QString &why) {
        file.cancelWriting();
        file.commit(); // discards the temporary file; the old file stays
        return fail(error, why);
    };
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            return cancel(file.errorString());
        done += n;
    }
    // Some file systems only find out at sync time that the blocks cannot be had.
    if (file.handle() >= 0 && ::fsync(file.handle()) != 0)
        return cancel(errnoText(errno));
    if (!file.commit())
        return fail(error, file.errorString());
    return true;
}

} // namespace

bool saveWhole(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(path);
    return saveInto(file, bytes, error);
}

bool copyWhole(const QString &from, const QString &to, QString *error)
{
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly))
        return fail(error, in.errorString());
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError)
        return fail(error, in.errorString());
    return saveWhole(to, bytes, error);
}

} // namespace FileAccess
