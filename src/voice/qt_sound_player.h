#pragma once
#include "services/sound_player.h"

#include <QAudioFormat>
#include <QHash>
#include <QIODevice>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>

class QAudioSink;

// Wave files mixed into one output stream that is opened once and kept running. A stream opened
// for each sound loses the sound's start while the audio server sets it up (short clicks vanish
// whole), and the toolkit's ready-made sound effect drops plays now and then; a running mixer
// plays every sound from its first sample and lets sounds overlap.
class QtSoundPlayer : public QIODevice, public SoundPlayer
{
    Q_OBJECT
public:
    QtSoundPlayer();
    ~QtSoundPlayer() override;

    void play(const QString &path) override;
    void startLoop(const QString &path) override;
    void stopLoop() override;
    bool isPlayingOnce() const override;

    // Reads these files and opens the output now, so that the first press is heard at once.
    void preload(const QStringList &paths);

    // Whether the file's sound is playing now (for tests and diagnostics).
    bool isPlaying(const QString &path) const;

    // 16-bit samples of a PCM wave at the mixer's rate, mono; empty when the file is no such wave.
    static QVector<qint16> readWave(const QString &path);
    static constexpr int Rate = 22050;

    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    struct Voice {
        QString path;
        int position = 0;
        bool loop = false;
    };

    const QVector<qint16> *samplesFor(const QString &path);
    bool ensureOutput();
    void addVoice(const QString &path, bool loop);

    QHash<QString, QVector<qint16>> m_samples;
    QVector<Voice> m_voices;
    mutable QMutex m_lock; // the sink may pull from another thread
    QAudioSink *m_sink = nullptr;
    bool m_noDevice = false;
};
