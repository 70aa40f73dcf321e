#pragma once
#include "services/recognizer.h"

#include <QSet>
#include <QStringList>
#include <QThread>

class RecognitionWorker;

// Listens to the default microphone and recognises the phrases of the word file. Decoding runs
// on a thread of its own; phrases arrive on the thread that made the recogniser (the GUI thread).
// Without a microphone or an audio server every operation fails softly and the user is told
// once on standard error.
class SphinxRecognizer : public Recognizer
{
    Q_OBJECT
public:
    explicit SphinxRecognizer(QObject *parent = nullptr);
    ~SphinxRecognizer() override;

    bool stopRecognition() override;
    bool loadGrammarFile(const QString &path) override;
    bool startRecognition() override;
    void setSpeakerWarp(const QString &state) override;
    void setSpeakerAdaptation(const QString &state) override;

    // Whether a microphone and the acoustic model were found.
    bool isAvailable() const;

private:
    void reportOnce(const QString &message);

    QThread m_thread;
    RecognitionWorker *m_worker = nullptr;
    bool m_loaded = false;
    QSet<QString> m_reported;
};
