#include "core/voice_grammar.h"

#include "records/file_access.h"
#include "services/recognizer.h"

#include <QFile>
#include <QStringDecoder>

namespace {

// The file is 8-bit text; a file saved by a current editor is UTF-8, an older one a single-byte
// code page. Reading invalid UTF-8 as Latin-1 keeps every byte of the latter as one character.
QString decodeLine(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

QString tooLargeText(const QString &path)
{
    return QStringLiteral("The voice word list %1 is too large: it may hold at most %2 phrases and %3 MB. Voice "
                          "commands are off until the list is made smaller.")
        .arg(path)
        .arg(VoiceGrammar::MaxPhrases)
        .arg(VoiceGrammar::MaxFileBytes / (1024 * 1024));
}

} // namespace

QStringList VoiceGrammar::readPhraseLines(const QString &path, bool *ok, QString *tooLarge)
{
    QStringList phrases;
    QFile file(path);
    const auto refuse = [&](bool large) {
        if (ok)
            *ok = false;
        if (large && tooLarge)
            *tooLarge = tooLargeText(path);
        return QStringList();
    };
    if (!FileAccess::openRegular(file, QIODevice::ReadOnly))
        return refuse(false);
    if (file.size() > MaxFileBytes)
        return refuse(true);
    const QByteArray marker = PhraseMarker.toLatin1();
    bool first = true;
    while (!file.atEnd()) {
        QByteArray line = file.readLine();
        // Editors that save UTF-8 may start the file with a byte-order mark.
        if (first && line.startsWith("\xef\xbb\xbf"))
            line.remove(0, 3);
        first = false;
        if (line.endsWith('\n'))
            line.chop(1);
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.startsWith(marker))
            phrases.append(decodeLine(line.mid(marker.size())));
        if (phrases.size() > MaxPhrases)
            return refuse(true);
    }
    if (ok)
        *ok = file.error() == QFileDevice::NoError;
    return phrases;
}

bool VoiceGrammar::LoadVoiceGrammar(Recognizer *rec, const QString &wordsFilePath, QStringList &List1, QString *problem)
{
    if (!rec)
        return false;
    QString tooLarge;
    readPhraseLines(wordsFilePath, nullptr, &tooLarge);
    if (!tooLarge.isEmpty()) {
        rec->stopRecognition();
        if (problem)
            *problem = tooLarge;
        return false;
    }
    if (!rec->stopRecognition())
        return false;
    if (!rec->loadGrammarFile(wordsFilePath))
        return false;
    if (!rec->startRecognition())
        return false;
    bool ok = false;
    const QStringList phrases = readPhraseLines(wordsFilePath, &ok);
    if (!ok)
        return false;
    List1.clear();
    List1.append(phrases);
    return true;
}
