#pragma once
#include "core/speaker_warp.h"
#include "voice/command_decoder.h"
#include "voice/speaker_adaptation.h"

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
// the background too and takes over between utterances. Once enough commands have been accepted
// at a warp, the model is adapted to them the same way, and again as more come in.
class RecognitionWorker : public QObject
{
    Q_OBJECT
public:
    explicit RecognitionWorker(QObject *parent = nullptr);
    ~RecognitionWorker() override;

    // The warp the decoder decodes at now.
    double decoderWarp() const { return m_decoder.warp(); }
    // Whether a measurement, an adaptation or a new decoder is being made in the background.
    bool isRefining() const { return m_busy; }
    // Whether the decoder decodes with the model adapted to the family's voices.
    bool isAdapted() const { return !m_decoder.adaptation().isEmpty(); }

public slots:
    // Builds the decoder for these phrases; unpronounceable receives the words left out.
    bool loadPhrases(const QStringList &phrases, QStringList *unpronounceable, QString *error);
    bool startListening(const QAudioDevice &device, QString *error);
    void stopListening();
    // What was learned of the family's voices before, as SpeakerWarp's text.
    void setSpeakerWarp(const QString &state);
    // The adaptation learned before, as SpeakerAdaptation's text; one for another warp or model
    // is dropped.
    void setSpeakerAdaptation(const QString &state);
    // Audio as the microphone delivers it.
    void feedAudio(const QByteArray &pcm);

signals:
    void utteranceStarted();
    void phraseFinished(const QString &phrase);
    void speakerWarpLearned(const QString &state);
    void speakerAdaptationLearned(const QString &state);
    // Why the model cannot be adapted (a tool missing, a tool failing); given once per grammar.
    void adaptationFailed(const QString &why);

private:
    void readAudio();
    void runInBackground(std::function<void()> job);
    void measured(int generation, const QVector<double> &scores);
    void rebuildIfDue();
    void rebuilt(int generation, double warp, const QByteArray &adaptation,
                 const std::shared_ptr<CommandDecoder> &decoder);
    // The transform the decoder should have at this warp: the learned one if it was learned there.
    QByteArray adaptationFor(double warp) const;
    void adaptIfDue();
    void adapted(int generation, const SpeakerAdaptation &adaptation, const QString &error);
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
    SpeakerAdaptation m_adaptation;
    // The last accepted commands, to adapt from; kept in memory only.
    QVector<SpeakerAdaptation::Utterance> m_heard;
    int m_heardSinceAdaptation = 0;
    bool m_adaptationFailed = false; // not tried again for these phrases
    int m_generation = 0; // of the phrases: results for older ones are dropped
    bool m_busy = false;
    std::thread m_job;
    std::atomic<bool> m_stopping{false};
};
