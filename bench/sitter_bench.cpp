// sitter-bench FILE: times a name search that finds nothing, an add that scans for an erased slot
// and appends, and a plain sequential read of the same file, each the median of five runs.
// FILE is made with 32,767 sitters when it does not exist.
// sitter-bench --open-window FILE: times opening the sitter list window on FILE.
#include "core/app_state.h"
#include "null_window_opener.h"
#include "records/sitter_file.h"
#include "windows/sitter_list_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kRec = SitterRecord::RecordLength;

bool makeFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray all;
    all.reserve(qint64(SitterRecord::MaxRecords) * kRec);
    for (int n = 1; n <= SitterRecord::MaxRecords; ++n) {
        SitterRecord rec;
        rec.Number = qint16(n);
        rec.setField(SitterRecord::SitterName, QStringLiteral("Sitter Number %1 Jones").arg(n));
        rec.setField(SitterRecord::Phone, QStringLiteral("555-%1").arg(n, 5, 10, QLatin1Char('0')));
        rec.setField(SitterRecord::Wage, QStringLiteral("12.50"));
        all += rec.toBytes();
    }
    return file.write(all) == all.size();
}

double medianMs(int runs, const std::function<void()> &work)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

// The baseline: the whole file read front to back in the blocks the scans use.
quint64 plainRead(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    QByteArray block(1024 * kRec, Qt::Uninitialized);
    quint64 sum = 0;
    qint64 got;
    while ((got = file.read(block.data(), block.size())) > 0)
        sum += uchar(block.at(got - 1));
    return sum;
}

int openWindow(int argc, char **argv, const QString &path)
{
    QApplication app(argc, argv);
    const QFileInfo info(path);
    Services none;
    AppState state(none, info.absolutePath(), info.absolutePath() + "/bench.ini", info.absolutePath());
    state.SitterFilePath = info.absoluteFilePath();
    NullWindowOpener windows;
    const double ms = medianMs(5, [&] {
        SitterListWindow window(state, windows, nullptr);
        window.show();
        QApplication::processEvents();
    });
    std::printf("open_ms=%.2f\n", ms);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    const bool window = argc == 3 && QByteArray(argv[1]) == "--open-window";
    if (argc != 2 && !window) {
        std::fprintf(stderr, "usage: sitter-bench [--open-window] FILE\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[argc - 1]);
    if (!QFileInfo::exists(path) && !makeFile(path)) {
        std::fprintf(stderr, "sitter-bench: cannot write %s\n", argv[argc - 1]);
        return 1;
    }
    if (window)
        return openWindow(argc - 1, argv, path);

    plainRead(path); // warm the page cache so every figure reads from memory
    volatile quint64 sink = 0;
    const double readMs = medianMs(5, [&] { sink = sink + plainRead(path); });
    const double searchMs = medianMs(5, [&] {
        if (SitterFile::findName(path, QStringLiteral("Nobody Here"), 1).status != SitterFile::Status::NotFound)
            std::fprintf(stderr, "sitter-bench: the search found something\n");
    });

    // The last number is taken by the full file; the add is timed with the last record set
    // aside, so it scans 32,766 records, finds no erased one and appends. Put back after.
    QFile file(path);
    const qint64 size = file.size();
    QByteArray last;
    if (file.open(QIODevice::ReadWrite) && file.seek(size - kRec))
        last = file.read(kRec);
    SitterRecord rec;
    rec.setField(SitterRecord::SitterName, QStringLiteral("Benchmark Sitter"));
    std::vector<double> addRuns;
    for (int i = 0; i < 5; ++i) {
        file.resize(size - kRec);
        QElapsedTimer t;
        t.start();
        const SitterFile::Outcome out = SitterFile::add(path, rec);
        addRuns.push_back(double(t.nsecsElapsed()) / 1e6);
        if (!out.ok() || out.number != SitterRecord::MaxRecords)
            std::fprintf(stderr, "sitter-bench: the add went wrong\n");
    }
    file.resize(size - kRec);
    file.seek(size - kRec);
    file.write(last);
    file.close();
    std::sort(addRuns.begin(), addRuns.end());

    std::printf("search_ms=%.2f add_ms=%.2f read_ms=%.2f\n", searchMs, addRuns[2], readMs);
    return 0;
}
