#pragma once
#include "records/sitter_record.h"

#include <QString>
#include <climits>

class QFile;

// The sitter file: 811-byte records numbered from 1, record n at (n - 1) * 811, no header. Every
// call opens the file, does its work and closes it again. The QFile overloads take a file that is
// named but not open, so tests can hand one whose writes fail.
class SitterFile
{
public:
    enum class Status {
        Ok,
        NoRecord, // the record lies past the end of the file
        NotFound, // no name matched, or no record to act on
        TooLarge, // more records than 16-bit numbers can address
        Full, // no erased slot and no number left for another record
        Error, // the file layer failed; see `error` and `errorCode`
    };

    struct Outcome {
        Status status = Status::Ok;
        int count = 0; // SitterCount as the call found it
        int number = 0; // the record read, written or found
        int errorCode = 0;
        QString error;
        bool ok() const { return status == Status::Ok; }
    };

    // Complete records only: a trailing partial record is not counted.
    static int countOf(qint64 fileSize) { return int(qMin<qint64>(fileSize / SitterRecord::RecordLength, INT_MAX)); }

    // Reads record `recordNo` into `out`; NoRecord leaves `out` as it was.
    static Outcome read(const QString &path, int recordNo, SitterRecord &out);
    // Stores `rec` at `recordNo` (1 .. count + 1) in one write; a failed write puts back what was
    // there, so no torn record is left.
    static Outcome write(const QString &path, int recordNo, const SitterRecord &rec);
    static Outcome write(QFile &file, int recordNo, const SitterRecord &rec);
    // Writes `rec` into the lowest erased slot, or appends it; `number` says where.
    static Outcome add(const QString &path, const SitterRecord &rec);
    static Outcome add(QFile &file, SitterRecord rec);
    // Where add() would put a record now.
    static Outcome nextSlot(const QString &path);
    // The first record from `from` on whose trimmed name contains `text` (trimmed), ignoring
    // letter case; an empty text matches any record with a name.
    static Outcome findName(const QString &path, const QString &text, int from);
};
