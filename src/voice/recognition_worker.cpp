#include "voice/recognition_worker.h"

#include <QAudioFormat>
#include <QAudioSource>

RecognitionWorker::RecognitionWorker(QObject *parent) : QObject(parent)
{
}

RecognitionWorker::~RecognitionWorker()
{
    stopListening();
}

bool RecognitionWorker::loadPhrases(const QStringList &phrases, QStringList *unpronounceable, QString *error)
{
    const bool ok = m_decoder.load(phrases, unpronounceable);
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
}

void RecognitionWorker::readAudio()
{
    if (!m_input)
        return;
    QByteArray pcm = m_input->readAll();
    pcm.chop(pcm.size() % 2);
    for (const QString &phrase : m_decoder.feed(pcm))
        emit phraseFinished(phrase);
}
