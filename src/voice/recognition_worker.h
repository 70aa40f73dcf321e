#pragma once
#include "core/speaker_warp.h"
#include "voice/command_decoder.h"

#include <QAudioDevice>
#include <QObject>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

class QAudioSource;
class QIODevice;
class WarpProbe;

// Lives on the recogniser's own thread: owns the decoder (which must stay on one thread) and the
// microphone, and emits each finished utterance's phrase, queued to whoever listens.
// Each accepted command is also measured, on a background thread, at every candidate warp of the
// filterbank; when what is learned from them chooses another warp, a decoder for it is built in
// the background too and takes over between utterances.
class RecognitionWorker : public QObject
{
    Q_OBJECT
public:
    explicit RecognitionWorker(QObject *parent = nullptr);
    ~RecognitionWorker() override;

    // The warp the decoder decodes at now.
    double decoderWarp() const { return m_decoder.warp(); }
    // Whether a measurement or a decoder for a new warp is being made in the background.
    bool isRefining() const { return m_busy; }

public slots:
    // Builds the decoder for these phrases; unpronounceable receives the words left out.
    bool loadPhrases(const QStringList &phrases, QStringList *unpronounceable, QString *error);
    bool startListening(const QAudioDevice &device, QString *error);
    void stopListening();
    // What was learned of the family's voices before, as SpeakerWarp's text.
    void setSpeakerWarp(const QString &state);
    // Audio as the microphone delivers it.
    void feedAudio(const QByteArray &pcm);

signals:
    void phraseFinished(const QString &phrase);
    void speakerWarpLearned(const QString &state);

private:
    void readAudio();
    void runInBackground(std::function<void()> job);
    void measured(int generation, const QVector<double> &scores);
    void rebuildIfDue();
    void rebuilt(int generation, double warp, const std::shared_ptr<CommandDecoder> &decoder);
    void adoptBetweenUtterances();

    CommandDecoder m_decoder;
    std::unique_ptr<QAudioSource> m_source;
    QIODevice *m_input = nullptr;

    QStringList m_phrases;
    SpeakerWarp m_learned;
    // Shared with the job measuring with it, which may outlive a reload of the phrases.
    std::shared_ptr<WarpProbe> m_probe;
    std::shared_ptr<CommandDecoder> m_built; // for the learned warp, waiting for a pause
    double m_failedWarp = 0; // not tried again
    int m_generation = 0; // of the phrases: results for older ones are dropped
    bool m_busy = false;
    std::thread m_job;
    std::atomic<bool> m_stopping{false};
};
