#include "voice/recognition_worker.h"

#include "voice/warp_probe.h"

#include <QAudioFormat>
#include <QAudioSource>

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

RecognitionWorker::RecognitionWorker(QObject *parent) : QObject(parent)
{
}

RecognitionWorker::~RecognitionWorker()
{
    stopListening();
    m_stopping = true;
    if (m_job.joinable())
        m_job.join();
}

bool RecognitionWorker::loadPhrases(const QStringList &phrases, QStringList *unpronounceable, QString *error)
{
    ++m_generation;
    m_built.reset();
    m_failedWarp = 0;
    m_adaptationFailed = false;
    m_phrases = phrases;
    m_probe = std::make_shared<WarpProbe>(phrases);
    const QByteArray adaptation = adaptationFor(m_learned.warp());
    bool ok = m_decoder.load(phrases, unpronounceable, {}, {}, m_learned.warp(), adaptation);
    if (!ok && !adaptation.isEmpty()) {
        m_adaptation = {};
        ok = m_decoder.load(phrases, unpronounceable, {}, {}, m_learned.warp());
    }
    // Unwarped recognition is still better than none.
    if (!ok && m_learned.warp() != 1.0) {
        m_failedWarp = m_learned.warp();
        ok = m_decoder.load(phrases, unpronounceable);
    }
    if (!ok && error)
        *error = m_decoder.errorString();
    return ok;
}

bool RecognitionWorker::startListening(const QAudioDevice &device, QString *error)
{
    stopListening();
    if (!m_decoder.isLoaded()) {
        if (error)
            *error = QStringLiteral("no grammar loaded");
        return false;
    }
    QAudioFormat format;
    format.setSampleRate(UtteranceSegmenter::SampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    if (device.isNull() || !device.isFormatSupported(format)) {
        if (error)
            *error = device.isNull() ? QStringLiteral("no microphone")
                                     : QStringLiteral("the microphone does not record 16 kHz mono");
        return false;
    }
    m_source = std::make_unique<QAudioSource>(device, format);
    // Small buffers: the utterance ends, and is judged, as soon as its last audio arrives.
    m_source->setBufferSize(UtteranceSegmenter::SampleRate * 2 / 25);
    m_input = m_source->start();
    if (!m_input || m_source->error() != QAudio::NoError) {
        if (error)
            *error = QStringLiteral("cannot record from the microphone");
        m_source.reset();
        m_input = nullptr;
        return false;
    }
    connect(m_input, &QIODevice::readyRead, this, &RecognitionWorker::readAudio);
    return true;
}

void RecognitionWorker::stopListening()
{
    if (m_source) {
        m_source->stop();
        m_source.reset();
    }
    m_input = nullptr;
    m_decoder.resetStream();
    adoptBetweenUtterances();
}

void RecognitionWorker::setSpeakerWarp(const QString &state)
{
    m_learned = SpeakerWarp::fromText(state);
    rebuildIfDue();
}

void RecognitionWorker::setSpeakerAdaptation(const QString &state)
{
    const SpeakerAdaptation a = SpeakerAdaptation::fromText(state);
    m_adaptation = a.fitsModel({}) ? a : SpeakerAdaptation();
    rebuildIfDue();
}

QByteArray RecognitionWorker::adaptationFor(double warp) const
{
    return !m_adaptation.isEmpty() && m_adaptation.warp() == warp ? m_adaptation.transform() : QByteArray();
}

void RecognitionWorker::readAudio()
{
    if (!m_input)
        return;
    QByteArray pcm = m_input->readAll();
    pcm.chop(pcm.size() % 2);
    feedAudio(pcm);
}

void RecognitionWorker::feedAudio(const QByteArray &pcm)
{
    bool open = m_decoder.inUtterance();
    const QStringList phrases = m_decoder.feed(pcm);
    // An utterance may begin and end within one chunk: its start is still announced, and first.
    for (const QString &phrase : phrases) {
        if (!open)
            emit utteranceStarted();
        emit phraseFinished(phrase);
        open = false;
    }
    if (!open && m_decoder.inUtterance())
        emit utteranceStarted();
    if (!phrases.isEmpty() && !phrases.last().isEmpty()) {
        if (m_heard.size() == SpeakerAdaptation::Kept)
            m_heard.removeFirst();
        m_heard.append({m_decoder.lastUtterance(), m_decoder.lastScores().grammarWords});
        ++m_heardSinceAdaptation;
    }
    // The decoder keeps the audio of the last utterance only. A command heard while the last
    // one is still measured is not measured: the next will be.
    if (!phrases.isEmpty() && !phrases.last().isEmpty() && m_probe && !m_busy) {
        runInBackground([this, probe = m_probe, audio = m_decoder.lastUtterance(), generation = m_generation] {
            const QVector<double> scores = probe->measure(audio.constData(), int(audio.size()), &m_stopping);
            QMetaObject::invokeMethod(
                this, [this, generation, scores] { measured(generation, scores); }, Qt::QueuedConnection);
        });
    }
    adoptBetweenUtterances();
}

void RecognitionWorker::runInBackground(std::function<void()> job)
{
    m_busy = true;
    if (m_job.joinable())
        m_job.join(); // it has handed over its result already
    m_job = std::thread([job = std::move(job)] {
        // Behind the decoding of the next utterance, which must not wait.
        setpriority(PRIO_PROCESS, id_t(syscall(SYS_gettid)), 10);
        job();
    });
}

void RecognitionWorker::measured(int generation, const QVector<double> &scores)
{
    m_busy = false;
    if (generation == m_generation && !scores.isEmpty()) {
        m_learned.addUtterance(scores);
        emit speakerWarpLearned(m_learned.toText());
    }
    rebuildIfDue();
}

void RecognitionWorker::rebuildIfDue()
{
    if (m_busy || !m_decoder.isLoaded())
        return;
    const double wanted = m_learned.warp();
    const QByteArray adaptation = adaptationFor(wanted);
    if (m_built && (m_built->warp() != wanted || m_built->adaptation() != adaptation))
        m_built.reset();
    if (m_built || wanted == m_failedWarp)
        return;
    if (wanted == m_decoder.warp() && adaptation == m_decoder.adaptation()) {
        adaptIfDue();
        return;
    }
    runInBackground([this, phrases = m_phrases, wanted, adaptation, generation = m_generation] {
        auto decoder = std::make_shared<CommandDecoder>();
        if (!m_stopping)
            decoder->load(phrases, nullptr, {}, {}, wanted, adaptation);
        QMetaObject::invokeMethod(
            this, [this, generation, wanted, adaptation, decoder] { rebuilt(generation, wanted, adaptation, decoder); },
            Qt::QueuedConnection);
    });
}

void RecognitionWorker::rebuilt(int generation, double warp, const QByteArray &adaptation,
                                const std::shared_ptr<CommandDecoder> &decoder)
{
    m_busy = false;
    if (generation == m_generation) {
        if (decoder->isLoaded())
            m_built = decoder;
        else if (!adaptation.isEmpty())
            m_adaptation = {}; // the warp alone may still load
        else
            m_failedWarp = warp;
    }
    adoptBetweenUtterances();
    rebuildIfDue();
}

void RecognitionWorker::adoptBetweenUtterances()
{
    if (!m_built || m_decoder.inUtterance())
        return;
    m_decoder.adopt(*m_built);
    m_built.reset();
}

void RecognitionWorker::adaptIfDue()
{
    const double warp = m_decoder.warp();
    const bool stale = m_adaptation.isEmpty() || m_adaptation.warp() != warp;
    if (m_busy || m_adaptationFailed || m_heard.size() < SpeakerAdaptation::MinUtterances
        || (!stale && m_heardSinceAdaptation < SpeakerAdaptation::MinUtterances))
        return;
    runInBackground([this, heard = m_heard, prons = m_decoder.pronunciations(), warp, generation = m_generation] {
        QString error;
        const SpeakerAdaptation a = SpeakerAdaptation::estimate(heard, prons, warp, {}, &m_stopping, &error);
        QMetaObject::invokeMethod(
            this, [this, generation, a, error] { adapted(generation, a, error); }, Qt::QueuedConnection);
    });
}

void RecognitionWorker::adapted(int generation, const SpeakerAdaptation &adaptation, const QString &error)
{
    m_busy = false;
    if (generation == m_generation) {
        if (adaptation.isEmpty()) {
            m_adaptationFailed = true;
            if (!m_stopping)
                emit adaptationFailed(error);
        } else {
            m_adaptation = adaptation;
            m_heardSinceAdaptation = 0;
            emit speakerAdaptationLearned(adaptation.toText());
        }
    }
    rebuildIfDue();
}
