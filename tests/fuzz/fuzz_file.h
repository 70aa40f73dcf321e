#pragma once
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

// The input as a file in a folder of this process's own; each call gets a fresh name, as the
// settings reader caches files by name.
inline QString fuzzFile(const uint8_t *data, size_t size, const char *suffix)
{
    static QTemporaryDir dir;
    static unsigned serial = 0;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("in%1%2").arg(++serial).arg(QLatin1String(suffix)));
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(reinterpret_cast<const char *>(data), qint64(size));
    return path;
}
