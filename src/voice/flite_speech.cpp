#include "voice/flite_speech.h"

#include "voice/flite_lock.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QBuffer>
#include <QHash>
#include <QMediaDevices>
#include <QMutexLocker>
#include <QThread>
#include <QTimer>
#include <QtEndian>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>

extern "C" {
#include <flite/flite.h>
cst_voice *register_cmu_us_slt(const char *voxdir);
cst_voice *register_cmu_us_rms(const char *voxdir);
cst_voice *register_cmu_us_awb(const char *voxdir);
cst_voice *register_cmu_us_kal16(const char *voxdir);
}

namespace {

// Caller holds fliteLock().
cst_voice *voiceNamed(const QString &name)
{
    static bool initialised = false;
    static QHash<QString, cst_voice *> voices;
    if (!initialised) {
        flite_init();
        initialised = true;
    }
    auto it = voices.constFind(name);
    if (it != voices.constEnd())
        return it.value();
    cst_voice *v = nullptr;
    if (name == QLatin1String("slt"))
        v = register_cmu_us_slt(nullptr);
    else if (name == QLatin1String("rms"))
        v = register_cmu_us_rms(nullptr);
    else if (name == QLatin1String("awb"))
        v = register_cmu_us_awb(nullptr);
    else if (name == QLatin1String("kal16"))
        v = register_cmu_us_kal16(nullptr);
    if (v)
        voices.insert(name, v);
    return v;
}

// The null sink and some devices only take their own format; resample by linear interpolation.
QByteArray convertTo(const QByteArray &pcm, const QAudioFormat &from, const QAudioFormat &to)
{
    const auto *in = reinterpret_cast<const qint16 *>(pcm.constData());
    const qint64 inFrames = pcm.size() / 2;
    if (inFrames == 0 || from.sampleRate() <= 0 || to.sampleRate() <= 0 || to.channelCount() <= 0)
        return {};
    const qint64 outFrames = inFrames * to.sampleRate() / from.sampleRate();
    const int channels = to.channelCount();
    const int bytes = to.bytesPerSample();
    QByteArray out(int(outFrames * channels * bytes), Qt::Uninitialized);
    char *dst = out.data();
    const double step = double(from.sampleRate()) / to.sampleRate();
    for (qint64 i = 0; i < outFrames; ++i) {
        const double pos = i * step;
        const qint64 k = qint64(pos);
        const double frac = pos - k;
        const double a = in[qMin(k, inFrames - 1)];
        const double b = in[qMin(k + 1, inFrames - 1)];
        const double v = (a + (b - a) * frac) / 32768.0;
        for (int c = 0; c < channels; ++c) {
            switch (to.sampleFormat()) {
            case QAudioFormat::Float: {
                const float f = float(v);
                memcpy(dst, &f, 4);
                break;
            }
            case QAudioFormat::Int32: qToLittleEndian<qint32>(qint32(v * 2147483647.0), dst); break;
            case QAudioFormat::UInt8: *reinterpret_cast<quint8 *>(dst) = quint8(128 + int(v * 127)); break;
            default: qToLittleEndian<qint16>(qint16(v * 32767), dst); break;
            }
            dst += bytes;
        }
    }
    return out;
}

std::atomic<bool> noDeviceReported{false};

void reportNoDevice(const char *why)
{
    if (!noDeviceReported.exchange(true))
        std::fprintf(stderr, "hushby: speech is not played: %s\n", why);
}

} // namespace

FliteSpeech::FliteSpeech(const QString &voice, QObject *parent)
    : QObject(parent), m_voice(availableVoices().contains(voice) ? voice : QStringLiteral("slt"))
{
    m_worker = new QThread(this);
    m_worker->setObjectName(QStringLiteral("flite"));
    m_workerContext = new QObject;
    m_workerContext->moveToThread(m_worker);
    connect(m_worker, &QThread::finished, m_workerContext, &QObject::deleteLater);
    m_worker->start();

    m_watchdog = new QTimer(this);
    m_watchdog->setSingleShot(true);
    connect(m_watchdog, &QTimer::timeout, this, &FliteSpeech::finishCurrent);
    connect(this, &FliteSpeech::finishedText, this, [this] {
        if (m_textSpoken)
            m_textSpoken();
    });
}

FliteSpeech::~FliteSpeech()
{
    m_worker->quit();
    m_worker->wait();
    if (m_sink) {
        m_sink->disconnect(this);
        m_sink->stop();
    }
}

QStringList FliteSpeech::availableVoices()
{
    return {QStringLiteral("slt"), QStringLiteral("rms"), QStringLiteral("awb"), QStringLiteral("kal16")};
}

bool FliteSpeech::setVoice(const QString &voice)
{
    if (!availableVoices().contains(voice))
        return false;
    m_voice = voice;
    return true;
}

bool FliteSpeech::isIdle() const
{
    return m_order.isEmpty() && !m_playing;
}

bool FliteSpeech::isSpeaking() const
{
    return !isIdle() || !m_heardUntil.hasExpired();
}

bool FliteSpeech::onTextSpoken(std::function<void()> spoken)
{
    m_textSpoken = std::move(spoken);
    return true;
}

QByteArray FliteSpeech::synthesize(const QString &text, const QString &voice, QAudioFormat *format)
{
    if (text.trimmed().isEmpty())
        return {};
    QMutexLocker locker(&fliteLock());
    cst_voice *v = voiceNamed(voice);
    if (!v)
        return {};
    cst_wave *w = flite_text_to_wave(text.toUtf8().constData(), v);
    if (!w)
        return {};
    QByteArray pcm;
    if (w->num_samples > 0 && w->num_channels == 1) {
        pcm = QByteArray(reinterpret_cast<const char *>(w->samples), w->num_samples * 2);
        if (format) {
            format->setSampleRate(w->sample_rate);
            format->setChannelCount(1);
            format->setSampleFormat(QAudioFormat::Int16);
        }
    }
    delete_wave(w);
    return pcm;
}

void FliteSpeech::speak(const QString &text)
{
    const quint64 id = m_nextId++;
    m_order.enqueue(id);
    m_pending.insert(id, Pending{text, {}, {}, false});
    const QString voice = m_voice;
    // The worker runs jobs in the order posted, so answers come back in speaking order.
    QMetaObject::invokeMethod(m_workerContext, [this, id, text, voice] {
        QAudioFormat format;
        const QByteArray pcm = synthesize(text, voice, &format);
        QMetaObject::invokeMethod(
            this, [this, id, pcm, format] { onSynthesized(id, pcm, format); }, Qt::QueuedConnection);
    });
}

void FliteSpeech::onSynthesized(quint64 id, const QByteArray &pcm, const QAudioFormat &format)
{
    auto it = m_pending.find(id);
    if (it == m_pending.end())
        return;
    it->pcm = pcm;
    it->format = format;
    it->ready = true;
    playNext();
}

void FliteSpeech::playNext()
{
    // Re-checked on every round: a slot of finishedText may have handed over a text and
    // started it already.
    while (!m_playing && !m_order.isEmpty() && m_pending.value(m_order.head()).ready) {
        const Pending p = m_pending.take(m_order.dequeue());
        if (!p.pcm.isEmpty() && startSink(p.pcm, p.format)) {
            m_playing = true;
            m_currentText = p.text;
            return;
        }
        emit finishedText(p.text);
    }
}

bool FliteSpeech::startSink(const QByteArray &pcm, const QAudioFormat &format)
{
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) {
        reportNoDevice("no audio output device");
        return false;
    }
    QAudioFormat playFormat = format;
    // A little trailing silence, so that stopping the sink on its idle signal cannot clip the
    // last syllable still in the server's buffer.
    QByteArray data = pcm + QByteArray(format.bytesForDuration(200000), '\0');
    if (!device.isFormatSupported(format)) {
        playFormat = device.preferredFormat();
        data = convertTo(data, format, playFormat);
        if (data.isEmpty())
            return false;
    }

    m_buffer = new QBuffer(this);
    m_buffer->setData(data);
    m_buffer->open(QIODevice::ReadOnly);
    m_sink = new QAudioSink(device, playFormat, this);
    // The sink is fed from the GUI thread; a generous buffer rides out a busy moment there.
    m_sink->setBufferSize(playFormat.bytesForDuration(500000));
    connect(m_sink, &QAudioSink::stateChanged, this, [this](QAudio::State state) {
        if (!m_sink)
            return;
        // Idle before the buffer's end is an underrun: the rest still plays once fed.
        if ((state == QAudio::IdleState && m_buffer->atEnd())
            || (state == QAudio::StoppedState && m_sink->error() != QAudio::NoError))
            finishCurrent();
    });
    m_sink->start(m_buffer);
    if (m_sink->error() == QAudio::OpenError || m_sink->error() == QAudio::FatalError) {
        reportNoDevice("the audio output could not be opened");
        m_sink->disconnect(this);
        m_sink->deleteLater();
        m_sink = nullptr;
        m_buffer->deleteLater();
        m_buffer = nullptr;
        return false;
    }
    m_playMs = playFormat.durationForBytes(data.size()) / 1000;
    m_playingSince.start();
    // A stalled server must not hold the queue for ever. The slack covers a server that takes
    // a second or two to start a stream.
    m_watchdog->start(int(m_playMs) + 5000);
    return true;
}

void FliteSpeech::finishCurrent()
{
    if (!m_playing)
        return;
    m_watchdog->stop();
    // The sink is idle once the server holds all of the text, which it then plays out; played at
    // its own speed, the text cannot have ended sooner.
    m_heardUntil = QDeadlineTimer(std::max<qint64>(0, m_playMs - m_playingSince.elapsed()));
    if (m_sink) {
        m_sink->disconnect(this);
        m_sink->stop();
        m_sink->deleteLater();
        m_sink = nullptr;
    }
    if (m_buffer) {
        m_buffer->deleteLater();
        m_buffer = nullptr;
    }
    m_playing = false;
    const QString text = m_currentText;
    m_currentText.clear();
    emit finishedText(text);
    playNext();
}
