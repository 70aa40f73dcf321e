#include "records/sitter_file.h"

#include "records/file_access.h"
#include "records/fixed_field.h"

#include <QFile>
#include <QFileInfo>
#include <QVector>
#include <array>
#include <cstring>

namespace {

using Outcome = SitterFile::Outcome;
using Status = SitterFile::Status;

constexpr int kRec = SitterRecord::RecordLength;
// Scans read this many records at a time: one seek per block, not per record.
constexpr int kBlockRecords = 1024;

// An open refused before the file was touched: the file itself has no error to tell.
Outcome openFailure(const QString &why, Outcome out = {})
{
    out.status = Status::Error;
    out.errorCode = int(QFileDevice::OpenError);
    out.error = why;
    return out;
}

Outcome failure(const QFile &file, Outcome out = {})
{
    out.status = Status::Error;
    out.errorCode = int(file.error()) ? int(file.error()) : int(QFileDevice::UnspecifiedError);
    out.error = file.errorString();
    return out;
}

Outcome refusal(Status status, const QString &why, Outcome out = {})
{
    out.status = status;
    out.error = why;
    return out;
}

// A missing file is made empty first, as the first use of the list expects.
bool openForReading(QFile &file, QString *why)
{
    if (!QFileInfo::exists(file.fileName()))
        FileAccess::createPrivate(file.fileName());
    return FileAccess::openRegular(file, QIODevice::ReadOnly, why);
}

bool openForWriting(QFile &file, QString *why)
{
    // Unbuffered: the record goes to the file in the one write() checked below.
    return FileAccess::openRegular(file, QIODevice::ReadWrite | QIODevice::Unbuffered, why);
}

// Counts the records and refuses a file too long for 16-bit record numbers.
bool counted(QFile &file, Outcome &out)
{
    out.count = SitterFile::countOf(file.size());
    if (out.count > SitterRecord::MaxRecords) {
        out = refusal(Status::TooLarge, QStringLiteral("The file holds more than 32767 records."), out);
        return false;
    }
    return true;
}

// Opens the file for a read or scan and counts its records; false with `out` saying why.
bool openCounted(QFile &file, Outcome &out)
{
    QString why;
    if (!openForReading(file, &why)) {
        out = openFailure(why);
        return false;
    }
    return counted(file, out);
}

// Calls `visit(recordNo, bytes)` for records from..count, reading large blocks; stops when it
// returns true. False when the file could not be read.
template<typename Visit>
bool scan(QFile &file, int from, int count, const Visit &visit, bool *stopped)
{
    *stopped = false;
    if (from < 1)
        from = 1;
    if (from > count)
        return true;
    if (!file.seek(qint64(from - 1) * kRec))
        return false;
    QByteArray block(kBlockRecords * kRec, Qt::Uninitialized);
    for (int n = from; n <= count;) {
        const int want = qMin(kBlockRecords, count - n + 1);
        if (file.read(block.data(), qint64(want) * kRec) != qint64(want) * kRec)
            return false;
        for (int i = 0; i < want; ++i, ++n)
            if (visit(n, block.constData() + qint64(i) * kRec)) {
                *stopped = true;
                return true;
            }
    }
    return true;
}

// Writes one record in a single write; on failure puts the old bytes and length back and says
// why the write failed in `out`.
bool writeRecord(QFile &file, int recordNo, const QByteArray &bytes, Outcome &out)
{
    const qint64 pos = qint64(recordNo - 1) * kRec;
    const qint64 oldSize = file.size();
    const qint64 oldLength = qBound<qint64>(0, oldSize - pos, qint64(kRec));
    QByteArray old;
    bool ok = file.seek(pos);
    if (ok && oldLength > 0) {
        old = file.read(oldLength);
        ok = old.size() == oldLength && file.seek(pos);
    }
    if (ok && file.write(bytes) == bytes.size() && file.flush())
        return true;
    out = failure(file, out);
    if (file.seek(pos) && (old.isEmpty() || file.write(old) == old.size()))
        file.resize(oldSize);
    return false;
}

// Lower case of every byte of the code page, kept within the code page.
const std::array<char, 256> &lowerTable()
{
    static const std::array<char, 256> table = [] {
        std::array<char, 256> t{};
        for (int b = 0; b < 256; ++b) {
            const QString lower = FixedField::decode(QByteArray(1, char(b))).toLower();
            const QByteArray back = FixedField::encode(lower, 1);
            t[b] = FixedField::decode(back) == lower ? back.at(0) : char(b);
        }
        return t;
    }();
    return table;
}

} // namespace

Outcome SitterFile::read(const QString &path, int recordNo, SitterRecord &out)
{
    QFile file(path);
    Outcome result;
    if (!openCounted(file, result))
        return result;
    result.number = recordNo;
    if (recordNo < 1 || recordNo > result.count) {
        result.status = Status::NoRecord;
        return result;
    }
    QByteArray bytes;
    if (file.seek(qint64(recordNo - 1) * kRec))
        bytes = file.read(kRec);
    if (bytes.size() != kRec)
        return failure(file, result);
    out = SitterRecord::fromBytes(bytes.constData());
    return result;
}

Outcome SitterFile::write(const QString &path, int recordNo, const SitterRecord &rec)
{
    QFile file(path);
    return write(file, recordNo, rec);
}

Outcome SitterFile::write(QFile &file, int recordNo, const SitterRecord &rec)
{
    Outcome result;
    QString why;
    if (!openForWriting(file, &why))
        return openFailure(why);
    if (!counted(file, result))
        return result;
    result.number = recordNo;
    // Past count + 1 would leave a gap of records that were never written.
    if (recordNo < 1 || recordNo > result.count + 1 || recordNo > SitterRecord::MaxRecords)
        return refusal(Status::Error, QStringLiteral("Record number %1 is out of range.").arg(recordNo), result);
    SitterRecord stored = rec;
    stored.Number = qint16(recordNo);
    if (!writeRecord(file, recordNo, stored.toBytes(), result))
        return result;
    result.count = countOf(file.size());
    return result;
}

Outcome SitterFile::add(const QString &path, const SitterRecord &rec)
{
    QFile file(path);
    return add(file, rec);
}

Outcome SitterFile::add(QFile &file, SitterRecord rec)
{
    Outcome result;
    QString why;
    if (!openForWriting(file, &why))
        return openFailure(why);
    if (!counted(file, result))
        return result;
    int slot = result.count + 1;
    bool found = false;
    const bool readOk = scan(
        file, 1, result.count,
        [&slot](int n, const char *bytes) {
            if (!SitterRecord::nameIsErased(bytes + SitterRecord::offset(SitterRecord::SitterName)))
                return false;
            slot = n;
            return true;
        },
        &found);
    if (!readOk)
        return failure(file, result);
    result.number = slot;
    if (slot > SitterRecord::MaxRecords)
        return refusal(Status::Full, QStringLiteral("No record number is left for another record."), result);
    rec.Number = qint16(slot);
    if (!writeRecord(file, slot, rec.toBytes(), result))
        return result;
    result.count = countOf(file.size());
    return result;
}

Outcome SitterFile::nextSlot(const QString &path)
{
    QFile file(path);
    Outcome result;
    if (!openCounted(file, result))
        return result;
    result.number = result.count + 1;
    bool found = false;
    if (!scan(
            file, 1, result.count,
            [&result](int n, const char *bytes) {
                if (!SitterRecord::nameIsErased(bytes + SitterRecord::offset(SitterRecord::SitterName)))
                    return false;
                result.number = n;
                return true;
            },
            &found))
        return failure(file, result);
    return result;
}

Outcome SitterFile::findName(const QString &path, const QString &text, int from)
{
    QFile file(path);
    Outcome result;
    if (!openCounted(file, result))
        return result;
    result.status = Status::NotFound;
    // Names are compared as bytes of the code page; a text it cannot hold matches no name.
    const QString lower = text.trimmed().toLower();
    const QByteArray needle = FixedField::encode(lower, int(lower.size()));
    if (FixedField::decode(needle) != lower)
        return result;
    const std::array<char, 256> &table = lowerTable();
    const int width = SitterRecord::width(SitterRecord::SitterName);
    const int nameAt = SitterRecord::offset(SitterRecord::SitterName);
    char name[256];
    bool found = false;
    const bool readOk = scan(
        file, from, result.count,
        [&](int n, const char *bytes) {
            const char *p = bytes + nameAt;
            const int b = SitterRecord::blankEnd(p, width);
            int a = 0;
            while (a < b && p[a] == ' ')
                ++a;
            if (a == b)
                return false;
            for (int i = a; i < b; ++i)
                name[i - a] = table[uchar(p[i])];
            if (!needle.isEmpty() && !memmem(name, size_t(b - a), needle.constData(), size_t(needle.size())))
                return false;
            result.number = n;
            return true;
        },
        &found);
    if (!readOk)
        return failure(file, result);
    if (found)
        result.status = Status::Ok;
    return result;
}
