#include "voice/command_decoder.h"

#include "voice/pronunciation.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryFile>
#include <QTextStream>

#include <pocketsphinx.h>
#include <err.h>
#include <fsg_model.h>

#include <algorithm>
#include <cmath>

namespace {

const char *const SearchCommands = "commands";
const char *const SearchPhones = "phones";

// Garbage words are one phone each. Their names hold "_", which never survives
// Pronunciation::wordsOfPhrase, so no phrase word can collide with them.
const QString GarbagePrefix = QStringLiteral("_");

// Probability of taking the garbage branch instead of a phrase, and of leaving its loop after
// each phone. Chosen on the recognition benchmark: lower lets more sentences through as
// commands, higher loses commands spoken in noise.
constexpr double GarbageProbability = 1e-15;
constexpr double GarbageExitProbability = 0.3;
// How much better, per frame, a free phone loop may explain the audio than the grammar's best
// path does: over the phrase's words, and over the frames left to silence and noise, where the
// rest of a longer sentence ends up ("the ambulance drove past" heard as "ambulance").
constexpr double MaxWordGap = 25.0;
constexpr double MaxOtherGap = 10.0;
// Amplitude of the noise floor added before judging, about 67 dB below full scale.
constexpr int NoiseFloor = 30;

} // namespace

CommandDecoder::CommandDecoder() = default;

CommandDecoder::~CommandDecoder()
{
    free();
}

void CommandDecoder::free()
{
    if (m_ps)
        ps_free(m_ps);
    m_ps = nullptr;
    m_phraseOfWords.clear();
    resetStream();
}

QString CommandDecoder::defaultModelDirectory()
{
    const QString overridden = qEnvironmentVariable("HUSHBY_SPHINX_MODEL");
    if (!overridden.isEmpty())
        return overridden;
    const QStringList candidates = {
        QStringLiteral("/usr/share/pocketsphinx/model/en-us/en-us"),
        QStringLiteral("/usr/local/share/pocketsphinx/model/en-us/en-us"),
    };
    for (const QString &path : candidates) {
        if (QFileInfo::exists(path + QStringLiteral("/mdef")))
            return path;
    }
    return candidates.first();
}

bool CommandDecoder::load(const QStringList &phrases, QStringList *unpronounceable,
                          const QString &modelDirectory, const QString &dictionaryPath)
{
    free();
    m_error.clear();
    // The library's own log is chatty and goes to standard error otherwise.
    err_set_logfp(nullptr);

    QSet<QString> words;
    QVector<QStringList> wordsOfPhrase;
    for (const QString &phrase : phrases) {
        wordsOfPhrase.append(Pronunciation::wordsOfPhrase(phrase));
        for (const QString &w : wordsOfPhrase.back())
            words.insert(w);
    }
    QStringList missing;
    bool dictionaryOk = false;
    const QString dictPath = dictionaryPath.isEmpty() ? Pronunciation::defaultDictionaryPath() : dictionaryPath;
    const QHash<QString, QStringList> prons = Pronunciation::lookup(words, dictPath, &missing, &dictionaryOk);
    if (unpronounceable)
        *unpronounceable = missing;
    if (!dictionaryOk) {
        m_error = QStringLiteral("cannot read the pronouncing dictionary %1").arg(dictPath);
        return false;
    }

    // Phrases that are the same words ("911" and "nine one one") are one path; the first of
    // them is reported, unless it has spaces around it: " call police" never matches a
    // command, so a "call police" further down must not be hidden behind it. Phrases with an
    // unpronounceable word are left out.
    QVector<QStringList> paths;
    for (int i = 0; i < phrases.size(); ++i) {
        const QStringList &ws = wordsOfPhrase[i];
        if (ws.isEmpty())
            continue;
        if (std::any_of(ws.begin(), ws.end(), [&](const QString &w) { return !prons.contains(w); }))
            continue;
        const QString key = ws.join(u' ');
        const auto known = m_phraseOfWords.constFind(key);
        if (known == m_phraseOfWords.constEnd()) {
            m_phraseOfWords.insert(key, phrases[i]);
            paths.append(ws);
        } else if (known.value() != known.value().trimmed() && phrases[i] == phrases[i].trimmed()) {
            m_phraseOfWords.insert(key, phrases[i]);
        }
    }
    if (paths.isEmpty()) {
        m_error = QStringLiteral("no phrase of the word list can be pronounced");
        return false;
    }

    QTemporaryFile dict;
    if (!dict.open()) {
        m_error = QStringLiteral("cannot write a temporary dictionary");
        return false;
    }
    {
        QTextStream out(&dict);
        for (auto it = prons.constBegin(); it != prons.constEnd(); ++it) {
            for (int v = 0; v < it.value().size(); ++v) {
                out << it.key();
                if (v > 0)
                    out << '(' << (v + 1) << ')';
                out << ' ' << it.value()[v] << '\n';
            }
        }
        for (const QString &phone : Pronunciation::phoneSet())
            out << GarbagePrefix << phone.toLower() << ' ' << phone << '\n';
    }
    dict.close();

    const QString hmm = modelDirectory.isEmpty() ? defaultModelDirectory() : modelDirectory;
    const QByteArray hmmBytes = QFile::encodeName(hmm);
    const QByteArray dictBytes = QFile::encodeName(dict.fileName());
    // No language model: one next to a grammar silently takes over from it.
    cmd_ln_t *config = cmd_ln_init(nullptr, ps_args(), TRUE,
                                   "-hmm", hmmBytes.constData(),
                                   "-dict", dictBytes.constData(),
                                   // Context-independent phones keep the second pass fast.
                                   "-allphone_ci", "yes",
                                   // Utterances are cut by UtteranceSegmenter; both passes over
                                   // one must see the same frames to be compared frame by frame.
                                   "-remove_silence", "no",
                                   nullptr);
    if (!config) {
        m_error = QStringLiteral("cannot configure the recogniser");
        return false;
    }
    m_ps = ps_init(config);
    if (!m_ps) {
        cmd_ln_free_r(config);
        m_error = QStringLiteral("cannot load the acoustic model from %1").arg(hmm);
        return false;
    }

    logmath_t *lmath = ps_get_logmath(m_ps);
    const float lw = cmd_ln_float32_r(config, "-lw");
    int states = 2 + 2;
    for (const QStringList &p : paths)
        states += p.size() - 1;
    fsg_model_t *fsg = fsg_model_init(SearchCommands, lmath, lw, states);
    fsg->start_state = 0;
    fsg->final_state = 1;
    int next = 2;
    const double g = GarbageProbability;
    const int32 phraseLogp = logmath_log(lmath, (1.0 - g) / paths.size());
    for (const QStringList &p : paths) {
        int from = 0;
        for (int i = 0; i < p.size(); ++i) {
            const int to = i + 1 == p.size() ? 1 : next++;
            const int wid = fsg_model_word_add(fsg, p[i].toUtf8().constData());
            fsg_model_trans_add(fsg, from, to, i == 0 ? phraseLogp : 0, wid);
            from = to;
        }
    }
    // Garbage branch: any sequence of single phones, so that speech which is no phrase has a
    // path of its own instead of being forced onto the nearest phrase.
    const int loopIn = next++;
    const int loopOut = next++;
    fsg_model_null_trans_add(fsg, 0, loopIn, logmath_log(lmath, g));
    const QList<QString> phoneList = Pronunciation::phoneSet().values();
    const int32 phoneLogp = logmath_log(lmath, 1.0 / phoneList.size());
    for (const QString &phone : phoneList) {
        const QByteArray name = (GarbagePrefix + phone.toLower()).toUtf8();
        fsg_model_trans_add(fsg, loopIn, loopOut, phoneLogp, fsg_model_word_add(fsg, name.constData()));
    }
    const double exitP = GarbageExitProbability;
    fsg_model_null_trans_add(fsg, loopOut, loopIn, logmath_log(lmath, 1.0 - exitP));
    fsg_model_null_trans_add(fsg, loopOut, 1, logmath_log(lmath, exitP));

    const bool fsgOk = ps_set_fsg(m_ps, SearchCommands, fsg) == 0;
    fsg_model_free(fsg);
    const bool phonesOk = ps_set_allphone(m_ps, SearchPhones, nullptr) == 0;
    cmd_ln_free_r(config);
    if (!fsgOk || !phonesOk || ps_set_search(m_ps, SearchCommands) != 0) {
        free();
        m_error = QStringLiteral("cannot build the recogniser's grammar");
        return false;
    }
    return true;
}

namespace {

struct Segment {
    QString word;
    int first = 0;
    int last = 0;
    double acoustic = 0;
};

struct PassResult {
    QString words;
    int frames = 0;
    QVector<Segment> segments;
};

PassResult runPass(ps_decoder_t *ps, const char *search, const int16_t *samples, int count)
{
    PassResult r;
    if (ps_set_search(ps, search) != 0 || ps_start_utt(ps) != 0)
        return r;
    ps_process_raw(ps, samples, count, FALSE, TRUE);
    ps_end_utt(ps);
    int32 score = 0;
    const char *hyp = ps_get_hyp(ps, &score);
    r.words = QString::fromUtf8(hyp ? hyp : "");
    r.frames = ps_get_n_frames(ps);
    for (ps_seg_t *seg = ps_seg_iter(ps); seg; seg = ps_seg_next(seg)) {
        Segment s;
        s.word = QString::fromUtf8(ps_seg_word(seg));
        ps_seg_frames(seg, &s.first, &s.last);
        int32 ascr = 0, lscr = 0, lback = 0;
        ps_seg_prob(seg, &ascr, &lscr, &lback);
        s.acoustic = ascr;
        r.segments.append(s);
    }
    return r;
}

// The phone loop's acoustic score over frames first..last, sharing a phone that straddles the
// edge in proportion to its frames inside.
double phoneScoreOver(const QVector<Segment> &phones, int first, int last)
{
    double sum = 0;
    for (const Segment &p : phones) {
        const int from = std::max(first, p.first);
        const int to = std::min(last, p.last);
        if (to < from)
            continue;
        sum += p.acoustic * (to - from + 1) / double(p.last - p.first + 1);
    }
    return sum;
}

bool isFiller(const QString &word)
{
    return word.startsWith(u'<') || word.startsWith(u'[') || word.startsWith(u'+');
}

} // namespace

QString CommandDecoder::judge(const int16_t *samples, int count)
{
    m_scores = {};
    if (!m_ps || count <= 0)
        return {};
    // Exact digital silence (a file, a muted input) pulls the utterance's cepstral mean far
    // below anything a microphone in a room gives and costs many commands; a faint, fixed
    // noise floor keeps the features where the model expects them, and the result repeatable.
    QVector<int16_t> audio(samples, samples + count);
    quint32 seed = 12345;
    for (int16_t &s : audio) {
        seed = seed * 1664525u + 1013904223u;
        const int noise = int((seed >> 16) % (2 * NoiseFloor + 1)) - NoiseFloor;
        s = int16_t(std::clamp(int(s) + noise, -32768, 32767));
    }
    const PassResult grammar = runPass(m_ps, SearchCommands, audio.constData(), count);
    const PassResult phones = runPass(m_ps, SearchPhones, audio.constData(), count);
    ps_set_search(m_ps, SearchCommands);
    m_scores.grammarWords = grammar.words;
    m_scores.frames = grammar.frames;
    m_scores.garbage = grammar.words.contains(GarbagePrefix);

    // How much worse than a free phone loop the grammar explains the audio, per frame: over the
    // phrase's words, its worst word, and the frames the grammar left to silence and noise.
    double wordGap = 0, otherGap = 0;
    int wordFrames = 0, otherFrames = 0;
    double worstWord = -1e9;
    for (const Segment &s : grammar.segments) {
        const int n = s.last - s.first + 1;
        if (s.first < 0 || n <= 0 || s.word == QLatin1String("(NULL)"))
            continue; // a null transition of the grammar, no audio
        const double gap = phoneScoreOver(phones.segments, s.first, s.last) - s.acoustic;
        if (isFiller(s.word)) {
            otherGap += gap;
            otherFrames += n;
        } else {
            wordGap += gap;
            wordFrames += n;
            worstWord = std::max(worstWord, gap / n);
        }
    }
    m_scores.wordGap = wordFrames ? wordGap / wordFrames : 0;
    m_scores.worstWordGap = wordFrames ? worstWord : 0;
    m_scores.otherGap = otherFrames ? otherGap / otherFrames : 0;
    m_scores.wordFrames = wordFrames;

    if (grammar.words.isEmpty() || m_scores.garbage)
        return {};
    if (m_scores.wordGap > MaxWordGap || m_scores.otherGap > MaxOtherGap)
        return {};
    return m_phraseOfWords.value(grammar.words);
}

QString CommandDecoder::decode(const int16_t *samples, int count)
{
    return judge(samples, count);
}

QString CommandDecoder::decode(const QByteArray &pcm)
{
    return decode(reinterpret_cast<const int16_t *>(pcm.constData()), int(pcm.size() / 2));
}

void CommandDecoder::resetStream()
{
    m_segmenter.reset();
}

QStringList CommandDecoder::feed(const QByteArray &pcm)
{
    return feed(reinterpret_cast<const int16_t *>(pcm.constData()), int(pcm.size() / 2));
}

QStringList CommandDecoder::feed(const int16_t *samples, int count)
{
    QStringList results;
    for (const UtteranceSegmenter::Utterance &u : m_segmenter.feed(samples, count)) {
        if (u.capped) {
            m_scores = {};
            results.append(QString());
        } else {
            results.append(judge(u.samples.constData(), int(u.samples.size())));
        }
    }
    return results;
}
