#pragma once
#include <QByteArray>
#include <QSemaphore>
#include <QString>

#include <csignal>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

// While alive, this process cannot make any file longer than `bytes`: writes past it fail with
// EFBIG, the way they fail with ENOSPC on a full disk, without needing a small file system.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limited = m_old;
        limited.rlim_cur = bytes;
        m_ok = setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    bool ok() const { return m_ok; }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
    bool m_ok = false;
};

// Runs `work`, which opens the named pipe `fifo`, on a thread of its own. False when it has not
// returned within `ms`: the thread is then left blocked (it ends with the process) so the test
// fails instead of hanging. `fifo` is only named for the message.
inline bool finishesWithin(const QString &fifo, int ms, const std::function<void()> &work)
{
    auto done = std::make_shared<QSemaphore>();
    std::thread([done, work] {
        work();
        done->release();
    }).detach();
    if (done->tryAcquire(1, ms))
        return true;
    qWarning("still blocked on %s after %d ms", qPrintable(fifo), ms);
    return false;
}

inline bool makeFifo(const QString &path)
{
    return ::mkfifo(path.toLocal8Bit().constData(), 0600) == 0;
}
