#include "voice/sphinx_recognizer.h"

#include "core/voice_grammar.h"
#include "voice/command_decoder.h"
#include "voice/recognition_worker.h"

#include <QFileInfo>
#include <QMediaDevices>

#include <cstdio>

SphinxRecognizer::SphinxRecognizer(QObject *parent) : Recognizer(parent)
{
    m_thread.setObjectName(QStringLiteral("recogniser"));
    m_worker = new RecognitionWorker;
    m_worker->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    // Queued across threads: the phrase is handled on this object's thread, also while a
    // handler there is handling pending events.
    connect(m_worker, &RecognitionWorker::utteranceStarted, this, &Recognizer::utteranceStarted, Qt::QueuedConnection);
    connect(m_worker, &RecognitionWorker::phraseFinished, this, &Recognizer::phraseFinished, Qt::QueuedConnection);
    connect(m_worker, &RecognitionWorker::speakerWarpLearned, this, &Recognizer::speakerWarpLearned,
            Qt::QueuedConnection);
    connect(m_worker, &RecognitionWorker::speakerAdaptationLearned, this, &Recognizer::speakerAdaptationLearned,
            Qt::QueuedConnection);
    connect(
        m_worker, &RecognitionWorker::adaptationFailed, this,
        [this](const QString &why) {
            reportOnce(
                QStringLiteral("cannot adapt to the family's voices (%1); recognition goes on unadapted").arg(why));
        },
        Qt::QueuedConnection);
    m_thread.start();
}

SphinxRecognizer::~SphinxRecognizer()
{
    QMetaObject::invokeMethod(
        m_worker, [w = m_worker] { w->stopListening(); }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

void SphinxRecognizer::reportOnce(const QString &message)
{
    if (m_reported.contains(message))
        return;
    m_reported.insert(message);
    std::fprintf(stderr, "hushby: %s\n", qPrintable(message));
    std::fflush(stderr);
}

bool SphinxRecognizer::isAvailable() const
{
    return !QMediaDevices::defaultAudioInput().isNull()
        && QFileInfo::exists(CommandDecoder::defaultModelDirectory() + QStringLiteral("/mdef"));
}

bool SphinxRecognizer::stopRecognition()
{
    if (QMediaDevices::defaultAudioInput().isNull()) {
        reportOnce(QStringLiteral("no microphone (or no audio server) found; voice commands are off"));
        return false;
    }
    if (!QFileInfo::exists(CommandDecoder::defaultModelDirectory() + QStringLiteral("/mdef"))) {
        reportOnce(QStringLiteral("no speech recognition model found; voice commands are off"));
        return false;
    }
    QMetaObject::invokeMethod(
        m_worker, [w = m_worker] { w->stopListening(); }, Qt::BlockingQueuedConnection);
    return true;
}

void SphinxRecognizer::setSpeakerWarp(const QString &state)
{
    // Queued ahead of any grammar loaded after it, which is then built at the learned warp.
    QMetaObject::invokeMethod(
        m_worker, [w = m_worker, state] { w->setSpeakerWarp(state); }, Qt::QueuedConnection);
}

void SphinxRecognizer::setSpeakerAdaptation(const QString &state)
{
    QMetaObject::invokeMethod(
        m_worker, [w = m_worker, state] { w->setSpeakerAdaptation(state); }, Qt::QueuedConnection);
}

bool SphinxRecognizer::loadGrammarFile(const QString &path)
{
    bool ok = false;
    const QStringList phrases = VoiceGrammar::readPhraseLines(path, &ok);
    if (!ok)
        return false;
    QStringList unpronounceable;
    QString error;
    bool loaded = false;
    QMetaObject::invokeMethod(
        m_worker, [&] { loaded = m_worker->loadPhrases(phrases, &unpronounceable, &error); },
        Qt::BlockingQueuedConnection);
    for (const QString &word : unpronounceable)
        reportOnce(
            QStringLiteral("cannot pronounce \"%1\" of the word list; its phrases are not recognised").arg(word));
    if (!loaded)
        reportOnce(QStringLiteral("speech recognition cannot start: %1").arg(error));
    m_loaded = loaded;
    return loaded;
}

bool SphinxRecognizer::startRecognition()
{
    if (!m_loaded)
        return false;
    const QAudioDevice device = QMediaDevices::defaultAudioInput();
    QString error;
    bool started = false;
    QMetaObject::invokeMethod(
        m_worker, [&] { started = m_worker->startListening(device, &error); }, Qt::BlockingQueuedConnection);
    if (!started)
        reportOnce(QStringLiteral("cannot listen to the microphone (%1); voice commands are off").arg(error));
    return started;
}
