#include "voice/command_decoder.h"

#include "voice/mean_transform.h"
#include "voice/noise_suppressor.h"
#include "voice/pronunciation.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTextStream>

#include <err.h>
#include <fsg_model.h>
#include <pocketsphinx.h>

#include <algorithm>
#include <cmath>
#include <future>
#include <vector>

namespace {

const char *const SearchCommands = "commands";
const char *const SearchPhones = "phones";

// Whether an utterance is the grammar's best phrase is judged by a linear score over how the
// phrase explains the audio against a free phone loop. The weights (in the order of
// CommandDecoder::Feature) were fitted on the recognition benchmark (bench/), on half of its
// synthetic voices and half of the real recordings; the thresholds were set on its utterances as
// the microphone's audio is cut into them; see bench/recognition.md.
constexpr CommandDecoder::Features Weights
    = {-2.2529, -0.0465, -0.8191, -1.2909, -0.4213, -0.6346, -0.2791, -1.5028, -0.4108, 0.8879};
constexpr double Bias = 9.9276;
// So that under 1% of the held-out voices' sentences and of the held-out real recordings are taken
// once the model is adapted to the family.
constexpr double Threshold = -0.15;
// Some phrases fit the model worse than others whoever says them ("stop", "school"): each is
// judged against what its own utterances score on the benchmark, by an offset fitted with the
// weights from commands alone. A phrase missing here is judged as the average phrase.
struct PhraseOffset {
    const char *words;
    double offset;
};
constexpr PhraseOffset PhraseOffsets[] = {
    {"abort", 1.2976},
    {"alarm off", 1.1767},
    {"alarm on", 1.2447},
    {"ambulance", -1.1008},
    {"call a doctor", 1.7966},
    {"call a pharmacy", 0.5734},
    {"call ambulance", -0.1089},
    {"call an ambulance", -0.3235},
    {"call backup", 1.6672},
    {"call can't be reached", -0.2332},
    {"call doctor", 1.7883},
    {"call fire", 1.3272},
    {"call fire department", 0.2616},
    {"call hospital", 0.6718},
    {"call kids school", 0.2964},
    {"call parents", 0.7660},
    {"call pharmacy", 0.1464},
    {"call poision", 0.7278},
    {"call police", 1.1527},
    {"call relation", 0.1215},
    {"call school", 2.1829},
    {"call the ambulance", -0.1394},
    {"call the docter", 0.5102},
    {"call the fire department", 0.6686},
    {"call the hospital", 0.7956},
    {"call the pharmacy", 0.1031},
    {"call the poison control", -0.0673},
    {"call the poison control center", -0.9928},
    {"call the police", 0.7821},
    {"call the school", 2.6594},
    {"call work", 0.8172},
    {"cancel", 0.0093},
    {"diner", 1.1144},
    {"doctor", 2.2178},
    {"fire", 1.3196},
    {"hospital", 0.3867},
    {"hushby", -0.5652},
    {"nine one one", -1.5445},
    {"off auto", 1.3293},
    {"off dial", 1.2864},
    {"on auto", -0.4789},
    {"on dial", 0.1190},
    {"parents", -0.4250},
    {"pharmacy", -0.8743},
    {"poison", 0.3634},
    {"police", 0.3653},
    {"prepare", -0.6537},
    {"prepare diner", -1.3337},
    {"school", 2.1255},
    {"sing", -0.6132},
    {"sing a song", -2.2399},
    {"stop", 1.1337},
    {"turn off auto dial", -0.6928},
    {"turn on auto dial", -0.5491},
    {"where", 0.3145},
};
// Taking other speech for the wake word or for 911 costs most: no sentence or real recording of the
// benchmark reaches either threshold, unwarped or adapted to each voice. The wake word stays just
// above the closest ("hush now baby", 1.46); 911 keeps a margin over the closest (1.18).
constexpr double WakeWordThreshold = 1.6;
constexpr double EmergencyThreshold = 1.8;
// A one-word phrase needs more: most real talk taken for a command is a single word ("Ow" as
// "school"), and one word has little to tell it from another.
constexpr double OneWordExtra = 0.8;

// Amplitude of the noise floor added before judging, about 55 dB below full scale: fainter, and
// the model's fit to women's and children's voices suffers; louder, and soft speech drowns.
constexpr int NoiseFloor = 100;

// The features' scales bring each to a few units over the benchmark's utterances, so that one
// step size and one penalty suit every weight of the fit. Frames are 10 ms.
constexpr double WordGapScale = 10; // per-frame gaps run to tens
constexpr double OtherGapScale = 5;
constexpr double ExtraSpeechScale = 5; // a fifth of the speech left to silence counts one
// A phrase that leaves this much of the speech heard to silence is a word out of a sentence
// ("the pharmacy closes at nine"), however well it matches.
constexpr double MostExtraSpeech = 0.3;
constexpr double CoverScale = 3;
// The grammar can stretch its words over long silence, to several times the speech heard; the
// cap keeps those few utterances from outweighing the rest in the fit.
constexpr double CoverCap = 1.5;
// Up to 11 frames (110 ms) a phone is slow speech; beyond it a word is drawn out, as acted or sung
// words are, or stretched over something else.
constexpr double SlowPhoneFrames = 11;
constexpr double SlowPhoneScale = 5;
// Under 4 frames a phone is no speaking pace: the word was squeezed in.
constexpr double FastPhoneFrames = 4;
constexpr double PhoneDistanceScale = 2;
// In a noisy room sentences fall apart into pieces that sound like commands; beyond 50 dB the
// room no longer matters.
constexpr double ClarityCapDb = 50;
constexpr double ClarityScale = 10;
constexpr int ClarityFrame = 160;
// A few phones either way tell; a dozen more is a sentence, which other features already reject.
constexpr double SparePhonesCap = 6;
constexpr double SparePhonesScale = 3;

// The mel filterbank must end below the Nyquist frequency of 16 kHz audio.
constexpr double HighestUpperf = 7900;

// A copy of the model whose feat.params has the filterbank's band edges scaled by warp: the
// library takes -lowerf and -upperf from that file over anything configured. The other files are
// links to the model's own.
bool makeWarpedModel(const QString &hmm, double warp, const QTemporaryDir &copy, QString *error)
{
    QList<QByteArray> kept;
    double lower = 0, upper = 0;
    if (!CommandDecoder::warpedEdges(hmm, warp, &lower, &upper, &kept, error))
        return false;
    kept.append("-lowerf " + QByteArray::number(lower, 'f', 2));
    kept.append("-upperf " + QByteArray::number(upper, 'f', 2));

    QFile out(copy.filePath(QStringLiteral("feat.params")));
    if (!out.open(QIODevice::WriteOnly) || out.write(kept.join('\n') + '\n') < 0 || !out.flush()) {
        *error = QStringLiteral("cannot write a warped copy of the model");
        return false;
    }
    const QFileInfoList entries
        = QDir(hmm).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        if (entry.fileName() == QLatin1String("feat.params"))
            continue;
        if (!QFile::link(entry.absoluteFilePath(), copy.filePath(entry.fileName()))) {
            *error = QStringLiteral("cannot write a warped copy of the model");
            return false;
        }
    }
    return true;
}

} // namespace

CommandDecoder::CommandDecoder(Passes passes) : m_passes(passes)
{
}

CommandDecoder::~CommandDecoder()
{
    free();
}

void CommandDecoder::free()
{
    if (m_ps)
        ps_free(m_ps);
    if (m_phonePs)
        ps_free(m_phonePs);
    m_ps = nullptr;
    m_phonePs = nullptr;
    m_warp = 1.0;
    m_adaptation.clear();
    m_phraseOfWords.clear();
    m_pronunciations.clear();
    resetStream();
}

bool CommandDecoder::warpedEdges(const QString &hmm, double warp, double *lower, double *upper,
                                 QList<QByteArray> *otherParams, QString *error)
{
    QFile params(QDir(hmm).filePath(QStringLiteral("feat.params")));
    QByteArray text;
    if (params.exists()) {
        if (!params.open(QIODevice::ReadOnly)) {
            *error = QStringLiteral("cannot read %1").arg(params.fileName());
            return false;
        }
        text = params.readAll();
    }
    // A model without them in its feat.params uses the library's defaults.
    cmd_ln_t *defaults = cmd_ln_init(nullptr, ps_args(), FALSE, nullptr);
    double edges[2] = {defaults ? cmd_ln_float32_r(defaults, "-lowerf") : 0.0,
                       defaults ? cmd_ln_float32_r(defaults, "-upperf") : 0.0};
    if (defaults)
        cmd_ln_free_r(defaults);
    const char *const names[2] = {"-lowerf", "-upperf"};
    for (const QByteArray &line : text.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        bool edge = false;
        for (int i = 0; i < 2 && fields.size() >= 2; ++i) {
            bool ok = false;
            const double value = fields[1].toDouble(&ok);
            if (fields[0] == names[i] && ok && value > 0) {
                edges[i] = value;
                edge = true;
            }
        }
        if (!edge && !line.trimmed().isEmpty() && otherParams)
            otherParams->append(line);
    }
    if (edges[0] <= 0 || edges[1] <= edges[0]) {
        *error = QStringLiteral("no filterbank edges for the model in %1").arg(hmm);
        return false;
    }
    *upper = std::min(edges[1] * warp, HighestUpperf);
    *lower = std::min(edges[0] * warp, *upper / 2);
    return true;
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

void CommandDecoder::adopt(CommandDecoder &other)
{
    std::swap(m_ps, other.m_ps);
    std::swap(m_phonePs, other.m_phonePs);
    std::swap(m_warp, other.m_warp);
    m_adaptation.swap(other.m_adaptation);
    std::swap(m_passes, other.m_passes);
    m_phraseOfWords.swap(other.m_phraseOfWords);
    m_pronunciations.swap(other.m_pronunciations);
    m_error = other.m_error;
    other.free();
}

bool CommandDecoder::load(const QStringList &phrases, QStringList *unpronounceable, const QString &modelDirectory,
                          const QString &dictionaryPath, double warp, const QByteArray &adaptation)
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

    m_pronunciations = prons;
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
    }
    dict.close();

    const QString hmm = modelDirectory.isEmpty() ? defaultModelDirectory() : modelDirectory;
    if (!(warp >= 0.5 && warp <= 2.0)) {
        m_error = QStringLiteral("no warp of the filterbank by %1").arg(warp);
        return false;
    }
    // Read by ps_init only; gone when the recogniser is built.
    QTemporaryDir warpedModel;
    const bool warped = warp != 1.0;
    if (warped && (!warpedModel.isValid() || !makeWarpedModel(hmm, warp, warpedModel, &m_error))) {
        if (m_error.isEmpty())
            m_error = QStringLiteral("cannot write a warped copy of the model");
        m_pronunciations.clear();
        m_phraseOfWords.clear();
        return false;
    }
    if (!adaptation.isEmpty() && !MeanTransform::fits(adaptation, hmm)) {
        m_error = QStringLiteral("the voice adaptation does not fit the model in %1").arg(hmm);
        m_pronunciations.clear();
        m_phraseOfWords.clear();
        return false;
    }
    QTemporaryFile mllr;
    if (!adaptation.isEmpty() && (!mllr.open() || mllr.write(adaptation) != adaptation.size() || !mllr.flush())) {
        m_error = QStringLiteral("cannot write the voice adaptation for the recogniser");
        m_pronunciations.clear();
        m_phraseOfWords.clear();
        return false;
    }
    const QByteArray hmmBytes = QFile::encodeName(warped ? warpedModel.path() : hmm);
    const QByteArray dictBytes = QFile::encodeName(dict.fileName());
    const QByteArray mllrBytes = QFile::encodeName(mllr.fileName());
    // No language model: one next to a grammar silently takes over from it.
    cmd_ln_t *config
        = cmd_ln_init(nullptr, ps_args(), TRUE, "-hmm", hmmBytes.constData(), "-dict", dictBytes.constData(),
                      // Context-independent phones keep the second pass fast.
                      "-allphone_ci", "yes",
                      // More of each senone's Gaussians than the default four: the
                      // grammar's best phrase is right for 91% of the benchmark's
                      // commands instead of 89%, for a third more decoding time.
                      "-topn", "16",
                      // Utterances are cut by UtteranceSegmenter; both passes over
                      // one must see the same frames to be compared frame by frame.
                      "-remove_silence", "no", nullptr);
    if (config && !adaptation.isEmpty())
        cmd_ln_set_str_r(config, "-mllr", mllrBytes.constData());
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
    int states = 2;
    for (const QStringList &p : paths)
        states += p.size() - 1;
    fsg_model_t *fsg = fsg_model_init(SearchCommands, lmath, lw, states);
    fsg->start_state = 0;
    fsg->final_state = 1;
    int next = 2;
    const int32 phraseLogp = logmath_log(lmath, 1.0 / paths.size());
    for (const QStringList &p : paths) {
        int from = 0;
        for (int i = 0; i < p.size(); ++i) {
            const int to = i + 1 == p.size() ? 1 : next++;
            const int wid = fsg_model_word_add(fsg, p[i].toUtf8().constData());
            fsg_model_trans_add(fsg, from, to, i == 0 ? phraseLogp : 0, wid);
            from = to;
        }
    }
    const bool fsgOk = ps_set_fsg(m_ps, SearchCommands, fsg) == 0;
    fsg_model_free(fsg);
    // The phone loop runs on a decoder of its own, beside the grammar's, so that an utterance
    // is judged in the time of the slower pass rather than of both.
    bool phonesOk = true;
    if (m_passes == Passes::Judge) {
        m_phonePs = ps_init(config);
        phonesOk = m_phonePs && ps_set_allphone(m_phonePs, SearchPhones, nullptr) == 0
            && ps_set_search(m_phonePs, SearchPhones) == 0;
    }
    cmd_ln_free_r(config);
    if (!fsgOk || !phonesOk || ps_set_search(m_ps, SearchCommands) != 0) {
        free();
        m_error = QStringLiteral("cannot build the recogniser's grammar");
        return false;
    }
    m_warp = warp;
    m_adaptation = adaptation;
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
    // A new stream forgets the noise estimate of the utterances before, so that an utterance is
    // judged the same whatever was heard before it.
    if (ps_start_stream(ps) != 0 || ps_set_search(ps, search) != 0 || ps_start_utt(ps) != 0)
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

int editDistance(const QStringList &a, const QStringList &b)
{
    QVector<int> row(b.size() + 1);
    for (int j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (int i = 1; i <= a.size(); ++i) {
        int diag = row[0];
        row[0] = i;
        for (int j = 1; j <= b.size(); ++j) {
            const int up = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diag + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diag = up;
        }
    }
    return row[b.size()];
}

bool isFiller(const QString &word)
{
    return word.startsWith(u'<') || word.startsWith(u'[') || word.startsWith(u'+');
}

CommandDecoder::Features scaledFeatures(const CommandDecoder::Scores &s)
{
    using D = CommandDecoder;
    const double speech = std::max(1, s.speechFrames);
    D::Features f;
    f[D::WordGap] = s.wordGap / WordGapScale;
    f[D::WorstWordGap] = s.worstWordGap / WordGapScale;
    f[D::OtherGap] = s.otherGap / OtherGapScale;
    f[D::ExtraSpeech] = ExtraSpeechScale * s.extraSpeech / speech;
    f[D::Cover] = CoverScale * std::min(s.wordFrames / speech, CoverCap);
    f[D::SlowPhone] = std::max(0.0, s.slowestPhone - SlowPhoneFrames) / SlowPhoneScale;
    f[D::FastPhone] = std::max(0.0, FastPhoneFrames - s.fastestPhone);
    f[D::PhoneDistance] = PhoneDistanceScale * s.phoneDistance;
    f[D::Clarity] = std::min(s.clarityDb, ClarityCapDb) / ClarityScale;
    const int heard = s.heardPhones.isEmpty() ? 0 : int(s.heardPhones.count(u' ')) + 1;
    f[D::SparePhones] = std::clamp(double(heard - s.phrasePhones), -SparePhonesCap, SparePhonesCap) / SparePhonesScale;
    return f;
}

// The level of the loudest twentieth of the frames over that of the quietest tenth.
double clarityDb(const int16_t *samples, int count)
{
    std::vector<double> levels;
    for (int at = 0; at + ClarityFrame <= count; at += ClarityFrame) {
        double energy = 0;
        for (int i = at; i < at + ClarityFrame; ++i)
            energy += double(samples[i]) * samples[i];
        levels.push_back(10 * std::log10(energy / ClarityFrame + 1));
    }
    if (levels.size() < 2)
        return 0;
    std::sort(levels.begin(), levels.end());
    return levels[levels.size() * 95 / 100] - levels[levels.size() / 10];
}

} // namespace

double CommandDecoder::phoneDistance(const QVector<QStringList> &wordPhones, const QStringList &heard)
{
    // Every combination of the words' pronunciations, the few dozen a phrase has at most.
    QVector<QStringList> variants = {{}};
    for (const QStringList &prons : wordPhones) {
        QVector<QStringList> next;
        for (const QStringList &v : std::as_const(variants))
            for (const QString &p : prons)
                next.append(v + p.split(u' ', Qt::SkipEmptyParts));
        if (!next.isEmpty())
            variants = next.mid(0, 16);
    }
    double best = 1e9;
    for (const QStringList &v : std::as_const(variants))
        best = std::min(best, double(editDistance(heard, v)) / std::max<qsizetype>(1, v.size()));
    return best;
}

QVector<int16_t> CommandDecoder::withNoiseFloor(const int16_t *samples, int count)
{
    // Exact digital silence (a file, a muted input) pulls the utterance's cepstral mean far
    // below anything a microphone in a room gives and costs many commands; a faint, fixed
    // noise floor keeps the features where the model expects them, and the result repeatable.
    QVector<int16_t> audio(samples, samples + std::max(0, count));
    quint32 seed = 12345;
    for (int16_t &s : audio) {
        seed = seed * 1664525u + 1013904223u;
        const int noise = int((seed >> 16) % (2 * NoiseFloor + 1)) - NoiseFloor;
        s = int16_t(std::clamp(int(s) + noise, -32768, 32767));
    }
    return audio;
}

QVector<int16_t> CommandDecoder::prepared(const int16_t *samples, int count)
{
    const QVector<int16_t> quieter = NoiseSuppressor::suppress(samples, count);
    return withNoiseFloor(quieter.constData(), int(quieter.size()));
}

double CommandDecoder::grammarScore(const QVector<int16_t> &preparedAudio)
{
    if (!m_ps || preparedAudio.isEmpty())
        return std::nan("");
    const PassResult grammar = runPass(m_ps, SearchCommands, preparedAudio.constData(), int(preparedAudio.size()));
    if (grammar.segments.isEmpty() || grammar.frames <= 0)
        return std::nan("");
    double sum = 0;
    for (const Segment &s : grammar.segments)
        sum += s.acoustic;
    return sum / grammar.frames;
}

QString CommandDecoder::judge(const int16_t *samples, int count)
{
    m_scores = {};
    m_lastUtterance = QVector<int16_t>(samples, samples + std::max(0, count));
    if (!m_ps || !m_phonePs || count <= 0)
        return {};
    const QVector<int16_t> audio = prepared(samples, count);
    std::future<PassResult> phonePass
        = std::async(std::launch::async, [&] { return runPass(m_phonePs, SearchPhones, audio.constData(), count); });
    const PassResult grammar = runPass(m_ps, SearchCommands, audio.constData(), count);
    const PassResult phones = phonePass.get();
    Scores &sc = m_scores;
    sc.grammarWords = grammar.words;
    sc.frames = grammar.frames;

    // How much worse than a free phone loop the grammar explains the audio, per frame: over the
    // phrase's words, its worst word, and the frames the grammar left to silence and noise.
    double wordGap = 0, otherGap = 0;
    int otherFrames = 0;
    int firstWordFrame = -1, lastWordFrame = -1;
    QVector<QStringList> wordProns;
    sc.worstWordGap = -1e9;
    for (const Segment &s : grammar.segments) {
        const int n = s.last - s.first + 1;
        if (s.first < 0 || n <= 0 || s.word == QLatin1String("(NULL)"))
            continue; // a null transition of the grammar, no audio
        const double gap = phoneScoreOver(phones.segments, s.first, s.last) - s.acoustic;
        if (isFiller(s.word)) {
            otherGap += gap;
            otherFrames += n;
            continue;
        }
        wordGap += gap;
        sc.wordFrames += n;
        sc.worstWordGap = std::max(sc.worstWordGap, gap / n);
        const QString word = s.word.section(u'(', 0, 0); // "police(2)" is a variant of "police"
        const QStringList prons = m_pronunciations.value(word);
        wordProns.append(prons);
        int fewest = 1000;
        for (const QString &p : prons)
            fewest = std::min(fewest, int(p.count(u' ')) + 1);
        sc.phrasePhones += prons.isEmpty() ? 1 : fewest;
        const double perPhone = double(n) / (prons.isEmpty() ? 1 : fewest);
        sc.slowestPhone = std::max(sc.slowestPhone, perPhone);
        sc.fastestPhone = sc.fastestPhone == 0 ? perPhone : std::min(sc.fastestPhone, perPhone);
        if (firstWordFrame < 0)
            firstWordFrame = s.first;
        lastWordFrame = s.last;
    }
    sc.wordGap = sc.wordFrames ? wordGap / sc.wordFrames : 0;
    sc.worstWordGap = sc.wordFrames ? sc.worstWordGap : 0;
    sc.otherGap = otherFrames ? otherGap / otherFrames : 0;

    // What the phone loop hears as speech: how much of it the grammar left to silence, and
    // which phones it heard over the phrase's words.
    QStringList heard;
    for (const Segment &p : phones.segments) {
        if (p.first < 0 || p.word == QLatin1String("SIL") || isFiller(p.word))
            continue;
        for (int f = p.first; f <= p.last; ++f) {
            ++sc.speechFrames;
            for (const Segment &s : grammar.segments) {
                if (s.first <= f && f <= s.last && isFiller(s.word)) {
                    ++sc.extraSpeech;
                    break;
                }
            }
        }
        const int middle = (p.first + p.last) / 2;
        if (middle >= firstWordFrame && middle <= lastWordFrame)
            heard.append(p.word);
    }
    sc.heardPhones = heard.join(u' ');
    sc.phoneDistance = phoneDistance(wordProns, heard);
    sc.clarityDb = clarityDb(samples, count);
    sc.features = scaledFeatures(sc);

    const QString phrase = m_phraseOfWords.value(grammar.words);
    if (phrase.isEmpty())
        return {}; // the grammar found no whole phrase in the audio

    sc.confidence = confidence(grammar.words, sc.features);
    return accepts(grammar.words, sc.features, sc.confidence) ? phrase : QString();
}

double CommandDecoder::confidence(const QString &grammarWords, const Features &features)
{
    // Summed in the fit's order, so that the fit's score of the printed features is this one.
    double sum = 0;
    for (int i = 0; i < FeatureCount; ++i)
        sum += Weights[i] * features[i];
    sum += Bias;
    for (const PhraseOffset &p : PhraseOffsets) {
        if (grammarWords == QLatin1String(p.words))
            return sum + p.offset;
    }
    return sum;
}

bool CommandDecoder::accepts(const QString &grammarWords, const Features &features, double confidence)
{
    if (features[ExtraSpeech] > MostExtraSpeech * ExtraSpeechScale)
        return false;
    double needed = grammarWords.contains(u' ') ? Threshold : Threshold + OneWordExtra;
    if (grammarWords == QLatin1String("hushby"))
        needed = WakeWordThreshold;
    else if (grammarWords == QLatin1String("nine one one"))
        needed = EmergencyThreshold;
    return confidence > needed;
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
            m_lastUtterance.clear();
            results.append(QString());
        } else {
            results.append(judge(u.samples.constData(), int(u.samples.size())));
        }
    }
    return results;
}
