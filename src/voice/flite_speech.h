#pragma once
#include "services/speech_output.h"

#include <QAudioFormat>
#include <QByteArray>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QQueue>
#include <QString>
#include <QStringList>

class QAudioSink;
class QBuffer;
class QThread;
class QTimer;

// Speech through the flite synthesiser, played on the default audio output. Texts are
// synthesised on one worker thread (flite is not re-entrant) and played one after another,
// each to its end. Without an audio device texts are dropped in order, after one note on stderr.
class FliteSpeech : public QObject, public SpeechOutput
{
    Q_OBJECT
public:
    explicit FliteSpeech(const QString &voice = QStringLiteral("slt"), QObject *parent = nullptr);
    ~FliteSpeech() override;

    void speak(const QString &text) override;
    bool isSpeaking() const override;
    bool onTextSpoken(std::function<void()> spoken) override;

    // Chooses the voice for texts handed over from now on; false (voice kept) for an unknown name.
    bool setVoice(const QString &voice);
    QString voice() const { return m_voice; }
    static QStringList availableVoices();

    // True when nothing waits to be synthesised or played.
    bool isIdle() const;

    // 16-bit mono PCM of one text; empty for a blank text or an unknown voice.
    // Safe from any thread (calls into flite are serialised).
    static QByteArray synthesize(const QString &text, const QString &voice, QAudioFormat *format);

signals:
    // The text was played to its end, or dropped because it could not be played.
    void finishedText(const QString &text);

private:
    struct Pending {
        QString text;
        QByteArray pcm;
        QAudioFormat format;
        bool ready = false;
    };

    void onSynthesized(quint64 id, const QByteArray &pcm, const QAudioFormat &format);
    void playNext();
    void finishCurrent();
    bool startSink(const QByteArray &pcm, const QAudioFormat &format);

    QString m_voice;
    QThread *m_worker = nullptr;
    QObject *m_workerContext = nullptr;
    // Texts in the order handed over; ids tie the worker's answers to them.
    QQueue<quint64> m_order;
    QHash<quint64, Pending> m_pending;
    quint64 m_nextId = 0;
    bool m_playing = false;
    QString m_currentText;
    QAudioSink *m_sink = nullptr;
    QBuffer *m_buffer = nullptr;
    QTimer *m_watchdog = nullptr;
    std::function<void()> m_textSpoken;
    QElapsedTimer m_playingSince;
    qint64 m_playMs = 0;
    QDeadlineTimer m_heardUntil;
};
