#pragma once
#include "voice/command_decoder.h"

#include <QAudioDevice>
#include <QObject>
#include <QStringList>

#include <memory>

class QAudioSource;
class QIODevice;

// Lives on the recogniser's own thread: owns the decoder (which must stay on one thread) and the
// microphone, and emits each finished utterance's phrase, queued to whoever listens.
class RecognitionWorker : public QObject
{
    Q_OBJECT
public:
    explicit RecognitionWorker(QObject *parent = nullptr);
    ~RecognitionWorker() override;

public slots:
    // Builds the decoder for these phrases; unpronounceable receives the words left out.
    bool loadPhrases(const QStringList &phrases, QStringList *unpronounceable, QString *error);
    bool startListening(const QAudioDevice &device, QString *error);
    void stopListening();

signals:
    void phraseFinished(const QString &phrase);

private:
    void readAudio();

    CommandDecoder m_decoder;
    std::unique_ptr<QAudioSource> m_source;
    QIODevice *m_input = nullptr;
};
