// hushby-listen: checks the microphone and an edited word list outside the program.
#include "voice/command_decoder.h"
#include "voice/sphinx_recognizer.h"
#include "voice/voice_grammar.h"

#include <QCoreApplication>
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
            formatOk = u16(body) == 1 && u16(body + 2) == 1 && u32(body + 4) == 16000 && u16(body + 14) == 16;
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

// Where the speech ends: the last 20 ms frame within 20 dB of the loudest one.
qsizetype speechEnd(const QByteArray &pcm)
{
    const auto *s = reinterpret_cast<const int16_t *>(pcm.constData());
    const qsizetype n = pcm.size() / 2;
    const qsizetype frame = 320;
    QVector<double> levels;
    for (qsizetype at = 0; at + frame <= n; at += frame) {
        double sum = 0;
        for (qsizetype i = at; i < at + frame; ++i)
            sum += double(s[i]) * s[i];
        levels.append(std::sqrt(sum / frame));
    }
    const double top = levels.isEmpty() ? 0 : *std::max_element(levels.begin(), levels.end());
    for (qsizetype f = levels.size() - 1; f >= 0; --f) {
        if (levels[f] >= top / 10)
            return (f + 1) * frame;
    }
    return n;
}

// Plays a file to the decoder at the pace of a microphone, in 20 ms chunks, and reports each
// phrase with the time from the end of the speech to the phrase.
void stream(CommandDecoder &decoder, const QString &path, const QByteArray &pcm)
{
    const qsizetype end = speechEnd(pcm);
    // Silence after the file lets the utterance end.
    QByteArray padded = pcm;
    padded.append(QByteArray(CommandDecoder::SampleRate, '\0'));
    const auto *s = reinterpret_cast<const int16_t *>(padded.constData());
    const qsizetype total = padded.size() / 2;
    const qsizetype chunk = CommandDecoder::SampleRate / 50;
    decoder.resetStream();
    QElapsedTimer clock;
    clock.start();
    for (qsizetype at = 0; at < total; at += chunk) {
        const qint64 due = at * 1000 / CommandDecoder::SampleRate;
        const qint64 wait = due - clock.elapsed();
        if (wait > 0)
            QThread::msleep(wait);
        const QStringList phrases = decoder.feed(s + at, int(std::min(chunk, total - at)));
        for (const QString &phrase : phrases) {
            const double latency = clock.nsecsElapsed() / 1e6 - end * 1000.0 / CommandDecoder::SampleRate;
            out() << path << '\t' << phrase << '\t' << QString::number(latency, 'f', 0) << " ms\n";
            out().flush();
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString wordsPath = QFileInfo(app.applicationDirPath() + QStringLiteral("/words.txt")).filePath();
    bool mic = false;
    bool scores = false;
    bool streamed = false;
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
        } else if (a == QLatin1String("--help") || a == QLatin1String("-h") || a.startsWith(QLatin1String("--"))) {
            err() << "usage: hushby-listen [--words FILE] [--scores | --stream] FILE.wav...\n"
                     "       hushby-listen [--words FILE] --mic\n"
                     "Prints each file name, a tab and the phrase heard (empty when none).\n"
                     "--scores adds how the phrase was judged; --stream plays each file at the\n"
                     "microphone's pace and adds the time from the end of speech to the phrase.\n"
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
    CommandDecoder decoder;
    QStringList unpronounceable;
    QElapsedTimer loadClock;
    loadClock.start();
    if (!decoder.load(phrases, &unpronounceable)) {
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
        QString error;
        if (!readWave(path, &pcm, &error)) {
            err() << "hushby-listen: " << path << ": " << error << "\n";
            err().flush();
            status = 1;
            continue;
        }
        if (streamed) {
            stream(decoder, path, pcm);
            continue;
        }
        const QString phrase = decoder.decode(pcm);
        out() << path << '\t' << phrase;
        if (scores) {
            const CommandDecoder::Scores s = decoder.lastScores();
            out() << '\t' << s.grammarWords << '\t' << s.frames << '\t' << s.wordFrames << '\t'
                  << s.wordGap << '\t' << s.worstWordGap << '\t' << s.otherGap << '\t' << s.extraSpeech
                  << '\t' << s.speechFrames << '\t' << s.slowestPhone << '\t' << s.fastestPhone << '\t'
                  << s.phoneDistance << '\t' << s.heardPhones << '\t' << s.confidence;
        }
        out() << '\n';
        out().flush();
    }
    return status;
}
