#include "voice/qt_sound_player.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>
#include <QtEndian>

namespace {
// Loading a short wave takes milliseconds; this only bounds a stuck backend.
constexpr int LoadTimeoutMs = 2000;
// Waited when a file's length is unknown.
constexpr int UnknownLengthMs = 1000;
// Slack over the sound's length before a playback that never reports its end is given up.
constexpr int EndSlackMs = 1000;
} // namespace

QtSoundPlayer::QtSoundPlayer() = default;

QtSoundPlayer::~QtSoundPlayer()
{
    qDeleteAll(m_effects);
}

void QtSoundPlayer::play(const QString &path)
{
    if (QSoundEffect *effect = effectFor(path))
        effect->play();
}

void QtSoundPlayer::playToEnd(const QString &path)
{
    QElapsedTimer clock;
    clock.start();
    int expected = waveDurationMs(path);
    if (expected < 0)
        expected = UnknownLengthMs;

    if (QSoundEffect *effect = effectFor(path)) {
        QEventLoop loop;
        QTimer limit;
        limit.setSingleShot(true);
        QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
        QObject::connect(effect, &QSoundEffect::playingChanged, &loop, [&] {
            if (!effect->isPlaying())
                loop.quit();
        });
        QObject::connect(effect, &QSoundEffect::statusChanged, &loop, [&] {
            if (effect->status() == QSoundEffect::Error)
                loop.quit();
        });
        effect->play();
        limit.start(qMax(0, expected + EndSlackMs - int(clock.elapsed())));
        loop.exec();
    }
    // Whatever went wrong, take about the sound's length.
    const int left = expected - int(clock.elapsed());
    if (left > 0)
        waitMs(left);
}

QSoundEffect *QtSoundPlayer::effectFor(const QString &path)
{
    QSoundEffect *effect = m_effects.value(path);
    if (!effect) {
        if (!QFileInfo(path).isFile())
            return nullptr;
        effect = new QSoundEffect;
        effect->setSource(QUrl::fromLocalFile(path));
        m_effects.insert(path, effect);
    }
    if (effect->status() == QSoundEffect::Loading || effect->status() == QSoundEffect::Null) {
        QEventLoop loop;
        QTimer::singleShot(LoadTimeoutMs, &loop, &QEventLoop::quit);
        QObject::connect(effect, &QSoundEffect::statusChanged, &loop, [&] {
            if (effect->status() == QSoundEffect::Ready || effect->status() == QSoundEffect::Error)
                loop.quit();
        });
        if (effect->status() == QSoundEffect::Loading || effect->status() == QSoundEffect::Null)
            loop.exec();
    }
    if (effect->status() != QSoundEffect::Ready) {
        // Dropped so that a file fixed or added later is loaded afresh.
        m_effects.remove(path);
        effect->deleteLater();
        return nullptr;
    }
    return effect;
}

void QtSoundPlayer::waitMs(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

int QtSoundPlayer::waveDurationMs(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray riff = file.read(12);
    if (riff.size() < 12 || !riff.startsWith("RIFF") || riff.mid(8, 4) != "WAVE")
        return -1;
    quint32 byteRate = 0;
    // Chunks are walked rather than assuming the 44-byte layout: writers add "LIST" and others.
    while (!file.atEnd()) {
        const QByteArray header = file.read(8);
        if (header.size() < 8)
            return -1;
        const QByteArray id = header.left(4);
        const quint32 size = qFromLittleEndian<quint32>(header.constData() + 4);
        if (id == "fmt ") {
            const QByteArray fmt = file.read(qMin<quint32>(size, 64));
            if (fmt.size() < 16)
                return -1;
            byteRate = qFromLittleEndian<quint32>(fmt.constData() + 8);
            if (!file.seek(file.pos() - fmt.size() + size + (size & 1)))
                return -1;
        } else if (id == "data") {
            if (byteRate == 0)
                return -1;
            const qint64 available = file.size() - file.pos();
            const qint64 bytes = qMin<qint64>(size, available);
            return int(bytes * 1000 / byteRate);
        } else if (!file.seek(file.pos() + size + (size & 1))) {
            return -1;
        }
    }
    return -1;
}
