#pragma once
#include "records/info_record.h"

#include <QString>

// Today's information file: fixed-length records numbered from 1, record n at (n - 1) * 5912.
class InfoFile
{
public:
    enum class ReadResult { Ok, NoRecord, Error };

    // Ok: `out` holds the record. NoRecord: the file (created empty when missing) does not reach
    // the record's end; `out` becomes an all-blank record and the file is left as it was.
    // Error: the file cannot be created, opened or read; `out` is left unchanged.
    static ReadResult read(const QString &path, int recordNo, InfoRecord &out, QString *error = nullptr);

    // Writes `rec` as record `recordNo`, keeping every other byte of the file. The new contents go
    // to a temporary file that replaces the old one in one rename, so a failed save leaves the old
    // file whole. A file that cannot be opened for writing is not replaced.
    static bool write(const QString &path, int recordNo, const InfoRecord &rec, QString *error = nullptr);
};
