// Today's information as read from any bytes: every field decodes, and a record read back
// encodes to the very bytes it came from.
#include "fuzz/fuzz_file.h"
#include "records/info_file.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = fuzzFile(data, size, ".dta");
    for (int recordNo = 1; recordNo <= 2; ++recordNo) {
        InfoRecord rec;
        if (InfoFile::read(path, recordNo, rec) != InfoFile::ReadResult::Ok)
            continue;
        for (int f = 1; f <= InfoRecord::FieldCount; ++f)
            rec.trimmed(f);
        const qsizetype at = qsizetype(recordNo - 1) * InfoRecord::RecordLength;
        if (rec.toBytes() != QByteArray(reinterpret_cast<const char *>(data) + at, InfoRecord::RecordLength))
            std::abort();
    }
    QFile::remove(path);
    return 0;
}
