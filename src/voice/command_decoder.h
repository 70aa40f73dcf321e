#pragma once
#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

#include "voice/utterance_segmenter.h"

#include <array>
#include <cstdint>

struct ps_decoder_s;

// Recognises spoken commands from a fixed list of phrases in 16 kHz mono 16-bit audio, and
// rejects speech that is none of them. Not thread-safe: use one CommandDecoder per thread.
class CommandDecoder
{
public:
    // What the judge weighs: figures of Scores, scaled to a few units each. hushby-listen
    // --scores prints them under these names in this order, and bench/recognition_fit.py fits
    // the weights on them as printed.
    enum Feature {
        WordGap,
        WorstWordGap,
        OtherGap,
        ExtraSpeech,
        Cover,
        SlowPhone,
        FastPhone,
        PhoneDistance,
        Clarity,
        SparePhones,
        FeatureCount
    };
    static constexpr std::array<const char *, FeatureCount> FeatureNames
        = {"wordGap",   "worstWordGap", "otherGap",      "extraSpeech", "cover",
           "slowPhone", "fastPhone",    "phoneDistance", "clarity",     "sparePhones"};
    using Features = std::array<double, FeatureCount>;

    // How the last utterance was judged, for tuning and for hushby-listen --scores.
    struct Scores {
        QString grammarWords; // words of the grammar's best path
        int frames = 0;
        int wordFrames = 0; // frames of the phrase's words
        // How much better, per frame, a free phone loop explains the audio than the grammar
        // does: over the phrase's words, over its worst word, over silence and noise.
        double wordGap = 0;
        double worstWordGap = 0;
        double otherGap = 0;
        int speechFrames = 0; // frames the phone loop hears as speech
        int extraSpeech = 0; // of those, frames the grammar left to silence
        // Frames per phone of the slowest and fastest word: a phrase stretched over a whole
        // sentence is no phrase.
        double slowestPhone = 0;
        double fastestPhone = 0;
        // Edit distance between the phones the loop heard over the words and the phrase's
        // own, per phone of the phrase.
        double phoneDistance = 0;
        QString heardPhones;
        // Phones of the phrase's shortest pronunciation: a real command is heard with some to
        // spare, a short word of other talk stretched to a phrase with none.
        int phrasePhones = 0;
        // Loud against quiet 10 ms frames of the utterance, in dB: how far the speech stands
        // out from the room.
        double clarityDb = 0;
        Features features{};
        double confidence = 0; // accepted above the phrase's threshold; 0 when no whole phrase
    };

    // Judge: recognises and judges utterances. GrammarOnly: only scores them against the grammar
    // (grammarScore), at half the load time.
    enum class Passes { Judge, GrammarOnly };

    explicit CommandDecoder(Passes passes = Passes::Judge);
    ~CommandDecoder();
    CommandDecoder(const CommandDecoder &) = delete;
    CommandDecoder &operator=(const CommandDecoder &) = delete;

    // The acoustic model shipped with the recogniser, found at run time; HUSHBY_SPHINX_MODEL
    // names another one.
    static QString defaultModelDirectory();
    // The model's filterbank band edges scaled by warp, as load() decodes at them; otherParams
    // receives feat.params' other lines.
    static bool warpedEdges(const QString &modelDirectory, double warp, double *lower, double *upper,
                            QList<QByteArray> *otherParams, QString *error);

    // Builds the recogniser for these phrases. A phrase with a word that cannot be pronounced
    // is left out and its words are listed in unpronounceable. Fails (errorString) when the
    // model cannot be loaded or no phrase is left. A warp other than 1 scales the band edges of
    // the mel filterbank by it: above 1 suits the shorter vocal tracts of women and children.
    bool load(const QStringList &phrases, QStringList *unpronounceable = nullptr, const QString &modelDirectory = {},
              const QString &dictionaryPath = {}, double warp = 1.0, const QByteArray &adaptation = {});
    bool isLoaded() const { return m_ps != nullptr; }
    double warp() const { return m_warp; }
    // The transform of the model's means it was loaded with (SpeakerAdaptation::transform).
    const QByteArray &adaptation() const { return m_adaptation; }
    // Word -> its pronunciations, as the grammar was built with them.
    const QHash<QString, QStringList> &pronunciations() const { return m_pronunciations; }
    // Takes over the recogniser other has loaded (it is left unloaded), keeping this one's place
    // in the audio stream: swapping in a decoder built elsewhere does not lose an utterance.
    void adopt(CommandDecoder &other);
    QString errorString() const { return m_error; }

    // One whole utterance: the phrase, letter for letter as given to load(), or empty when the
    // audio is no phrase of the list.
    QString decode(const QByteArray &pcm);
    QString decode(const int16_t *samples, int count);

    // Continuous audio: cuts it into utterances and returns the phrase (or empty) of each
    // utterance that ended within this chunk; one cut off for its length gives empty.
    QStringList feed(const int16_t *samples, int count);
    QStringList feed(const QByteArray &pcm);
    // Drops a half-heard utterance, e.g. when the microphone stops.
    void resetStream();
    // Whether fed audio has started an utterance that has not ended yet.
    bool inUtterance() const { return m_segmenter.inSpeech(); }

    Scores lastScores() const { return m_scores; }

    // How certain the judge is that an utterance whose grammar's best path is grammarWords is
    // that phrase, from its features; and whether that is enough for the phrase to be taken.
    static double confidence(const QString &grammarWords, const Features &features);
    static bool accepts(const QString &grammarWords, const Features &features, double confidence);
    // The audio of the utterance judged last, as heard (without the noise floor).
    const QVector<int16_t> &lastUtterance() const { return m_lastUtterance; }

    // The utterance as every pass hears it: the room's steady noise taken out, the floor added.
    static QVector<int16_t> prepared(const int16_t *samples, int count);
    // The acoustic score per frame of the grammar's best path through one utterance, given as
    // prepared() makes it (once, for decoders at several warps); NaN when the grammar finds none.
    double grammarScore(const QVector<int16_t> &preparedAudio);

private:
    // The utterance with the faint noise floor every pass hears it with.
    static QVector<int16_t> withNoiseFloor(const int16_t *samples, int count);
    QString judge(const int16_t *samples, int count);
    // The phones heard against the nearest pronunciation of the words, per phone of it.
    static double phoneDistance(const QVector<QStringList> &wordPronunciations, const QStringList &heard);
    void free();

    Passes m_passes;
    double m_warp = 1.0;
    QByteArray m_adaptation;
    ps_decoder_s *m_ps = nullptr; // the grammar
    ps_decoder_s *m_phonePs = nullptr; // the free phone loop
    QString m_error;
    QHash<QString, QString> m_phraseOfWords; // grammar word sequence -> first phrase spoken so
    Scores m_scores;
    QHash<QString, QStringList> m_pronunciations;
    QVector<int16_t> m_lastUtterance;

    UtteranceSegmenter m_segmenter;
};
