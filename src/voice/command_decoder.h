#pragma once
#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

#include <cstdint>

struct ps_decoder_s;

// Recognises spoken commands from a fixed list of phrases in 16 kHz mono 16-bit audio, and
// rejects speech that is none of them. Holds one decoder, which is not thread-safe: use one
// CommandDecoder per thread.
class CommandDecoder {
public:
    // How the last utterance was judged, for tuning and for hushby-listen --scores.
    struct Scores {
        QString grammarWords;   // words of the grammar's best path, garbage included
        int frames = 0;
        double grammarPerFrame = 0; // acoustic score per frame along the grammar's best path
        double phonesPerFrame = 0;  // the same for the free phone loop
        bool garbage = false;       // the best path went through the garbage branch
    };

    CommandDecoder();
    ~CommandDecoder();
    CommandDecoder(const CommandDecoder &) = delete;
    CommandDecoder &operator=(const CommandDecoder &) = delete;

    // The acoustic model shipped with the recogniser, found at run time; HUSHBY_SPHINX_MODEL
    // names another one.
    static QString defaultModelDirectory();

    // Builds the recogniser for these phrases. A phrase with a word that cannot be pronounced
    // is left out and its words are listed in unpronounceable. Fails (errorString) when the
    // model cannot be loaded or no phrase is left.
    bool load(const QStringList &phrases, QStringList *unpronounceable = nullptr,
              const QString &modelDirectory = {}, const QString &dictionaryPath = {});
    bool isLoaded() const { return m_ps != nullptr; }
    QString errorString() const { return m_error; }

    // One whole utterance: the phrase, letter for letter as given to load(), or empty when the
    // audio is no phrase of the list.
    QString decode(const QByteArray &pcm);
    QString decode(const int16_t *samples, int count);

    // Continuous audio: segments it into utterances and returns the phrase (or empty) of each
    // utterance that ended within this chunk.
    QStringList feed(const int16_t *samples, int count);
    QStringList feed(const QByteArray &pcm);
    // Drops a half-heard utterance, e.g. when the microphone stops.
    void resetStream();

    Scores lastScores() const { return m_scores; }

    static constexpr int SampleRate = 16000;
    // A television can keep the voice detector "in speech" for ever; no command is this long.
    static constexpr int MaxUtteranceMs = 5000;

private:
    QString judge(const int16_t *samples, int count);
    QString finishStreamUtterance();
    void free();

    ps_decoder_s *m_ps = nullptr;
    QString m_error;
    QHash<QString, QString> m_phraseOfWords; // grammar word sequence -> first phrase spoken so
    Scores m_scores;

    // Streaming state: audio since the utterance started, plus a short look-back kept while
    // silent so the second pass hears the utterance's onset too.
    bool m_streamStarted = false;
    bool m_inSpeech = false;
    QVector<int16_t> m_utterance;
    QVector<int16_t> m_lookBack;
};
