// hushby-listen: checks the microphone and an edited word list outside the program.
#include "core/app_state.h"
#include "core/voice_grammar.h"
#include "voice/command_decoder.h"
#include "voice/speaker_adaptation.h"
#include "voice/sphinx_recognizer.h"
#include "voice/utterance_segmenter.h"
#include "voice/warp_probe.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <QThread>

#include <cmath>
#include <cstdio>

namespace {

QTextStream &out()
{
    static QTextStream s(stdout);
    return s;
}

QTextStream &err()
{
    static QTextStream s(stderr);
    return s;
}

// Reads a RIFF wave file of 16 kHz mono 16-bit samples.
bool readWave(const QString &path, QByteArray *pcm, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot open");
        return false;
    }
    const QByteArray data = file.readAll();
    if (data.size() < 12 || !data.startsWith("RIFF") || data.mid(8, 4) != "WAVE") {
        *error = QStringLiteral("not a wave file");
        return false;
    }
    auto u16 = [&](qsizetype at) { return quint16(quint8(data[at]) | quint8(data[at + 1]) << 8); };
    auto u32 = [&](qsizetype at) { return quint32(u16(at)) | quint32(u16(at + 2)) << 16; };
    bool formatOk = false;
    for (qsizetype at = 12; at + 8 <= data.size();) {
        const QByteArray id = data.mid(at, 4);
        const qsizetype size = u32(at + 4);
        const qsizetype body = at + 8;
        if (body + size > data.size() && id != "data")
            break;
        if (id == "fmt " && size >= 16) {
            formatOk = u16(body) == 1 && u16(body + 2) == 1 && u32(body + 4) == UtteranceSegmenter::SampleRate
                && u16(body + 14) == 16;
        } else if (id == "data") {
            if (!formatOk) {
                *error = QStringLiteral("not 16 kHz mono 16-bit PCM");
                return false;
            }
            *pcm = data.mid(body, std::min<qsizetype>(size, data.size() - body) & ~qsizetype(1));
            return true;
        }
        at = body + size + (size & 1);
    }
    *error = formatOk ? QStringLiteral("no audio data") : QStringLiteral("not 16 kHz mono 16-bit PCM");
    return false;
}

constexpr qsizetype LevelFrame = UtteranceSegmenter::SampleRate / 50; // 20 ms

QVector<double> frameLevels(const QByteArray &pcm)
{
    const auto *s = reinterpret_cast<const int16_t *>(pcm.constData());
    const qsizetype n = pcm.size() / 2;
    QVector<double> levels;
    for (qsizetype at = 0; at + LevelFrame <= n; at += LevelFrame) {
        double sum = 0;
        for (qsizetype i = at; i < at + LevelFrame; ++i)
            sum += double(s[i]) * s[i];
        levels.append(std::sqrt(sum / LevelFrame));
    }
    return levels;
}

// The quietest 300 ms of a recording, where only the room is heard: the frame it starts at and
// its level.
QPair<qsizetype, double> quietestStretch(const QVector<double> &levels)
{
    const qsizetype span = 15;
    QPair<qsizetype, double> best = {0, levels.isEmpty() ? 0.0 : levels.first()};
    double bestSum = -1;
    for (qsizetype f = 0; f + span <= levels.size(); ++f) {
        double sum = 0;
        for (qsizetype i = f; i < f + span; ++i)
            sum += levels[i] * levels[i];
        if (bestSum < 0 || sum < bestSum) {
            bestSum = sum;
            best = {f, std::sqrt(sum / span)};
        }
    }
    return best;
}

// Where the speech ends: the last 20 ms frame within 20 dB of the loudest one and 6 dB above the
// room's level.
qsizetype speechEnd(const QVector<double> &levels, double roomLevel, qsizetype samples)
{
    const double top = levels.isEmpty() ? 0 : *std::max_element(levels.begin(), levels.end());
    const double floor = std::max(top / 10, 2 * roomLevel);
    for (qsizetype f = levels.size() - 1; f >= 0; --f) {
        if (levels[f] >= floor)
            return (f + 1) * LevelFrame;
    }
    return samples;
}

// The figures of the utterance in fixed columns, then the features the judge weighed as
// name=value, exact to the bit: the fit reads them as they are. The decoder's warp comes last.
void printScores(const CommandDecoder::Scores &s, double warp)
{
    out() << '\t' << s.grammarWords << '\t' << s.frames << '\t' << s.wordFrames << '\t' << s.wordGap << '\t'
          << s.worstWordGap << '\t' << s.otherGap << '\t' << s.extraSpeech << '\t' << s.speechFrames << '\t'
          << s.slowestPhone << '\t' << s.fastestPhone << '\t' << s.phoneDistance << '\t' << s.heardPhones << '\t'
          << s.confidence;
    for (int i = 0; i < CommandDecoder::FeatureCount; ++i)
        out() << '\t' << CommandDecoder::FeatureNames[i] << '='
              << QString::number(s.features[i], 'g', QLocale::FloatingPointShortest);
    out() << "\twarp=" << QString::number(warp, 'f', 2);
}

// Plays a file to the decoder in 20 ms chunks, as the microphone delivers audio, and reports each
// utterance's phrase. Paced, it waits for the microphone's time and adds the time from the end of
// the speech to the phrase; unpaced, it reports a file without speech once, with no phrase.
// Speech still going on when the padding runs out is reported as "no end of speech".
// With accepted, it prints nothing and collects the utterances taken as commands instead.
void stream(CommandDecoder &decoder, const QString &path, const QByteArray &pcm, bool paced, bool scores,
            QVector<SpeakerAdaptation::Utterance> *accepted = nullptr)
{
    const QVector<double> levels = frameLevels(pcm);
    const QPair<qsizetype, double> quietest = quietestStretch(levels);
    const qsizetype end = speechEnd(levels, quietest.second, pcm.size() / 2);
    // After the recording the room goes on as it sounded at its quietest; a noisy room gives the
    // utterance no digital silence to end in.
    QByteArray padded = pcm;
    const QByteArray room = pcm.mid(quietest.first * LevelFrame * 2, 15 * LevelFrame * 2);
    while (padded.size() < pcm.size() + 3 * UtteranceSegmenter::SampleRate / 2 && !room.isEmpty())
        padded.append(room);
    const auto *s = reinterpret_cast<const int16_t *>(padded.constData());
    const qsizetype total = padded.size() / 2;
    const qsizetype chunk = UtteranceSegmenter::SampleRate / 50;
    decoder.resetStream();
    QElapsedTimer clock;
    clock.start();
    int utterances = 0;
    for (qsizetype at = 0; at < total; at += chunk) {
        const qint64 due = at * 1000 / UtteranceSegmenter::SampleRate;
        const qint64 wait = due - clock.elapsed();
        if (paced && wait > 0)
            QThread::msleep(wait);
        const QStringList phrases = decoder.feed(s + at, int(std::min(chunk, total - at)));
        for (const QString &phrase : phrases) {
            ++utterances;
            if (accepted) {
                if (!phrase.isEmpty())
                    accepted->append({decoder.lastUtterance(), decoder.lastScores().grammarWords});
                continue;
            }
            out() << path << '\t' << phrase;
            if (paced) {
                const double latency = clock.nsecsElapsed() / 1e6 - end * 1000.0 / UtteranceSegmenter::SampleRate;
                out() << '\t' << QString::number(latency, 'f', 0) << " ms";
            } else if (scores) {
                printScores(decoder.lastScores(), decoder.warp());
            }
            out() << '\n';
            out().flush();
        }
    }
    if (accepted)
        return;
    // Speech that has not ended is no phrase yet; in a noisy room it may never end.
    if (decoder.inUtterance())
        out() << path << "\t\tno end of speech\n";
    else if (utterances == 0 && !paced)
        out() << path << "\t\n";
}

// Reads a wave file, or tells why it cannot on standard error.
bool readWaveOrSay(const QString &path, QByteArray *pcm)
{
    QString error;
    if (readWave(path, pcm, &error))
        return true;
    err() << "hushby-listen: " << path << ": " << error << "\n";
    err().flush();
    return false;
}

// Measures each file at every candidate warp and learns from it as from an accepted command.
int learnWarp(const QStringList &phrases, const QStringList &files, double *warp)
{
    WarpProbe probe(phrases);
    SpeakerWarp learned;
    int status = 0;
    for (const QString &path : files) {
        QByteArray pcm;
        if (!readWaveOrSay(path, &pcm)) {
            status = 1;
            continue;
        }
        const QVector<double> scores
            = probe.measure(reinterpret_cast<const int16_t *>(pcm.constData()), int(pcm.size() / 2));
        if (scores.isEmpty() && !probe.errorString().isEmpty()) {
            err() << "hushby-listen: " << probe.errorString() << "\n";
            return 1;
        }
        learned.addUtterance(scores);
        out() << path;
        for (int i = 0; i < scores.size(); ++i)
            out() << '\t' << QString::number(SpeakerWarp::Candidates[i], 'f', 2) << ':'
                  << QString::number(scores[i], 'f', 2);
        if (scores.isEmpty())
            out() << "\tno path";
        out() << "\twarp=" << QString::number(learned.warp(), 'f', 2) << '\n';
        out().flush();
    }
    *warp = learned.warp();
    return status;
}

// Estimates the voice adaptation from the files heard as commands at this warp, as the program
// learns it from accepted commands, and writes it to path.
int learnAdaptation(const QStringList &phrases, const QStringList &files, double warp, const QString &path)
{
    CommandDecoder decoder;
    if (!decoder.load(phrases, nullptr, {}, {}, warp)) {
        err() << "hushby-listen: " << decoder.errorString() << "\n";
        return 1;
    }
    QVector<SpeakerAdaptation::Utterance> accepted;
    for (const QString &file : files) {
        QByteArray pcm;
        if (readWaveOrSay(file, &pcm))
            stream(decoder, file, pcm, false, false, &accepted);
    }
    QString error;
    const SpeakerAdaptation a
        = SpeakerAdaptation::estimate(accepted, decoder.pronunciations(), warp, {}, nullptr, &error);
    QFile out(path);
    if (a.isEmpty() || !out.open(QIODevice::WriteOnly) || out.write(a.toText().toLatin1() + '\n') < 0) {
        err() << "hushby-listen: no adaptation: " << (a.isEmpty() ? error : out.errorString()) << "\n";
        return 1;
    }
    err() << "hushby-listen: adaptation from " << accepted.size() << " commands written to " << path << "\n";
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    // The word list the program uses: the user's own copy when there is one, else the shipped one.
    const QString programDir = app.applicationDirPath();
    QString wordsPath = programDir + QStringLiteral("/words.txt");
    for (const QString &place :
         {AppState::defaultDataDir(programDir), programDir, programDir + QStringLiteral("/../share/the-hushby")}) {
        const QString candidate = QDir(place).filePath(QStringLiteral("words.txt"));
        if (QFileInfo::exists(candidate)) {
            wordsPath = QDir::cleanPath(candidate);
            break;
        }
    }
    bool mic = false;
    bool scores = false;
    bool streamed = false;
    bool segmented = false;
    bool learn = false;
    double warp = 1.0;
    QString adaptationPath;
    QStringList files;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a == QLatin1String("--words") && i + 1 < args.size()) {
            wordsPath = args[++i];
        } else if (a == QLatin1String("--mic")) {
            mic = true;
        } else if (a == QLatin1String("--scores")) {
            scores = true;
        } else if (a == QLatin1String("--stream")) {
            streamed = true;
        } else if (a == QLatin1String("--segment")) {
            segmented = true;
        } else if (a == QLatin1String("--learn")) {
            learn = true;
        } else if (a == QLatin1String("--warp") && i + 1 < args.size()) {
            bool ok = false;
            warp = args[++i].toDouble(&ok);
            if (!ok || warp < 0.5 || warp > 2.0) {
                err() << "hushby-listen: --warp takes a factor between 0.5 and 2, such as 1.06\n";
                return 2;
            }
        } else if (a == QLatin1String("--adaptation") && i + 1 < args.size()) {
            adaptationPath = args[++i];
        } else if (a == QLatin1String("--help") || a == QLatin1String("-h") || a.startsWith(QLatin1String("--"))) {
            err() << "usage: hushby-listen [--words FILE] [--warp W] [--adaptation A]\n"
                     "                     [--scores | --stream | --segment] FILE.wav...\n"
                     "       hushby-listen [--words FILE] --learn [--adaptation A] FILE.wav...\n"
                     "       hushby-listen [--words FILE] --mic\n"
                     "Prints each file name, a tab and the phrase heard (empty when none).\n"
                     "--scores adds how the phrase was judged; --stream plays each file at the\n"
                     "microphone's pace and adds the time from the end of speech to the phrase;\n"
                     "--segment cuts each file into utterances as --stream does, without waiting,\n"
                     "and prints a line per utterance (with --scores, how each was judged).\n"
                     "--warp W scales the filterbank's band edges by W (1 when not given; above 1\n"
                     "suits women's and children's voices); --scores then ends with warp=W.\n"
                     "--learn takes the files, in order, as accepted commands of one family and\n"
                     "prints per file its score per frame at each candidate warp (warp:score) and\n"
                     "the warp chosen after it (warp=W), as the program learns it; with\n"
                     "--adaptation it then adapts the model to the commands heard in the files at\n"
                     "that warp and writes the adaptation to A.\n"
                     "--adaptation A otherwise decodes with the adaptation in A (learnt at --warp).\n"
                     "--mic prints each phrase heard by the default microphone.\n";
            return a.startsWith(QLatin1String("-h")) || a == QLatin1String("--help") ? 0 : 2;
        } else {
            files.append(a);
        }
    }
    if (!mic && files.isEmpty()) {
        err() << "hushby-listen: no wave file given (or --mic)\n";
        return 2;
    }

    if (mic) {
        SphinxRecognizer recognizer;
        QObject::connect(&recognizer, &Recognizer::phraseFinished, [](const QString &phrase) {
            out() << phrase << '\n';
            out().flush();
        });
        // The recogniser reports on standard error why it cannot listen.
        if (!recognizer.stopRecognition() || !recognizer.loadGrammarFile(wordsPath) || !recognizer.startRecognition())
            return 1;
        err() << "hushby-listen: listening; press Ctrl+C to stop\n";
        err().flush();
        return app.exec();
    }

    bool ok = false;
    const QStringList phrases = VoiceGrammar::readPhraseLines(wordsPath, &ok);
    if (!ok) {
        err() << "hushby-listen: cannot read the word list " << wordsPath << "\n";
        return 1;
    }
    if (learn) {
        double learned = 1.0;
        const int status = learnWarp(phrases, files, &learned);
        return status || adaptationPath.isEmpty() ? status : learnAdaptation(phrases, files, learned, adaptationPath);
    }
    SpeakerAdaptation adaptation;
    if (!adaptationPath.isEmpty()) {
        QFile in(adaptationPath);
        if (in.open(QIODevice::ReadOnly))
            adaptation = SpeakerAdaptation::fromText(QString::fromLatin1(in.readAll()).trimmed());
        if (adaptation.isEmpty() || adaptation.warp() != warp || !adaptation.fitsModel({})) {
            err() << "hushby-listen: " << adaptationPath << " holds no adaptation for this model at warp "
                  << QString::number(warp, 'f', 2) << "\n";
            return 1;
        }
    }

    CommandDecoder decoder;
    QStringList unpronounceable;
    QElapsedTimer loadClock;
    loadClock.start();
    if (!decoder.load(phrases, &unpronounceable, {}, {}, warp, adaptation.transform())) {
        err() << "hushby-listen: " << decoder.errorString() << "\n";
        return 1;
    }
    if (scores)
        err() << "hushby-listen: recogniser ready in " << loadClock.elapsed() << " ms\n";
    for (const QString &w : unpronounceable)
        err() << "hushby-listen: cannot pronounce \"" << w << "\"; its phrases are left out\n";
    err().flush();

    int status = 0;
    for (const QString &path : files) {
        QByteArray pcm;
        if (!readWaveOrSay(path, &pcm)) {
            status = 1;
            continue;
        }
        if (streamed || segmented) {
            stream(decoder, path, pcm, streamed, scores);
            continue;
        }
        const QString phrase = decoder.decode(pcm);
        out() << path << '\t' << phrase;
        if (scores)
            printScores(decoder.lastScores(), decoder.warp());
        out() << '\n';
        out().flush();
    }
    return status;
}
