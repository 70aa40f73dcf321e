#include "records/info_file.h"

#include "records/file_access.h"

#include <QFile>
#include <QFileInfo>

namespace {

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

} // namespace

InfoFile::ReadResult InfoFile::read(const QString &path, int recordNo, InfoRecord &out, QString *error)
{
    if (recordNo < 1) {
        fail(error, QStringLiteral("Record number %1 is out of range.").arg(recordNo));
        return ReadResult::Error;
    }
    QFile file(path);
    if (!QFileInfo::exists(path)) {
        // The first start creates the file empty; the first save fills it.
        if (!FileAccess::createPrivate(path) && !QFileInfo::exists(path)) { // not made by someone else meanwhile
            fail(error, QStringLiteral("Cannot create the file."));
            return ReadResult::Error;
        }
    }
    // Read-only access is enough to show the file: a file the user has locked still loads.
    QString why;
    if (!FileAccess::openRegular(file, QIODevice::ReadOnly, &why)) {
        fail(error, why);
        return ReadResult::Error;
    }
    const qint64 start = qint64(recordNo - 1) * InfoRecord::RecordLength;
    if (file.size() < start + InfoRecord::RecordLength) {
        out = InfoRecord();
        return ReadResult::NoRecord;
    }
    if (!file.seek(start)) {
        fail(error, file.errorString());
        return ReadResult::Error;
    }
    const QByteArray bytes = file.read(InfoRecord::RecordLength);
    if (bytes.size() != InfoRecord::RecordLength) {
        fail(error, file.errorString().isEmpty() ? QStringLiteral("Short read.") : file.errorString());
        return ReadResult::Error;
    }
    out = InfoRecord::fromBytes(bytes);
    return ReadResult::Ok;
}

bool InfoFile::write(const QString &path, int recordNo, const InfoRecord &rec, QString *error)
{
    if (recordNo < 1)
        return fail(error, QStringLiteral("Record number %1 is out of range.").arg(recordNo));

    QByteArray contents;
    const QFileInfo info(path);
    if (info.exists()) {
        // The rename below would replace even a read-only file, since only the folder's
        // permissions count for that; the file's own write access decides instead.
        QFile old(path);
        QString why;
        if (!FileAccess::openRegular(old, QIODevice::ReadWrite, &why))
            return fail(error, why);
        contents = old.readAll();
        if (old.error() != QFileDevice::NoError)
            return fail(error, old.errorString());
        old.close();
    }

    const qint64 start = qint64(recordNo - 1) * InfoRecord::RecordLength;
    if (contents.size() < start)
        contents.append(QByteArray(start - contents.size(), '\0')); // records never written read as zero bytes
    const QByteArray record = rec.toBytes();
    if (contents.size() < start + record.size())
        contents.resize(start + record.size());
    std::copy(record.cbegin(), record.cend(), contents.begin() + start);

    return FileAccess::saveWhole(path, contents, error);
}
