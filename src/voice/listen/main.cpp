// hushby-listen: checks the microphone and an edited word list outside the program.
#include "voice/command_decoder.h"
#include "voice/voice_grammar.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

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

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString wordsPath = QFileInfo(app.applicationDirPath() + QStringLiteral("/words.txt")).filePath();
    bool mic = false;
    bool scores = false;
    QStringList files;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a == QLatin1String("--words") && i + 1 < args.size()) {
            wordsPath = args[++i];
        } else if (a == QLatin1String("--mic")) {
            mic = true;
        } else if (a == QLatin1String("--scores")) {
            scores = true;
        } else if (a == QLatin1String("--help") || a == QLatin1String("-h") || a.startsWith(QLatin1String("--"))) {
            err() << "usage: hushby-listen [--words FILE] [--scores] FILE.wav...\n"
                     "       hushby-listen [--words FILE] --mic\n"
                     "Prints each file name, a tab and the phrase heard (empty when none).\n";
            return a.startsWith(QLatin1String("-h")) || a == QLatin1String("--help") ? 0 : 2;
        } else {
            files.append(a);
        }
    }
    if (!mic && files.isEmpty()) {
        err() << "hushby-listen: no wave file given (or --mic)\n";
        return 2;
    }

    bool ok = false;
    const QStringList phrases = VoiceGrammar::readPhraseLines(wordsPath, &ok);
    if (!ok) {
        err() << "hushby-listen: cannot read the word list " << wordsPath << "\n";
        return 1;
    }
    CommandDecoder decoder;
    QStringList unpronounceable;
    if (!decoder.load(phrases, &unpronounceable)) {
        err() << "hushby-listen: " << decoder.errorString() << "\n";
        return 1;
    }
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
        const QString phrase = decoder.decode(pcm);
        out() << path << '\t' << phrase;
        if (scores) {
            const CommandDecoder::Scores s = decoder.lastScores();
            out() << '\t' << s.grammarWords << '\t' << s.frames << '\t' << s.grammarPerFrame << '\t'
                  << s.phonesPerFrame;
        }
        out() << '\n';
        out().flush();
    }
    return status;
}
