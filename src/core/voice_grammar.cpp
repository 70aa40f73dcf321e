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

} // namespace

QStringList VoiceGrammar::readPhraseLines(const QString &path, bool *ok)
{
    QStringList phrases;
    QFile file(path);
    if (!FileAccess::openRegular(file, QIODevice::ReadOnly)) {
        if (ok)
            *ok = false;
        return phrases;
    }
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
    }
    if (ok)
        *ok = file.error() == QFileDevice::NoError;
    return phrases;
}

bool VoiceGrammar::LoadVoiceGrammar(Recognizer *rec, const QString &wordsFilePath, QStringList &List1)
{
    if (!rec || !rec->stopRecognition())
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
