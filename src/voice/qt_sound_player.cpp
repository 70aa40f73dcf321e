#include "voice/qt_sound_player.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QFile>
#include <QMediaDevices>
#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace {
// Wave files larger than this are no sounds of ours.
constexpr qint64 MaxWaveBytes = 16 * 1024 * 1024;
// Small enough that a press is heard at once, large enough not to starve on a busy machine.
constexpr int BufferMs = 60;
} // namespace

QtSoundPlayer::QtSoundPlayer()
{
    open(QIODevice::ReadOnly);
}

QtSoundPlayer::~QtSoundPlayer()
{
    if (m_sink)
        m_sink->stop();
    delete m_sink;
}

QVector<qint16> QtSoundPlayer::readWave(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxWaveBytes)
        return {};
    const QByteArray bytes = file.readAll();
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return {};
    int channels = 0, rate = 0, bits = 0, format = 0;
    qint64 pos = 12;
    // Chunks are walked rather than assuming the 44-byte layout: writers add "LIST" and others.
    while (pos + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(pos, 4);
        const qint64 size = qFromLittleEndian<quint32>(bytes.constData() + pos + 4);
        const qint64 body = pos + 8;
        if (id == "fmt " && size >= 16 && body + 16 <= bytes.size()) {
            format = qFromLittleEndian<quint16>(bytes.constData() + body);
            channels = qFromLittleEndian<quint16>(bytes.constData() + body + 2);
            rate = int(qFromLittleEndian<quint32>(bytes.constData() + body + 4));
            bits = qFromLittleEndian<quint16>(bytes.constData() + body + 14);
        } else if (id == "data") {
            if (format != 1 || bits != 16 || channels < 1 || channels > 8 || rate < 4000 || rate > 192000)
                return {};
            // A header may claim more data than the file holds.
            const qint64 frames = std::min(size, bytes.size() - body) / (2 * channels);
            const auto *in = reinterpret_cast<const uchar *>(bytes.constData() + body);
            const qint64 outFrames = frames * Rate / rate;
            QVector<qint16> out;
            out.resize(int(outFrames));
            for (qint64 i = 0; i < outFrames; ++i) {
                // Nearest sample of the first channel: the program's sounds are short effects.
                const qint64 src = std::min(frames - 1, i * rate / Rate);
                out[int(i)] = qFromLittleEndian<qint16>(in + src * 2 * channels);
            }
            return out;
        }
        pos = body + size + (size & 1);
    }
    return {};
}

const QVector<qint16> *QtSoundPlayer::samplesFor(const QString &path)
{
    auto it = m_samples.find(path);
    if (it == m_samples.end()) {
        QVector<qint16> samples = readWave(path);
        // An unreadable file is tried again next time: it may be fixed or added meanwhile.
        if (samples.isEmpty())
            return nullptr;
        QMutexLocker lock(&m_lock);
        it = m_samples.insert(path, samples);
    }
    return &it.value();
}

bool QtSoundPlayer::ensureOutput()
{
    if (m_sink)
        return true;
    if (m_noDevice)
        return false;
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) {
        m_noDevice = true;
        return false;
    }
    QAudioFormat format;
    format.setSampleRate(Rate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    m_sink = new QAudioSink(device, format);
    m_sink->setBufferSize(format.bytesForDuration(BufferMs * 1000));
    m_sink->start(this);
    return true;
}

void QtSoundPlayer::addVoice(const QString &path, bool loop)
{
    if (!samplesFor(path) || !ensureOutput())
        return;
    QMutexLocker lock(&m_lock);
    m_voices.append({path, 0, loop});
}

void QtSoundPlayer::play(const QString &path)
{
    addVoice(path, false);
}

void QtSoundPlayer::startLoop(const QString &path)
{
    stopLoop();
    addVoice(path, true);
}

void QtSoundPlayer::stopLoop()
{
    QMutexLocker lock(&m_lock);
    m_voices.erase(std::remove_if(m_voices.begin(), m_voices.end(), [](const Voice &v) { return v.loop; }),
                   m_voices.end());
}

void QtSoundPlayer::preload(const QStringList &paths)
{
    for (const QString &path : paths)
        samplesFor(path);
    ensureOutput();
}

bool QtSoundPlayer::isPlaying(const QString &path) const
{
    QMutexLocker lock(&m_lock);
    return std::any_of(m_voices.begin(), m_voices.end(), [&](const Voice &v) { return v.path == path; });
}

bool QtSoundPlayer::isPlayingOnce() const
{
    QMutexLocker lock(&m_lock);
    return std::any_of(m_voices.begin(), m_voices.end(), [](const Voice &v) { return !v.loop; });
}

qint64 QtSoundPlayer::readData(char *data, qint64 maxSize)
{
    const int count = int(maxSize / 2);
    auto *out = reinterpret_cast<qint16 *>(data);
    QVector<int> mix(count, 0);
    QMutexLocker lock(&m_lock);
    for (Voice &v : m_voices) {
        const QVector<qint16> &s = m_samples[v.path];
        for (int i = 0; i < count && v.position < s.size(); ++i) {
            mix[i] += s[v.position++];
            if (v.loop && v.position == s.size())
                v.position = 0;
        }
    }
    m_voices.erase(std::remove_if(m_voices.begin(), m_voices.end(),
                                  [this](const Voice &v) { return v.position >= m_samples[v.path].size(); }),
                   m_voices.end());
    for (int i = 0; i < count; ++i)
        qToLittleEndian(qint16(std::clamp(mix[i], -32768, 32767)), out + i);
    // Silence while idle keeps the stream running, so the next sound starts at once.
    return qint64(count) * 2;
}
