#include "records/file_access.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
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
    const bool existed = QFileInfo::exists(file.fileName());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(error, file.errorString());
    const auto cancel = [&](const QString &why) {
        file.cancelWriting();
        file.commit(); // discards the temporary file; the old file stays
        return fail(error, why);
    };
    if (!existed && file.handle() >= 0 && ::fchmod(file.handle(), S_IRUSR | S_IWUSR) != 0)
        return cancel(errnoText(errno));
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

bool openRegular(QFile &file, QIODevice::OpenMode mode, QString *error)
{
    int flags = O_CLOEXEC | O_NONBLOCK; // a pipe with no writer must not hold up the open
    if ((mode & QIODevice::ReadWrite) == QIODevice::ReadWrite)
        flags |= O_RDWR | O_CREAT;
    else if (mode & QIODevice::WriteOnly)
        flags |= O_WRONLY | O_CREAT;
    else
        flags |= O_RDONLY;
    const QByteArray name = QFile::encodeName(file.fileName());
    const int fd = ::open(name.constData(), flags, S_IRUSR | S_IWUSR);
    if (fd < 0)
        return fail(error, errno == ENXIO ? QStringLiteral("Not a regular file.") : errnoText(errno));
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return fail(error, QStringLiteral("Not a regular file."));
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, mode, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return fail(error, file.errorString());
    }
    return true;
}

bool createPrivate(const QString &path)
{
    QFile make(path);
    if (!make.open(QIODevice::WriteOnly | QIODevice::NewOnly, PrivateFile))
        return false;
    make.close();
    return true;
}

bool saveWhole(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(path);
    return saveInto(file, bytes, error);
}

bool copyWhole(const QString &from, const QString &to, QString *error)
{
    QFile in(from);
    QString why;
    if (!openRegular(in, QIODevice::ReadOnly, &why))
        return fail(error, why);
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError)
        return fail(error, in.errorString());
    return saveWhole(to, bytes, error);
}

bool makeFolder(const QString &path)
{
    const QFileInfo info(path);
    if (info.exists())
        return info.isDir();
    const QString parent = info.absolutePath();
    if (!QDir().mkpath(parent))
        return false;
    return QDir().mkdir(info.absoluteFilePath(), PrivateFolder) || QFileInfo(path).isDir();
}

namespace {
bool readsAsWord(const QString &s)
{
    for (const QChar c : s)
        if (!c.isLetter())
            return false;
    const QString rest = s.mid(1);
    return s == s.toLower() || s == s.toUpper() || (s.at(0).isUpper() && rest == rest.toLower());
}
} // namespace

int removeStaleSaves(const QString &folder, const QStringList &names, int minAgeSecs)
{
    const QDir dir(folder);
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-minAgeSecs);
    int removed = 0;
    for (const QString &name : names) {
        // QSaveFile's temporary name: the file's name, a dot and six letters or
        // digits.
        const QRegularExpression pattern(QRegularExpression::anchoredPattern(QRegularExpression::escape(name)
                                                                             + QStringLiteral("\\.[A-Za-z0-9]{6}")));
        const QStringList candidates = dir.entryList({name + QStringLiteral(".??????")}, QDir::Files | QDir::Hidden);
        for (const QString &candidate : candidates) {
            const QFileInfo info(dir.filePath(candidate));
            if (!pattern.match(candidate).hasMatch() || info.isSymLink() || !info.isFile())
                continue;
            // A suffix that reads as a word ("backup", "BACKUP", "Backup") is more likely a copy the
            // user made than a random name; the few random names that look so are left in place.
            if (readsAsWord(candidate.right(6)))
                continue;
            if (info.lastModified().toUTC() > before)
                continue; // may be a save in progress in another run
            if (QFile::remove(info.filePath()))
                ++removed;
        }
    }
    return removed;
}

} // namespace FileAccess
