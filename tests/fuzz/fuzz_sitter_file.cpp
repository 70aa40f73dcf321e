// The sitter list as read from any bytes: reading each record, finding names and finding a free
// slot neither crash nor disagree on the record count.
#include "fuzz/fuzz_file.h"
#include "records/sitter_file.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = fuzzFile(data, size, ".brw");
    const int count = SitterFile::countOf(qint64(size));
    for (int n = 1; n <= qMin(count, 64) + 1; ++n) {
        SitterRecord rec;
        const SitterFile::Outcome out = SitterFile::read(path, n, rec);
        if (out.count != count && out.status != SitterFile::Status::TooLarge)
            std::abort();
    }
    // The first bytes double as a name to look for.
    const QString text = QString::fromLatin1(reinterpret_cast<const char *>(data), int(qMin<size_t>(size, 8)));
    for (int from = 1; from <= count;) {
        const SitterFile::Outcome found = SitterFile::findName(path, text, from);
        if (!found.ok())
            break;
        if (found.number < from)
            std::abort();
        from = found.number + 1;
    }
    const SitterFile::Outcome slot = SitterFile::nextSlot(path);
    if (slot.ok() && (slot.number < 1 || slot.number > count + 1))
        std::abort();
    QFile::remove(path);
    return 0;
}
